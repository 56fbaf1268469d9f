// Tests of the handle operations and of the delays that apply the handles.
#include "sim/controller_state.h"

#include <gtest/gtest.h>

#include "input/input_fixture.h"

using namespace cabdrive;

namespace {

void steps(Run& run, int count)
{
    for (int i = 0; i < count; ++i) {
        applyPowerNotchDelay(run);
        applyBrakeNotchDelays(run);
    }
}

}  // namespace

TEST(ControllerDelays, ADelayOfZeroIsNeverReachedExceptByTheSeventyPercentRule)
{
    test::InputFixture f;
    f.vehicle.powerDelay = 0;
    f.vehicle.brakeDelay = 0;
    f.vehicle.sapDelay = 0;
    f.vehicle.eBrakeDelay = 0;
    f.controls().powerHandle = 3;
    f.controls().brakeHandle = -2;
    handleForward(f.run());  // marks all four changes; braking, so no handle moves
    steps(f.run(), 50);
    EXPECT_EQ(f.controls().appliedPowerNotch, 0);
    EXPECT_EQ(f.controls().appliedBrakeNotch, 0);
    EXPECT_EQ(f.controls().sapBrakeNotch, 0);
    EXPECT_EQ(f.controls().electricBrakeNotch, 0);
    EXPECT_TRUE(f.controls().powerChangePending);

    // With the trailer cylinder under pressure the brake answers at once.
    f.state().air.bcTrailerCar = fixed4::fromInt(100);
    steps(f.run(), 1);
    EXPECT_EQ(f.controls().appliedBrakeNotch, -2);
    EXPECT_EQ(f.controls().sapBrakeNotch, 0);
}

TEST(ControllerDelays, ChangesApplyOnTheStepTheDelayIsReached)
{
    test::InputFixture f;
    f.vehicle.powerDelay = 3;
    f.vehicle.brakeDelay = 10;
    f.controls().powerHandle = 2;
    f.controls().brakeHandle = -4;
    f.controls().powerChangePending = f.controls().brakeChangePending = true;
    steps(f.run(), 2);
    EXPECT_EQ(f.controls().appliedPowerNotch, 0);
    steps(f.run(), 1);
    EXPECT_EQ(f.controls().appliedPowerNotch, 2);
    EXPECT_FALSE(f.controls().powerChangePending);
    EXPECT_EQ(f.controls().powerDelayCounter, 0);
    // A brake already applied answers at 70 % of the delay: step 7 of 10.
    f.state().air.bcTrailerCar = fixed4::fromValue(0.5L);
    steps(f.run(), 3);
    EXPECT_EQ(f.controls().appliedBrakeNotch, 0);
    steps(f.run(), 1);
    EXPECT_EQ(f.controls().appliedBrakeNotch, -4);
}

TEST(ControllerDelays, NotchingBackBelowNotchBackIsNotFollowedExceptToOff)
{
    test::InputFixture f;
    f.vehicle.notchBack = 3;
    ControlState& c = f.controls();
    c.appliedPowerNotch = 5;
    c.powerHandle = 2;
    c.powerChangePending = true;
    steps(f.run(), 1);
    EXPECT_EQ(c.appliedPowerNotch, 5);
    EXPECT_FALSE(c.powerChangePending);
    c.powerHandle = 3;
    c.powerChangePending = true;
    steps(f.run(), 1);
    EXPECT_EQ(c.appliedPowerNotch, 3);
    c.powerHandle = 0;
    c.powerChangePending = true;
    steps(f.run(), 1);
    EXPECT_EQ(c.appliedPowerNotch, 0);

    // A station clip holds the notch, although the change is consumed.
    f.state().video.videoMode = 1;
    c.powerHandle = 4;
    c.powerChangePending = true;
    steps(f.run(), 1);
    EXPECT_EQ(c.appliedPowerNotch, 0);
    EXPECT_FALSE(c.powerChangePending);
}

TEST(ControllerDelays, AProtectionBrakeOverridesTheHandle)
{
    test::InputFixture f;
    ControlState& c = f.controls();
    c.brakeHandle = -2;
    f.state().protection.protectionServiceBrake = true;
    brakeApply(f.run());
    steps(f.run(), 1);
    EXPECT_EQ(c.appliedBrakeNotch, -7);
    EXPECT_EQ(c.sapBrakeNotch, -7);
    EXPECT_EQ(c.electricBrakeNotch, -7);
    // A service brake by protection leaves the handle's emergency.
    brakeEmergency(f.run(), false);
    steps(f.run(), 1);
    EXPECT_EQ(c.appliedBrakeNotch, -8);
    f.state().protection.protectionEmergencyBrake = true;
    allNeutral(f.run());
    steps(f.run(), 1);
    EXPECT_EQ(c.appliedBrakeNotch, -8);
}

TEST(ControllerHandle, HoldingPositionLiesBetweenNeutralAndB1)
{
    test::InputFixture f;
    f.vehicle.holdNotch = 1;
    ControlState& c = f.controls();
    handleBack(f.run());
    EXPECT_EQ(c.brakeHandle, 0);
    EXPECT_TRUE(c.holdingBrakeOn);
    handleBack(f.run());
    EXPECT_EQ(c.brakeHandle, -1);
    EXPECT_FALSE(c.holdingBrakeOn);
    handleBack(f.run());
    EXPECT_EQ(c.brakeHandle, -2);
    handleForward(f.run());
    handleForward(f.run());
    EXPECT_EQ(c.brakeHandle, 0);
    EXPECT_TRUE(c.holdingBrakeOn);
    EXPECT_EQ(c.powerHandle, 0);
    handleForward(f.run());
    EXPECT_FALSE(c.holdingBrakeOn);
    EXPECT_EQ(c.powerHandle, 0);
    handleForward(f.run());
    EXPECT_EQ(c.powerHandle, 1);
}

TEST(ControllerHandle, OneHandleRunsFromTheTopNotchToTheLastServiceNotchOnly)
{
    test::InputFixture f;
    ControlState& c = f.controls();
    for (int i = 0; i < 8; ++i)
        handleForward(f.run());
    EXPECT_EQ(c.powerHandle, 5);
    EXPECT_EQ(c.brakeHandle, 0);
    for (int i = 0; i < 20; ++i)
        handleBack(f.run());
    EXPECT_EQ(c.powerHandle, 0);
    EXPECT_EQ(c.brakeHandle, -7);
    EXPECT_TRUE(c.powerChangePending && c.brakeChangePending && c.sapChangePending && c.eBrakeChangePending);
    brakeEmergency(f.run(), true);
    EXPECT_EQ(c.brakeHandle, -8);
    handleForward(f.run());
    EXPECT_EQ(c.brakeHandle, -7);
}

TEST(ControllerHandle, PowerModeStartsAtItsGroupsFirstNotch)
{
    test::InputFixture f;
    f.addSecondPowerMode();
    ControlState& c = f.controls();
    for (int i = 0; i < 6; ++i)
        handleForward(f.run());
    EXPECT_EQ(c.powerHandle, 4);  // notch 5 belongs to the next mode

    allNeutral(f.run());
    nextPowerMode(f.run());
    EXPECT_EQ(c.powerMode, 1);
    handleForward(f.run());
    EXPECT_EQ(c.powerHandle, 5);
    handleForward(f.run());
    handleForward(f.run());
    handleForward(f.run());
    EXPECT_EQ(c.powerHandle, 7);
    nextPowerMode(f.run());  // refused with power on
    EXPECT_EQ(c.powerMode, 1);
    handleBack(f.run());
    handleBack(f.run());
    EXPECT_EQ(c.powerHandle, 5);
    handleBack(f.run());
    EXPECT_EQ(c.powerHandle, 0);
    nextPowerMode(f.run());
    EXPECT_EQ(c.powerMode, 0);  // wraps after the last mode
}

TEST(ControllerHandle, ADieselCarWithoutNotchRowsReachesEveryNotch)
{
    test::InputFixture f;
    f.vehicle.engineType = 0;
    f.vehicle.notchTable.restart();
    f.vehicle.groupStart.restart();
    f.vehicle.powerNotches = 4;
    for (int i = 0; i < 6; ++i)
        powerUp(f.run());
    EXPECT_EQ(f.controls().powerHandle, 4);
}

TEST(ControllerTwoHandles, EachLeverMovesAloneAndMarksOnlyItsOwnChanges)
{
    test::InputFixture f;
    f.vehicle.handleType = 1;
    ControlState& c = f.controls();
    c.brakeHandle = -3;
    powerUp(f.run());
    EXPECT_EQ(c.powerHandle, 1);
    EXPECT_TRUE(c.powerChangePending);
    EXPECT_FALSE(c.brakeChangePending);
    brakeApply(f.run());
    EXPECT_EQ(c.brakeHandle, -4);
    brakeRelease(f.run());
    brakeRelease(f.run());
    EXPECT_EQ(c.brakeHandle, -2);
    EXPECT_TRUE(c.brakeChangePending && c.sapChangePending && c.eBrakeChangePending);
    brakeEmergency(f.run(), false);
    EXPECT_EQ(c.brakeHandle, -8);
    EXPECT_EQ(c.powerHandle, 1);  // only the one-handle emergency takes power off
    powerDown(f.run());
    EXPECT_EQ(c.powerHandle, 0);
}

TEST(ControllerConstantSpeed, TheKeyEngagesItOnlyAtTheTopNotchWithConstNotchOne)
{
    test::InputFixture f;
    f.vehicle.constNotch = 1;
    f.vehicle.constMinSpeed = 30;
    ControlState& c = f.controls();
    f.state().dynamics.trainSpeed = 40;
    c.powerHandle = 4;
    engageConstantSpeed(f.run());
    EXPECT_FALSE(c.constantSpeedOn);
    c.powerHandle = 5;
    f.state().dynamics.trainSpeed = 29.9L;
    engageConstantSpeed(f.run());
    EXPECT_FALSE(c.constantSpeedOn);
    f.state().dynamics.trainSpeed = 30;
    engageConstantSpeed(f.run());
    EXPECT_TRUE(c.constantSpeedOn);
    EXPECT_EQ(c.powerText, "定速");

    test::InputFixture g;
    g.vehicle.constNotch = 2;
    g.controls().powerHandle = 5;
    engageConstantSpeed(g.run());
    EXPECT_FALSE(g.controls().constantSpeedOn);
}
