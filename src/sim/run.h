// Run: one driving run — the loaded data it reads, the state it changes and
// the devices it acts through.
#pragma once

#include "data/route_data.h"
#include "data/settings.h"
#include "data/vehicle_spec.h"
#include "persist/display_options.h"
#include "sim/run_state.h"
#include "sim/shell_requests.h"
#include "sound/sound_device.h"
#include "view/scene.h"
#include "view/video_reader.h"

namespace cabdrive {

struct Run {
    const Settings& settings;
    const VehicleSpec& vehicle;  // after checkVehicleAfterLoading
    const RouteData& route;      // with its derived distances
    Scene& scene;
    SoundDevice& sound;
    VideoReader& video;
    ShellRequests& shell;
    DisplayOptions options;
    RunState state;
};

// Sets the driving state a run starts with: handles, pressures, the start
// station's position and frame, the readouts. `startStation` is a row of the
// route's station table (0 when the route has no stations).
void startRun(Run& run, std::int32_t startStation);

}  // namespace cabdrive
