// Tests of the key, wheel and easy-panel bindings.
#include "input/driver_keys.h"

#include <gtest/gtest.h>

#include "input/input_fixture.h"

using namespace cabdrive;

namespace {

using KeysFixture = test::StartedInputFixture;

constexpr KeyModifiers shiftOnly{true, false, false};

}  // namespace

TEST(DriverKeys, BeforeTheStartACharacterOnlyQuietensTheVigilanceDevice)
{
    KeysFixture f;
    f.state().input.runNotStarted = true;
    f.state().protection.vigilanceCounter = 620;
    f.sound.play(40, true);
    AsciiDown(f.run(), 'z');
    EXPECT_EQ(f.state().protection.vigilanceCounter, 0);
    EXPECT_FALSE(f.sound.isPlaying(40));
    EXPECT_FALSE(f.visible("img_Lamp_EB"));
    EXPECT_EQ(f.controls().powerHandle, 0);
    EXPECT_FALSE(f.controls().powerChangePending);
    EXPECT_EQ(f.controls().powerText, "");
}

TEST(DriverKeys, WheelStepsGoThroughTheDigitSwap)
{
    KeysFixture f;
    WheelD(f.run());
    EXPECT_EQ(f.controls().powerHandle, 1);
    EXPECT_EQ(f.controls().powerText, "P1");
    f.state().input.swapDigits = true;
    WheelD(f.run());
    WheelD(f.run());
    EXPECT_EQ(f.controls().powerHandle, 0);
    EXPECT_EQ(f.controls().brakeHandle, -1);
    keydowns(f.run(), Key::ScrollLock, {});
    EXPECT_FALSE(f.state().input.swapDigits);
}

TEST(DriverKeys, WheelUpFromTheLastServiceNotchGivesEmergency)
{
    KeysFixture f;
    f.controls().brakeHandle = -6;
    WheelU(f.run());
    EXPECT_EQ(f.controls().brakeHandle, -7);
    WheelU(f.run());
    EXPECT_EQ(f.controls().brakeHandle, -8);
    EXPECT_EQ(f.controls().brakeText, "非常");
}

TEST(DriverKeys, ReverserKeysActOnlyAtOneKilometrePerHourOrLess)
{
    KeysFixture f;
    f.state().dynamics.trainSpeed = 1.5L;
    AsciiDown(f.run(), 'b');
    AsciiDown(f.run(), 'n');
    EXPECT_EQ(f.controls().reverser, 1);
    f.state().dynamics.trainSpeed = 0;
    AsciiDown(f.run(), 'n');
    EXPECT_EQ(f.controls().reverser, 0);
    AsciiDown(f.run(), 'b');
    EXPECT_EQ(f.controls().reverser, -1);
}

TEST(DriverKeys, EmergencyKeysDependOnTheHandleType)
{
    KeysFixture one;
    one.controls().powerHandle = 2;
    AsciiDown(one.run(), '/');
    EXPECT_EQ(one.controls().brakeHandle, 0);
    AsciiDown(one.run(), 'q');
    EXPECT_EQ(one.controls().brakeHandle, -8);
    EXPECT_EQ(one.controls().powerHandle, 0);

    KeysFixture two;
    two.vehicle.handleType = 1;
    two.controls().powerHandle = 2;
    AsciiDown(two.run(), 'q');
    EXPECT_EQ(two.controls().brakeHandle, 0);
    AsciiDown(two.run(), '/');
    EXPECT_EQ(two.controls().brakeHandle, -8);
    EXPECT_EQ(two.controls().powerHandle, 2);
    AsciiDown(two.run(), '5');
    AsciiDown(two.run(), '0');
    EXPECT_EQ(two.controls().brakeHandle, -8);
    EXPECT_EQ(two.controls().powerHandle, 0);
}

TEST(DriverKeys, HornsAndBuzzer)
{
    KeysFixture f;
    AsciiDown(f.run(), '3');
    EXPECT_EQ(f.sound.channels[41].rewinds, 1);
    EXPECT_TRUE(f.sound.isPlaying(41));
    AsciiDown(f.run(), '6');
    EXPECT_EQ(f.sound.channels[42].rewinds, 1);
    AsciiDown(f.run(), '4');
    EXPECT_TRUE(f.state().input.buzzer);
    EXPECT_FALSE(f.state().input.hornSequence);

    // A four-part horn is sounded by the tick.
    f.vehicle.soundHorn4a = 43;
    AsciiDown(f.run(), '3');
    EXPECT_TRUE(f.state().input.hornSequence);
    EXPECT_EQ(f.sound.channels[41].rewinds, 1);
}

TEST(DriverKeys, AHandleMovedOntoANotchSoundsThatNotchOnce)
{
    KeysFixture f;
    f.vehicle.handleType = 1;  // power and brake apart
    for (int k = 1; k <= 5; ++k) {
        (void)f.vehicle.soundPowerPA.add(60 + k);
        (void)f.vehicle.soundPowerPR.add(70 + k);
    }
    for (int k = 1; k <= 8; ++k)
        (void)f.vehicle.soundBrakeBA.add(80 + k);
    AsciiDown(f.run(), 'z');
    AsciiDown(f.run(), 'z');
    AsciiDown(f.run(), 'a');
    EXPECT_EQ(f.sound.starts(61), 1);
    EXPECT_EQ(f.sound.starts(62), 1);
    EXPECT_EQ(f.sound.starts(71), 1) << "lowered onto P1";
    AsciiDown(f.run(), 'a');  // power off: no sound of its own
    AsciiDown(f.run(), '.');
    AsciiDown(f.run(), '.');
    AsciiDown(f.run(), ',');
    EXPECT_EQ(f.sound.starts(82), 1);
    EXPECT_EQ(f.sound.channels[81].rewinds, 2) << "B1 on the way down and on the way back";
    const std::size_t commands = f.sound.log.size();
    AsciiDown(f.run(), 'f');
    EXPECT_EQ(f.sound.log.size(), commands) << "no handle moved";
}

TEST(DriverKeys, PowerModeAndConstantSpeedKeys)
{
    KeysFixture f;
    f.addSecondPowerMode();
    f.vehicle.constNotch = 1;
    AsciiDown(f.run(), 'w');
    EXPECT_EQ(f.controls().powerMode, 1);
    EXPECT_EQ(f.controls().gearText, "並列");
    AsciiDown(f.run(), '9');
    EXPECT_EQ(f.controls().powerMode, 0);
    f.controls().powerHandle = 7;
    AsciiDown(f.run(), '9');
    EXPECT_EQ(f.controls().powerMode, 0);
    AsciiDown(f.run(), 't');
    EXPECT_TRUE(f.controls().constantSpeedOn);
}

TEST(DriverKeys, BackspaceSwitchesBackOnlyStandingJustBeforeTheFirstMovieStop)
{
    KeysFixture f;
    keydowns(f.run(), Key::Backspace, {});  // no [MovieStop]: nothing
    EXPECT_EQ(f.state().video.reversed, 0);
    (void)f.route->movieStops.add(1000);
    (void)f.route->movieStops.add(5000);
    VideoState& video = f.state().video;
    for (std::int32_t frame : {800, 1001}) {
        video.currentFrame = frame;
        keydowns(f.run(), Key::Backspace, {});
        EXPECT_EQ(video.currentFrame, frame);
    }
    video.currentFrame = 1000;
    f.state().dynamics.trainSpeed = 0.1L;
    keydowns(f.run(), Key::Backspace, {});
    EXPECT_EQ(video.reversed, 0);
    f.state().dynamics.trainSpeed = -0.09L;
    keydowns(f.run(), Key::Backspace, {});
    EXPECT_EQ(video.currentFrame, 1002);
    EXPECT_EQ(video.reversed, 1);
    video.currentFrame = 801;
    keydowns(f.run(), Key::Backspace, {});
    EXPECT_EQ(video.currentFrame, 1002);
}

TEST(DriverKeys, ShiftKeysMoveTheCabAndTheDebugValues)
{
    KeysFixture f;
    InputState& input = f.state().input;
    for (int i = 0; i < 4; ++i)
        keydowns(f.run(), Key::Up, shiftOnly);
    EXPECT_EQ(f.state().presentation.cabSurfaceTop, -150);
    keydowns(f.run(), Key::Down, {true, true, false});  // not Shift alone
    EXPECT_EQ(f.state().presentation.cabSurfaceTop, -150);
    for (int i = 0; i < 4; ++i)
        keydowns(f.run(), Key::Down, shiftOnly);
    EXPECT_EQ(f.state().presentation.cabSurfaceTop, 0);

    keydowns(f.run(), Key::F1, shiftOnly);
    EXPECT_TRUE(input.debugFreeze);
    keydowns(f.run(), Key::F1, {});
    EXPECT_FALSE(input.debugFreeze);

    f.state().dynamics.trainSpeed = 10;
    keydowns(f.run(), Key::F11, shiftOnly);
    EXPECT_EQ(f.state().dynamics.trainSpeed, 10);
    keydowns(f.run(), Key::F12, shiftOnly);
    keydowns(f.run(), Key::F12, {});
    EXPECT_EQ(f.state().dynamics.trainSpeed, 20);
    f.state().time.clockTicks = 1000;
    f.state().video.currentFrame = 5000;
    keydowns(f.run(), Key::F8, shiftOnly);
    keydowns(f.run(), Key::F9, shiftOnly);
    keydowns(f.run(), Key::F5, shiftOnly);
    EXPECT_EQ(f.state().time.clockTicks, 1000);
    EXPECT_EQ(f.state().video.currentFrame, 5900);

    keydowns(f.run(), Key::F3, {});
    keydowns(f.run(), Key::F3, shiftOnly);
    EXPECT_EQ(f.shell.valueDisplayToggles, 2) << "F3 with or without Shift shows or hides the value display";
}

TEST(EasyPanel, ReverserButtonTurnsTheReverserRoundAndDoesNothingInNeutral)
{
    KeysFixture f;
    EXPECT_EQ(easyPanelCharacter(f.run(), EasyPanelButton::Reverser), 'b');
    f.controls().reverser = -1;
    EXPECT_EQ(easyPanelCharacter(f.run(), EasyPanelButton::Reverser), 'f');
    f.controls().reverser = 0;
    EXPECT_EQ(easyPanelCharacter(f.run(), EasyPanelButton::Reverser), 0);
    EXPECT_EQ(easyPanelCharacter(f.run(), EasyPanelButton::Accelerate), '8');
}

TEST(EasyPanel, IndicatorsShowTheHandles)
{
    KeysFixture f;
    EXPECT_EQ(easyPanelIndicators(f.run()).neutral, IndicatorColour::Green);
    f.controls().powerHandle = 2;
    EasyPanelIndicators shown = easyPanelIndicators(f.run());
    EXPECT_EQ(shown.neutral, IndicatorColour::White);
    EXPECT_EQ(shown.power[1], IndicatorColour::Yellow);
    EXPECT_EQ(shown.power[2], IndicatorColour::White);
    f.controls().powerHandle = 0;
    f.controls().brakeHandle = -8;
    shown = easyPanelIndicators(f.run());
    EXPECT_EQ(shown.brake[7], IndicatorColour::Red);
    EXPECT_EQ(shown.power[0], IndicatorColour::White);
}
