// The start-up values the title screen hands to the run it starts.
#pragma once

#include <cstdint>
#include <string>

#include "state/run_state.h"

namespace cabdrive {

struct StartupValues {
    std::string programFolder;            // with its trailing separator
    std::string routeFileName;            // "line_down.dat" or "line_up.dat"
    std::string trainFileName = "train_E231_5B.dat";
    std::string trainFolder;              // with its trailing separator, or empty: the current directory
    std::int32_t startStation = 0;
    std::int32_t endStation = StationState::noCrewChange;  // the crew-change station
};

}  // namespace cabdrive
