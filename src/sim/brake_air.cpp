// The air brake system: brake cylinders, pipes and reservoirs, the
// compressor, the horn's air and the electric brake current.
#include "sim/brake_air.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"
#include "sim/dynamics_math.h"
#include "sim/traction.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double highestFeed = 490;       // kPa: brake pipe and equalising reservoir charge
constexpr long double fullReductionKpa = 140;  // brake-pipe reduction that asks for maxPress
constexpr long double blendCurrent = 50;       // A: from it the electric brake carries the motor cars

// One physics step of the air system: every per-second rate of the vehicle
// file is applied as rate / R, R = physicsStepDivisor.
struct AirStep {
    const VehicleSpec& vehicle;
    AirState& air;
    long double divisor;  // R

    long double perStep(long double ratePerSecond) const { return ratePerSecond / divisor; }
    std::int32_t notches() const { return vehicle.brakeNotches; }

    // BC -= (rate/R) / releaseCurve(BC, k): fast at high pressure, a slow tail near 0.
    void release(fixed4& cylinder, long double ratePerSecond, long double k) const
    {
        addTo(cylinder, -perStep(ratePerSecond) / releaseCurve(cylinder.value(), k));
    }
};

long double feedPressureOf(const AirState& air)
{
    return std::min(air.mrPressure.value(), highestFeed);
}

// Raises a charge by a step, never past its limit.
void chargeTowards(long double& value, long double step, long double limit)
{
    value = std::max(value, std::min(value + step, limit));
}

void chargeTowards(fixed4& value, long double step, long double limit)
{
    long double real = value.value();
    chargeTowards(real, step, limit);
    value = fixed4::fromValue(real);
}

bool protectionBraking(const Run& run)
{
    return run.state.protection.protectionEmergencyBrake || run.state.protection.protectionServiceBrake;
}

// --- automatic air brake (brakeType 0) ---

// Running and release: cylinders below the pipe empty; the pipe and the
// equalising reservoir recharge, fast while the trailer cylinder still holds
// at least the pipe's pressure, slowly (to the full feed) once it is below.
void autoRecharge(const AirStep& step)
{
    AirState& air = step.air;
    for (fixed4* cylinder : {&air.bcTrailerCar, &air.bcMotorCar})
        if (cylinder->value() < air.bpPressure)
            step.release(*cylinder, step.vehicle.brakeDown, 1.2L);
    const long double fast = step.perStep(step.vehicle.bpReturn);
    const long double feed = air.feedPressure;
    if (air.bcTrailerCar.value() < air.bpPressure) {
        if (feed > air.bpPressure) {
            chargeTowards(air.bpPressure, fast / 2.5L, feed);
            addTo(air.mrPressure, -fast / 2.5L / 5);
        }
        if (air.erPressure.value() < feed)
            chargeTowards(air.erPressure, fast / 2.5L, feed);
    } else {
        if (air.bpPressure < feed - 1) {
            chargeTowards(air.bpPressure, fast, feed - 1);
            addTo(air.mrPressure, -fast / 5);
        }
        if (air.erPressure.value() < feed - 1)
            chargeTowards(air.erPressure, fast, feed - 1);
    }
}

// Cylinders rise towards the pressure the brake-pipe reduction asks for.
void autoApplyCylinders(const AirStep& step, long double target, bool drawStraightAir)
{
    AirState& air = step.air;
    for (fixed4* cylinder : {&air.bcTrailerCar, &air.bcMotorCar}) {
        if (cylinder->value() < step.vehicle.maxPress && cylinder->value() < target) {
            addTo(*cylinder, step.perStep(step.vehicle.brakeUp));
            if (drawStraightAir)
                addTo(air.sapPressure, -step.perStep(step.vehicle.sapUp));
        }
    }
}

void autoService(const AirStep& step, long double target)
{
    AirState& air = step.air;
    // Nothing builds until the reduction exceeds elbrFlag kPa.
    if (step.vehicle.elbrFlag < air.feedPressure - air.bpPressure)
        autoApplyCylinders(step, target, true);
    const long double reduction = step.perStep(step.vehicle.brakeUp) / 4.6L;
    addTo(air.erPressure, -reduction);
    air.bpPressure -= reduction;
}

void autoGraduated(const AirStep& step, long double target)
{
    for (fixed4* cylinder : {&step.air.bcTrailerCar, &step.air.bcMotorCar}) {
        if (cylinder->value() < step.vehicle.maxPress && cylinder->value() < target)
            addTo(*cylinder, step.perStep(step.vehicle.brakeUp));
        else if (cylinder->value() > target + 10)
            step.release(*cylinder, step.vehicle.brakeDown, 1.2L);
    }
}

void autoLap(const AirStep& step, long double target)
{
    if (step.vehicle.elbrFlag < step.air.feedPressure - step.air.bpPressure)
        autoApplyCylinders(step, target, false);
}

void autoEmergency(const AirStep& step)
{
    AirState& air = step.air;
    const long double rise = step.perStep(step.vehicle.brakeUp) / 0.3L;
    if (air.bcTrailerCar.value() < step.vehicle.ebPress && air.bpPressure > 0) {
        addTo(air.bcTrailerCar, rise);
        addTo(air.sapPressure, -step.perStep(step.vehicle.sapDown) / 3);
    }
    if (air.bcMotorCar.value() < step.vehicle.ebPress && air.bpPressure > 0)
        addTo(air.bcMotorCar, rise);
    addTo(air.erPressure, -step.perStep(step.vehicle.brakeUp) / 4.6L);
    air.bpPressure -= step.perStep(step.vehicle.brakeUp) / 0.6L;
}

// Position -1 without [Pull]: the pipe recharges while the trailer cars keep
// their brake; only the motor cars release.
void autoHoldingRecharge(const AirStep& step)
{
    AirState& air = step.air;
    const long double charge = step.perStep(step.vehicle.brakeDown) / 2.5L;
    if (air.erPressure.value() < air.feedPressure)
        chargeTowards(air.erPressure, charge, air.feedPressure);
    if (air.feedPressure > air.bpPressure) {
        chargeTowards(air.bpPressure, charge, air.feedPressure);
        addTo(air.mrPressure, -step.perStep(step.vehicle.brakeUp) / 20);
    }
    if (air.bcMotorCar.value() < air.bpPressure)
        step.release(air.bcMotorCar, step.vehicle.brakeDown, 1.4L);
}

// A protection brake vents the pipe whatever the handle says.
void autoProtectionBrake(const AirStep& step, std::int32_t brakeHandle)
{
    AirState& air = step.air;
    const long double up = step.perStep(step.vehicle.brakeUp);
    if (air.bcTrailerCar.value() < step.vehicle.ebPress) {
        addTo(air.bcTrailerCar, up / 0.3L);
        addTo(air.mrPressure, -up / 3.3L);
        addTo(air.sapPressure, -step.perStep(step.vehicle.sapDown) / 3);
    }
    if (air.bcMotorCar.value() < step.vehicle.ebPress)
        addTo(air.bcMotorCar, up / 0.3L);
    addTo(air.erPressure, -up / 0.6L);
    air.bpPressure -= up / 0.6L;
    if (brakeHandle == 0 || brakeHandle == -1)
        addTo(air.mrPressure, -up / 4.6L);
}

void updateAutomaticBrake(const Run& run, const AirStep& step)
{
    AirState& air = step.air;
    air.feedPressure = feedPressureOf(air);
    const std::int32_t notch = run.state.controls.appliedBrakeNotch;
    if (protectionBraking(run)) {
        autoProtectionBrake(step, run.state.controls.brakeHandle);
    } else {
        // The cylinder pressure that answers the present reduction: 140 kPa asks for maxPress.
        const long double target = (air.feedPressure - air.bpPressure) * step.vehicle.maxPress / fullReductionKpa;
        const std::int32_t pull = step.vehicle.pullNotch;
        if (notch == 0 || (notch == -1 && pull == 1))
            autoRecharge(step);
        else if (notch == -3)
            autoService(step, target);
        else if (notch == -5)
            autoGraduated(step, target);
        else if (notch == -2)
            autoLap(step, target);
        else if (notch == -4)
            autoEmergency(step);
        else if (notch == -1 && pull == 0)
            autoHoldingRecharge(step);
    }
    clampAtZero(air.mrPressure);
    clampAtZero(air.erPressure);
    clampAtZero(air.bpPressure);
    clampAtZero(air.bcTrailerCar);
    clampAtZero(air.bcMotorCar);
    clampAtZero(air.sapPressure);
}

// --- notched brakes (brakeType 1 and 2) ---

// The motor cars' cylinder blends with the electric brake: while that
// carries the load (50 A and more) the air is held at about elbrFlag kPa.
void blendMotorCylinder(const AirStep& step, long double target)
{
    fixed4& cylinder = step.air.bcMotorCar;
    const long double current = step.air.electricBrakeCurrent;
    const long double elbr = step.vehicle.elbrFlag;
    if (cylinder.value() + 10 < target && (current < blendCurrent || cylinder.value() < elbr))
        addTo(cylinder, step.perStep(step.vehicle.brakeUp));
    if (cylinder.value() > target)
        step.release(cylinder, step.vehicle.brakeDown, 1.2L);
    else if (current + 10 >= blendCurrent && cylinder.value() >= elbr + 5)
        step.release(cylinder, step.vehicle.brakeDown, 1.2L);
}

void updateStraightAirPipe(const AirStep& step, std::int32_t sapNotch)
{
    const std::int32_t n = step.notches();
    if (!(-n < sapNotch && sapNotch < 0))
        return;
    const long double target = quotientOrZero(step.vehicle.sapPress, n - 1) * -sapNotch;
    fixed4& sap = step.air.sapPressure;
    if (sap.value() + 10 < target)
        addTo(sap, step.perStep(step.vehicle.sapUp));
    if (sap.value() > target)
        addTo(sap, -step.perStep(step.vehicle.sapDown));
}

void electroPneumaticService(const AirStep& step, long double target)
{
    AirState& air = step.air;
    const VehicleSpec& vehicle = step.vehicle;
    if (air.bcTrailerCar.value() + 10 < target) {
        addTo(air.bcTrailerCar, step.perStep(vehicle.brakeUp));
        addTo(air.mrPressure, -step.perStep(vehicle.brakeUp) / 10);
    }
    const long double chargedPipe = vehicle.maxPress - quotientOrZero(vehicle.maxPress, step.notches());
    if (air.bcTrailerCar.value() > target && air.bpPressure >= chargedPipe)
        step.release(air.bcTrailerCar, vehicle.brakeDown, 1.2L);
    blendMotorCylinder(step, target);
    clampAtZero(air.bcTrailerCar);
    clampAtZero(air.bcMotorCar);
    clampAtZero(air.sapPressure);
}

void electroPneumaticEmergency(const AirStep& step)
{
    AirState& air = step.air;
    const long double rise = 3 * step.perStep(step.vehicle.brakeUp);
    if (air.bcTrailerCar.value() < step.vehicle.ebPress) {
        addTo(air.bcTrailerCar, rise);
        addTo(air.mrPressure, -step.perStep(step.vehicle.brakeUp) / 5);
    }
    if (air.bcMotorCar.value() < step.vehicle.ebPress)
        addTo(air.bcMotorCar, rise);
    addTo(air.erPressure, -rise);
    addTo(air.sapPressure, -3 * step.perStep(step.vehicle.sapUp));
    air.bpPressure -= rise;
    clampAtZero(air.erPressure);
    clampAtZero(air.sapPressure);
    clampAtZero(air.bpPressure);
}

void releaseToZero(const AirStep& step, fixed4& pressure, long double ratePerSecond, long double k)
{
    step.release(pressure, ratePerSecond, k);
    clampAtZero(pressure);
}

// Release waits for the equalising reservoir to recharge close to ebPress.
void electroPneumaticRelease(const AirStep& step)
{
    AirState& air = step.air;
    const long double eb = step.vehicle.ebPress;
    if (air.erPressure.value() < eb - quotientOrZero(eb, step.notches()))
        return;
    if (air.bcTrailerCar.raw > 0 || air.sapPressure.raw > 0) {
        releaseToZero(step, air.bcTrailerCar, step.vehicle.brakeDown, 1.2L);
        releaseToZero(step, air.sapPressure, step.vehicle.sapDown, 1.2L);
    }
    if (air.bcMotorCar.raw > 0)
        releaseToZero(step, air.bcMotorCar, step.vehicle.brakeDown, 1.2L);
}

void updateElectroPneumaticBrake(const Run& run, const AirStep& step)
{
    AirState& air = step.air;
    const std::int32_t n = step.notches();
    const std::int32_t notch = run.state.controls.appliedBrakeNotch;
    air.feedPressure = feedPressureOf(air);
    updateStraightAirPipe(step, run.state.controls.sapBrakeNotch);
    if (-n < notch && notch < 0)
        electroPneumaticService(step, quotientOrZero(step.vehicle.maxPress, n - 1) * -notch);
    if (notch == -n)
        electroPneumaticEmergency(step);
    if (notch == 0)
        electroPneumaticRelease(step);
    if (notch >= -n + 1) {
        const long double charge = step.perStep(step.vehicle.brakeDown) / 5;
        air.erPressure = fixed4::fromValue(std::min(air.erPressure.value() + charge, air.feedPressure));
        air.bpPressure = std::min(air.bpPressure + charge, air.feedPressure);
    }
}

void updateElectricCommandBrake(const Run& run, const AirStep& step)
{
    AirState& air = step.air;
    const VehicleSpec& vehicle = step.vehicle;
    const std::int32_t n = step.notches();
    const std::int32_t notch = run.state.controls.appliedBrakeNotch;
    if (-n < notch && notch < 0) {
        // N, not N - 1: the last service notch stays below maxPress.
        const long double target = quotientOrZero(vehicle.maxPress, n) * -notch;
        fixed4& trailer = air.bcTrailerCar;
        if (trailer.value() + 10 < target) {
            // Slower as it nears the target.
            addTo(trailer, step.perStep(vehicle.brakeUp) / releaseCurve(std::fabs(trailer.value() - target), 1.2L));
            addTo(air.mrPressure, -step.perStep(vehicle.brakeUp) / 30);
        }
        if (trailer.value() > target)
            step.release(trailer, vehicle.brakeDown, 2.0L);
        blendMotorCylinder(step, target);
        clampAtZero(air.bcTrailerCar);
        clampAtZero(air.bcMotorCar);
    } else if (notch == -n) {
        for (fixed4* cylinder : {&air.bcTrailerCar, &air.bcMotorCar})
            if (cylinder->value() < vehicle.ebPress)
                addTo(*cylinder, 1.3L * step.perStep(vehicle.brakeUp));
    } else if (notch == 0) {
        for (fixed4* cylinder : {&air.bcTrailerCar, &air.bcMotorCar})
            if (cylinder->raw > 0)
                releaseToZero(step, *cylinder, vehicle.brakeDown, 1.2L);
    }
}

// --- electric brake current (100 ms tick) ---

// Rates per second applied once per 100 ms tick: rate / R x 3.
long double perTick(long double ratePerSecond, long double divisor)
{
    return ratePerSecond / divisor * 3;
}

void rampElectricBrakeCurrent(Run& run, long double divisor)
{
    const VehicleSpec& vehicle = run.vehicle;
    AirState& air = run.state.air;
    long double& current = air.electricBrakeCurrent;
    const std::int32_t n = vehicle.brakeNotches;
    const std::int32_t notch = run.state.controls.electricBrakeNotch;
    const long double v = run.state.dynamics.trainSpeed;
    const long double up = perTick(vehicle.eBrakeUp, divisor);
    const long double down = perTick(vehicle.eBrakeDown, divisor);
    const bool service = vehicle.brakeType2 > 0 && -n < notch;
    const long double target = service ? quotientOrZero(vehicle.eBrakeCurr * static_cast<long double>(-notch), n - 1) : 0;
    if (service && current + 50 < target && v >= vehicle.loseElec)
        current += up;
    // Below loseElec the current fades, in emergency as well.
    if ((service && current > target) || v < vehicle.loseElec)
        current -= down;
    clampAtZero(current);
    if (current > 0 && (notch == 0 || notch == -n)) {
        current -= down;
        clampAtZero(current);
    }
}

// The brake current of notch k (A), 0 for a notch the table does not give.
long double notchBrakeCurrent(const VehicleSpec& vehicle, std::int32_t notch)
{
    const std::int32_t k = -notch;
    if (k < 1 || static_cast<std::size_t>(k) > vehicle.brakeCurr.size())
        return 0;
    return vehicle.brakeCurr[static_cast<std::size_t>(k - 1)];
}

// The current table: each step's current is (|v| - offset) / divisor; the
// controller steps on while the current stays below the notch's current.
void progressBrakeCurrentSteps(Run& run, std::int32_t notch, long double v)
{
    const VehicleSpec& vehicle = run.vehicle;
    AirState& air = run.state.air;
    const auto& rows = vehicle.currentB;
    const long double notchCurrent = notchBrakeCurrent(vehicle, notch);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (air.brakeCurrentStep < 0 || static_cast<std::size_t>(air.brakeCurrentStep) >= rows.size())
            return;  // a step the table does not hold (restored state)
        const CurrentBRow& step = rows[static_cast<std::size_t>(air.brakeCurrentStep)];
        if (step.divisor != 0)
            air.electricBrakeCurrent = (std::fabs(v) - step.speedOffset) / step.divisor;
        if (notchCurrent == 0) {
            air.brakeCurrentStep = 0;
            air.electricBrakeCurrent = 0;
        } else if (i > static_cast<std::size_t>(air.brakeCurrentStep) && air.electricBrakeCurrent < notchCurrent) {
            ++air.brakeCurrentStep;
        }
    }
}

void tableElectricBrakeCurrent(Run& run)
{
    const VehicleSpec& vehicle = run.vehicle;
    RunState& s = run.state;
    AirState& air = s.air;
    const std::int32_t notch = s.controls.electricBrakeNotch;
    const long double v = s.dynamics.trainSpeed;
    if (doorsAllowTraction(run) && notch < 0) {
        if (v < vehicle.loseElec && air.brakeCurrentStep == 0)
            air.electricBrakeCurrent = 0;
        else
            progressBrakeCurrentSteps(run, notch, v);
    }
    if (notch == 0)
        air.brakeCurrentStep = 0;
    if (notch == 0 || air.electricBrakeCurrent < 100)  // A: below it the electric brake gives nothing
        air.electricBrakeCurrent = 0;
    if (air.brakeCurrentStep > 0)
        s.dynamics.currentStep = 0;
}

}  // namespace

long double releaseCurve(long double p, long double k)
{
    return 10 * std::pow(k, -p / 10) + 1;
}

void updateAirBrake(Run& run)
{
    // A divisor of 0 would turn every rate into an infinity: the air system
    // then stands still rather than corrupt the pressures.
    if (run.settings.physicsStepDivisor <= 0)
        return;
    const AirStep step{run.vehicle, run.state.air, static_cast<long double>(run.settings.physicsStepDivisor)};
    switch (run.vehicle.brakeType) {
    case 0:
        updateAutomaticBrake(run, step);
        break;
    case 2:
        updateElectricCommandBrake(run, step);
        break;
    default:  // 1, and any other notched brake
        updateElectroPneumaticBrake(run, step);
        break;
    }
    addTo(run.state.air.mrPressure, -step.perStep(0.2L));  // the main reservoir leaks 0.2 kPa/s
    clampAtZero(run.state.air.mrPressure);
}

void runCompressor(Run& run)
{
    const VehicleSpec& vehicle = run.vehicle;
    AirState& air = run.state.air;
    const long double mr = air.mrPressure.value();
    if (mr < vehicle.lowAirPress) {
        if (!air.compressorOn) {
            run.sound.restart(vehicleSound(vehicle.soundCpStart), false);
            run.sound.play(vehicleSound(vehicle.soundCpRun), true);
        }
        air.compressorOn = true;
    }
    // It runs on until the high pressure, not merely back above the low one.
    if (air.compressorOn && mr >= vehicle.highAirPress) {
        run.sound.play(vehicleSound(vehicle.soundCpEnd), false);
        run.sound.stop(vehicleSound(vehicle.soundCpRun));
        air.compressorOn = false;
    }
    if (!air.compressorOn)
        return;
    if (vehicle.engineType == 1)
        addTo(air.mrPressure, 0.3L);  // 3 kPa/s
    else
        addTo(air.mrPressure, run.state.engine.engineSpeed / 100 * 0.4L);  // a stopped engine charges nothing
}

void updateHornAir(Run& run)
{
    AirState& air = run.state.air;
    const long double h = run.vehicle.horn4Time.value();
    if (run.state.sound.hornSounding) {
        addTo(air.mrPressure, -0.5L);
        clampAtZero(air.mrPressure);
        if (air.mrNeedleDip > -h)
            air.mrNeedleDip -= h / 2;
        air.mrNeedleDip = std::max(air.mrNeedleDip, -air.mrPressure.value());
        air.mrNeedleStep = h;
    } else if (air.mrNeedleDip < 0) {
        // The needle swings back with a shrinking step.
        air.mrNeedleDip = std::min(air.mrNeedleDip + air.mrNeedleStep, 0.0L);
        if (air.mrNeedleStep - h / 5 < 0) {
            air.mrNeedleDip = 0;
            air.mrNeedleStep = 1;
        } else {
            air.mrNeedleStep -= h / 5;
        }
    }
}

long double gaugedBrakeCylinder(const Run& run)
{
    const AirState& air = run.state.air;
    return (run.vehicle.bcSelect == 1 ? air.bcMotorCar : air.bcTrailerCar).value();
}

long double mainReservoirNeedleValue(const Run& run)
{
    return run.state.air.mrPressure.value() + run.state.air.mrNeedleDip;
}

void updateElectricBrakeCurrent(Run& run)
{
    // The ramps are rates per second: with a divisor of 0 the current stands still.
    if (run.vehicle.brakeTypeAlt == 1 && run.settings.physicsStepDivisor > 0)
        rampElectricBrakeCurrent(run, run.settings.physicsStepDivisor);
    else if (run.vehicle.brakeTypeAlt == 0)
        tableElectricBrakeCurrent(run);
    const long double current = run.state.air.electricBrakeCurrent;
    if (current > 0)
        run.state.dynamics.ammeterValue = -saturateInt32(roundHalfAway(current));
}

}  // namespace cabdrive
