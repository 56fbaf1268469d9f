// masconupdate: the refresh after every control change — lamps, notch and
// reverser texts, notch strips, constant-speed control and the gear readout.
#include "sim/mascon_update.h"

#include <string>

#include "sim/kanko_queue.h"
#include "sim/notch_words.h"
#include "state/run.h"

namespace cabdrive {
namespace {

bool protectionBraking(const Run& run)
{
    return run.state.protection.protectionEmergencyBrake || run.state.protection.protectionServiceBrake;
}

void switchConstantSpeed(Run& run)
{
    ControlState& c = run.state.controls;
    const VehicleSpec& v = run.vehicle;
    // Moving either handle ends constant-speed control, and the power handle
    // takes effect at once rather than after its delay.
    if (c.constantSpeedOn && (c.brakeHandle != c.appliedBrakeNotch || c.powerHandle != c.appliedPowerNotch)) {
        c.constantSpeedOn = false;
        c.appliedPowerNotch = c.powerHandle;
    }
    // Notching back from the notch above constNotch engages it (vehicles
    // whose constNotch is 1 engage it with a key at the top notch instead).
    if (run.state.dynamics.trainSpeed >= v.constMinSpeed && !c.constantSpeedOn && v.constNotch >= 2
        && c.powerHandle == v.constNotch && c.appliedPowerNotch == v.constNotch + 1) {
        c.constantSpeedOn = true;
        c.powerText = run.settings.wordConstSpeed;
    }
    if (c.constantSpeedOn && protectionBraking(run)) {
        c.constantSpeedOn = false;
        c.appliedPowerNotch = c.powerHandle;
    }
}

// A brake position matching none of the rules (below emergency on a notched
// brake) keeps the text it had.
void refreshBrakeText(Run& run)
{
    ControlState& c = run.state.controls;
    if (auto word = brakeNotchWord(run.settings, run.vehicle, c.brakeHandle, c.holdingBrakeOn))
        c.brakeText = std::move(*word);
}

void refreshPowerText(Run& run)
{
    ControlState& c = run.state.controls;
    if (c.constantSpeedOn) {
        c.powerText = run.settings.wordConstSpeed;
        return;
    }
    if (auto word = powerNotchWord(run.settings, run.vehicle, c.powerHandle, c.powerMode))
        c.powerText = std::move(*word);
}

void refreshReverserText(Run& run)
{
    ControlState& c = run.state.controls;
    if (c.reverser == 1)
        c.reverserText = run.settings.wordForward;
    else if (c.reverser == -1)
        c.reverserText = run.settings.wordReverse;
    else
        c.reverserText = run.settings.wordNeutral;
}

void refreshNotchStrips(Run& run)
{
    Scene& scene = run.scene;
    const ControlState& c = run.state.controls;
    scene.showPatternIfPresent("img_gearlever", run.state.engine.gearLever);

    const int brakePattern = brakeStripPattern(run.vehicle, c.brakeHandle, c.holdingBrakeOn);
    scene.showPatternIfPresent("img_lamp_p", c.powerHandle);
    scene.showPatternIfPresent("img_lamp_b", brakePattern);

    // The second pair shows what a protection brake makes of the handles:
    // power off and the last (emergency) or last but one (service) pattern.
    const ProtectionState& p = run.state.protection;
    if (protectionBraking(run)) {
        const int lastPattern = scene.patternCount("img_lamp_b2") - 1;
        scene.showPatternIfPresent("img_lamp_p2", 0);
        scene.showPatternIfPresent("img_lamp_b2", p.protectionEmergencyBrake ? lastPattern : lastPattern - 1);
    } else {
        scene.showPatternIfPresent("img_lamp_p2", c.powerHandle);
        scene.showPatternIfPresent("img_lamp_b2", brakePattern);
    }

    // One handle shows one strip: the power strips give way while braking.
    if (run.vehicle.handleType == 0) {
        scene.setVisible("img_lamp_p", c.brakeHandle >= 0);
        scene.setVisible("img_lamp_p2", c.brakeHandle >= 0);
    }
}

std::string dieselGearText(const Run& run, std::int32_t lever)
{
    const Settings& words = run.settings;
    if (lever == 0)
        return words.wordGear0;
    if (lever == 1)
        return words.wordGear1;
    // A car with three gears (neutral and two more) has one gear after first.
    if (lever == 2 && run.vehicle.engineTable.size() == 3)
        return words.wordGearStem;
    return words.wordGearStem + std::to_string(lever - 1);
}

// The first power notch taken with the doors closed after a stop: the
// departure call-out, then the station's own call-outs for that moment.
void queueDepartureCallouts(Run& run)
{
    ControlState& c = run.state.controls;
    if (run.state.doors.doorsOpen || c.powerHandle <= 0 || !c.departureCalloutPending)
        return;
    c.departureCalloutPending = false;
    constexpr std::int32_t firstPowerMoment = 4;  // the stop's moment for stationCallouts
    kanko_queue_add(run, kankoDeparture);
    stationCallouts(run, firstPowerMoment);
}

}  // namespace

void refreshGearText(Run& run)
{
    const VehicleSpec& v = run.vehicle;
    ControlState& c = run.state.controls;
    if (v.engineType != 0) {
        const auto mode = static_cast<std::size_t>(c.powerMode);
        c.gearText = mode < v.powerModes.size() ? v.powerModes[mode].gearText : std::string();
        return;
    }
    const std::int32_t lever = run.state.engine.gearLever;
    if (lever >= 0 && lever <= 5)
        c.gearText = dieselGearText(run, lever);
}

void masconupdate(Run& run)
{
    const ControlState& c = run.state.controls;
    run.scene.setVisible("img_Lamp_Fwd", c.reverser == 1);
    run.scene.setVisible("img_Lamp_Bck", c.reverser == -1);
    switchConstantSpeed(run);
    refreshBrakeText(run);
    refreshPowerText(run);
    refreshReverserText(run);
    refreshNotchStrips(run);
    queueDepartureCallouts(run);
    refreshGearText(run);
}

}  // namespace cabdrive
