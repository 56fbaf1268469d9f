// Tests of masconupdate: texts, lamps, notch strips, constant speed, gear readout.
#include "sim/mascon_update.h"

#include <gtest/gtest.h>

#include "input/input_fixture.h"
#include "sim/controller_state.h"

using namespace cabdrive;

namespace {

std::string brakeTextAt(test::InputFixture& f, std::int32_t brakeHandle)
{
    f.controls().brakeHandle = brakeHandle;
    masconupdate(f.run());
    return f.controls().brakeText;
}

}  // namespace

TEST(MasconConstantSpeed, EngagesWhenNotchingBackFromTheNotchAboveConstNotch)
{
    test::InputFixture f;
    f.vehicle.constNotch = 3;
    f.vehicle.constMinSpeed = 40;
    ControlState& c = f.controls();
    c.powerHandle = c.appliedPowerNotch = 4;
    f.state().dynamics.trainSpeed = 39;
    handleBack(f.run());
    masconupdate(f.run());
    EXPECT_FALSE(c.constantSpeedOn);

    c.powerHandle = 4;
    f.state().dynamics.trainSpeed = 40;
    handleBack(f.run());
    masconupdate(f.run());
    EXPECT_TRUE(c.constantSpeedOn);
    EXPECT_EQ(c.powerText, "定速");

    // With constNotch 1 notching back from P2 to P1 does not engage it.
    test::InputFixture g;
    g.vehicle.constNotch = 1;
    g.controls().powerHandle = g.controls().appliedPowerNotch = 2;
    handleBack(g.run());
    masconupdate(g.run());
    EXPECT_FALSE(g.controls().constantSpeedOn);
}

TEST(MasconConstantSpeed, AnyHandleChangeOrProtectionBrakeEndsItAndAppliesThePowerHandleAtOnce)
{
    test::InputFixture f;
    f.vehicle.constNotch = 1;
    f.vehicle.powerDelay = 30;
    ControlState& c = f.controls();
    c.powerHandle = c.appliedPowerNotch = 5;
    engageConstantSpeed(f.run());
    masconupdate(f.run());
    EXPECT_TRUE(c.constantSpeedOn);
    handleBack(f.run());
    masconupdate(f.run());
    EXPECT_FALSE(c.constantSpeedOn);
    EXPECT_EQ(c.appliedPowerNotch, 4);
    EXPECT_EQ(c.powerText, "P4");

    c.powerHandle = c.appliedPowerNotch = 5;
    engageConstantSpeed(f.run());
    f.state().protection.protectionServiceBrake = true;
    masconupdate(f.run());
    EXPECT_FALSE(c.constantSpeedOn);
}

TEST(MasconTexts, BrakeWordsFollowTheBrakeType)
{
    test::InputFixture f;
    EXPECT_EQ(brakeTextAt(f, -3), "B3");
    EXPECT_EQ(brakeTextAt(f, -8), "非常");
    EXPECT_EQ(brakeTextAt(f, 0), "緩め");
    f.controls().holdingBrakeOn = true;
    EXPECT_EQ(brakeTextAt(f, 0), "抑速");

    test::InputFixture air;
    air.vehicle.brakeType = 0;
    air.vehicle.brakeNotches = 4;
    EXPECT_EQ(brakeTextAt(air, -1), "保ち");
    EXPECT_EQ(brakeTextAt(air, -2), "重なり");
    EXPECT_EQ(brakeTextAt(air, -3), "重なり前");
    EXPECT_EQ(brakeTextAt(air, -4), "非常");
    EXPECT_EQ(brakeTextAt(air, -5), "込め");
}

TEST(MasconTexts, PowerTextCountsTheNotchWithinItsMode)
{
    test::InputFixture f;
    f.addSecondPowerMode();
    masconupdate(f.run());
    EXPECT_EQ(f.controls().powerText, "切");
    EXPECT_EQ(f.controls().gearText, "直列");
    nextPowerMode(f.run());
    handleForward(f.run());
    masconupdate(f.run());
    EXPECT_EQ(f.controls().powerHandle, 5);
    EXPECT_EQ(f.controls().powerText, "S1");
    EXPECT_EQ(f.controls().gearText, "並列");
}

TEST(MasconLamps, ReverserLampsAndText)
{
    test::InputFixture f;
    f.addStrip("img_Lamp_Fwd", 1);
    f.addStrip("img_Lamp_Bck", 1);
    f.controls().reverser = 0;
    masconupdate(f.run());
    EXPECT_FALSE(f.visible("img_lamp_fwd"));
    EXPECT_FALSE(f.visible("img_lamp_bck"));
    EXPECT_EQ(f.controls().reverserText, "中");
    f.controls().reverser = -1;
    masconupdate(f.run());
    EXPECT_FALSE(f.visible("img_lamp_fwd"));
    EXPECT_TRUE(f.visible("img_lamp_bck"));
}

TEST(MasconStrips, BrakeStripGivesTheHoldingPositionPatternOne)
{
    test::InputFixture f;
    f.vehicle.holdNotch = 1;
    f.addStrip("img_lamp_b", 10);
    masconupdate(f.run());
    EXPECT_EQ(f.pattern("img_lamp_b"), 0);
    handleBack(f.run());
    masconupdate(f.run());
    EXPECT_EQ(f.pattern("img_lamp_b"), 1);
    handleBack(f.run());
    masconupdate(f.run());
    EXPECT_EQ(f.pattern("img_lamp_b"), 2);

    test::InputFixture plain;
    plain.addStrip("img_lamp_b", 9);
    plain.controls().brakeHandle = -3;
    masconupdate(plain.run());
    EXPECT_EQ(plain.pattern("img_lamp_b"), 3);
    // A strip without the pattern keeps the one it shows.
    plain.controls().brakeHandle = -9;
    masconupdate(plain.run());
    EXPECT_EQ(plain.pattern("img_lamp_b"), 3);
}

TEST(MasconStrips, OneHandleHidesThePowerStripsWhileBraking)
{
    test::InputFixture f;
    f.addStrip("img_lamp_p", 6);
    f.addStrip("img_lamp_p2", 6);
    f.controls().brakeHandle = -1;
    masconupdate(f.run());
    EXPECT_FALSE(f.visible("img_lamp_p"));
    EXPECT_FALSE(f.visible("img_lamp_p2"));
    f.controls().brakeHandle = 0;
    f.controls().powerHandle = 2;
    masconupdate(f.run());
    EXPECT_TRUE(f.visible("img_lamp_p"));
    EXPECT_EQ(f.pattern("img_lamp_p"), 2);

    test::InputFixture two;
    two.vehicle.handleType = 1;
    two.addStrip("img_lamp_p", 6);
    two.controls().brakeHandle = -1;
    masconupdate(two.run());
    EXPECT_TRUE(two.visible("img_lamp_p"));
}

TEST(MasconStrips, SecondStripsShowTheProtectionBrake)
{
    test::InputFixture f;
    f.addStrip("img_lamp_p2", 6);
    f.addStrip("img_lamp_b2", 9);
    f.controls().powerHandle = 3;
    masconupdate(f.run());
    EXPECT_EQ(f.pattern("img_lamp_p2"), 3);
    EXPECT_EQ(f.pattern("img_lamp_b2"), 0);
    f.state().protection.protectionServiceBrake = true;
    masconupdate(f.run());
    EXPECT_EQ(f.pattern("img_lamp_p2"), 0);
    EXPECT_EQ(f.pattern("img_lamp_b2"), 7);
    f.state().protection.protectionEmergencyBrake = true;
    masconupdate(f.run());
    EXPECT_EQ(f.pattern("img_lamp_b2"), 8);
}

TEST(MasconGear, DieselReadoutFollowsTheGearLever)
{
    test::InputFixture f;
    f.vehicle.engineType = 0;
    f.addStrip("img_gearlever", 6);
    for (int i = 0; i < 4; ++i)
        (void)f.vehicle.engineTable.add({});
    const auto textAt = [&f](std::int32_t lever) {
        f.state().engine.gearLever = lever;
        masconupdate(f.run());
        return f.controls().gearText;
    };
    EXPECT_EQ(textAt(0), "N");
    EXPECT_EQ(textAt(1), "1速");
    EXPECT_EQ(textAt(2), "変速1");
    EXPECT_EQ(textAt(5), "変速4");
    EXPECT_EQ(f.pattern("img_gearlever"), 5);
    f.vehicle.engineTable.restart();
    for (int i = 0; i < 3; ++i)
        (void)f.vehicle.engineTable.add({});
    EXPECT_EQ(textAt(2), "変速");
}
