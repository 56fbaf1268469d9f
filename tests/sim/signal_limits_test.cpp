// Speed checks, the limits ahead with the limit sign and the limit lines,
// and what the start of a run and a station jump set.
#include <gtest/gtest.h>

#include "protection_fixture.h"
#include "sim/run_start.h"
#include "sim/signal_reset.h"
#include "sim/speed_limits.h"
#include "state/run.h"

namespace {

struct SpeedLimits : test::ProtectionFixture {
    SpeedLimits()
    {
        addSprite("img_unten_limit", 10);
        addSprite("img_cabsignal", 6);
        for (std::int32_t speed : {0, 25, 45, 65})
            (void)vehicle.cabSignalCodes.add(speed);
    }
    void addCheck(std::int32_t alarmSpeed, std::int32_t cm, std::int32_t signal)
    {
        cabdrive::SpeedCheck1Row row;
        row.columns = {alarmSpeed, alarmSpeed, 0, signal};
        row.distance = cm;
        (void)route->speedChecks1.add(row);
    }
    // A limit sign at 800 m (frames 2 000 to 2 600, release picture 4).
    void addLimits()
    {
        cabdrive::SpeedLimitRow limit;
        limit.columns = {45, 3, 1, 2000, 2600, 4};
        limit.distance = 80000;
        (void)route->speedLimits.add(limit);
        limit.columns = {30, 5, 1, 3000, 3600, 0};
        limit.distance = 90000;
        (void)route->speedLimits.add(limit);
    }
    void tickAt(long double cm, long double kmh)
    {
        placeAt(cm, kmh);
        cabdrive::speedLimitsAndChecks(run());
        cabdrive::upcomingLimitTexts(run());
    }
    void atFrame(std::int32_t frame)
    {
        state().video.currentFrame = frame;
        tickAt(0, 0);
    }
};

TEST_F(SpeedLimits, ASpeedCheckActsOncePassedWhileItsSignalShowsStop)
{
    addCheck(45, 50000, 1);
    addCheck(45, 60000, 0);  // linked to no signal
    signals().aspects = {5, 5};
    tickAt(49999, 60);
    tickAt(50001, 60);
    EXPECT_FALSE(protection().alarm) << "its signal is clear";
    signals().aspects = {5, 0};
    tickAt(50002, 60);
    EXPECT_TRUE(protection().alarm);
    EXPECT_EQ(protection().alarmTimer, 50);
    protection().alarm = false;
    tickAt(50003, 60);
    EXPECT_FALSE(protection().alarm) << "passed";
    tickAt(60001, 40);
    EXPECT_FALSE(protection().alarm) << "below the alarm speed";
    EXPECT_EQ(signals().speedCheckPassed, (std::vector<std::uint8_t>{1, 1}));
}

TEST_F(SpeedLimits, ASupervisedStretchShowsItsSpeedAndTheCheckLapsesWithNothingToShow)
{
    cabdrive::SpeedCheck2Row stretch;
    stretch.columns = {25, 0, 100, 200};
    (void)route->speedChecks2.add(stretch);
    state().video.currentFrame = 150;
    tickAt(0, 30);
    EXPECT_EQ(sprite("img_cabsignal").pattern, 1);
    EXPECT_TRUE(sprite("img_cabsignal").visible);
    EXPECT_TRUE(protection().alarm);

    state().video.currentFrame = 250;
    protection().atsCheckSpeed = 45;
    tickAt(0, 30);
    EXPECT_EQ(sprite("img_cabsignal").pattern, 2) << "the check in force";
    EXPECT_EQ(protection().atsCheckSpeed, 45);
    protection().atsCheckSpeed = 30;  // not on the cab signal
    tickAt(0, 30);
    EXPECT_FALSE(sprite("img_cabsignal").visible);
    EXPECT_EQ(protection().atsCheckSpeed, 999);
}

TEST_F(SpeedLimits, TheFirstLimitWithinItsBrakingDistanceMakesTheSignBlink)
{
    addLimits();
    tickAt(0, 100);  // to 45 km/h from 100: 469 m
    const auto& first = signals().upcomingLimits[0];
    EXPECT_EQ(first.row, 0);
    EXPECT_EQ(first.brakingDistance, 46900);
    EXPECT_EQ(signals().upcomingLimits[2].row, -1);
    EXPECT_FALSE(signals().limitWarning);

    state().time.tickCount = 15;
    tickAt(33101, 100);
    EXPECT_TRUE(signals().limitWarning);
    EXPECT_EQ(sprite("img_unten_limit").pattern, 3);
    EXPECT_FALSE(sprite("img_unten_limit").visible);
    EXPECT_EQ(signals().pendingLimitCallout, 3);
    state().time.tickCount = 20;
    tickAt(33101, 100);
    EXPECT_TRUE(sprite("img_unten_limit").visible);
    state().time.tickCount = 21;
    tickAt(33100, 100);
    EXPECT_FALSE(signals().limitWarning) << "at exactly the braking distance";
}

TEST_F(SpeedLimits, OutsideAWarningTheSignFollowsTheLimitsFrameRanges)
{
    addLimits();
    atFrame(2100);
    EXPECT_EQ(sprite("img_unten_limit").pattern, 3);
    EXPECT_EQ(signals().pendingLimitCallout, -1);
    atFrame(2700);
    EXPECT_EQ(sprite("img_unten_limit").pattern, 4) << "the release picture";
    EXPECT_EQ(signals().pendingLimitCallout, 4);
    atFrame(2800);
    EXPECT_EQ(sprite("img_unten_limit").pattern, 0);
    EXPECT_EQ(signals().pendingLimitCallout, -1);
}

TEST_F(SpeedLimits, TheLimitLinesNameTheStopPatternOrTheLimitsAhead)
{
    settings.infoTexts = {"", "", "パターン接近", "停止まで", "制限まで", "(次 ", "照査)", "制限)"};
    addLimits();
    addCheck(25, 85000, 1);
    signals().aspects = {5, 0};
    tickAt(40000, 100);
    EXPECT_EQ(signals().limitText1, "45km/h 制限まで400m");
    EXPECT_EQ(signals().limitText2, "(次 30km/h 制限))");

    tickAt(84000, 30);
    EXPECT_EQ(signals().limitText1, "25km/h 照査まで10m");

    protection().patternCode = 10;
    protection().patternTarget = 52000;
    protection().patternSpeedA = 69;
    tickAt(40000, 40);
    EXPECT_EQ(signals().limitText1, "10km/h 停止まで100m");
    protection().patternCode = 1;
    tickAt(40000, 40);
    EXPECT_EQ(signals().limitText1, "パターン接近");
}

TEST_F(SpeedLimits, TheStartOfARunAndAStationJumpPassTheChecksBehindTheTrain)
{
    addCheck(45, 10000, 0);
    addCheck(45, 90000, 0);
    cabdrive::Station start;
    start.stopDistance = 50000;
    (void)route->stations.add(start);
    run().options.ATS = 1;
    cabdrive::startRun(run(), {.startStation = 0});
    EXPECT_EQ(signals().speedCheckPassed, (std::vector<std::uint8_t>{1, 0}));
    EXPECT_FALSE(protection().atsActive) << "the stored option switches protection off";

    signals().signalDisplay = 10;
    protection().atsCheckSpeed = 0;
    protection().patternCode = 10;
    state().dynamics.trainPosition = 0;
    cabdrive::resetSignalsForJump(run());
    EXPECT_EQ(signals().speedCheckPassed, (std::vector<std::uint8_t>{0, 0})) << "a jump back arms the checks again";
    EXPECT_EQ(signals().signalDisplay, 999);
    EXPECT_EQ(protection().atsCheckSpeed, 999);
    EXPECT_EQ(protection().patternCode, 999);
}

}  // namespace
