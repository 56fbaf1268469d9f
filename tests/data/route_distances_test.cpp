// Tests of the frame-to-distance conversion and the distances derived at set-up.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>

#include "data/route_distances.h"

namespace cabdrive {
namespace {

SpeedUnit unit(std::int32_t from, std::int32_t to, long double fromSpeed, long double toSpeed)
{
    SpeedUnit row;
    row.fromFrame = from;
    row.toFrame = to;
    row.fromSpeed = fromSpeed;
    row.toSpeed = toSpeed;
    return row;
}

template <typename Row, std::size_t Capacity>
void put(FixedTable<Row, Capacity>& table, const Row& row)
{
    ASSERT_TRUE(table.add(row));
}

// A row whose column n holds `value` and whose other columns hold 1.
template <typename Row>
Row rowWith(int n, std::int32_t value)
{
    Row row{};
    row.columns.fill(1);
    row.columns[static_cast<std::size_t>(n - 1)] = value;
    return row;
}

std::unique_ptr<RouteData> routeWith(std::initializer_list<SpeedUnit> units)
{
    auto route = std::make_unique<RouteData>();
    for (const SpeedUnit& row : units)
        put(route->speedUnits, row);
    return route;
}

// Row ends: 0..54 is (0.25 + 6.25) x 54 / 2.16 = 162.5 cm, to even 162;
// 54..84 at 36 km/h is 1000 cm; 84..84 has no length; 84..144 at 0.25 km/h
// is 0.5 x 60 / 2.16 = 13.9 cm, 14.
std::unique_ptr<RouteData> profile()
{
    return routeWith({unit(0, 54, 0.25L, 6.25L), unit(54, 84, 36, 36), unit(84, 84, 36, 72), unit(84, 144, 0.25L, 0.25L)});
}

TEST(RouteDistancesTest, FramesConvertByTheFilmingSpeedRoundedTiesToEven)
{
    auto route = profile();
    deriveDistances(*route);
    EXPECT_EQ(route->speedUnits[0].endDistance, 162);
    EXPECT_EQ(route->speedUnits[1].endDistance, 1162);
    EXPECT_EQ(route->speedUnits[2].endDistance, 1162);
    EXPECT_EQ(route->speedUnits[3].endDistance, 1176);

    const FrameDistance at(route->speedUnits);
    // S(27) = 0.25 + 6 / 54 x 27 = 3.25; (3.5 / 7.2) x (27 / 30) x 100 = 43.75.
    EXPECT_EQ(at(27), 44);
    // 162 + (72 / 7.2) x (15 / 30) x 100.
    EXPECT_EQ(at(69), 662);
    // 1162 + (0.5 / 7.2) x (54 / 30) x 100 = 1162 + 12.5, to even 12.
    EXPECT_EQ(at(138), 1174);
    EXPECT_EQ(at(144), 1176);
}

TEST(RouteDistancesTest, FrameHeldByTwoRowsTakesTheLaterRow)
{
    // Frame 54 ends row 0 (162.5, to 162) and starts row 1 (162 + 0).
    auto route = profile();
    deriveDistances(*route);
    EXPECT_EQ(FrameDistance(route->speedUnits)(54), 162);

    // Overlapping rows: 0..30 and 20..50, both at 36 km/h (1000 cm per second).
    route = routeWith({unit(0, 30, 36, 36), unit(20, 50, 36, 36)});
    deriveDistances(*route);
    const FrameDistance at(route->speedUnits);
    EXPECT_EQ(at(10), 333);   // row 0 only
    EXPECT_EQ(at(25), 1167);  // row 1: 1000 + 10 x (5 / 30) x 100 = 1166.7, not row 0's 833
    EXPECT_EQ(at(30), 1333);  // row 1, not row 0's 1000
    EXPECT_EQ(at(50), 2000);
}

TEST(RouteDistancesTest, FrameInNoRowIsAtZero)
{
    auto route = routeWith({unit(0, 30, 36, 36), unit(40, 70, 36, 36)});
    deriveDistances(*route);
    const FrameDistance at(route->speedUnits);
    EXPECT_EQ(at(35), 0);
    EXPECT_EQ(at(-5), 0);
    EXPECT_EQ(at(71), 0);
    EXPECT_EQ(at(40), 1000);  // the gap adds nothing
}

// Its speed cannot be interpolated (0 frames): the start speed is taken.
TEST(RouteDistancesTest, RowOfOneFrameConvertsToItsStartDistance)
{
    auto route = routeWith({unit(0, 30, 36, 36), unit(30, 30, 36, 72), unit(30, 30, 50, 50)});
    deriveDistances(*route);
    EXPECT_EQ(route->speedUnits[1].endDistance, 1000);
    EXPECT_EQ(route->speedUnits[2].endDistance, 1000);
    EXPECT_EQ(FrameDistance(route->speedUnits)(30), 1000);
}

TEST(RouteDistancesTest, DistancesSaturateAtTheInt32Range)
{
    auto route = routeWith({unit(0, 30, 1e30L, 1e30L), unit(30, 60, -1e30L, -1e30L)});
    deriveDistances(*route);
    EXPECT_EQ(route->speedUnits[0].endDistance, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(FrameDistance(route->speedUnits)(15), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(FrameDistance(route->speedUnits)(60), std::numeric_limits<std::int32_t>::min());
}

// One row at 36 km/h: frame f lies at f x 100 / 3 cm.
TEST(RouteDistancesTest, EachTableConvertsItsOwnFrameColumn)
{
    auto route = routeWith({unit(0, 3000, 36, 36)});
    put(route->signals, rowWith<SignalRow>(6, 30));
    put(route->speedLimits, rowWith<SpeedLimitRow>(4, 60));
    put(route->speedChecks1, rowWith<SpeedCheck1Row>(3, 90));
    put(route->speedChecks2, rowWith<SpeedCheck2Row>(3, 120));
    auto traffic = rowWith<TrafficSignalRow>(1, 150);
    traffic.columns[21] = 180;
    put(route->trafficSignals, traffic);
    put(route->dopplers, rowWith<DopplerRow>(2, 210));
    auto tunnel = rowWith<TunnelRow>(1, 240);
    tunnel.columns[1] = 270;
    put(route->tunnels, tunnel);
    Station station;
    station.stopFrame = 300;
    station.stopTolerance = 150;
    put(route->stations, station);
    deriveDistances(*route);

    EXPECT_EQ(route->signals[0].distance, 1000);
    EXPECT_EQ(route->speedLimits[0].distance, 2000);
    EXPECT_EQ(route->speedChecks1[0].distance, 3000);
    EXPECT_EQ(route->speedChecks2[0].distance, 4000);
    EXPECT_EQ(route->trafficSignals[0].distance, 5000);
    EXPECT_EQ(route->trafficSignals[0].secondDistance, 6000);
    EXPECT_EQ(route->dopplers[0].distance, 7000);
    EXPECT_EQ(route->tunnels[0].startDistance, 8000);
    EXPECT_EQ(route->tunnels[0].endDistance, 9000);
    EXPECT_EQ(route->stations[0].stopDistance, 10000);
    EXPECT_EQ(route->stations[0].zoneStart, 9850);
    EXPECT_EQ(route->stations[0].zoneEnd, 10150);
}

TEST(RouteDistancesTest, PatternTargetsSortByDistanceKeepingFileOrderWhenEqual)
{
    auto route = profile();  // frame 27: 44 cm, 54: 162 cm, 69: 662 cm
    put(route->signals, rowWith<SignalRow>(6, 69));
    put(route->signals, rowWith<SignalRow>(6, 27));
    put(route->signals, rowWith<SignalRow>(6, 69));
    SpeedLimitRow limit{};
    limit.columns = {45, 2, 1, 54, 60, 0};
    put(route->speedLimits, limit);
    for (const auto& [kind, beacon] : {std::pair{0, 1}, std::pair{2, 1}, std::pair{0, 0}}) {
        Station station;
        station.kind = kind;
        station.patternTarget = beacon;
        station.stopFrame = 27;
        put(route->stations, station);
    }
    deriveDistances(*route);

    const auto& targets = route->patternTargets;
    ASSERT_EQ(targets.size(), 5u);
    const std::vector<std::int64_t> order = {targets[0].target, targets[1].target, targets[2].target,
                                             targets[3].target, targets[4].target};
    EXPECT_EQ(order, (std::vector<std::int64_t>{44, 162, 662, 662, 2044}));
    EXPECT_EQ(targets[0].signal, 1);
    EXPECT_EQ(targets[0].kind, 2);
    EXPECT_EQ(targets[0].code, 10);
    EXPECT_EQ(targets[1].code, 45);  // the limit's speed and its column 3
    EXPECT_EQ(targets[1].kind, 1);
    EXPECT_EQ(targets[2].signal, 0);
    EXPECT_EQ(targets[3].signal, 2);
    EXPECT_EQ(targets[4].station, 0);  // only the kind 0 station with a beacon
    EXPECT_EQ(targets[4].kind, 3);

    // Many equal targets: a sort that is not stable would mix them up.
    route = profile();
    for (int k = 0; k < 60; ++k)
        put(route->signals, rowWith<SignalRow>(6, k % 2 == 0 ? 69 : 27));
    deriveDistances(*route);
    deriveDistances(*route);  // set-up again gives the same list
    ASSERT_EQ(route->patternTargets.size(), 60u);
    for (std::size_t k = 1; k < 60; ++k) {
        const PatternTarget& before = route->patternTargets[k - 1];
        const PatternTarget& after = route->patternTargets[k];
        EXPECT_TRUE(before.target < after.target || (before.target == after.target && before.signal < after.signal)) << k;
    }
}

TEST(RouteDistancesTest, WithoutSpeedUnitsNothingHasADistanceOrATarget)
{
    auto route = std::make_unique<RouteData>();
    put(route->signals, rowWith<SignalRow>(6, 30));
    Station station;
    station.patternTarget = 1;
    station.stopFrame = 30;
    station.stopTolerance = 100;
    put(route->stations, station);
    deriveDistances(*route);
    EXPECT_EQ(route->signals[0].distance, 0);
    EXPECT_EQ(route->stations[0].stopDistance, 0);
    EXPECT_EQ(route->stations[0].zoneEnd, 100);
    EXPECT_TRUE(route->patternTargets.empty());
}

TEST(RouteDistancesTest, BinarySearchFindsTheRowTheScanFinds)
{
    std::mt19937 random(7);
    for (int table = 0; table < 20; ++table) {
        auto route = std::make_unique<RouteData>();
        std::int32_t frame = static_cast<std::int32_t>(random() % 10);
        for (int k = 0; k < 200; ++k) {
            const std::int32_t gap = random() % 4 == 0 ? static_cast<std::int32_t>(random() % 3) : 0;
            const std::int32_t length = static_cast<std::int32_t>(random() % 6);  // 0: a one-frame row
            put(route->speedUnits, unit(frame + gap, frame + gap + length, 30, 40));
            frame += gap + length;
        }
        ASSERT_TRUE(speedUnitsSearchable(route->speedUnits));
        for (std::int32_t f = -2; f <= frame + 2; ++f)
            ASSERT_EQ(speedUnitRowBySearch(route->speedUnits, f), speedUnitRowByScan(route->speedUnits, f)) << f;
    }

    EXPECT_FALSE(speedUnitsSearchable(routeWith({unit(0, 30, 1, 1), unit(20, 50, 1, 1)})->speedUnits));
    EXPECT_FALSE(speedUnitsSearchable(routeWith({unit(30, 60, 1, 1), unit(0, 30, 1, 1)})->speedUnits));
    EXPECT_FALSE(speedUnitsSearchable(routeWith({unit(30, 0, 1, 1)})->speedUnits));

    // On a table out of order the conversion scans: frame 30 is last held by
    // row 1 (0..30), which starts where row 0 (30..60, 1000 cm) ends.
    auto route = routeWith({unit(30, 60, 36, 36), unit(0, 30, 36, 36)});
    deriveDistances(*route);
    EXPECT_EQ(speedUnitRowByScan(route->speedUnits, 30), 1u);
    EXPECT_EQ(FrameDistance(route->speedUnits)(30), 2000);
    EXPECT_EQ(FrameDistance(route->speedUnits)(45), 500);
}

}  // namespace
}  // namespace cabdrive
