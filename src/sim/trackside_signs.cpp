// Signs and timetable markers, and the animations over the view.
#include "sim/trackside_signs.h"

#include <string_view>

#include "sim/event_matching.h"
#include "sim/kanko_queue.h"
#include "sim/timetable_clock.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view signSprite = "img_unten_other";
constexpr std::string_view animationSprite = "img_unten_anim";
constexpr std::int32_t timeMarkerImage = 0;
constexpr std::int32_t clockSwitchTimes = 1000;  // switch times from here on are clock times (1/30 s)
constexpr long double markerMinimumSpeed = 1;        // km/h
constexpr long double markerMinimumToStop = 10000;   // cm
constexpr std::int32_t animationPhases = 14;

constexpr std::int32_t noCallout = TracksideState::noCallout;

void showSign(Run& run, std::int32_t image)
{
    run.scene.setVisible(signSprite, true);
    run.scene.setPattern(signSprite, image);
}

bool switchTimeHasCome(const Run& run, std::int32_t switchTime)
{
    const TracksideState& t = run.state.trackside;
    return (switchTime >= 1 && switchTime < t.signCounter)
        || (switchTime >= clockSwitchTimes && switchTime < run.state.time.clockTicks);
}

// Returns true when the row is in view.
bool showSignRow(Run& run, const SignRow& row)
{
    TracksideState& t = run.state.trackside;
    if (!insideVisibilityRange(row.column(2), row.column(3), run.state.video.currentFrame))
        return false;
    const std::int32_t image = row.column(1);
    if (t.pendingSignCallout == noCallout) {
        showSign(run, image);
        t.pendingSignCallout = image;
        t.signCounter = 0;
    }
    if (switchTimeHasCome(run, row.column(4))) {
        const Sprite* sign = run.scene.sprite(signSprite);
        if (sign && sign->pattern != image)
            showSign(run, image);
        t.pendingSignCallout = image;
    } else {
        ++t.signCounter;
    }
    return true;
}

bool showTimeMarker(Run& run, const TimeRow& row)
{
    const RunState& s = run.state;
    if (!insideRange(row.column(1), row.column(2), s.video.currentFrame) || s.dynamics.trainSpeed <= markerMinimumSpeed
        || s.dynamics.distanceToStop <= markerMinimumToStop)
        return false;
    showSign(run, timeMarkerImage);
    run.state.trackside.pendingSignCallout = TracksideState::timeMarker;
    return true;
}

}  // namespace

void signsAndTimeMarkers(Run& run)
{
    bool inView = false;
    for (const SignRow& row : run.route.signs)
        inView = showSignRow(run, row) || inView;
    for (const TimeRow& row : run.route.times)
        inView = showTimeMarker(run, row) || inView;
    if (!inView) {
        run.scene.setVisible(signSprite, false);
        run.state.trackside.pendingSignCallout = noCallout;
    }
}

void animations(Run& run)
{
    TracksideState& t = run.state.trackside;
    const std::int32_t frame = run.state.video.currentFrame;
    for (const AnimRow& row : run.route.anims) {
        if (!insideVisibilityRange(row.column(1), row.column(2), frame))
            continue;
        if (++t.animationCounter > row.column(3)) {
            t.animationPhase = (t.animationPhase + 1) % animationPhases;
            t.animationCounter = 0;
        }
        run.scene.setPattern(animationSprite, row.column(4) + t.animationPhase);
        return;
    }
    run.scene.setPattern(animationSprite, 0);
}

SignCallout callOutSign(Run& run)
{
    TracksideState& t = run.state.trackside;
    if (t.pendingSignCallout == noCallout)
        return SignCallout::None;
    if (t.pendingSignCallout == t.calledSign)
        return SignCallout::AlreadyCalled;
    if (t.pendingSignCallout == TracksideState::timeMarker)
        Timecheck(run, 0);
    else
        kankoQueueAddVoice(run, {CalloutState::Table::Other, t.pendingSignCallout});
    t.calledSign = t.pendingSignCallout;
    return SignCallout::Called;
}

void forgetPassedSignCallout(Run& run)
{
    TracksideState& t = run.state.trackside;
    if (t.pendingSignCallout == noCallout)
        t.calledSign = noCallout;
}

void forgetSigns(Run& run)
{
    TracksideState& t = run.state.trackside;
    t.pendingSignCallout = noCallout;
    t.calledSign = noCallout;
    t.signCounter = 0;
}

}  // namespace cabdrive
