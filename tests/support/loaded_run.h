// A run loaded from a data folder the way the program loads it, with the
// clocks driven by the test alone: no window and no sound. The program's
// video reader and shell can be lent to it; by default it has none.
#pragma once

#include <memory>
#include <string>

#include "data/data_folder.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "platform/qt/qimage_picture_loader.h"
#include "sim/run.h"
#include "sim/scheduler.h"
#include "sim/shell_requests.h"
#include "sound/environment_sound_lengths.h"
#include "sound/null_sound_device.h"
#include "view/video_reader.h"

namespace test {

// Which train on which line, and what the run is lent.
struct RunChoice {
    std::string vehicleFile;  // empty: the folder's default train
    std::string lineFile = "line_down.dat";
    cabdrive::VideoReader* video = nullptr;
    cabdrive::ShellRequests* shell = nullptr;
};

struct LoadedRun {
    explicit LoadedRun(const std::string& dataFolder, const RunChoice& choice = {})
        : folder(cabdrive::locateDataFolder(dataFolder, choice.vehicleFile)),
          settings(cabdrive::loadSettings(folder.programFolder)),
          vehicle(cabdrive::loadVehicle(folder.vehicleFolder, folder.trainFileName, pictures)),
          route(cabdrive::loadRouteFor(folder, choice.lineFile, vehicle, pictures)),
          video(choice.video ? *choice.video : nullVideo),
          shell(choice.shell ? *choice.shell : nullShell)
    {
        cabdrive::checkVehicleAfterLoading(vehicle);
        run.state.environmentSoundSeconds = cabdrive::environmentSoundLengths(*route);
        cabdrive::startRun(run, 0);
        scheduler.start();
    }

    cabdrive::QImagePictureLoader pictures;
    cabdrive::DataFolder folder;
    cabdrive::Settings settings;
    cabdrive::VehicleSpec vehicle;
    std::unique_ptr<cabdrive::RouteData> route;
    cabdrive::Scene scene;
    cabdrive::NullSoundDevice sound;
    cabdrive::NullVideoReader nullVideo;
    cabdrive::NullShellRequests nullShell;
    cabdrive::VideoReader& video;
    cabdrive::ShellRequests& shell;
    cabdrive::Run run{settings, vehicle, *route, scene, sound, video, shell, {}, {}};
    cabdrive::Scheduler scheduler{run};
};

}  // namespace test
