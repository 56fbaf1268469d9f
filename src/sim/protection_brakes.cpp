// Protection braking and roll-back protection.
#include "sim/protection_brakes.h"

#include "sim/mascon_update.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double rollBackLimit = 7;  // km/h against the reverser

void announceNotchChange(Run& run)
{
    ControlState& c = run.state.controls;
    c.powerChangePending = c.brakeChangePending = c.sapChangePending = c.eBrakeChangePending = true;
    masconupdate(run);
}

}  // namespace

void applyProtectionEmergencyBrake(Run& run)
{
    run.state.protection.protectionEmergencyBrake = true;
    announceNotchChange(run);
}

void setProtectionServiceBrake(Run& run, bool applied)
{
    run.state.protection.protectionServiceBrake = applied;
    announceNotchChange(run);
}

void ringAtcBell(Run& run)
{
    run.sound.restart(vehicleSound(run.vehicle.soundAtc), false);
}

void rollBackProtection(Run& run)
{
    const RunState& s = run.state;
    if (run.vehicle.backFlag != 1 || s.controls.reverser * s.dynamics.trainSpeed >= -rollBackLimit)
        return;
    if (!s.protection.protectionEmergencyBrake)
        ringAtcBell(run);
    applyProtectionEmergencyBrake(run);
}

}  // namespace cabdrive
