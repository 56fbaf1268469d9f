// Level crossings ahead: the crossing queue, sprite, indicator and call-out.
#include "sim/crossings.h"

#include <algorithm>
#include <string_view>

#include "sim/kanko_queue.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view crossingSprite = "img_unten_cross";
// The [Others] picture that the vehicle's authors light for a crossing ahead.
constexpr std::string_view crossingIndicator = "img_other3";
constexpr std::int32_t windowFrames = 20;  // frames of the enter and leave windows
constexpr std::int32_t emptySlot = -1;

bool inWindow(std::int32_t from, std::int32_t frame)
{
    return from <= frame && static_cast<std::int64_t>(frame) < static_cast<std::int64_t>(from) + windowFrames;
}

std::int32_t head(const TracksideState& t)
{
    return t.crossingQueue[0];
}

bool queued(const TracksideState& t, std::int32_t row)
{
    return std::find(t.crossingQueue.begin(), t.crossingQueue.end(), row) != t.crossingQueue.end();
}

// A crossing offered to a full queue is dropped.
void join(TracksideState& t, std::int32_t row)
{
    const auto slot = std::find(t.crossingQueue.begin(), t.crossingQueue.end(), emptySlot);
    if (slot != t.crossingQueue.end())
        *slot = row;
}

void moveOn(TracksideState& t)
{
    std::rotate(t.crossingQueue.begin(), t.crossingQueue.begin() + 1, t.crossingQueue.end());
    t.crossingQueue.back() = emptySlot;
}

void setIndicator(Run& run, bool lit)
{
    run.state.trackside.crossingIndicator = lit;
    run.scene.setVisible(crossingIndicator, lit);
}

// The route flag names the station whose departure clears the crossing.
bool awaitsDeparture(const Run& run, const CrossRow& row)
{
    const std::int32_t station = row.column(5);
    const std::vector<std::uint8_t>& melodyStarted = run.state.stations.melodyStarted;
    if (station < 1 || static_cast<std::size_t>(station) >= melodyStarted.size())
        return false;
    return !melodyStarted[static_cast<std::size_t>(station)];
}

void showHead(Run& run)
{
    TracksideState& t = run.state.trackside;
    t.crossingShown = head(t);
    if (t.crossingShown == emptySlot) {
        run.scene.setPattern(crossingSprite, 0);
        setIndicator(run, false);
        return;
    }
    const CrossRow& row = run.route.crosses[static_cast<std::size_t>(t.crossingShown)];
    run.scene.setPattern(crossingSprite, row.column(1));
    setIndicator(run, awaitsDeparture(run, row));
}

}  // namespace

void crossings(Run& run)
{
    TracksideState& t = run.state.trackside;
    const auto& rows = run.route.crosses;
    t.crossingJoined.resize(rows.size(), 0);
    t.crossingLeft.resize(rows.size(), 0);
    const std::int32_t frame = run.state.video.currentFrame;
    bool entering = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto row = static_cast<std::int32_t>(i);
        if (inWindow(rows[i].column(3), frame)) {
            entering = true;
            if (!t.crossingJoined[i] && !queued(t, row)) {
                join(t, row);
                t.crossingLeft[i] = 0;
            }
            t.crossingJoined[i] = 1;
        } else {
            t.crossingJoined[i] = 0;
        }
        if (inWindow(rows[i].column(4), frame) && !t.crossingLeft[i] && queued(t, row)) {
            moveOn(t);
            t.crossingLeft[i] = 1;
        }
    }
    if (!entering && head(t) != t.crossingShown)
        showHead(run);
}

bool crossingIndicatorLit(const Run& run)
{
    return run.state.trackside.crossingIndicator;
}

void putOutCrossingIndicator(Run& run)
{
    if (crossingIndicatorLit(run))
        setIndicator(run, false);
}

bool crossingCalloutPending(const Run& run)
{
    return head(run.state.trackside) != emptySlot;
}

void callOutCrossing(Run& run)
{
    TracksideState& t = run.state.trackside;
    if (head(t) == emptySlot)
        return;
    kanko_queue_add(run, run.route.crosses[static_cast<std::size_t>(head(t))].column(2));
    moveOn(t);
}

void forgetCrossings(Run& run)
{
    TracksideState& t = run.state.trackside;
    t.crossingQueue.fill(emptySlot);
    t.crossingJoined.assign(run.route.crosses.size(), 0);
    t.crossingLeft.assign(run.route.crosses.size(), 0);
    showHead(run);
}

void requeueCrossingsInRange(Run& run)
{
    forgetCrossings(run);
    TracksideState& t = run.state.trackside;
    const std::int32_t frame = run.state.video.currentFrame;
    const auto& rows = run.route.crosses;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].column(3) <= frame && frame < rows[i].column(4))
            join(t, static_cast<std::int32_t>(i));
    }
    showHead(run);
}

}  // namespace cabdrive
