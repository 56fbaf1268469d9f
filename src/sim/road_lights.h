// Road traffic lights beside the line and the distance text for them.
#pragma once

#include <cstdint>

#include "data/route_data.h"

namespace cabdrive {

struct Run;

// A [TrafficSignal] row: shown while column 1 <= frame < column 22; six
// phases of (image, ticks, stop flag) in columns 2 to 19; the second light's
// image in column 20.
struct RoadLightPhase {
    std::int32_t image = 0;
    std::int32_t ticks = 0;  // 0: the phase passes in one tick and shows no image of its own
    bool stop = false;       // traffic must stop: the distance text names the light
};
RoadLightPhase roadLightPhase(const TrafficSignalRow& row, std::int32_t phase);

// 100 ms tick, step 15. Every light runs through its phases, each for its
// ticks; the light in view shows its phase's image on a change of phase and
// its second image; within 15 frames of its end and out of view the light
// sprites show frame 0. Then the crossing distance text: the first light
// whose second position lies within 99 m ahead gives the first [Stops] word
// + metres + "m"; else the first whose first position lies less than 99 m
// ahead and at most 5 m behind, in a stop phase, the second word.
void roadLights(Run& run);

// The start of a run: every light at the start of its first phase.
void startRoadLights(Run& run);

}  // namespace cabdrive
