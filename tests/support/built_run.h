// A run built by the run builder from a data folder, as the program builds
// it, with the clocks driven by the test alone: no window, and sounds that
// keep their time silently. The program's video reader and
// shell can be lent to it; by default it has none.
#pragma once

#include <memory>
#include <string>

#include "platform/openal/silent_sound_device.h"
#include "platform/qt/qimage_picture_loader.h"
#include "ports/memory_key_value_store.h"
#include "ports/shell_requests.h"
#include "ports/video_reader.h"
#include "run/run_builder.h"
#include "run/scheduler.h"

namespace test {

// Which train on which line, and what the run is lent.
struct RunChoice {
    std::string vehicleFile;  // empty: the folder's default train
    std::string lineFile = "line_down.dat";
    cabdrive::VideoReader* video = nullptr;
    cabdrive::ShellRequests* shell = nullptr;
    cabdrive::Joystick* joystick = nullptr;
};

struct BuiltRun {
    explicit BuiltRun(const std::string& dataFolder, const RunChoice& choice = {})
        : loaded(cabdrive::loadRun(cabdrive::locateDataFolder(dataFolder, choice.vehicleFile), {choice.lineFile},
                                   {pictures, sound, choice.video ? *choice.video : nullVideo,
                                    choice.shell ? *choice.shell : nullShell, store, choice.joystick}))
    {
        scheduler.beforeTick = [this] { sound.advanceTo(scheduler.simulatedTime()); };
        scheduler.start();
    }

    cabdrive::QImagePictureLoader pictures;
    cabdrive::SilentSoundDevice sound;
    cabdrive::NullVideoReader nullVideo;
    cabdrive::NullShellRequests nullShell;
    cabdrive::MemoryKeyValueStore store;
    std::unique_ptr<cabdrive::LoadedRun> loaded;
    cabdrive::Run& run = *loaded->run;
    const cabdrive::VehicleSpec& vehicle = loaded->vehicle;
    const std::unique_ptr<cabdrive::RouteData>& route = loaded->route;
    cabdrive::Scheduler scheduler{run};
};

}  // namespace test
