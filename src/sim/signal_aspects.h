// Signal aspects behind the preceding train, and the display index each
// signal shows for its head type and aspect.
#pragma once

#include <cstdint>
#include <vector>

namespace cabdrive {

struct Run;

// Head types 0 and -1 mark a row that is no block signal: it repeats the
// aspect of the next signal ahead.
bool isRepeater(std::int32_t headType);

// One aspect per [Signal] row: 0 stop .. [Speed_Signal] count - 1 clear,
// after the control columns' overrides.
std::vector<std::int32_t> signalAspects(const Run& run);

// 1 .. 40: the picture of a head type showing an aspect. Fast trains
// ([MaxSpeed] 131 km/h and more) get their own clear pictures on head types 7 and 8.
std::int32_t displayIndex(std::int32_t headType, std::int32_t aspect, std::int32_t maxSpeed);

}  // namespace cabdrive
