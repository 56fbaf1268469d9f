// The timetable clock.
#include "sim/timetable_clock.h"

#include <optional>

#include "common/clock_text.h"
#include "common/rounding.h"
#include "sim/environment_sounds.h"
#include "sim/event_matching.h"
#include "sim/kanko_queue.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int64_t ticksPerSecond = 30;
constexpr std::int64_t ticksPerDay = 24 * 3600 * ticksPerSecond;
constexpr long double hourHandShare = 0.6L;  // of the hand length

std::int64_t floorDivide(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool vehicleHasClock(const VehicleSpec& vehicle)
{
    return vehicle.clock.x > 0 && vehicle.clock.y > 0;
}

// The face shows the time of day; a clock run back before midnight shows the
// evening before.
void setHands(ClockFace& face, std::int64_t ticks, std::int32_t handLength)
{
    const std::int64_t ofDay = ticks - floorDivide(ticks, ticksPerDay) * ticksPerDay;
    const std::int64_t hours = ofDay / (3600 * ticksPerSecond);
    const std::int64_t minutes = ofDay / ticksPerSecond / 60 % 60;
    const std::int64_t seconds = ofDay / ticksPerSecond % 60;
    face.hands[0] = {hours * 30 + minutes * 0.5L, saturateInt32(roundHalfAway(hourHandShare * handLength))};
    face.hands[1] = {minutes * 6 + seconds * 0.1L, handLength};
    face.hands[2] = {seconds * 6.0L, handLength};
}

// 1/30 s the station's sounds take before its departure: the melody, and the
// arrival sound before it when asked for.
std::int64_t soundLead(const Run& run, const Station& station, bool withArrival)
{
    std::int64_t seconds = environmentSoundLength(run, station.departureSound);
    if (withArrival)
        seconds += environmentSoundLength(run, station.arrivalSound);
    return seconds * ticksPerSecond;
}

// A departure time of 0 stands for none (passing stations have none).
bool timed(const Station& station)
{
    return station.departureTime > 0;
}

std::optional<std::size_t> timedStationBefore(const StationTable& stations, std::size_t n)
{
    for (std::size_t i = n; i-- > 0;) {
        if (timed(stations[i]))
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> timedStationAfter(const StationTable& stations, std::size_t n)
{
    for (std::size_t i = n + 1; i < stations.size(); ++i) {
        if (timed(stations[i]))
            return i;
    }
    return std::nullopt;
}

// The departure time of station n, or one interpolated by frame between the
// nearest stations before and after it that have one; with a timed station
// on one side only, that station's time. Nothing when no station is timed.
std::optional<long double> departureTimeAt(const StationTable& stations, std::size_t n)
{
    if (timed(stations[n]))
        return stations[n].departureTime;
    const auto before = timedStationBefore(stations, n);
    const auto after = timedStationAfter(stations, n);
    if (!before && !after)
        return std::nullopt;
    if (!after)
        return stations[*before].departureTime;
    if (!before)
        return stations[*after].departureTime;
    const Station& a = stations[*before];
    const Station& b = stations[*after];
    if (a.stopFrame == b.stopFrame)
        return a.departureTime;
    const long double share = (static_cast<long double>(stations[n].stopFrame) - a.stopFrame)
                             / (static_cast<long double>(b.stopFrame) - a.stopFrame);
    return a.departureTime + (static_cast<long double>(b.departureTime) - a.departureTime) * share;
}

}  // namespace

void timecalc(Run& run, std::int32_t ticks)
{
    run.state.stations.clockText = clockText(ticks);
    if (!vehicleHasClock(run.vehicle))
        return;
    ClockFace& face = run.state.clockFace;
    const std::int64_t second = floorDivide(ticks, ticksPerSecond);
    if (face.shown && face.seconds == second)
        return;
    setHands(face, ticks, run.vehicle.clock.handLength);
    face.seconds = saturateInt32(second);
    face.shown = true;
    ++face.revision;
}

void Timecheck(Run& run, std::int32_t form)
{
    std::vector<std::uint8_t>& spoken = run.state.stations.timeSpoken;
    const std::int32_t frame = run.state.video.currentFrame;
    for (std::size_t i = 0; i < run.route.times.size() && i < spoken.size(); ++i) {
        const TimeRow& row = run.route.times[i];
        if (spoken[i] || !insideRange(row.column(1), row.column(2), frame))
            continue;
        Timekanko(run, row.column(3), form);
        spoken[i] = 1;
    }
}

std::int32_t startClock(const Run& run, std::size_t startStation)
{
    const Station& station = run.route.stations[startStation];
    return saturateInt32(station.departureTime - soundLead(run, station, startStation > 0));
}

std::int32_t jumpClock(const Run& run, std::size_t n)
{
    const std::optional<long double> departure = departureTimeAt(run.route.stations, n);
    if (!departure)
        return run.state.time.clockTicks;
    return saturateInt32(roundHalfAway(*departure) - soundLead(run, run.route.stations[n], true));
}

}  // namespace cabdrive
