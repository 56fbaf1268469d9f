// Pattern-type train protection: beacons in the track load a target, and a
// braking curve towards it supervises the train. Also the line speed of the
// current section, which caps the curves.
#pragma once

#include <cstdint>

namespace cabdrive {

struct Run;
struct ProtectionState;

inline constexpr std::int32_t stopPatternCode = 10;  // km/h at a stop target

void currentLineSpeed(Run& run);   // 100 ms tick, step 2
void patternProtection(Run& run);  // 100 ms tick, step 18

// The pattern is forgotten; the brake it applied is released on the next
// check.
void erasePattern(ProtectionState& protection);

}  // namespace cabdrive
