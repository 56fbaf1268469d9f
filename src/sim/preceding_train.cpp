// The preceding train: a train ahead on the same video that runs by its own timetable.
#include "sim/preceding_train.h"

#include <cstdlib>
#include <optional>

#include "common/rounding.h"
#include "sim/frame_advance.h"
#include "state/run.h"

namespace cabdrive {
namespace {

// The stop frame of a [Pre_Train] row's station; nothing when the row names
// a station the station table does not hold.
std::optional<std::int32_t> stationStopFrame(const RouteData& route, std::size_t row)
{
    if (row >= route.preTrains.size())
        return std::nullopt;
    const std::int32_t station = route.preTrains[row].stationIndex;
    if (station < 0 || static_cast<std::size_t>(station) >= route.stations.size())
        return std::nullopt;
    return route.stations[static_cast<std::size_t>(station)].stopFrame;
}

// Each row rules from its station's stop frame up to the next row's: the
// train stands there until the row's departure time, then runs at its speed.
// The last row (or one followed by a row naming no station) rules to the end.
void updatePrecedingSpeed(Run& run)
{
    const RouteData& route = run.route;
    DynamicsState& d = run.state.dynamics;
    for (std::size_t i = 0; i < route.preTrains.size(); ++i) {
        const std::optional<std::int32_t> from = stationStopFrame(route, i);
        const std::optional<std::int32_t> to = stationStopFrame(route, i + 1);
        if (!from || d.precedingFrame < *from || (to && d.precedingFrame >= *to))
            continue;
        const Pre_Train& row = route.preTrains[i];
        d.precedingSpeed = run.state.time.clockTicks > row.departureTime ? row.speed : 0;
    }
}

// Moves the frame by the whole frames the accumulated speed pays for.
void advancePrecedingFrame(DynamicsState& d)
{
    if (d.precedingPitch < 0)
        return;  // a negative filming speed pays for no frame; nothing piles up
    d.precedingAccumulator += std::abs(d.precedingSpeed);
    if (d.precedingAccumulator < d.precedingPitch)
        return;
    const std::int32_t direction = d.precedingSpeed < 0 ? -1 : 1;
    const std::int32_t acc = d.precedingAccumulator;
    std::int32_t frames = 0;
    if (d.precedingPitch == 0) {
        // No filming speed to pay with: a frame per 0.3 speed units.
        const long double whole = std::abs(acc / 0.3L);
        d.precedingRemainder = saturateInt32(roundHalfAway(acc - whole * 0.3L));
        frames = saturateInt32(roundHalfAway(whole));
    } else {
        frames = acc / d.precedingPitch;
        d.precedingRemainder = acc - frames * d.precedingPitch;
    }
    d.precedingFrame += direction * frames;
    d.precedingAccumulator = d.precedingRemainder;
}

}  // namespace

void movePrecedingTrain(Run& run)
{
    DynamicsState& d = run.state.dynamics;
    // Once the driven train has reached it, the preceding train waits.
    if (d.precedingFrame <= run.state.video.currentFrame)
        return;
    updatePrecedingSpeed(run);
    if (const std::optional<FilmingSpeed> filming = filmingSpeedAt(run.speedUnits(), d.precedingFrame))
        d.precedingPitch = filming->speed;
    advancePrecedingFrame(d);
}

}  // namespace cabdrive
