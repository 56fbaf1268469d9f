// Traction: the tractive force of the physics step and the motor current of the tick.
#include "sim/traction.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"
#include "sim/dynamics_math.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double gravity = 9.8;  // m/s², also kgf to N

// Notch n's row, or nothing for notch 0 and notches the table does not hold.
const NotchRow* notchRow(const VehicleSpec& vehicle, std::int32_t notch)
{
    if (notch < 1 || static_cast<std::size_t>(notch) > vehicle.notchTable.size())
        return nullptr;
    return &vehicle.notchTable[static_cast<std::size_t>(notch - 1)];
}

bool mayPower(const Run& run)
{
    const RunState& s = run.state;
    // A signed compare: a train running backwards is never limited.
    return s.dynamics.trainSpeed < run.vehicle.maxSpeed && doorsAllowTraction(run) && s.engine.engineRunning == 1
        && !s.protection.protectionEmergencyBrake && !s.protection.protectionServiceBrake;
}

// km/h/s of an acceleration-table notch at speed v (km/h, >= 0).
long double notchAcceleration(const NotchRow& row, long double v)
{
    const long double a = row.accelStart;
    const long double b = row.accelAtBase;
    const long double c = row.baseSpeed;
    const long double d = row.curveSpeed;
    if (a <= 0)  // a retarding notch acts only inside its band
        return c <= v && v < d ? a : 0;
    if (v < c)
        return a + v * (b - a) / c;
    if (v < d)
        return quotientOrZero(c * b, v);  // v is 0 here only when baseSpeed is 0
    // Above curveSpeed the acceleration decays by curveExponent per km/h; the
    // rounded speed is the exponent, so it falls in steps at every half km/h.
    const long double e = row.curveExponent;
    const long double decayed = c * b * integerPower(e, roundHalfAway(v)) / integerPower(e, row.curveSpeed) / v;
    return std::isfinite(decayed) ? decayed : 0;
}

// N from an acceleration-table notch.
long double accelerationTableForce(const Run& run, std::int32_t notch, long double v)
{
    const NotchRow* row = notchRow(run.vehicle, notch);
    if (!row)
        return 0;
    return notchAcceleration(*row, v) / 3.6L * run.vehicle.trainMass.value() * 1000;
}

// N from the current model: the motor current drives the acceleration the
// limit current gives, constant up to H3 and falling as 1/v above it.
long double currentModelForce(const Run& run, long double v)
{
    const VehicleSpec& vehicle = run.vehicle;
    const long double mass = vehicle.trainMass.value();
    const long double limitCurrent = vehicle.currentPHead1;  // A
    const long double accel = vehicle.currentPHead2 / 3.6L;
    const long double current = run.state.dynamics.motorCurrent;
    if (v < vehicle.currentPHead3)
        return quotientOrZero(mass * 1000 * accel, limitCurrent) * current;
    const long double force = quotientOrZero(accel * vehicle.currentPHead3, v) * mass * 1000;
    return quotientOrZero(force, limitCurrent) * current;
}

// kgf of a gear between two of its speeds, from |v - fromSpeed|.
long double interpolatedEffort(long double fromEffort, long double toEffort, std::int32_t fromSpeed, std::int32_t toSpeed,
                               long double v)
{
    const long double slope = quotientOrZero(toEffort - fromEffort, toSpeed - fromSpeed);
    return fromEffort + std::fabs(v - fromSpeed) * slope;
}

// N from the diesel gear table, for the present gear.
long double dieselForce(const Run& run, std::int32_t notch, long double v)
{
    const VehicleSpec& vehicle = run.vehicle;
    const std::int32_t gear = run.state.engine.currentGear;
    if (gear < 0 || static_cast<std::size_t>(gear) >= vehicle.engineTable.size() || vehicle.powerNotches <= 0)
        return 0;
    const EngineRow& row = vehicle.engineTable[static_cast<std::size_t>(gear)];
    const long double notches = vehicle.powerNotches;
    if (v < row.speedMid) {
        const long double effort = interpolatedEffort(row.effortLow, row.effortMid, row.speedLow, row.speedMid, v);
        // Below the powerJerk speed only two notches' worth of effort is given.
        const std::int32_t effectiveNotch = run.state.dynamics.trainSpeed < vehicle.powerJerk ? std::min(notch, 2) : notch;
        return effectiveNotch * effort * gravity / notches;
    }
    if (v < row.speedHigh) {
        const long double effort = interpolatedEffort(row.effortMid, row.effortHigh, row.speedMid, row.speedHigh, v);
        return notch * effort * gravity / notches;
    }
    return 0;
}

// N of whichever traction model the vehicle uses, before the reverser.
long double tractiveForce(const Run& run)
{
    const VehicleSpec& vehicle = run.vehicle;
    const RunState& s = run.state;
    const std::int32_t notch = s.controls.appliedPowerNotch;
    const long double v = std::fabs(s.dynamics.trainSpeed);
    if (notch <= 0)
        return 0;
    if (vehicle.engineType == 1 && vehicle.powerType == 1) {
        if (s.controls.brakeHandle != 0)
            return 0;
        return accelerationTableForce(run, notch, v);
    }
    if (vehicle.engineType == 1 && vehicle.powerType == 0)
        return currentModelForce(run, v);
    if (vehicle.engineType == 0 && s.engine.gearShiftState == 0)
        return dieselForce(run, notch, v);
    return 0;
}

long double throughReverser(long double force, std::int32_t reverser)
{
    if (reverser == 0)
        return 0;
    return reverser < 0 ? -force : force;
}

// The current model's controller: steps up whenever the current has fallen
// below the limit current and the notch allows the next step; the current
// then follows that step's hyperbola constant / (v - speedOffset).
void progressCurrentSteps(Run& run, std::int32_t notch, long double v)
{
    const VehicleSpec& vehicle = run.vehicle;
    DynamicsState& d = run.state.dynamics;
    const auto& rows = vehicle.currentP;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (d.currentStep < 0 || static_cast<std::size_t>(d.currentStep) >= rows.size())
            return;  // a step the table does not hold (restored state)
        if (i > static_cast<std::size_t>(d.currentStep) && rows[i].stepNotch <= notch && d.motorCurrent < vehicle.currentPHead1)
            ++d.currentStep;
        const CurrentPRow& step = rows[static_cast<std::size_t>(d.currentStep)];
        const long double span = v - step.speedOffset;
        if (span != 0)
            d.motorCurrent = saturateInt32(roundHalfAway(step.currentConstant / span));
    }
}

// The lamp shows that the controller has reached the last step its notch
// allows: the next row needs a higher notch, or there is no next row.
bool lastStepOfNotch(const Run& run)
{
    const auto& rows = run.vehicle.currentP;
    const std::int32_t step = run.state.dynamics.currentStep;
    if (step <= 0 || static_cast<std::size_t>(step) >= rows.size())
        return false;
    const std::size_t next = static_cast<std::size_t>(step) + 1;
    return next >= rows.size() || rows[static_cast<std::size_t>(step)].stepNotch != rows[next].stepNotch;
}

void updateCurrentModel(Run& run)
{
    RunState& s = run.state;
    DynamicsState& d = s.dynamics;
    const std::int32_t notch = s.controls.appliedPowerNotch;
    if (notch == 0) {
        d.currentStep = 0;
        d.motorCurrent = 0;
    } else if (notch > 0 && doorsAllowTraction(run)) {
        progressCurrentSteps(run, notch, std::fabs(d.trainSpeed));
    }
    d.ammeterValue = d.motorCurrent;
    run.scene.setVisible("img_Lamp_fin", lastStepOfNotch(run));
}

void updateTractionAmmeter(Run& run)
{
    RunState& s = run.state;
    DynamicsState& d = s.dynamics;
    if (s.controls.appliedBrakeNotch < 0 || s.controls.appliedPowerNotch > 0) {
        // The ammeter reads the acceleration: 50 A per km/h/s.
        const long double accel = quotientOrZero(d.appliedTractionForce.value() * 3.6L, run.vehicle.trainMass.value() * 1000);
        d.ammeterValue = saturateInt32(roundHalfAway(accel * 50));
    } else {
        d.ammeterValue = 0;
    }
}

}  // namespace

bool doorsAllowTraction(const Run& run)
{
    const std::int32_t doorLock = run.vehicle.doorLock;
    return doorLock == 0 || (doorLock == 1 && !run.state.doors.doorsOpen);
}

void tractionStage(Run& run)
{
    if (!mayPower(run))
        return;
    const long double force = throughReverser(tractiveForce(run), run.state.controls.reverser);
    addTo(run.state.dynamics.tractionForce, force);
}

void updateMotorCurrent(Run& run)
{
    if (run.vehicle.powerType == 1)
        updateTractionAmmeter(run);
    else if (run.vehicle.powerType == 0)
        updateCurrentModel(run);
}

}  // namespace cabdrive
