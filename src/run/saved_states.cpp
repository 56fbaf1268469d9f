// Saved driving states.
#include "run/saved_states.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/field.h"
#include "common/rounding.h"
#include "data/saved_state_record.h"
#include "sim/controller_state.h"
#include "sim/crossings.h"
#include "sim/doors.h"
#include "sim/force_balance.h"
#include "sim/frame_advance.h"
#include "sim/mascon_update.h"
#include "sim/signal_reset.h"
#include "sim/slope_posts.h"
#include "sim/stations.h"
#include "sim/trackside_signs.h"
#include "sim/video_switch.h"
#include "state/run.h"

namespace cabdrive {
namespace {

const std::string savedMessage = "運転状態を保存しました";
const std::string notSavedMessage = "運転状態を保存できませんでした";
const std::string nothingSavedMessage = "運転状態が保存されていません";
const std::string otherTimetableMessage = "運転状態を保存したダイヤではありません";
const std::string damagedMessage = "保存された運転状態が壊れているため復元できません";

bool isSlot(int slot)
{
    return 1 <= slot && slot <= savedStateSlots;
}

std::string recordName(int slot)
{
    return "Save" + std::to_string(slot);
}

std::string titleName(int slot)
{
    return recordName(slot) + "Title";
}

SavedStateRecord recordOf(const Run& run)
{
    const RunState& s = run.state;
    return {run.route.routeFileName,
            s.stations.currentStation,
            saturateInt32(roundHalfAway(s.dynamics.trainSpeed)),
            s.video.currentFrame,
            s.time.clockTicks,
            saturateInt32(roundHalfAway(s.dynamics.trainPosition)),
            s.dynamics.precedingFrame};
}

// The last frame a record may name: the video's, or without a video the end
// of the line's filming speeds.
std::int32_t lastFrameOf(const Run& run)
{
    if (run.state.video.highestFrame > 0)
        return run.state.video.highestFrame;
    std::int32_t last = 0;
    for (const SpeedUnit& row : run.speedUnits())
        last = std::max(last, row.toFrame);
    return run.speedUnits().empty() ? std::numeric_limits<std::int32_t>::max() : last;
}

// A train runs a little beyond the last frame before it stops dead there.
constexpr std::int64_t overrunAllowance = 10000;  // cm

// What a record may hold on this run's line with this train: a speed up to
// twice the train's top speed (downhill and on another train of the line it
// may be well above it), a position up to the end of the filmed line.
RecordLimits limitsOf(const Run& run)
{
    RecordLimits limits{run.route.stations.size(), lastFrameOf(run), 2 * run.vehicle.maxSpeed};
    const SpeedUnitTable& units = run.speedUnits();
    if (!units.empty())
        limits.lastPosition = units[units.size() - 1].endDistance + overrunAllowance;
    return limits;
}

// Every one-shot flag of the run, as a restore clears them: one line for
// each subsystem that keeps such flags.
void clearOneShotFlags(Run& run)
{
    clearStationFlags(run);  // the five per-station flags; the [Time], [Sound], [Switch] and [Announce] rows'
    std::fill(run.state.video.movieSwitchDone.begin(), run.state.video.movieSwitchDone.end(), 0);
    forgetSigns(run);  // a sign or marker call-out due before the restore is due no more
}

// Stations with doors before `station` in the table.
std::int32_t stopsWithDoorsBefore(const Run& run, std::size_t station)
{
    const StationTable& stations = run.route.stations;
    return static_cast<std::int32_t>(std::count_if(stations.begin(), stations.begin() + static_cast<std::ptrdiff_t>(station),
                                                   [](const Station& s) { return s.kind == 0; }));
}

void aimAtNextStop(Run& run, std::size_t station)
{
    DynamicsState& d = run.state.dynamics;
    if (!chooseNextStop(run, station)) {
        run.state.stations.nextStopStation = -1;
        d.nextStopPosition = DynamicsState::noStopAhead;
    }
    d.distanceToStop = d.nextStopPosition - d.trainPosition;
    // The stop names come back with the next departure.
    run.state.stations.currentStopName.clear();
    run.state.stations.nextStopName.clear();
}

// The record names no side of the switch-back; a frame beyond it can only
// have been reached after changing ends there.
std::int32_t switchBackSide(const Run& run)
{
    const auto& stops = run.route.movieStops;
    return !stops.empty() && run.state.video.currentFrame > stops[0] ? 1 : 0;
}

void restore(Run& run, const SavedStateRecord& record)
{
    RunState& s = run.state;
    const auto station = static_cast<std::size_t>(record.station);
    if (s.video.videoMode > 0)
        openMainVideo(run);
    s.dynamics.trainSpeed = record.speed;

    clearOneShotFlags(run);
    run.sound.stopChannelsFrom(1);  // channel 0, the lowest running-sound band, keeps playing
    shutDoors(run);

    s.video.currentFrame = record.frame;
    s.time.clockTicks = record.clockTicks;
    s.dynamics.precedingFrame = record.precedingFrame;
    s.stations.currentStation = record.station;
    s.controls.departureCalloutPending = false;
    setHandlesAtRest(run, record.speed > 0 ? 0 : 1 - run.vehicle.brakeNotches);
    s.dynamics.trainPosition = record.position;
    levelGradient(run);
    levelSlopePosts(run);
    aimAtNextStop(run, station);

    s.stations.announceIndex = 2 * stopsWithDoorsBefore(run, station) + 1;
    s.video.speedUnitRow = -1;
    s.video.videoMode = 0;
    s.video.reversed = switchBackSide(run);
    requeueCrossingsInRange(run);
    resetSignalsForRestore(run);
    followFilmingSpeed(run);
    masconupdate(run);
}

}  // namespace

std::string savedStateTitle(KeyValueStore& store, int slot)
{
    if (!isSlot(slot))
        return {};
    return store.readString(optionsKeyPath, titleName(slot)).value_or(std::string());
}

std::string drivingStateCaption(const Run& run)
{
    const StationTable& stations = run.route.stations;
    const long double position = run.state.dynamics.trainPosition;
    // Short of the first stop the train has passed no station yet; the
    // caption still names the line, so that the slot does not read as empty.
    std::string passed;
    std::string following = stations.empty() ? std::string() : stations[0].name;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const bool last = i + 1 == stations.size();
        if (stations[i].stopDistance <= position && (last || position < stations[i + 1].stopDistance)) {
            passed = stations[i].name;
            following = last ? std::string() : stations[i + 1].name;
            break;
        }
    }
    return run.route.lineName2 + "（" + passed + "～" + following + "）";
}

bool saveDrivingState(Run& run, int slot)
{
    if (!isSlot(slot))
        return false;
    const std::string record = formatRecord(recordOf(run));
    const std::string caption = drivingStateCaption(run);
    const std::string name = recordName(slot), title = titleName(slot);
    const std::array<NamedText, 2> values{{{name, record}, {title, caption}}};
    const bool saved = run.store.writeStrings(optionsKeyPath, values);
    run.shell.showMessage(saved ? savedMessage : notSavedMessage);
    return saved;
}

bool restoreDrivingState(Run& run, int slot)
{
    if (!isSlot(slot))
        return false;
    const std::optional<std::string> text = run.store.readString(optionsKeyPath, recordName(slot));
    if (!text || text->empty()) {
        run.shell.showMessage(nothingSavedMessage);
        return false;
    }
    if (field(*text, 1) != run.route.routeFileName) {
        run.shell.showMessage(otherTimetableMessage);
        return false;
    }
    const RecordReading reading = readRecord(*text, limitsOf(run));
    if (!reading.record) {
        run.shell.showMessage(damagedMessage + "（" + recordName(slot) + ": " + reading.fault + "）");
        return false;
    }
    restore(run, *reading.record);
    return true;
}

}  // namespace cabdrive
