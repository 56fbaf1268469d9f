// The driver's handles: the operations that move them and the delays that
// carry them into the notches in effect.
#include "sim/controller_state.h"

#include <algorithm>
#include <cmath>

#include "sim/mascon_update.h"
#include "state/run.h"

namespace cabdrive {
namespace {

void setBrakeFlags(ControlState& c)
{
    c.brakeChangePending = true;
    c.sapChangePending = true;
    c.eBrakeChangePending = true;
}

void setAllFlags(ControlState& c)
{
    c.powerChangePending = true;
    setBrakeFlags(c);
}

bool inGroup(const VehicleSpec& vehicle, std::int32_t notch, std::int32_t mode)
{
    return notchGroupOf(vehicle, notch) == mode;
}

// The power handle one notch up within the power mode; from off in a later
// mode it jumps to that mode's first notch.
void stepPowerUp(const VehicleSpec& vehicle, ControlState& c)
{
    if (c.powerHandle >= vehicle.powerNotches)
        return;
    if (inGroup(vehicle, c.powerHandle + 1, c.powerMode)) {
        ++c.powerHandle;
        return;
    }
    const std::optional<std::int32_t> start = groupStartOf(vehicle, c.powerMode);
    if (c.powerHandle == 0 && c.powerMode > 0 && start && *start + 1 <= vehicle.powerNotches)
        c.powerHandle = *start + 1;
}

// The power handle one notch down; from the mode's first notch it goes off.
void stepPowerDown(const VehicleSpec& vehicle, ControlState& c)
{
    if (c.powerHandle > 1 && inGroup(vehicle, c.powerHandle - 1, c.powerMode)) {
        --c.powerHandle;
        return;
    }
    const std::optional<std::int32_t> start = groupStartOf(vehicle, c.powerMode);
    if (c.powerHandle > 0 && start && c.powerHandle == *start + 1)
        c.powerHandle = 0;
}

// Out of the holding position to B1. leftHolding keeps the brake step that
// follows from going on to B2 at once.
void leaveHolding(ControlState& c)
{
    if (!c.holdingBrakeOn)
        return;
    c.holdingBrakeOn = false;
    c.brakeHandle = -1;
    c.leftHolding = true;
}

// The brake one step towards braking, never into emergency: from neutral into
// the holding position when the vehicle has one, otherwise one notch.
void stepBrakeApply(const VehicleSpec& vehicle, ControlState& c)
{
    if (c.brakeHandle <= -vehicle.brakeNotches + 1)
        return;
    const bool hasHolding = vehicle.holdNotch == 1;
    if (hasHolding && c.brakeHandle == 0)
        c.holdingBrakeOn = true;
    else if (!hasHolding || (c.brakeHandle < 0 && !c.leftHolding))
        --c.brakeHandle;
    if (hasHolding && c.leftHolding)
        c.leftHolding = false;
}

// The brake one step towards release; B1 leads into the holding position.
void stepBrakeRelease(const VehicleSpec& vehicle, ControlState& c)
{
    if (c.brakeHandle >= 0)
        return;
    ++c.brakeHandle;
    if (vehicle.holdNotch == 1 && c.brakeHandle == 0)
        c.holdingBrakeOn = true;
}

// The brake position a delayed change carries into effect: a protection
// brake overrides the handle (a service brake leaves the handle's emergency).
std::int32_t brakePositionInEffect(const Run& run)
{
    const std::int32_t emergency = -run.vehicle.brakeNotches;
    const ProtectionState& p = run.state.protection;
    if (p.protectionEmergencyBrake)
        return emergency;
    if (p.protectionServiceBrake && run.state.controls.brakeHandle != emergency)
        return emergency + 1;
    return run.state.controls.brakeHandle;
}

// Counts one physics step of a pending change. True when the change is due:
// the counter is back at 0 and the flag cleared.
template <typename IsDue>
bool delayElapsed(bool& pending, std::int32_t& counter, IsDue isDue)
{
    if (!pending)
        return false;
    ++counter;
    if (!isDue(counter))
        return false;
    counter = 0;
    pending = false;
    return true;
}

auto reaches(std::int32_t delay)
{
    return [delay](std::int32_t counter) { return counter == delay; };
}

}  // namespace

std::optional<std::int32_t> notchGroupOf(const VehicleSpec& vehicle, std::int32_t notch)
{
    if (notch < 1 || static_cast<std::size_t>(notch) > vehicle.notchTable.capacity)
        return std::nullopt;
    return vehicle.notchTable[static_cast<std::size_t>(notch - 1)].notchGroup;
}

std::optional<std::int32_t> groupStartOf(const VehicleSpec& vehicle, std::int32_t mode)
{
    if (mode == 0)
        return 0;
    if (mode < 0 || static_cast<std::size_t>(mode) >= vehicle.groupStart.size())
        return std::nullopt;
    return vehicle.groupStart[static_cast<std::size_t>(mode)];
}

void handleForward(Run& run)
{
    ControlState& c = run.state.controls;
    if (c.brakeHandle == 0 && !c.holdingBrakeOn)
        stepPowerUp(run.vehicle, c);
    c.holdingBrakeOn = false;
    // Only a brake notch moves; the holding position went to neutral above.
    if (c.powerHandle == 0)
        stepBrakeRelease(run.vehicle, c);
    setAllFlags(c);
}

void handleBack(Run& run)
{
    ControlState& c = run.state.controls;
    leaveHolding(c);
    if (c.powerHandle == 0)
        stepBrakeApply(run.vehicle, c);
    stepPowerDown(run.vehicle, c);
    setAllFlags(c);
}

void powerUp(Run& run)
{
    stepPowerUp(run.vehicle, run.state.controls);
    run.state.controls.powerChangePending = true;
}

void powerDown(Run& run)
{
    stepPowerDown(run.vehicle, run.state.controls);
    run.state.controls.powerChangePending = true;
}

void brakeRelease(Run& run)
{
    ControlState& c = run.state.controls;
    c.holdingBrakeOn = false;
    stepBrakeRelease(run.vehicle, c);
    setBrakeFlags(c);
}

void brakeApply(Run& run)
{
    leaveHolding(run.state.controls);
    stepBrakeApply(run.vehicle, run.state.controls);
    setBrakeFlags(run.state.controls);
}

void brakeEmergency(Run& run, bool oneHandle)
{
    ControlState& c = run.state.controls;
    c.holdingBrakeOn = false;
    c.brakeHandle = -run.vehicle.brakeNotches;
    setBrakeFlags(c);
    if (oneHandle) {
        c.powerHandle = 0;
        c.powerChangePending = true;
    }
}

void allNeutral(Run& run)
{
    ControlState& c = run.state.controls;
    c.holdingBrakeOn = false;
    c.brakeHandle = 0;
    c.powerHandle = 0;
    setAllFlags(c);
}

void allEmergency(Run& run)
{
    brakeEmergency(run, true);
}

void setReverser(Run& run, std::int32_t reverser)
{
    if (std::fabs(run.state.dynamics.trainSpeed) > 1)
        return;
    run.state.controls.reverser = reverser;
    masconupdate(run);
}

void nextPowerMode(Run& run)
{
    ControlState& c = run.state.controls;
    if (c.powerHandle != 0)
        return;
    ++c.powerMode;
    if (static_cast<std::size_t>(c.powerMode) >= run.vehicle.powerModes.size())
        c.powerMode = 0;
}

void engageConstantSpeed(Run& run)
{
    ControlState& c = run.state.controls;
    if (c.powerHandle == run.vehicle.powerNotches && run.state.dynamics.trainSpeed >= run.vehicle.constMinSpeed
        && !c.constantSpeedOn && run.vehicle.constNotch == 1) {
        c.constantSpeedOn = true;
        c.powerText = run.settings.wordConstSpeed;
    }
}

std::int32_t positionToNotch(const Run& run, std::int32_t k)
{
    if (k < 0)
        return std::max(k, -run.vehicle.brakeNotches);
    std::int32_t first = 0, last = 0;
    for (std::int32_t notch = 1; notch <= run.vehicle.powerNotches; ++notch) {
        if (!inGroup(run.vehicle, notch, run.state.controls.powerMode))
            continue;
        if (first == 0)
            first = notch;
        last = notch;
    }
    if (k == 0 || first == 0)
        return 0;
    return std::min(first + k - 1, last);
}

void setHandlesAtRest(Run& run, std::int32_t brakeNotch)
{
    ControlState& c = run.state.controls;
    c.powerHandle = 0;
    c.appliedPowerNotch = 0;
    c.brakeHandle = brakeNotch;
    c.appliedBrakeNotch = brakeNotch;
    c.sapBrakeNotch = brakeNotch;
    c.electricBrakeNotch = brakeNotch;
    c.powerChangePending = false;
    c.brakeChangePending = false;
    c.sapChangePending = false;
    c.eBrakeChangePending = false;
}

void setPowerHandle(Run& run, std::int32_t notch)
{
    ControlState& c = run.state.controls;
    c.powerHandle = notch;
    c.holdingBrakeOn = c.leftHolding = false;
    setAllFlags(c);
}

void setBrakeHandle(Run& run, std::int32_t position)
{
    ControlState& c = run.state.controls;
    c.brakeHandle = position;
    c.holdingBrakeOn = c.leftHolding = false;
    setAllFlags(c);
}

void applyPowerNotchDelay(Run& run)
{
    ControlState& c = run.state.controls;
    if (!delayElapsed(c.powerChangePending, c.powerDelayCounter, reaches(run.vehicle.powerDelay)))
        return;
    // Clips that follow their own clock (station clips, switching) hold the
    // applied notch.
    const std::int32_t mode = run.state.video.videoMode;
    if (mode != 0 && mode != 2)
        return;
    if (c.powerHandle >= c.appliedPowerNotch || c.powerHandle >= run.vehicle.notchBack || c.powerHandle == 0)
        c.appliedPowerNotch = c.powerHandle;
}

void applyBrakeNotchDelays(Run& run)
{
    ControlState& c = run.state.controls;
    const std::int32_t brakeDelay = run.vehicle.brakeDelay;
    // A brake already applied answers at 70 % of the delay; the comparison is
    // made in whole numbers (10 x counter against 7 x delay) so that a delay of
    // 10 steps answers at exactly 7.
    const bool trailerBraked = run.state.air.bcTrailerCar.raw > 0;
    const bool cylinderDue = delayElapsed(c.brakeChangePending, c.brakeDelayCounter, [&](std::int32_t counter) {
        if (trailerBraked)
            return std::int64_t{10} * counter >= std::int64_t{7} * brakeDelay;
        return counter == brakeDelay;
    });
    if (cylinderDue)
        c.appliedBrakeNotch = brakePositionInEffect(run);
    if (delayElapsed(c.sapChangePending, c.sapDelayCounter, reaches(run.vehicle.sapDelay)))
        c.sapBrakeNotch = brakePositionInEffect(run);
    if (delayElapsed(c.eBrakeChangePending, c.eBrakeDelayCounter, reaches(run.vehicle.eBrakeDelay)))
        c.electricBrakeNotch = brakePositionInEffect(run);
}

}  // namespace cabdrive
