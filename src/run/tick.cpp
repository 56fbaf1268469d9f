// The 100 ms tick. Its 33 steps run in a fixed order, and a later step sees
// what an earlier one set in the same tick; each step is numbered, and a step
// made elsewhere or not built yet says so in its place.
#include "run/tick.h"

#include <algorithm>

#include "input/game_controllers.h"
#include "sim/brake_air.h"
#include "sim/cab_lamps.h"
#include "sim/cab_signalling.h"
#include "sim/crossings.h"
#include "sim/doors.h"
#include "sim/engine.h"
#include "sim/event_matching.h"
#include "sim/force_balance.h"
#include "sim/frame_advance.h"
#include "sim/information_line.h"
#include "sim/kanko_queue.h"
#include "sim/pattern_protection.h"
#include "sim/protection_brakes.h"
#include "sim/road_lights.h"
#include "sim/signal_display.h"
#include "sim/slope_posts.h"
#include "sim/speed_limits.h"
#include "sim/spot_protection.h"
#include "sim/stations.h"
#include "sim/stop_alert.h"
#include "sim/timetable_clock.h"
#include "sim/trackside_signs.h"
#include "sim/traction.h"
#include "sim/video_switch.h"
#include "sim/vigilance.h"
#include "sound/brake_sounds.h"
#include "sound/drive_sounds.h"
#include "sound/horn.h"
#include "sound/kanko_queue_play.h"
#include "sound/trackside_sounds.h"
#include "state/channel_layout.h"
#include "state/run.h"
#include "view/needles.h"
#include "view/stop_lines.h"

namespace cabdrive {
namespace {

constexpr long double voltageStepPerTick = 250;  // V

// The warning could loop only with protection off, which no run reaches.
void stopProtectionWarning(Run& run)
{
    run.sound.stopIfPlaying(vehicleSound(run.vehicle.soundAtsWarn));
}

void countTick(Run& run)
{
    RunState& s = run.state;
    if (s.dynamics.precedingFrame > run.route.preTrainEndFrame)
        s.dynamics.precedingFrame = 0;  // it has left the line
    ++s.time.tickCount;
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

// The speed-limit sign blinks in step 19, where the limit warning is decided.
void cabLampsAndDoors(Run& run)
{
    brakeSqueal(run);
    completeDoorClosing(run);  // with the easy panel's door status
    cabLamps(run);
}

void brakeAirAndCurrent(Run& run)
{
    runGearbox(run);
    brakeNotchSounds(run);
    emergencyBrakeSound(run);
    automaticBrakeAirSounds(run);
    runCompressor(run);
    updateMotorCurrent(run);
    updateElectricBrakeCurrent(run);
    followLineVoltage(run.state.dynamics);
    run.state.presentation.targetCurrent = run.state.dynamics.ammeterValue;
}

void attenuationFactor(Run& run)
{
    RunState& s = run.state;
    s.sound.environmentVolumeFactor = 1.0;
    for (const AttenRow& row : run.route.attens) {
        if (insideRange(row.column(1), row.column(2), s.video.currentFrame)) {
            s.sound.environmentVolumeFactor = row.column(4) / 100.0L;
            return;
        }
    }
}

// The easy panel draws its notch shapes from the state after the tick.
void panelIndicatorsAndTunnel(Run& run)
{
    upcomingLimitTexts(run);
    patternTypeIndicator(run);
    engineStartStop(run);
    rollBackProtection(run);
    // Written on every tick, as the program always has: the menu entry that
    // would turn visual effects on is hidden, so they stay off whatever the
    // stored option says.
    run.options.Tunnel = 1;
    DynamicsState& d = run.state.dynamics;
    d.inTunnel = std::any_of(run.route.tunnels.begin(), run.route.tunnels.end(), [&d](const TunnelRow& tunnel) {
        return tunnel.startDistance < d.trainPosition && d.trainPosition < tunnel.endDistance;
    });
}

void soundsAlongTheLine(Run& run)
{
    tracksideSounds(run);
    switchSounds(run);
    routeAnnouncements(run);
    dopplerSources(run);
}

void tracksideSigns(Run& run)
{
    animations(run);
    signsAndTimeMarkers(run);
    crossings(run);
}

void driveAndEngineSounds(Run& run)
{
    runningSoundBands(run);
    motorSounds(run);
}

void callOuts(Run& run)
{
    forgetPassedLimitCallout(run);
    forgetPassedSignCallout(run);
    kanko_queue_play(run);
}

// The end of the video stops the train; then the clips take over the picture.
void switchVideo(Run& run)
{
    stopAtEndOfVideo(run);
    switchVideoClips(run);
}

void hornAndBuzzer(Run& run)
{
    soundHornAndBuzzer(run);
    updateHornAir(run);
}

}  // namespace

void Timer1Timer(Run& run)
{
    stopProtectionWarning(run);           //  1
    currentLineSpeed(run);                //  2
    countTick(run);                       //  3
    updateSpeedometer(run);               //  4
    forceBalance(run);                    //  5
    //  6 speed and distance texts: made from the state when they are drawn (view/readout_texts)
    cabLampsAndDoors(run);                //  7
    timecalc(run, run.state.time.clockTicks);  //  8
    brakeAirAndCurrent(run);              //  9
    attenuationFactor(run);               // 10
    soundsAlongTheLine(run);              // 11
    sampleGradient(run);                  // 12
    slopePosts(run);                      // 13
    updateSignals(run);                   // 14
    roadLights(run);                      // 15 with the crossing distance text
    cabSignalling(run);                   // 16
    spotProtectionAlarm(run);             // 17
    patternProtection(run);               // 18
    speedLimitsAndChecks(run);            // 19
    if (!stationLoop(run))                // 20: a step that found no next stop ends the tick
        return;
    vigilanceDevice(run);                 // 21
    stopApproachAlert(run);               // 22
    tracksideSigns(run);                  // 23
    driveAndEngineSounds(run);            // 24
    switchVideo(run);                     // 25
    panelIndicatorsAndTunnel(run);        // 26
    placeStopLines(run);                  // 27; the caption and the value display: refreshed by their window after the tick
    doorSafety(run);                      // 28
    updateInformationLine(run);           // 29
    pollGameController(run);              // 30
    callOuts(run);                        // 31
    // 32 the value display grid and the text-mode labels: filled by their windows after the tick
    hornAndBuzzer(run);                   // 33
}

}  // namespace cabdrive
