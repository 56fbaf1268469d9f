// Needle angles and the speedometer.
#include "view/needles.h"

#include <cmath>

#include "common/rounding.h"
#include "sim/brake_air.h"
#include "state/run.h"

namespace cabdrive {
namespace {

void turnNeedle(Scene& scene, std::string_view name, const NeedleLayout& needle, long double value)
{
    scene.setAngle(name, spriteAngle(value * needle.degPerUnit + needle.offsetDeg));
}

// A linear gauge rises from its base Y by the pressure (kPa) times its scale.
void liftGauge(Scene& scene, std::string_view name, const LinearGaugeLayout& gauge, long double kpa)
{
    scene.setPosition(name, gauge.x, gauge.baseY - roundHalfAway(kpa * gauge.pixelsPerKpa));
}

int ammeterAngle(const CurrentNeedleLayout& needle, std::int32_t shown, std::int32_t reverser)
{
    if (needle.currentAbs == 2)
        return needle.offsetDeg;  // a fixed needle: the offset is the sprite angle itself
    if (needle.currentAbs == 1)
        return spriteAngle(std::abs(shown) * needle.degPerUnit + needle.offsetDeg);
    // A signed current: the needle swings the other way when the reverser does.
    return spriteAngle(shown * needle.degPerUnit + needle.offsetDeg) * reverser;
}

}  // namespace

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

std::int32_t dampedCurrent(std::int32_t shown, std::int32_t target)
{
    const auto halfGap = [target](std::int64_t value) {
        return roundHalfAway(static_cast<long double>(std::llabs(target - value)) / 2);
    };
    std::int64_t value = shown;
    if (std::llabs(value) < std::llabs(target))
        value = target + halfGap(value);
    if (std::llabs(value) > std::llabs(target))
        value = target - halfGap(value);
    return saturateInt32(value);
}

void setPassNeedles(Run& run)
{
    RunState& s = run.state;
    const VehicleSpec& v = run.vehicle;
    const AirState& air = s.air;
    s.presentation.shownCurrent = dampedCurrent(s.presentation.shownCurrent, s.presentation.targetCurrent);

    const long double brakeCylinder = gaugedBrakeCylinder(run);
    turnNeedle(run.scene, "img_Needle_V", v.needleV, s.dynamics.lineVoltage.value());
    run.scene.setAngle("img_Needle_I", ammeterAngle(v.needleI, s.presentation.shownCurrent, s.controls.reverser));
    turnNeedle(run.scene, "img_Needle_BC", v.needleBc, brakeCylinder);
    turnNeedle(run.scene, "img_Needle_BP", v.needleBp, air.bpPressure);
    turnNeedle(run.scene, "img_Needle_MR", v.needleMr, mainReservoirNeedleValue(run));
    turnNeedle(run.scene, "img_Needle_SAP", v.needleSap, air.sapPressure.value());
    turnNeedle(run.scene, "img_Needle_ER", v.needleEr, air.erPressure.value());
    liftGauge(run.scene, "img_Needle_BC_L", v.needleBcLinear, brakeCylinder);
    liftGauge(run.scene, "img_Needle_MR_L", v.needleMrLinear, air.mrPressure.value());
}

}  // namespace cabdrive
