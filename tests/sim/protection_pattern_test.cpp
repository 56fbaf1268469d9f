// Pattern-type protection: beacon bands, braking curves, states and the
// line speed that caps them.
#include <gtest/gtest.h>

#include "protection_fixture.h"
#include "sim/pattern_protection.h"

namespace {

struct PatternProtection : test::ProtectionFixture {
    PatternProtection()
    {
        vehicle.atsType = 1;
        addSprite("img_Lamp_Atsp1", 1);
        addSprite("img_Lamp_Atsp2", 1);
        signals().lineSpeed = 120;
    }
    void addTarget(std::int64_t cm, std::int32_t code, std::int32_t kind, std::int32_t row = 0)
    {
        (void)route->patternTargets.add({cm, code, row, row, kind});
    }
    void check() { cabdrive::patternProtection(run()); }
    // The train `d` cm before the target at 1 000 m.
    void before(long double d, long double kmh)
    {
        placeAt(100000 - d, kmh);
        check();
    }
    bool lamp(const char* name) const { return sprite(name).visible; }
};

TEST_F(PatternProtection, ABeaconActsOnlyInsideItsBand)
{
    addSignal(3, 1000);
    signals().aspects = {0};
    addTarget(100000, 10, 2);
    before(60000, 50);
    EXPECT_EQ(protection().patternCode, 999) << "600 m: beyond the horizon";
    before(59000, 50);
    EXPECT_EQ(protection().patternCode, 999) << "590 m: the band's edge";
    before(59500, 50);
    EXPECT_EQ(protection().patternCode, 10);
    EXPECT_EQ(protection().patternTarget, 100000);
    EXPECT_EQ(signals().protectionText1, "停止信号まで595m");

    cabdrive::erasePattern(protection());
    route->signals[0].columns[3] = 0;
    before(59500, 50);
    EXPECT_EQ(protection().patternCode, 999) << "a repeater has no beacon";
}

TEST_F(PatternProtection, TheBrakeCurveBrakesTowardsAStopAndReleasesWhenThePatternIsErased)
{
    cabdrive::ProtectionState& p = protection();
    p.patternCode = 10;
    p.patternTarget = 100000;
    p.patternKind = 2;
    before(12000, 35);  // 120 m: brake curve at 100 m, warning curve at 50 m, 3 km/h/s at 70 %
    EXPECT_EQ(p.patternSpeedA, 40);
    EXPECT_EQ(p.patternSpeedB, 29);
    EXPECT_EQ(p.patternState, 1);
    EXPECT_TRUE(lamp("img_Lamp_Atsp1"));
    EXPECT_FALSE(p.protectionServiceBrake);

    before(12000, 41);
    EXPECT_EQ(p.patternState, 3);
    EXPECT_TRUE(p.protectionServiceBrake);
    EXPECT_TRUE(state().controls.brakeChangePending);
    EXPECT_EQ(signals().protectionText2, "10km/h照査によって停止ブレーキ 速度41 パターン40");
    before(12000, 20);
    EXPECT_EQ(p.patternState, 3) << "the stop brake holds";

    cabdrive::erasePattern(p);
    check();
    EXPECT_EQ(p.patternSpeedA, 130) << "no pattern: the line speed + 10";
    EXPECT_EQ(p.patternState, 0);
    EXPECT_FALSE(p.protectionServiceBrake);
    EXPECT_FALSE(lamp("img_Lamp_Atsp1"));
}

TEST_F(PatternProtection, AStationPatternActsOnlyWhileTheTrainRunsTowardsTheStation)
{
    addTarget(100000, 10, 3, 1);
    state().stations.melodyStarted = {0, 0};
    before(4500, 0);
    EXPECT_EQ(protection().patternCode, 999) << "standing";
    state().stations.melodyStarted = {0, 1};
    before(4500, 40);
    EXPECT_EQ(protection().patternCode, 999) << "departed";
    state().stations.melodyStarted = {0, 0};
    before(4500, 40);
    EXPECT_EQ(protection().patternCode, 10);
    EXPECT_EQ(signals().protectionText1, "停車駅まで45m");
    before(150, 5);
    EXPECT_EQ(protection().patternCode, 999);
    EXPECT_EQ(signals().protectionText1, "停車駅パターン消去");
}

TEST_F(PatternProtection, ASpeedCheckBrakesAboveItsCurveUntilTenBelowItsCode)
{
    addTarget(100000, 45, 1);
    before(7600, 60);
    EXPECT_EQ(protection().patternCode, 55);
    EXPECT_EQ(signals().protectionText1, "55km/h照査まで76m");
    before(7600, 63);
    EXPECT_EQ(protection().patternState, 2);
    EXPECT_TRUE(protection().protectionServiceBrake);
    EXPECT_EQ(signals().protectionText2, "55km/h照査によってブレーキ 速度63 パターン62");
    before(7600, 45.4L);
    EXPECT_EQ(protection().patternState, 2) << "45 km/h is not yet 10 below the code";
    before(7600, 44);
    EXPECT_EQ(protection().patternState, 0);
    EXPECT_FALSE(protection().protectionServiceBrake);
    before(100, 20);
    EXPECT_EQ(protection().patternCode, 999);
    EXPECT_EQ(signals().protectionText1, "速度照査パターン消去");
}

TEST_F(PatternProtection, TheLineSpeedOfTheSectionCapsTheCurves)
{
    for (auto [stop, speed] : {std::pair{0, 60}, std::pair{100000, 90}, std::pair{200000, 0}}) {
        cabdrive::Station station;
        station.stopDistance = stop;
        station.lineSpeed = speed;
        (void)route->stations.add(station);
    }
    placeAt(150000, 0);
    cabdrive::currentLineSpeed(run());
    EXPECT_EQ(signals().lineSpeed, 90);
    placeAt(50000, 64.4L);
    cabdrive::currentLineSpeed(run());
    check();
    EXPECT_EQ(protection().patternState, 0) << "below the warning curve, the line speed + 5, less 0.5";
    placeAt(50000, 64.5L);
    check();
    EXPECT_EQ(protection().patternState, 1);

    state().controls.reverser = 0;
    protection().atsCheckSpeed = 0;
    check();
    EXPECT_FALSE(protection().protectionEmergencyBrake) << "supervision needs the reverser forward";
    state().controls.reverser = 1;
    check();
    EXPECT_TRUE(protection().protectionEmergencyBrake) << "the immediate transponder of a stop signal";
}

}  // namespace
