// Spot-type protection alarm, acknowledgement and reset.
#include "sim/spot_protection.h"

#include <cmath>

#include "common/rounding.h"
#include "sim/mascon_update.h"
#include "sim/protection_brakes.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int32_t alarmAtStopSignal = ProtectionState::alarmAtStopSignal;
constexpr std::int32_t stopAtOnce = 0;
constexpr std::int32_t ticksPerSecond = 10;

void showNormalLamp(Run& run, bool normal)
{
    run.scene.setVisible("img_Lamp_Ats1", normal);
    run.scene.setVisible("img_Lamp_Ats2", !normal);
}

bool handleAtEmergency(const Run& run)
{
    return run.state.controls.brakeHandle == -run.vehicle.brakeNotches;
}

bool alarmDue(const Run& run)
{
    const ProtectionState& p = run.state.protection;
    if (handleAtEmergency(run))
        return false;
    if (run.vehicle.atsAlert == 1)
        return p.atsCheckSpeed < run.state.dynamics.trainSpeed;
    return (p.atsCheckSpeed == alarmAtStopSignal && !p.acknowledgedAtSignal) || p.atsCheckSpeed == stopAtOnce;
}

void ringBell(Run& run)
{
    ProtectionState& p = run.state.protection;
    const VehicleSpec& v = run.vehicle;
    p.alarmCheckSpeed = p.atsCheckSpeed;
    run.sound.stop(vehicleSound(v.soundAts1));
    run.sound.stop(vehicleSound(v.soundAts2));
    run.sound.restart(vehicleSound(v.soundAts1), true);
    showNormalLamp(run, false);
    if (p.atsCheckSpeed == stopAtOnce)
        applyProtectionEmergencyBrake(run);
}

void soundChime(Run& run)
{
    ProtectionState& p = run.state.protection;
    const VehicleSpec& v = run.vehicle;
    run.sound.stop(vehicleSound(v.soundAts1));
    run.sound.restart(vehicleSound(v.soundAts2), v.atsCount == 0);
    p.acknowledged = false;
    showNormalLamp(run, true);
}

void spotTypeAlarm(Run& run)
{
    ProtectionState& p = run.state.protection;
    const VehicleSpec& v = run.vehicle;
    if (alarmDue(run)) {
        p.alarm = true;
        p.acknowledged = false;
    }
    if (p.alarm && !run.sound.isPlaying(vehicleSound(v.soundAts1)))
        ringBell(run);
    if (p.acknowledged && !run.sound.isPlaying(vehicleSound(v.soundAts2)))
        soundChime(run);
}

// Under the pattern and cab-signal types an alarm can only come from a speed
// check; nobody acknowledges it, so it brakes after [ATS_Time] seconds.
void speedCheckAlarmTimer(Run& run)
{
    ProtectionState& p = run.state.protection;
    if (!p.alarm)
        return;
    ++p.alarmTimer;
    if (p.alarmTimer >= run.vehicle.atsTime * ticksPerSecond) {
        run.state.controls.appliedPowerNotch = 0;
        applyProtectionEmergencyBrake(run);
        p.alarmTimer = 0;
    }
}

}  // namespace

void spotProtectionAlarm(Run& run)
{
    if (!run.state.protection.atsActive)
        return;
    const std::int32_t type = run.vehicle.atsType;
    if (type == 0)
        spotTypeAlarm(run);
    else if (type == 1 || type == 2)
        speedCheckAlarmTimer(run);
}

void startSpeedCheckAlarm(Run& run)
{
    ProtectionState& p = run.state.protection;
    p.alarm = true;
    p.alarmTimer = run.vehicle.atsTime * ticksPerSecond;
}

Acknowledgement acknowledgeProtection(Run& run)
{
    ProtectionState& p = run.state.protection;
    const VehicleSpec& v = run.vehicle;
    const std::int32_t handle = run.state.controls.brakeHandle;
    // Approaching a stop signal the chime goes on until the train stands.
    const bool chimeMaySilence = p.atsCheckSpeed != alarmAtStopSignal || roundHalfAway(run.state.dynamics.trainSpeed) == 0;
    if (run.sound.isPlaying(vehicleSound(v.soundAts2)) && chimeMaySilence) {
        run.sound.stop(vehicleSound(v.soundAts2));
        run.sound.restart(vehicleSound(v.soundAts3), false);
    }
    if (p.acknowledged) {
        p.acknowledged = false;
        p.alarm = false;
    }
    if (handle < 0 && !p.protectionEmergencyBrake) {
        if (v.brakeType == 0 && handle == -1)
            return Acknowledgement::Refused;
        p.alarm = false;
        p.acknowledged = true;
        p.acknowledgedAtSignal = true;
        p.alarmTimer = 0;
    }
    return Acknowledgement::Taken;
}

void resetProtection(Run& run)
{
    ProtectionState& p = run.state.protection;
    if (!handleAtEmergency(run) || std::fabs(run.state.dynamics.trainSpeed) >= 0.1L)
        return;
    p.protectionEmergencyBrake = false;
    p.protectionServiceBrake = false;
    run.sound.stop(vehicleSound(run.vehicle.soundAts1));
    p.acknowledged = true;
    p.alarm = false;
    p.alarmTimer = 0;
    showNormalLamp(run, true);
    masconupdate(run);
}

}  // namespace cabdrive
