// The cab lamps the tick lights from the controls.
#include "sim/cab_lamps.h"

#include "sim/traction.h"
#include "state/run.h"

namespace cabdrive {
namespace {

// The [Others] picture that the vehicle's authors draw as the pattern-type indicator.
constexpr const char* patternIndicator = "img_other0";
constexpr std::int32_t patternType = 1;

bool serviceBrakeApplied(const Run& run)
{
    const std::int32_t notch = run.state.controls.appliedBrakeNotch;
    return -run.vehicle.brakeNotches < notch && notch < 0;
}

// A notch whose acceleration starts negative is a retarding (regenerating) notch.
bool retardingNotch(const Run& run)
{
    const std::int32_t notch = run.state.controls.appliedPowerNotch;
    const auto& table = run.vehicle.notchTable;
    return notch >= 1 && static_cast<std::size_t>(notch) <= table.size()
        && table[static_cast<std::size_t>(notch - 1)].accelStart < 0;
}

}  // namespace

void cabLamps(Run& run)
{
    const RunState& s = run.state;
    Scene& scene = run.scene;
    const bool doorsPermit = doorsAllowTraction(run);
    const bool powered = s.controls.appliedPowerNotch >= 1;
    const bool electricBraking = s.air.electricBrakeCurrent > 0;

    if (!powered)
        scene.setVisible("img_Lamp_Power", false);
    else if (doorsPermit)
        scene.setVisible("img_Lamp_Power", true);

    const bool regenerating = electricBraking && serviceBrakeApplied(run);
    const bool retarding = s.controls.powerHandle >= 1 && s.dynamics.tractionForce.raw < 0 && retardingNotch(run);
    scene.setVisible("img_Lamp_Gen", regenerating || retarding);

    const bool brakeHandleInService = s.controls.brakeHandle > -run.vehicle.brakeNotches;
    const bool eleLit = powered || (s.controls.appliedBrakeNotch < 0 && brakeHandleInService && electricBraking);
    scene.setVisible("img_Lamp_Ele", doorsPermit && eleLit);

    scene.setVisible("img_Lamp_Air", serviceBrakeApplied(run));
    scene.setVisible("img_Lamp_const", s.controls.constantSpeedOn);
}

void patternTypeIndicator(Run& run)
{
    run.scene.setVisible(patternIndicator, run.vehicle.atsType == patternType);
}

}  // namespace cabdrive
