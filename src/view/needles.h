// Needle angles: degrees from the vehicle's scales, turned into sprite angles.
#pragma once

#include "data/vehicle_spec.h"

namespace cabdrive {

struct Run;

// Degrees to the sprite's 1/256-turn steps, of which 255 make a full circle.
int spriteAngle(long double degrees);

// The speedometer's angle in degrees for |speed| in km/h, with the finer
// scale below 10 km/h when the vehicle gives one.
long double speedNeedleDegrees(const SpeedNeedleLayout& needle, long double speed);

// 100 ms tick: the speed needle and the digital speed strip.
void updateSpeedometer(Run& run);

}  // namespace cabdrive
