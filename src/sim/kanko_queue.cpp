// The call-out voice queue and the rules that fill it: the driver's spoken
// call-outs wait in a small first-in-first-out queue (kanko_queue_play plays them).
#include "sim/kanko_queue.h"

#include <array>
#include <cstdlib>

#include "common/rounding.h"
#include "sim/crossings.h"
#include "sim/trackside_signs.h"
#include "state/run.h"

namespace cabdrive {
namespace {

using Voice = CalloutState::Voice;
using Table = CalloutState::Table;

constexpr std::int32_t noSignal = SignalState::noDisplay;
constexpr std::int32_t highestCalledDisplay = 34;
// [StationKanko] codes: below 999 a voice, 999 the call-out key, above it a target time.
constexpr std::int32_t runCalloutKey = 999;
// Moment-1 [SignalKanko] codes from here are target times.
constexpr std::int32_t firstSignalTimeCode = 999;

// Fixed voices of the time call-out.
constexpr std::int32_t kankoFirstTimeBand = 6;  // more than 15 s, up to 30 s
constexpr std::int32_t kankoLate = 13, kankoEarly = 15, kankoOnTime = 17;  // form 0; form 1 is the next voice
constexpr std::int32_t onTimeTicks = 450;       // 15 s in 1/30 s
constexpr std::int32_t bandTicks = 450;
constexpr std::int32_t longestCalledTicks = 3600;  // 120 s

// The aspect voice by signal display; -1: the display has none.
constexpr std::array<std::int8_t, highestCalledDisplay + 1> aspectVoices = {
    -1, 0, 5, 4, 2, 3, 4, 0, 2, 4, 0, 2, 4, 0, 2, 3, 4, 0, 1, 2, 4, 0, 1, 2, 3, 4, 0, 2, 4, 21, 0, 2, -1, 4, 21,
};

// Column 2 of the [StationKanko] rows that each moment of a stop acts on.
constexpr std::array<std::int32_t, 6> stationMomentColumns = {4, 0, 1, 2, 3, 5};

std::size_t voiceCount(const RouteData& route, Table table)
{
    switch (table) {
    case Table::Kanko: return fixedKankoCount + route.kankoSound2Count;
    case Table::Other: return route.otherKankos.size();
    case Table::Limit: return route.limitKankos.size();
    }
    return 0;
}

// form 0 gives the voice, form 1 the voice after it.
std::int32_t inForm(std::int32_t voice, std::int32_t form)
{
    return form == 0 ? voice : voice + 1;
}

// The aspect voice of a display, -1 when it has none.
std::int32_t aspectVoice(std::int32_t display)
{
    if (display < 0 || display > highestCalledDisplay)
        return -1;
    return aspectVoices[static_cast<std::size_t>(display)];
}

// The speed-limit call-out, when one is due and the train moves; true when
// it was called, which ends this press of the key.
bool callOutLimit(Run& run)
{
    const std::int32_t pending = run.state.signals.pendingLimitCallout;
    CalloutState& callouts = run.state.callouts;
    if (pending < 0 || pending == callouts.lastLimitCallout || roundHalfAway(run.state.dynamics.trainSpeed) == 0)
        return false;
    kankoQueueAddVoice(run, {Table::Limit, pending});
    callouts.lastLimitCallout = pending;
    return true;
}

// The signal ahead: its name (the numbered voices whose ordinal is the
// signal's column 3, each after the signal's moment-0 voices), its aspect and
// the signal's moment-1 and moment-2 voices.
void callOutSignal(Run& run)
{
    const std::int32_t display = run.state.signals.signalDisplay;
    if (display == noSignal || display > highestCalledDisplay)
        return;
    const RouteData& route = run.route;
    const auto row = static_cast<std::size_t>(run.state.signals.signalAheadRow);
    if (row < route.signals.size()) {
        const std::int32_t name = route.signals[row].column(3);
        for (std::size_t k = 0; k < route.kankoSound2Count; ++k) {
            if (route.kankoVoices[fixedKankoCount + k].ordinal == name) {
                kanko_add(run, 1);
                kanko_queue_add(run, static_cast<std::int32_t>(fixedKankoCount + k));
            }
        }
    }
    const std::int32_t aspect = aspectVoice(display);
    if (aspect >= 0)
        kanko_queue_add(run, aspect);
    kanko_add(run, 2);
}

}  // namespace

void kanko_queue_add(Run& run, std::int32_t voice)
{
    kankoQueueAddVoice(run, {Table::Kanko, voice});
}

void kankoQueueAddVoice(Run& run, Voice voice)
{
    CalloutState& callouts = run.state.callouts;
    // A number naming no loaded voice is dropped like a voice offered to a full queue.
    if (voice.index < 0 || static_cast<std::size_t>(voice.index) >= voiceCount(run.route, voice.table))
        return;
    if (callouts.queued == CalloutState::queueCapacity)
        return;
    callouts.queue[callouts.queued++] = voice;
}

void forgetPassedLimitCallout(Run& run)
{
    if (run.state.signals.pendingLimitCallout < 0)
        run.state.callouts.lastLimitCallout = -1;
}

void Timekanko(Run& run, std::int32_t target, std::int32_t form)
{
    const std::int64_t now = run.state.time.clockTicks;
    const std::int64_t difference = std::llabs(now - target);
    if (difference <= onTimeTicks) {
        kanko_queue_add(run, inForm(kankoOnTime, form));
        return;
    }
    if (difference > longestCalledTicks)
        return;
    // Bands of 15 s: up to 30 s is the first band voice, up to 120 s the eighth.
    const auto band = static_cast<std::int32_t>((difference - 1) / bandTicks) - 1;
    kanko_queue_add(run, kankoFirstTimeBand + band);
    kanko_queue_add(run, inForm(target < now ? kankoLate : kankoEarly, form));
}

void kanko_add(Run& run, std::int32_t kind)
{
    const std::int32_t signal = run.state.signals.signalAheadRow;
    if (signal < 0)
        return;
    for (const KankoRow& row : run.route.signalKankos) {
        if (row.column(1) != signal)
            continue;
        const std::int32_t moment = row.column(2);
        const std::int32_t code = row.column(3);
        if (kind == 1 && moment == 0)
            kanko_queue_add(run, code);
        if (kind == 2 && moment == 2)
            kanko_queue_add(run, code);
        if (kind == 2 && moment == 1) {
            if (code >= firstSignalTimeCode)
                Timekanko(run, code, 0);
            else
                kanko_queue_add(run, code);
        }
    }
}

void stationCallouts(Run& run, std::int32_t moment)
{
    if (moment < 0 || static_cast<std::size_t>(moment) >= stationMomentColumns.size())
        return;
    const std::int32_t column = stationMomentColumns[static_cast<std::size_t>(moment)];
    const std::int32_t station = run.state.stations.currentStation;
    for (const KankoRow& row : run.route.stationKankos) {
        if (row.column(1) != station || row.column(2) != column)
            continue;
        const std::int32_t code = row.column(3);
        if (code < runCalloutKey)
            kanko_queue_add(run, code);
        else if (moment == 0)
            continue;  // the stop itself only queues voices
        else if (code == runCalloutKey)
            callOutKey(run);
        else
            Timekanko(run, code, 0);
    }
}

void callOutKey(Run& run)
{
    const SignCallout sign = callOutSign(run);
    if (sign == SignCallout::Called)
        return;
    if (sign == SignCallout::None && callOutLimit(run))
        return;
    // A crossing ahead is called while the train moves, unless its indicator
    // says the crossing waits for the departure.
    const bool trainStands = roundHalfAway(run.state.dynamics.trainSpeed) == 0;
    if (crossingCalloutPending(run) && !trainStands && !crossingIndicatorLit(run)) {
        callOutCrossing(run);
        return;
    }
    callOutSignal(run);
}

}  // namespace cabdrive
