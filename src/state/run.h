// Run: one driving run — the loaded data it reads, the state it changes and
// the devices it acts through.
#pragma once

#include <memory>

#include "data/controller_codes.h"
#include "data/display_options.h"
#include "data/mascon_map.h"
#include "data/route_data.h"
#include "data/settings.h"
#include "data/vehicle_spec.h"
#include "ports/joystick.h"
#include "ports/key_value_store.h"
#include "ports/shell_requests.h"
#include "ports/sound_device.h"
#include "ports/video_reader.h"
#include "state/run_state.h"
#include "state/scene.h"

namespace cabdrive {

struct Run {
    const Settings& settings;
    const VehicleSpec& vehicle;  // after checkVehicleAfterLoading
    const RouteData& route;      // with its derived distances
    const MasconMap& mascon;     // the serial master controller's codes
    Scene& scene;
    SoundDevice& sound;
    VideoReader& video;
    ShellRequests& shell;
    Joystick& joystick;  // polled while a game controller kind is chosen
    KeyValueStore& store;  // the per-user store: options and saved driving states
    DisplayOptions options;
    RunState state;
    ControllerCodes controllerCodes;  // the USB controller's calibration
    // The filming speeds the frame follows: the route's, until the value
    // display reads them again from the route file. The rest of the route
    // stays as it was loaded.
    std::shared_ptr<const SpeedUnitTable> reloadedSpeedUnits;

    const SpeedUnitTable& speedUnits() const { return reloadedSpeedUnits ? *reloadedSpeedUnits : route.speedUnits; }
};

}  // namespace cabdrive
