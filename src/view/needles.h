// Needle angles: degrees from the vehicle's scales, turned into sprite angles.
#pragma once

#include <cstdint>

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

// The ammeter's shown value moves towards the motor current, overshooting by
// half the distance and settling in ever smaller swings (A, rounded halves
// away from zero).
std::int32_t dampedCurrent(std::int32_t shown, std::int32_t target);

// Render pass: damps the ammeter, then turns every gauge needle and moves the
// linear gauges to the values of the run.
void setPassNeedles(Run& run);

}  // namespace cabdrive
