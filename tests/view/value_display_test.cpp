// The value display: its texts for a known state, the sound channel grid and
// the three buttons.
#include <gtest/gtest.h>

#include "support/run_fixture.h"
#include "view/value_display.h"

namespace cabdrive {
namespace {

class ValueDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.vehicle.trainMass = fixed4::fromInt(100);
        f.vehicle.ebPress = 400;
        f.vehicle.eBrakeCurr = 300;
        (void)f.vehicle.driveSounds.add("run.wav");
        for (const char* name : {"a.wav", "b.wav"})
            (void)f.route->soundData.add(name);
        for (const char* name : {"東町", "西町"}) {
            Station station;
            station.name = name;
            station.stopFrame = (f.route->stations.size() + 1) * 1000;
            (void)f.route->stations.add(station);
        }
        for (std::int32_t frame : {500, 1500, 2500}) {
            SignalRow row;
            row.columns[5] = frame;
            (void)f.route->signals.add(row);
        }
    }
    test::RunFixture f;
};

TEST_F(ValueDisplay, EachFieldHasItsFormat)
{
    RunState& s = f.state();
    s.dynamics.trainSpeed = 52.46L;
    s.dynamics.tractionForce = fixed4::fromValue(12345.6L);
    s.dynamics.resistanceForce = fixed4::fromInt(-2345);
    s.dynamics.effectiveGradient = fixed4::fromValue(-2.4L);
    s.dynamics.adhesionCoefficient = fixed4::fromValue(0.25L);
    s.dynamics.adhesionLimit = fixed4::fromInt(98000);
    s.dynamics.slipIndication = "空転";
    s.dynamics.distanceToStop = 12345.6L;
    s.dynamics.trainPosition = 98765;
    s.dynamics.nextStopPosition = 150000;
    s.dynamics.precedingFrame = 1200;
    s.air.bcMotorCar = fixed4::fromValue(250.4L);
    s.air.bpPressure = 489.6L;
    s.air.electricBrakeCurrent = 900;  // beyond the bar's scale
    s.controls.powerHandle = 3;
    s.controls.appliedPowerNotch = 2;
    s.controls.brakeHandle = -1;
    s.protection.patternTarget = 120000;
    s.protection.patternCode = 10;
    s.protection.patternSpeedA = 45;
    s.protection.patternSpeedB = 40;
    s.signals.signalDisplay = 12;
    s.signals.aspects = {0, 3, 5};
    s.signals.displays = {1, 12, 16};
    s.video.currentFrame = 600;
    s.stations.currentStation = 1;

    const ValueDisplayTexts t = valueDisplayTexts(f.run(), 58);
    EXPECT_EQ(t.speed, "52.5 km/h");
    EXPECT_EQ(t.traction, "12346 N");
    EXPECT_EQ(t.resistance, "-2345 N");
    EXPECT_EQ(t.acceleration, "0.4 km/h/s");  // 10 000.6 N on 100 t
    EXPECT_EQ(t.gradient, "-2 Permil");
    EXPECT_EQ(t.adhesion, "空転 0.25 98000N");
    EXPECT_EQ(t.bcMotorCar, "250k");
    EXPECT_EQ(t.bp, "490 kPa");
    EXPECT_EQ(t.electricBrake, "900A");
    EXPECT_EQ(t.barElectricBrake, 300) << "a bar stops at the top of its scale";
    EXPECT_EQ(t.barMotorCar, 250);
    EXPECT_EQ(t.distanceToStop, "12346 cm");
    EXPECT_EQ(t.distanceRun, "988 m");
    EXPECT_EQ(t.nextStop, "1500 m 1");
    EXPECT_EQ(t.precedingTrain, "(東町～西町)");
    EXPECT_EQ(t.notches, "P 0 3 2 B 0 -1 0 0 0");
    EXPECT_EQ(t.patternLine, "212/10/45/40");
    EXPECT_EQ(t.limitLine, "9/0/0") << "no limit ahead";
    EXPECT_EQ(t.signalLine, "Signal now:12 now2:999 lim_now:999");
    EXPECT_EQ(t.signalRows[0], 1) << "the signal ahead is the first beyond the frame";
    EXPECT_EQ(t.signals[0], "3 12");
    EXPECT_EQ(t.signals[1], "5 16");
    EXPECT_EQ(t.signalRows[2], -1);
    EXPECT_EQ(t.soundGroups, "Sound D:1 L:2 M:0 K:1");
    EXPECT_EQ(t.drawingRate, "58");
}

TEST_F(ValueDisplay, PlayingChannelsShowTheirNumberAndAClickStopsOne)
{
    f.sound.play(0, true);
    f.sound.play(37, false);
    f.sound.play(150, true);  // beyond the grid's hundred channels
    auto cells = soundGrid(f.run());
    EXPECT_TRUE(cells[0].playing);
    EXPECT_EQ(cells[37].text, "37");
    EXPECT_FALSE(cells[36].playing);
    EXPECT_EQ(cells[36].text, "");
    stopGridChannel(f.run(), 7, 3);
    EXPECT_FALSE(f.sound.isPlaying(37));
    const std::size_t commands = f.sound.log.size();
    stopGridChannel(f.run(), 6, 3);  // a silent channel
    EXPECT_EQ(f.sound.log.size(), commands);
}

TEST_F(ValueDisplay, JumpTakesOnlyAWholeNumberAndTheResistanceSwitchToggles)
{
    f.state().video.currentFrame = 100;
    EXPECT_FALSE(jumpToFrame(f.run(), "12x"));
    EXPECT_FALSE(jumpToFrame(f.run(), ""));
    EXPECT_EQ(f.state().video.currentFrame, 100);
    EXPECT_TRUE(jumpToFrame(f.run(), " 2500 "));
    EXPECT_EQ(f.state().video.currentFrame, 2500);
    EXPECT_TRUE(toggleResistance(f.run()));
    EXPECT_TRUE(f.state().input.resistanceDebug);
    EXPECT_FALSE(toggleResistance(f.run()));
}

TEST_F(ValueDisplay, SpeedUnitsAreReadAgainFromTheRouteFileAndReplaceOnlyThatTable)
{
    f.route->programFolder = std::string(CABDRIVE_TEST_DATA) + "/check/";
    f.route->routeFileName = "missing.dat";
    EXPECT_FALSE(reloadSpeedUnits(f.run()));
    EXPECT_EQ(&f.run().speedUnits(), &f.route->speedUnits);
    f.route->routeFileName = "line_down.dat";
    ASSERT_TRUE(reloadSpeedUnits(f.run()));
    const SpeedUnitTable& units = f.run().speedUnits();
    EXPECT_TRUE(f.route->speedUnits.empty()) << "the loaded route is left as it was";
    ASSERT_GT(units.size(), 3u);
    EXPECT_EQ(units[1].toFrame, 330);
    EXPECT_EQ(units[1].endDistance, 8333) << "(0 + 60) x 300 / 2.16 cm";
}

}  // namespace
}  // namespace cabdrive
