// Distances along the line derived from the video's filming speeds.
#include "data/route_distances.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "common/rounding.h"

namespace cabdrive {

namespace {

// Signals and stations are stop targets for the pattern protection.
constexpr std::int32_t stopTargetCode = 10;
constexpr std::int32_t signalTargetKind = 2;
constexpr std::int32_t stationTargetKind = 3;
constexpr std::int64_t stationTargetBeyondStop = 2000;  // cm

std::int64_t addSaturating(std::int64_t a, std::int64_t b)
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return sum;
}

// cm at the first frame of row k: where the rows before it end.
std::int32_t rowStartDistance(const SpeedUnitTable& rows, std::size_t k)
{
    return k == 0 ? 0 : rows[k - 1].endDistance;
}

// The video runs at 30 frames per second: (S1 + S2) / 2 km/h over
// (F2 - F1) / 30 s is (S1 + S2) x (F2 - F1) / 2.16 cm.
long double rowLength(const SpeedUnit& row)
{
    const long double frames = static_cast<long double>(row.toFrame) - row.fromFrame;
    return (row.fromSpeed + row.toSpeed) * frames / 2.16L;
}

// The filming speed grows linearly over the row; the mean of the start and
// the current speed in m/s times the elapsed seconds, in cm.
std::int32_t distanceInRow(const SpeedUnitTable& rows, std::size_t k, std::int32_t frame)
{
    const SpeedUnit& row = rows[k];
    const long double frames = static_cast<long double>(row.toFrame) - row.fromFrame;
    const long double elapsed = static_cast<long double>(frame) - row.fromFrame;
    // A row of one frame has no slope: 0 / 0 would make the distance NaN.
    const long double speed = frames == 0 ? row.fromSpeed : row.fromSpeed + (row.toSpeed - row.fromSpeed) / frames * elapsed;
    const long double cm = ((row.fromSpeed + speed) / 7.2L) * (elapsed / 30.0L) * 100.0L;
    return saturateInt32(addSaturating(rowStartDistance(rows, k), roundTiesEven(cm)));
}

}  // namespace

std::optional<std::size_t> speedUnitRowByScan(const SpeedUnitTable& rows, std::int32_t frame)
{
    std::optional<std::size_t> found;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (rows[k].fromFrame <= frame && frame <= rows[k].toFrame)
            found = k;
    }
    return found;
}

std::optional<std::size_t> speedUnitRowBySearch(const SpeedUnitTable& rows, std::int32_t frame)
{
    // On a searchable table the last row starting at or before the frame is
    // the only candidate: every later row starts beyond it.
    const auto after = std::upper_bound(rows.begin(), rows.end(), frame,
                                        [](std::int32_t f, const SpeedUnit& row) { return f < row.fromFrame; });
    if (after == rows.begin())
        return std::nullopt;
    const std::size_t k = static_cast<std::size_t>(after - rows.begin()) - 1;
    if (frame > rows[k].toFrame)
        return std::nullopt;
    return k;
}

bool speedUnitsSearchable(const SpeedUnitTable& rows)
{
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (rows[k].fromFrame > rows[k].toFrame)
            return false;
        if (k > 0 && rows[k].fromFrame < rows[k - 1].toFrame)
            return false;
    }
    return true;
}

FrameDistance::FrameDistance(const SpeedUnitTable& rows) : m_rows(rows), m_searchable(speedUnitsSearchable(rows))
{
}

std::int32_t FrameDistance::operator()(std::int32_t frame) const
{
    const auto row = m_searchable ? speedUnitRowBySearch(m_rows, frame) : speedUnitRowByScan(m_rows, frame);
    return row ? distanceInRow(m_rows, *row, frame) : 0;
}

void deriveSpeedUnitDistances(SpeedUnitTable& units)
{
    for (std::size_t k = 0; k < units.size(); ++k)
        units[k].endDistance = saturateInt32(addSaturating(rowStartDistance(units, k), roundTiesEven(rowLength(units[k]))));
}

void deriveDistances(RouteData& route)
{
    SpeedUnitTable& units = route.speedUnits;
    deriveSpeedUnitDistances(units);
    const FrameDistance distanceOf(units);

    PatternTargetTable& targets = route.patternTargets;
    targets.restart();
    // Without filming speeds no distance is known and nothing is a target.
    const bool withTargets = !units.empty();
    auto addTarget = [&](const PatternTarget& target) {
        if (!withTargets)
            return;
        [[maybe_unused]] const bool added = targets.add(target);
        assert(added && "the target list holds one entry per signal, limit and station");
    };

    for (std::size_t i = 0; i < route.signals.size(); ++i) {
        SignalRow& signal = route.signals[i];
        signal.distance = distanceOf(signal.column(6));
        addTarget({signal.distance, stopTargetCode, static_cast<std::int32_t>(i), 0, signalTargetKind});
    }
    for (SpeedLimitRow& limit : route.speedLimits) {
        limit.distance = distanceOf(limit.column(4));
        addTarget({limit.distance, limit.column(1), 0, 0, limit.column(3)});
    }
    for (SpeedCheck1Row& check : route.speedChecks1)
        check.distance = distanceOf(check.column(3));
    for (SpeedCheck2Row& check : route.speedChecks2)
        check.distance = distanceOf(check.column(3));
    for (std::size_t i = 0; i < route.stations.size(); ++i) {
        const Station& station = route.stations[i];
        if (station.kind == 0 && station.patternTarget == 1)
            addTarget({distanceOf(station.stopFrame) + stationTargetBeyondStop, stopTargetCode, 0,
                       static_cast<std::int32_t>(i), stationTargetKind});
    }
    for (Station& station : route.stations) {
        station.stopDistance = distanceOf(station.stopFrame);
        station.zoneStart = saturateInt32(std::int64_t{station.stopDistance} - station.stopTolerance);
        station.zoneEnd = saturateInt32(std::int64_t{station.stopDistance} + station.stopTolerance);
    }
    for (TrafficSignalRow& signal : route.trafficSignals) {
        signal.distance = distanceOf(signal.column(1));
        signal.secondDistance = distanceOf(signal.column(22));
    }
    for (DopplerRow& doppler : route.dopplers)
        doppler.distance = distanceOf(doppler.column(2));
    for (TunnelRow& tunnel : route.tunnels) {
        tunnel.startDistance = distanceOf(tunnel.column(1));
        tunnel.endDistance = distanceOf(tunnel.column(2));
    }

    std::stable_sort(targets.begin(), targets.end(),
                     [](const PatternTarget& a, const PatternTarget& b) { return a.target < b.target; });
}

}  // namespace cabdrive
