// The tick's own steps: event matching, vigilance, the stop-approach alert,
// the attenuation factor, the speedometer and the horn.
#include <gtest/gtest.h>

#include <algorithm>

#include "run/tick.h"
#include "sim/station_line.h"
#include "sim/event_matching.h"
#include "sim/stop_alert.h"
#include "sim/vigilance.h"
#include "sound/horn.h"
#include "support/run_fixture.h"
#include "view/needles.h"

namespace {

using cabdrive::OneShotFlags;

TEST(EventMatching, APointEventFiresOnceWithinFourteenFramesAndNeverAtFifteen)
{
    EXPECT_TRUE(cabdrive::pointEventDue(100, 114));
    EXPECT_TRUE(cabdrive::pointEventDue(100, 86));
    EXPECT_FALSE(cabdrive::pointEventDue(100, 115));
    EXPECT_FALSE(cabdrive::pointEventDue(100, 85));
    EXPECT_TRUE(cabdrive::stopPointDue(100, 109));
    EXPECT_FALSE(cabdrive::stopPointDue(100, 110));

    OneShotFlags flags(3);
    EXPECT_TRUE(flags.fireOnce(1, cabdrive::pointEventDue(100, 114)));
    EXPECT_FALSE(flags.fireOnce(1, cabdrive::pointEventDue(100, 110))) << "fired already";
    EXPECT_FALSE(flags.fireOnce(2, false));
    EXPECT_FALSE(flags.fireOnce(7, true)) << "a row beyond the table never fires";
    flags.clear();
    EXPECT_TRUE(flags.fireOnce(1, true)) << "a station jump clears the flags";
}

TEST(EventMatching, RangesAndWindows)
{
    EXPECT_FALSE(cabdrive::insideRange(100, 100, 100)) << "a range on one frame is never active";
    EXPECT_FALSE(cabdrive::insideRange(100, 200, 100));
    EXPECT_TRUE(cabdrive::insideRange(100, 200, 101));
    EXPECT_FALSE(cabdrive::insideRange(100, 200, 200));
    EXPECT_TRUE(cabdrive::insideVisibilityRange(100, 200, 100));
    EXPECT_FALSE(cabdrive::insideVisibilityRange(100, 200, 200));
    // 20 m before a stop at 1 000 m: the window runs from 980 m to 985 m, ends excluded.
    EXPECT_FALSE(cabdrive::insideStationWindow(100000, -2000, 98000));
    EXPECT_TRUE(cabdrive::insideStationWindow(100000, -2000, 98001));
    EXPECT_FALSE(cabdrive::insideStationWindow(100000, -2000, 98500));
}

class TickSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.vehicle.ebFlag = 1;
        f.vehicle.soundEbRing = 40;
        f.vehicle.soundStop = 41;
        f.vehicle.brakeNotches = 8;
        addSprite("img_Lamp_EB", 1, 1);
        addSprite("img_Lamp_stopalert", 1, 1);
        f.scene.setVisible("img_Lamp_EB", false);
        f.scene.setVisible("img_Lamp_stopalert", false);
    }
    void addSprite(const std::string& name, int width, int height)
    {
        cabdrive::Picture picture;
        picture.width = width;
        picture.height = height;
        picture.pixels.assign(static_cast<std::size_t>(width * height), 0);
        f.scene.addPicture(name, picture);
        f.scene.addSprite(name, cabdrive::SpriteKind::Extended, 0, 0, 1);
    }
    bool visible(const char* name) { return f.scene.sprite(name)->visible; }

    test::RunFixture f;
};

TEST_F(TickSteps, VigilanceWarnsOnThe601stCountedTickAndBrakesOnThe651st)
{
    auto& s = f.state();
    s.dynamics.trainSpeed = 1;  // not above 1 km/h: nothing is counted
    for (int i = 0; i < 700; ++i)
        cabdrive::vigilanceDevice(f.run());
    EXPECT_EQ(s.protection.vigilanceCounter, 0);

    s.dynamics.trainSpeed = 50;
    for (int i = 0; i < 600; ++i)
        cabdrive::vigilanceDevice(f.run());
    EXPECT_FALSE(f.sound.isPlaying(40));
    cabdrive::vigilanceDevice(f.run());
    EXPECT_TRUE(f.sound.isPlaying(40));
    EXPECT_TRUE(visible("img_Lamp_EB"));

    for (int i = 0; i < 49; ++i)
        cabdrive::vigilanceDevice(f.run());
    EXPECT_FALSE(s.protection.protectionEmergencyBrake);
    cabdrive::vigilanceDevice(f.run());  // the 651st
    EXPECT_TRUE(s.protection.protectionEmergencyBrake);
    EXPECT_FALSE(f.sound.isPlaying(40));
    EXPECT_EQ(s.protection.vigilanceCounter, 0);
    EXPECT_TRUE(s.controls.brakeChangePending && s.controls.powerChangePending);
}

TEST_F(TickSteps, AKeyPressStartsTheVigilanceCountAgain)
{
    auto& s = f.state();
    s.dynamics.trainSpeed = 50;
    for (int i = 0; i < 620; ++i)
        cabdrive::vigilanceDevice(f.run());
    cabdrive::resetVigilance(f.run());
    EXPECT_FALSE(f.sound.isPlaying(40));
    EXPECT_FALSE(visible("img_Lamp_EB"));
    for (int i = 0; i < 600; ++i)
        cabdrive::vigilanceDevice(f.run());
    EXPECT_FALSE(f.sound.isPlaying(40));
    EXPECT_FALSE(s.protection.protectionEmergencyBrake);
}

TEST_F(TickSteps, VigilanceIsDisarmedForGoodByADebugSwitchOrWithoutTheVehicleFlag)
{
    auto& s = f.state();
    s.dynamics.trainSpeed = 50;
    s.input.debugFreeze = true;
    cabdrive::vigilanceDevice(f.run());
    s.input.debugFreeze = false;
    for (int i = 0; i < 700; ++i)
        cabdrive::vigilanceDevice(f.run());
    EXPECT_FALSE(s.protection.protectionEmergencyBrake);

    test::RunFixture unarmed;
    unarmed.state().dynamics.trainSpeed = 50;
    for (int i = 0; i < 700; ++i)
        cabdrive::vigilanceDevice(unarmed.run());
    EXPECT_EQ(unarmed.state().protection.vigilanceCounter, 0);
}

TEST_F(TickSteps, StopAlertAt90KmhSoundsOnceTheStopIsCloserThan575m)
{
    auto& s = f.state();
    s.dynamics.trainSpeed = 90;
    s.dynamics.distanceToStop = 57600;
    cabdrive::stopApproachAlert(f.run());
    EXPECT_FALSE(f.sound.isPlaying(41));
    s.dynamics.distanceToStop = 57499;
    cabdrive::stopApproachAlert(f.run());
    EXPECT_TRUE(f.sound.isPlaying(41));
    EXPECT_EQ(f.sound.starts(41), 1);
    cabdrive::stopApproachAlert(f.run());
    EXPECT_EQ(f.sound.starts(41), 1) << "played once while it plays";
}

TEST_F(TickSteps, StopAlertLampBlinksWhileItSoundsAndAllStopsBelow1Kmh)
{
    auto& s = f.state();
    s.dynamics.trainSpeed = 40;
    s.dynamics.distanceToStop = 1000;
    s.time.tickCount = 10;
    cabdrive::stopApproachAlert(f.run());
    EXPECT_TRUE(visible("img_Lamp_stopalert"));
    s.time.tickCount = 15;
    cabdrive::stopApproachAlert(f.run());
    EXPECT_FALSE(visible("img_Lamp_stopalert"));
    s.time.tickCount = 16;
    s.dynamics.trainSpeed = 0.5L;
    cabdrive::stopApproachAlert(f.run());
    EXPECT_FALSE(f.sound.isPlaying(41));
    EXPECT_EQ(f.sound.channels[41].volume, 0);
}

TEST_F(TickSteps, NoAttenuationRowMeansFullEnvironmentVolume)
{
    cabdrive::AttenRow row;
    row.columns = {100, 200, 0, 40};
    f.route->attens.add(row);
    f.vehicle.cars = 1;
    f.vehicle.trainMass = cabdrive::fixed4::fromInt(100);
    f.state().sound.environmentVolumeFactor = 0.3L;
    f.state().video.currentFrame = 100;
    cabdrive::Timer1Timer(f.run());
    EXPECT_EQ(f.state().sound.environmentVolumeFactor, 1.0L);
    f.state().video.currentFrame = 150;
    cabdrive::Timer1Timer(f.run());
    EXPECT_EQ(f.state().sound.environmentVolumeFactor, 0.4L);
}

TEST_F(TickSteps, SpeedometerTurnsTheNeedleAndTheDigits)
{
    f.vehicle.needleSpeed.offsetDeg = -120;
    f.vehicle.needleSpeed.degPerUnit = 2;
    addSprite("img_Needle_speed", 10, 10);
    addSprite("img_digi_speed", 2000, 1);
    f.scene.picture("img_digi_speed")->patternWidth = 10;  // 200 cells
    f.state().dynamics.trainSpeed = 72.4L;
    cabdrive::updateSpeedometer(f.run());
    // (72.4 x 2 - 120) degrees = 24.8 degrees, 255 steps a turn: 17.57 -> 18
    EXPECT_EQ(f.scene.sprite("img_Needle_speed")->angle, 18);
    EXPECT_EQ(f.scene.sprite("img_digi_speed")->pattern, 72);

    f.state().dynamics.trainSpeed = -0.6L;  // creeping back: the needle stays
    cabdrive::updateSpeedometer(f.run());
    EXPECT_EQ(f.scene.sprite("img_Needle_speed")->angle, 18);
    EXPECT_EQ(f.scene.sprite("img_digi_speed")->pattern, 1);

    f.state().dynamics.trainSpeed = 165;  // beyond the dial and the digits
    cabdrive::updateSpeedometer(f.run());
    EXPECT_EQ(f.scene.sprite("img_Needle_speed")->angle, 18);
    EXPECT_EQ(f.scene.sprite("img_digi_speed")->pattern, 165);
}

TEST(SpeedNeedle, TheFineScaleTakesTheFirstTenKilometresPerHour)
{
    cabdrive::SpeedNeedleLayout needle;
    needle.offsetDeg = -100;
    needle.degPerUnit = 1.5L;
    needle.degPerUnitLow = 3;
    EXPECT_EQ(cabdrive::speedNeedleDegrees(needle, 5), -85);
    EXPECT_EQ(cabdrive::speedNeedleDegrees(needle, 10), -70);  // continuous at 10 km/h
    EXPECT_EQ(cabdrive::speedNeedleDegrees(needle, 20), -55);
    EXPECT_EQ(cabdrive::spriteAngle(360), 255);
    EXPECT_EQ(cabdrive::spriteAngle(-360), -255);
}

TEST_F(TickSteps, TheHornRunsOpeningThenAlternatingPartsThenTheClosing)
{
    f.vehicle.soundHorn4a = 10;
    f.vehicle.soundHorn4b = 11;
    f.vehicle.soundHorn4c = 12;
    f.vehicle.soundHorn4d = 13;
    f.vehicle.soundHorn4e = 6;  // 0.2 s a part
    auto& s = f.state();
    s.input.hornKeyHeld = true;
    auto tickAt = [&](int clock) {
        s.time.clockTicks = clock;
        cabdrive::soundHornAndBuzzer(f.run());
    };
    tickAt(100);
    EXPECT_TRUE(f.sound.isPlaying(10));
    EXPECT_TRUE(s.sound.hornSounding);
    tickAt(103);
    EXPECT_FALSE(f.sound.isPlaying(11)) << "the opening has not sounded long enough";
    tickAt(107);
    EXPECT_TRUE(f.sound.isPlaying(11));
    f.sound.finish(10);
    tickAt(114);
    EXPECT_TRUE(f.sound.isPlaying(12));
    f.sound.finish(11);
    tickAt(121);
    EXPECT_EQ(f.sound.starts(11), 2) << "B and C alternate";

    s.input.hornKeyHeld = false;
    tickAt(124);
    EXPECT_FALSE(f.sound.isPlaying(13));
    tickAt(128);
    EXPECT_TRUE(f.sound.isPlaying(13)) << "the closing part once the last part has sounded long enough";
    EXPECT_FALSE(s.sound.hornSounding);
}

TEST_F(TickSteps, TheBuzzerLoopsWhileItsKeyIsHeld)
{
    f.vehicle.soundBuzzer = 20;
    f.state().input.buzzerKeyHeld = true;
    cabdrive::soundHornAndBuzzer(f.run());
    EXPECT_TRUE(f.sound.isLooping(20));
    f.state().input.buzzerKeyHeld = false;
    cabdrive::soundHornAndBuzzer(f.run());
    EXPECT_FALSE(f.sound.isPlaying(20));
}

// A vehicle without [ATS_Warn] or [Sound_EBring] has sound number 0 for
// them: the tick's warning stop and the vigilance bell leave channel 0, the
// lowest running-sound band, playing.
TEST(SoundNumberZero, TheTickNeverStopsChannel0ForAnAbsentWarningOrBell)
{
    test::StationLine line;
    line.f.vehicle.ebFlag = 1;
    line.start();
    line.standAt(1000, 50);
    line.state().protection.vigilanceCounter = 650;  // the bell rings and the brake applies this tick
    line.f.sound.play(0, true);
    cabdrive::Timer1Timer(line.f.run());
    EXPECT_TRUE(line.state().protection.protectionEmergencyBrake);
    cabdrive::resetVigilance(line.f.run());
    EXPECT_EQ(std::count(line.f.sound.log.begin(), line.f.sound.log.end(), "stop 0"), 0);
    EXPECT_TRUE(line.f.sound.isLooping(0));
}

}  // namespace
