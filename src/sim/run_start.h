// The driving state a run starts with.
#pragma once

#include <cstdint>
#include <vector>

#include "state/run_state.h"

namespace cabdrive {

struct Run;

// What the loading stages before the start hand in.
struct RunStart {
    std::int32_t startStation = 0;  // [Station] row; out of range counts as 0
    std::int32_t crewChangeStation = StationState::noCrewChange;  // chosen on the title screen
    std::int32_t highestFrame = 0;  // of the main video opened before the start
    std::vector<std::int32_t> environmentSoundSeconds;  // one per [SoundData] entry
};

// Sets the driving state a run starts with: handles, pressures, the start
// station's position and frame, the readouts.
void startRun(Run& run, const RunStart& start);

}  // namespace cabdrive
