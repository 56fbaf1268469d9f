// Needle angles and the speedometer.
#include "view/needles.h"

#include <cmath>

#include "common/rounding.h"
#include "sim/run.h"

namespace cabdrive {

int spriteAngle(long double degrees)
{
    return saturateInt32(roundHalfAway(degrees * 255 / 360));
}

long double speedNeedleDegrees(const SpeedNeedleLayout& needle, long double speed)
{
    if (needle.degPerUnitLow == 0)
        return speed * needle.degPerUnit + needle.offsetDeg;
    if (speed < 10)
        return speed * needle.degPerUnitLow + needle.offsetDeg;
    // The fine scale takes the first 10 km/h; the coarse one goes on from there.
    return speed * needle.degPerUnit + needle.offsetDeg - (needle.degPerUnit - needle.degPerUnitLow) * 10;
}

void updateSpeedometer(Run& run)
{
    const long double v = run.state.dynamics.trainSpeed;
    const long double speed = std::fabs(v);
    // The needle stops at 160 km/h and ignores a creep backwards under 1 km/h.
    if (speed < 160 && !(-1 < v && v < 0))
        run.scene.setAngle("img_Needle_speed", spriteAngle(speedNeedleDegrees(run.vehicle.needleSpeed, speed)));
    const std::int64_t rounded = roundHalfAway(v);
    if (rounded < 200)
        run.scene.showPatternIfPresent("img_digi_speed", static_cast<int>(std::llabs(rounded)));
}

}  // namespace cabdrive
