// The diesel engine and its gearbox: starting and stopping the engine with
// its key, the stall, the gear choice and gear changes, the engine speed.
#include "sim/engine.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "sim/mascon_update.h"
#include "sim/traction.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

// engineRunning
constexpr std::int32_t engineStopped = 0;
constexpr std::int32_t engineOn = 1;
constexpr std::int32_t engineCranking = -1;
constexpr std::int32_t engineShuttingDown = -2;

// engineKey
constexpr std::int32_t startKey = 1;
constexpr std::int32_t stopKey = 2;

constexpr std::int32_t keyHoldTicks = 50;      // 5 s to start or to stop the engine
constexpr std::int32_t stopSoundTicks = 40;    // the stop sound comes 1 s before the engine stops
constexpr std::int32_t gearChangeTicks = 10;   // 1 s

// gearShiftState
constexpr std::int32_t noGearChange = 0;
constexpr std::int32_t changeToLever = 1;
constexpr std::int32_t changeToNeutral = 2;

constexpr long double stallSpeed = 0.5;         // km/h: slower than this, top gear stalls
constexpr long double firstGearOnlySpeed = 10;  // km/h: an automatic gearbox stays in first below it

// Engine speeds, in the engine's own units, and their steps per physics step.
constexpr long double idleSpeed = 30;
constexpr long double freeRevvingSpeed = 95;
constexpr long double neutralTarget = 100;
constexpr long double coarseStep = 0.6, fineStep = 0.03;  // towards the gear's engine speed
constexpr long double coarseBand = 5, fineBand = 1;       // ... while further away than these
constexpr long double revvingStep = 0.5;
constexpr long double fallingStep = 1;                    // back to idle without power
constexpr long double startStopStep = 3;                  // to idle and down to rest

// [EngineSound2]: the start sound, then the stop sound. An electric train
// has no engine to hear.
void playEngineSound(Run& run, std::size_t which, bool fromStart)
{
    if (run.vehicle.engineType != 0)
        return;
    const std::size_t channel = vehicleSound(run.vehicle.engineSound2[which]);
    if (fromStart)
        run.sound.restart(channel, false);
    else
        run.sound.play(channel, false);
}

void playStartSound(Run& run)
{
    playEngineSound(run, 0, true);
}

void playStopSound(Run& run)
{
    playEngineSound(run, 1, false);
}

bool isTopGear(const VehicleSpec& vehicle, std::int32_t gear)
{
    return !vehicle.engineTable.empty() && gear == static_cast<std::int32_t>(vehicle.engineTable.size()) - 1;
}

// Starting off in top gear stalls the engine.
void stallInTopGear(Run& run)
{
    EngineState& e = run.state.engine;
    ControlState& c = run.state.controls;
    if (e.engineRunning == engineOn && c.reverser != 0 && e.currentGear == e.gearLever
        && isTopGear(run.vehicle, e.currentGear) && c.appliedPowerNotch > 0
        && std::fabs(run.state.dynamics.trainSpeed) < stallSpeed) {
        e.engineRunning = engineStopped;
        c.appliedPowerNotch = 0;
        playStopSound(run);
    }
}

void cancelGearChange(EngineState& e)
{
    e.gearShiftState = noGearChange;
    e.gearShiftTicks = 0;  // or no change could ever start again
}

// The automatic gearbox moves its lever one gear up above the gear's high
// speed and one down below its low speed; slow trains run in first.
void chooseAutomaticGear(Run& run)
{
    EngineState& e = run.state.engine;
    const auto& gears = run.vehicle.engineTable;
    const long double v = run.state.dynamics.trainSpeed;  // km/h, signed
    if (e.gearShiftState == noGearChange) {
        const auto lastGear = static_cast<std::int32_t>(gears.size()) - 1;
        for (std::int32_t i = 0; i <= lastGear; ++i) {
            const EngineRow& gear = gears[static_cast<std::size_t>(i)];
            if (i == e.gearLever && e.currentGear < lastGear && std::fabs(v) > gear.speedHigh)
                ++e.gearLever;
            if (i == e.gearLever && std::fabs(v) < gear.speedLow)
                --e.gearLever;
        }
    }
    if (e.currentGear >= 1 && v < firstGearOnlySpeed) {
        e.currentGear = 1;
        cancelGearChange(e);
    }
}

void startGearChange(Run& run)
{
    EngineState& e = run.state.engine;
    const std::int32_t notch = run.state.controls.appliedPowerNotch;
    if (e.gearShiftState != noGearChange || e.gearShiftTicks != 0)
        return;
    if (e.engineRunning == engineOn && notch > 0 && e.currentGear != e.gearLever
        && !run.state.protection.protectionEmergencyBrake) {
        e.gearShiftState = changeToLever;
        masconupdate(run);
    } else if (e.currentGear != 0 && notch == 0) {
        // Power off: the gear comes out at once.
        e.currentGear = 0;
        e.gearShiftState = changeToNeutral;
        masconupdate(run);
    }
}

void completeGearChange(Run& run)
{
    EngineState& e = run.state.engine;
    if (e.gearShiftState == noGearChange || ++e.gearShiftTicks < gearChangeTicks)
        return;
    e.gearShiftTicks = 0;
    if (e.gearShiftState == changeToLever && doorsAllowTraction(run) && !run.state.protection.protectionEmergencyBrake
        && e.gearLever > 0)
        e.currentGear = e.gearLever;
    if (e.gearShiftState == changeToNeutral)
        e.currentGear = 0;
    run.scene.showPatternIfPresent("img_lamp_gear", e.currentGear);
    e.gearShiftState = noGearChange;
    masconupdate(run);
}

// In gear the engine is tied to the wheels: its speed follows the train's
// through the gear's ratio, at once in direct drive (the top gear).
void followGear(Run& run, bool powered)
{
    EngineState& e = run.state.engine;
    const auto gear = static_cast<std::size_t>(e.currentGear);
    const EngineRateRow rate = gear < run.vehicle.engineRates.size() ? run.vehicle.engineRates[gear] : EngineRateRow{};
    e.engineSpeedTarget = std::fabs(run.state.dynamics.trainSpeed) * rate.factor + rate.base;
    if (!powered) {
        if (e.engineSpeed > idleSpeed)
            e.engineSpeed -= fallingStep;
        return;
    }
    if (isTopGear(run.vehicle, e.currentGear)) {
        e.engineSpeed = e.engineSpeedTarget;
        return;
    }
    const long double gap = e.engineSpeedTarget - e.engineSpeed;
    const long double direction = gap > 0 ? 1 : -1;
    if (std::fabs(gap) > coarseBand)
        e.engineSpeed += direction * coarseStep;
    else if (std::fabs(gap) > fineBand)
        e.engineSpeed += direction * fineStep;
}

// The manual lever in neutral: with power the engine revs freely up to 95;
// while a gear change is under way it holds its speed.
void revInNeutral(Run& run, bool power, bool changing)
{
    EngineState& e = run.state.engine;
    e.engineSpeedTarget = neutralTarget;
    if (power && !changing) {
        if (e.engineSpeed < freeRevvingSpeed)
            e.engineSpeed += revvingStep;
        if (e.engineSpeed >= freeRevvingSpeed)
            e.engineSpeed = freeRevvingSpeed;
    } else if (!power && e.engineSpeed > idleSpeed) {
        e.engineSpeed -= fallingStep;
    }
}

}  // namespace

void engineStartStop(Run& run)
{
    EngineState& e = run.state.engine;
    const std::int32_t key = run.state.input.engineKey;
    if (key == startKey || key == stopKey)
        ++e.engineKeyTicks;
    const std::int32_t held = e.engineKeyTicks;
    // Let go before the 5 s were up: whatever the key began is abandoned.
    const bool letGoEarly = key == 0 && held >= 1 && held < keyHoldTicks;
    switch (e.engineRunning) {
    case engineStopped:
        if (key == startKey && held == 1) {
            playStartSound(run);
            e.engineRunning = engineCranking;
        }
        break;
    case engineCranking:
        if (key == startKey && held == keyHoldTicks) {
            e.engineRunning = engineOn;
        } else if (letGoEarly) {
            playStopSound(run);
            e.engineRunning = engineStopped;
            e.engineKeyTicks = 0;
        }
        break;
    case engineOn:
        if (key == stopKey && held == 1 && run.state.controls.powerHandle == 0)
            e.engineRunning = engineShuttingDown;
        break;
    case engineShuttingDown:
        if (key == stopKey && held == stopSoundTicks)
            playStopSound(run);
        if (key == stopKey && held == keyHoldTicks) {
            e.engineRunning = engineStopped;
            e.engineKeyTicks = 0;
        } else if (letGoEarly) {
            e.engineRunning = engineOn;
            e.engineKeyTicks = 0;
        }
        break;
    default: break;
    }
    // The count runs only while the key is held; the rows above see it once
    // more after the key is let go.
    if (key == 0)
        e.engineKeyTicks = 0;
}

void runGearbox(Run& run)
{
    if (run.vehicle.engineType != 0)
        return;
    stallInTopGear(run);
    if (run.vehicle.gearType == 0)
        chooseAutomaticGear(run);
    if (doorsAllowTraction(run))
        startGearChange(run);
    completeGearChange(run);
}

void followEngineSpeed(Run& run)
{
    if (run.vehicle.engineType != 0)
        return;
    EngineState& e = run.state.engine;
    const bool power = run.state.controls.appliedPowerNotch != 0;
    const bool changing = e.gearShiftState != noGearChange;
    if (e.currentGear > 0)
        followGear(run, power && !changing);
    else if (e.currentGear == 0 && run.vehicle.gearType == 1)
        revInNeutral(run, power, changing);
    if (e.engineRunning == engineStopped) {
        if (e.engineSpeed > 0)
            e.engineSpeed -= startStopStep;
    } else if (e.engineSpeed < idleSpeed) {
        e.engineSpeed += startStopStep;
    }
    e.engineSpeed = std::max(e.engineSpeed, 0.0L);
}

}  // namespace cabdrive
