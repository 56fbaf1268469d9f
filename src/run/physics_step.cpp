// The physics step, every 1/30 s.
#include "run/physics_step.h"

#include "sim/brake_air.h"
#include "sim/controller_state.h"
#include "sim/engine.h"
#include "sim/frame_advance.h"
#include "sim/preceding_train.h"
#include "sim/traction.h"
#include "state/run.h"

namespace cabdrive {
namespace {

void applyPowerHandle(Run& run)
{
    DynamicsState& d = run.state.dynamics;
    // Held at 1 500 V for the whole run, so the power notch always follows.
    if (d.lineVoltageTarget.raw <= 0)
        return;
    applyPowerNotchDelay(run);
    d.appliedTractionForce = d.tractionForce;
}

void moveTrain(Run& run)
{
    DynamicsState& d = run.state.dynamics;
    if (d.trainSpeed != 0)
        d.trainPosition += d.trainSpeed / 36000 * 33333;  // km/h over 33.333 ms, in cm
    d.distanceToStop = d.nextStopPosition - d.trainPosition;
}

void advanceClipFrame(Run& run)
{
    VideoState& video = run.state.video;
    if (video.videoMode == 1) {
        // A station clip plays at its own frame rate, whatever the train does.
        const std::int32_t stepsPerFrame = run.route.frameRate > 0 ? run.settings.physicsStepDivisor / run.route.frameRate : 0;
        if (stepsPerFrame > 0 && run.state.time.clockTicks % stepsPerFrame == 0)
            ++video.playbackFrame;
    } else if (video.videoMode == 2) {
        video.playbackFrame = video.currentFrame - video.frameOffset;
    }
}

void advanceClock(Run& run)
{
    RunState& s = run.state;
    ++s.time.clockTicks;
    if (s.input.debugFreeze)
        s.dynamics.trainSpeed = s.video.filmingSpeed;
    advanceClipFrame(run);
}

}  // namespace

void MMTimer1Timer(Run& run)
{
    DynamicsState& d = run.state.dynamics;
    d.tractionForce = fixed4{};
    d.resistanceForce = fixed4{};
    tractionStage(run);
    applyPowerHandle(run);
    updateAirBrake(run);
    applyBrakeNotchDelays(run);
    followEngineSpeed(run);
    advanceFrame(run);
    movePrecedingTrain(run);
    moveTrain(run);
    advanceClock(run);
}

}  // namespace cabdrive
