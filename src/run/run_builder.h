// The run builder: the one way to turn a data folder into a running Run. It
// runs the loading stages of the main window's creation in their order; the
// desktop program, the tools, the benchmarks and the test fixtures all build
// their runs here, so they all run the same simulation.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "data/data_folder.h"
#include "data/mascon_map.h"
#include "ports/joystick.h"
#include "ports/key_value_store.h"
#include "ports/picture.h"
#include "state/run.h"
#include "view/cab_panel_build.h"

namespace cabdrive {

// What the title screen chose.
struct RunSetup {
    std::string routeFileName = "line_down.dat";
    std::int32_t startStation = 0;  // [Station] row
    std::int32_t crewChangeStation = StationState::noCrewChange;
};

// The devices a run acts through; they must outlive it.
struct RunPorts {
    PictureLoader& pictures;
    SoundDevice& sound;
    VideoReader& video;
    ShellRequests& shell;   // also told when the main video cannot be opened
    KeyValueStore& store;   // display options, controller codes, saved driving states
    Joystick* joystick = nullptr;  // the game controllers; none: the run has no joystick
};

// Receives each loading stage's status text before the stage runs.
using LoadingProgress = std::function<void(const std::string& status)>;

// Everything one run reads, and the run, started and ready for its clocks.
struct LoadedRun {
    DataFolder folder;
    MasconMap mascon;
    Settings settings;
    VehicleSpec vehicle;
    std::unique_ptr<RouteData> route;
    Scene scene;
    StaffPictures staff;
    bool mainVideoOpened = false;
    NullJoystick noJoystick;  // for runs given none
    std::optional<Run> run;
};

// Loads and starts a run. Throws LoadError with the user's message for the
// first data file or picture that cannot be loaded; nothing is left half-made.
// A main video that cannot be opened is reported through ports.shell and the
// run goes on without pictures.
std::unique_ptr<LoadedRun> loadRun(const DataFolder& folder, const RunSetup& setup, const RunPorts& ports,
                                   const LoadingProgress& progress = {});

}  // namespace cabdrive
