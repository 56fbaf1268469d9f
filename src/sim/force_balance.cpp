// The force balance of the 100 ms tick and the gradient history it uses.
#include "sim/force_balance.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "common/rounding.h"
#include "sim/dynamics_math.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double gravity = 9.8;           // m/s²
constexpr long double gradientSampleStep = 2000;  // cm of movement between samples
const char* const wheelSlip = "空転";
const char* const wheelSlide = "滑走";

// The quantities every step reads, taken once at the start of the balance.
struct Balance {
    Run& run;
    DynamicsState& d;
    const VehicleSpec& vehicle;
    long double v;      // km/h, signed
    long double speed;  // |v|
    long double mass;   // t, the whole train
    std::int32_t notch;
    bool braking;  // the applied brake position is below 0

    long double bcMotor() const { return run.state.air.bcMotorCar.value(); }
    long double bcTrailer() const { return run.state.air.bcTrailerCar.value(); }
    long double ebPress() const { return vehicle.ebPress; }
    // The mass the driven wheels press on the rail with: the motor cars of an
    // electric train, the whole of a diesel car.
    long double adhesionMass() const { return vehicle.engineType == 0 ? mass : vehicle.massMotor.value(); }
    long double traction() const { return d.tractionForce.value(); }
    long double resistance() const { return d.resistanceForce.value(); }
    // km/h gained in one 0.1 s tick from a force in N.
    long double speedGain(long double force) const { return quotientOrZero(force, mass * 1000) * 3.6L / 10; }
};

// 1. The brake shoes grip harder at low speed, up to brakeRateC.
void updateShoeFactor(Balance& b)
{
    const long double limit = b.vehicle.brakeRateC.value();
    const long double k = b.vehicle.brakeRateAlt;
    b.d.shoeFactor = b.vehicle.brakeRateA;
    if (0 < b.speed && b.speed < limit) {
        const long double here = quotientOrZero(1 + 0.01L * b.speed, 1 + k * b.speed);
        const long double atLimit = quotientOrZero(1 + 0.01L * limit, 1 + k * limit);
        b.d.shoeFactor = fixed4::fromValue(quotientOrZero(here, atLimit));
    } else if (b.speed > limit) {
        b.d.shoeFactor = fixed4::fromInt(1);
    }
}

// 2. Friction brake from the cylinder pressures (brakeRateA is the
// deceleration at ebPress) plus the electric brake (brakeRateB at full current).
void updateBrakeForce(Balance& b)
{
    const VehicleSpec& vehicle = b.vehicle;
    const long double k = b.d.shoeFactor.value() * vehicle.brakeRateA.value() / 3.6L * 1000;
    const long double mm = vehicle.massMotor.value();
    const long double mt = vehicle.massTrailer.value();
    const long double mc = vehicle.massCab.value();
    const long double e = b.ebPress();
    const long double current = b.run.state.air.electricBrakeCurrent;
    const long double electricPerTonne =
        quotientOrZero(current, vehicle.eBrakeCurr) * vehicle.brakeRateB.value() / 3.6L * 1000;
    long double force = 0;
    switch (vehicle.brakeType2) {
    case 1:
        force = k * (quotientOrZero(mm * b.bcMotor(), e) + quotientOrZero(mt * b.bcTrailer(), e) + quotientOrZero(mc * b.bcTrailer(), e));
        if (current > 0)
            force += electricPerTonne * mm;
        break;
    case 2:
        force = k * (quotientOrZero(mm * b.bcMotor(), e) + quotientOrZero(mt * b.bcMotor(), e) + quotientOrZero(mc * b.bcTrailer(), e));
        if (current > 0)
            force += electricPerTonne * (mm + mt);
        break;
    default:  // 0, and values the vehicle file should not hold: air only
        force = k * (quotientOrZero(mm * b.bcMotor(), e) + quotientOrZero(mt * b.bcTrailer(), e));
        break;
    }
    b.d.brakeForce = fixed4::fromValue(force);
}

// 3. The brake acts against the motion; at standstill holding takes over (15).
void applyBrakeForce(Balance& b)
{
    if (b.v > 0)
        addTo(b.d.tractionForce, -b.d.brakeForce.value());
    else if (b.v < 0)
        addTo(b.d.tractionForce, b.d.brakeForce.value());
}

// 4. Powering and braking wheels see different adhesion; coasting keeps the last.
void updateAdhesionCoefficient(Balance& b)
{
    const long double friction = b.run.route.friction.value();
    if (b.notch > 0)
        b.d.adhesionCoefficient = fixed4::fromValue(friction * (1 + 0.279L * b.speed) / (1 + 0.367L * b.speed));
    else if (b.braking)
        b.d.adhesionCoefficient = fixed4::fromValue(friction / (1 + 0.0059L * b.speed));
}

// 5. The component of the train's weight along a slope of G per mille.
void addGradientForce(Balance& b)
{
    const long double g = b.d.effectiveGradient.value();
    addTo(b.d.resistanceForce, -gravity * b.mass * 1000 * g / std::sqrt(g * g + 1000 * 1000));
}

// 6. Air pressure in a tunnel grows with the square of the speed, against
// the motion: written as always negative, it would speed a reversing train up.
void addTunnelResistance(Balance& b)
{
    if (!b.d.inTunnel)
        return;
    // At most what stops the train within this tick: a resistance never reverses it.
    const long double amount = std::min((b.d.tunnelResistance / 10000.0L) * b.v * b.v * b.mass * gravity,
                                        b.speed / 0.36L * b.mass * 1000);
    addTo(b.d.resistanceForce, b.v >= 0 ? -amount : amount);
}

// 7. The largest force the wheels transmit, eased or burdened by the resistance.
void updateAdhesionLimit(Balance& b)
{
    const long double mu = b.d.adhesionCoefficient.value();
    if (b.notch > 0)
        b.d.adhesionLimit = fixed4::fromValue(mu * b.adhesionMass() * 1000 * gravity + b.resistance());
    else if (b.braking)
        b.d.adhesionLimit = fixed4::fromValue(mu * b.mass * 1000 * gravity + b.resistance());
}

// 8. Beyond adhesion the wheels slip (powering) or slide (braking) and the
// force falls well below the limit.
void limitByAdhesion(Balance& b)
{
    const long double mu = b.d.adhesionCoefficient.value();
    const long double limit = b.d.adhesionLimit.value();
    if (b.notch > 0 && b.traction() > limit) {
        b.d.tractionForce = fixed4::fromValue(mu / 2 * b.adhesionMass() * 1000 * gravity);
        b.d.slipIndication = wheelSlip;
    } else if (b.braking && b.traction() < -limit) {
        b.d.tractionForce = fixed4::fromValue(-mu * 0.66L * b.mass * 1000 * gravity);
        b.d.slipIndication = wheelSlide;
    } else {
        b.d.slipIndication.clear();
    }
}

// 9. 3 x 9.8 N per tonne at standstill, fading out by 3 km/h; not charged
// where a down-grade already pulls the train.
void addStartingResistance(Balance& b)
{
    if (b.notch > 0 && b.speed < 3 && b.resistance() >= 0) {
        const long double amount = (3 - b.speed) * gravity * b.mass;
        addTo(b.d.resistanceForce, b.v >= 0 ? -amount : amount);
    }
}

// 10. Bearing, rolling and air resistance, against the motion.
void addRunningResistance(Balance& b)
{
    const long double cars = b.vehicle.cars;
    const long double amount =
        gravity * ((1.32L + 0.0164L * b.speed) * b.mass + (0.028L + 0.0078L * (cars - 1)) * b.v * b.v);
    if (b.v > 0.1L)
        addTo(b.d.resistanceForce, -amount);
    else if (b.v < -0.1L)
        addTo(b.d.resistanceForce, amount);
}

// 11. The holding brake cancels a down-grade's pull.
void applyHoldingBrake(Balance& b)
{
    if (b.resistance() > 0 && b.run.state.controls.holdingBrakeOn && b.d.effectiveGradient.raw < 0)
        addTo(b.d.tractionForce, -b.resistance());
}

// 12. Constant-speed control balances the resistance, never brakes.
void applyConstantSpeed(Balance& b)
{
    if (!b.run.state.controls.constantSpeedOn)
        return;
    b.d.tractionForce = b.resistance() < 0 ? fixed4::fromValue(-b.resistance()) : fixed4{};
}

// 13. A station clip shows a stop: nothing pulls the train.
void dropResistanceInStationClip(Balance& b)
{
    if (b.run.state.video.videoMode == 1)
        b.d.resistanceForce = fixed4{};
}

// 14. The speed after this tick, used to catch a reversal by braking.
void predictSpeed(Balance& b)
{
    b.d.predictedSpeed = fixed4::fromValue(b.v + b.speedGain(b.traction()));
    b.d.predictedSpeed = fixed4::fromValue(b.d.predictedSpeed.value() + b.speedGain(b.resistance()));
}

void stopDead(Balance& b)
{
    b.d.trainSpeed = 0;
    b.d.tractionForce = fixed4{};
    b.d.resistanceForce = fixed4{};
}

// 15. A standing train with its trailer brakes applied stays put while they
// hold more than the resistance (the gradient) pulls.
void holdAtStandstill(Balance& b)
{
    if (b.v != 0)
        return;
    const long double holding = std::fabs(quotientOrZero(b.d.shoeFactor.value() * b.bcTrailer(), b.ebPress()) / 3.6L * b.mass * 1000);
    if (holding > std::fabs(b.resistance()))
        stopDead(b);
}

// 16. Braking stops the train; it never drives it the other way.
void preventReversalByBraking(Balance& b)
{
    const bool brakingDominates = std::fabs(b.resistance()) < std::fabs(b.traction());
    const long double predicted = b.d.predictedSpeed.value();
    if (brakingDominates && ((b.v > 0 && b.traction() < 0 && predicted < 0) || (b.v < 0 && b.traction() > 0 && predicted > 0)))
        stopDead(b);
}

// 17. One tick of 0.1 s; the value display can switch the resistance off.
void integrateSpeed(Balance& b)
{
    if (!b.run.state.input.resistanceDebug)
        b.d.trainSpeed += b.speedGain(b.resistance());
    b.d.trainSpeed += b.speedGain(b.traction());
}

}  // namespace

void forceBalance(Run& run)
{
    DynamicsState& d = run.state.dynamics;
    Balance b{run,
              d,
              run.vehicle,
              d.trainSpeed,
              std::fabs(d.trainSpeed),
              run.vehicle.trainMass.value(),
              run.state.controls.appliedPowerNotch,
              run.state.controls.appliedBrakeNotch < 0};
    updateShoeFactor(b);
    updateBrakeForce(b);
    applyBrakeForce(b);
    updateAdhesionCoefficient(b);
    addGradientForce(b);
    addTunnelResistance(b);
    updateAdhesionLimit(b);
    limitByAdhesion(b);
    addStartingResistance(b);
    addRunningResistance(b);
    applyHoldingBrake(b);
    applyConstantSpeed(b);
    dropResistanceInStationClip(b);
    predictSpeed(b);
    holdAtStandstill(b);
    preventReversalByBraking(b);
    integrateSpeed(b);
}

void levelGradient(Run& run)
{
    DynamicsState& d = run.state.dynamics;
    d.frontGradient = fixed4{};
    d.effectiveGradient = fixed4{};
    std::fill(d.carGradients.begin(), d.carGradients.end(), 0);
    d.gradientSamplePosition = d.trainPosition;
}

void sampleGradient(Run& run)
{
    DynamicsState& d = run.state.dynamics;
    if (std::fabs(d.trainPosition - d.gradientSamplePosition) <= gradientSampleStep)
        return;
    d.gradientSamplePosition = d.trainPosition;
    const auto front = saturateInt32(roundTiesEven(d.frontGradient.value()));
    std::vector<std::int32_t>& cars = d.carGradients;
    if (cars.empty()) {
        // A train of no cars has no history to average: it feels its front.
        d.effectiveGradient = fixed4::fromInt(front);
        return;
    }
    for (std::size_t k = cars.size() - 1; k > 0; --k)
        cars[k] = cars[k - 1];
    cars[0] = front;
    const long double sum = std::accumulate(cars.begin(), cars.end(), 0.0L);
    d.effectiveGradient = fixed4::fromValue(sum / static_cast<long double>(cars.size()));
}

}  // namespace cabdrive
