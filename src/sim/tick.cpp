// The 100 ms tick. Its steps run in a fixed order, and a later step sees what
// an earlier one set in the same tick; the numbered comments mark the places
// of the steps that other parts of the core fill in.
#include "sim/tick.h"

#include <algorithm>

#include "sim/brake_air.h"
#include "sim/cab_signalling.h"
#include "sim/doors.h"
#include "sim/engine.h"
#include "sim/event_matching.h"
#include "sim/force_balance.h"
#include "sim/frame_advance.h"
#include "sim/information_line.h"
#include "sim/pattern_protection.h"
#include "sim/protection_brakes.h"
#include "sim/run.h"
#include "sim/signal_display.h"
#include "sim/speed_limits.h"
#include "sim/spot_protection.h"
#include "sim/stations.h"
#include "sim/stop_alert.h"
#include "sim/timetable_clock.h"
#include "sim/traction.h"
#include "sim/video_switch.h"
#include "sim/vigilance.h"
#include "sound/horn.h"
#include "sound/kanko_queue.h"
#include "view/needles.h"

namespace cabdrive {
namespace {

constexpr long double voltageStepPerTick = 250;  // V

// The warning could loop only with protection off, which no run reaches.
void stopProtectionWarning(Run& run)
{
    run.sound.stopIfPlaying(static_cast<std::size_t>(run.vehicle.soundAtsWarn));
}

void countTick(Run& run)
{
    RunState& s = run.state;
    if (s.dynamics.precedingFrame > run.route.preTrainEndFrame)
        s.dynamics.precedingFrame = 0;  // it has left the line
    ++s.tickCount;
}

void followLineVoltage(DynamicsState& d)
{
    const long double now = d.lineVoltage.value();
    const long double target = d.lineVoltageTarget.value();
    if (now < target)
        d.lineVoltage = fixed4::fromValue(std::min(now + voltageStepPerTick, target));
    else if (now > target)
        d.lineVoltage = fixed4::fromValue(std::max(now - voltageStepPerTick, target));
}

void brakeAirAndCurrent(Run& run)
{
    runGearbox(run);
    runCompressor(run);
    updateMotorCurrent(run);
    updateElectricBrakeCurrent(run);
    followLineVoltage(run.state.dynamics);
    run.state.video.targetCurrent = run.state.dynamics.ammeterValue;
}

void attenuationFactor(Run& run)
{
    RunState& s = run.state;
    s.environmentVolumeFactor = 1.0;
    for (const AttenRow& row : run.route.attens) {
        if (insideRange(row.column(1), row.column(2), s.video.currentFrame)) {
            s.environmentVolumeFactor = row.column(4) / 100.0L;
            return;
        }
    }
}

void visualEffectsAndTunnel(Run& run)
{
    // Visual effects stay off: the menu entry that would turn them on is hidden.
    run.options.Tunnel = 1;
    DynamicsState& d = run.state.dynamics;
    d.inTunnel = std::any_of(run.route.tunnels.begin(), run.route.tunnels.end(), [&d](const TunnelRow& tunnel) {
        return tunnel.startDistance < d.trainPosition && d.trainPosition < tunnel.endDistance;
    });
}

void callOuts(Run& run)
{
    forgetPassedLimitCallout(run);
    kanko_queue_play(run);
}

void hornAndBuzzer(Run& run)
{
    soundHornAndBuzzer(run);
    updateHornAir(run);
}

}  // namespace

void Timer1Timer(Run& run)
{
    stopProtectionWarning(run);  // 1
    currentLineSpeed(run);       // 2
    countTick(run);              // 3
    updateSpeedometer(run);      // 4
    forceBalance(run);           // 5
    //  6 speed and distance texts
    //  7 brake squeal
    completeDoorClosing(run);    //  7
    //  7 cab lamps
    timecalc(run, run.state.clockTicks);  //  8
    brakeAirAndCurrent(run);     // 9
    attenuationFactor(run);      // 10
    // 11 trackside sounds, announcements, Doppler sources
    sampleGradient(run);         // 12
    // 13 slope posts
    updateSignals(run);          // 14
    // 15 road traffic lights and crossing distances
    cabSignalling(run);          // 16
    spotProtectionAlarm(run);    // 17
    patternProtection(run);      // 18
    speedLimitsAndChecks(run);   // 19
    if (!stationLoop(run))       // 20: a step that found no next stop ends the tick
        return;
    vigilanceDevice(run);        // 21
    stopApproachAlert(run);      // 22
    // 23 animations, signs, timetable markers, crossings
    // 24 drive and engine sounds
    stopAtEndOfVideo(run);       // 25
    switchVideoClips(run);       // 25
    upcomingLimitTexts(run);     // 26
    engineStartStop(run);        // 26
    rollBackProtection(run);     // 26
    visualEffectsAndTunnel(run); // 26 (after the easy panel, limits, engine and roll-back steps)
    // 27 caption, value display, stop-position lines
    doorSafety(run);             // 28
    updateInformationLine(run);  // 29
    // 30 external controllers
    callOuts(run);               // 31
    // 32 value display grid, text-mode labels
    hornAndBuzzer(run);          // 33
}

}  // namespace cabdrive
