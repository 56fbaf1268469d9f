// Tests of the traction stage and the motor current.
#include <gtest/gtest.h>

#include "sim/traction.h"
#include "support/run_fixture.h"

namespace cabdrive {
namespace {

constexpr double newtonTolerance = 0.0001;

// An electric train of 100 t with one acceleration-table notch.
struct TractionFixture : ::testing::Test {
    test::RunFixture f;

    void SetUp() override
    {
        f.vehicle.engineType = 1;
        f.vehicle.powerType = 1;
        f.vehicle.powerNotches = 1;
        f.vehicle.trainMass = fixed4::fromInt(100);
        f.vehicle.maxSpeed = 120;
        // 3 km/h/s at standstill, 2 at 40 km/h, constant power to 80 km/h, then x0.98 per km/h.
        ASSERT_TRUE(f.vehicle.notchTable.add({3, 2, 40, 80, 0.98L, 0}));
    }

    double forceAt(long double speed, std::int32_t notch = 1)
    {
        RunState& s = f.state();
        s.dynamics.trainSpeed = speed;
        s.controls.appliedPowerNotch = notch;
        s.dynamics.tractionForce = fixed4{};
        tractionStage(f.run());
        return static_cast<double>(s.dynamics.tractionForce.value());
    }
};

// N that an acceleration of a km/h/s gives 100 t.
double forceOf(long double accel)
{
    return static_cast<double>(accel / 3.6L * 100 * 1000);
}

TEST_F(TractionFixture, NotchTableRunsLinearThenConstantPowerThenDecay)
{
    EXPECT_NEAR(forceAt(0), forceOf(3), newtonTolerance);
    EXPECT_NEAR(forceAt(20), forceOf(2.5L), newtonTolerance);             // 3 + 20 x (2 - 3) / 40
    EXPECT_NEAR(forceAt(60), forceOf(40.0L * 2 / 60), newtonTolerance);   // c x b / v
    const long double decay10 = 0.8170728068875467L;                      // 0.98^10
    EXPECT_NEAR(forceAt(90.4L), forceOf(80 * decay10 / 90.4L), newtonTolerance);
}

TEST_F(TractionFixture, DecayExponentIsTheRoundedSpeed)
{
    // 89.5 and 90.49 share the exponent 90; 90.5 takes 91, a whole step of 0.98.
    const double below = forceAt(89.5L) * 89.5;
    const double same = forceAt(90.49L) * 90.49;
    const double next = forceAt(90.5L) * 90.5;
    // Forces are stored to 0.0001 N: times 90 km/h that is 0.01 at most.
    EXPECT_NEAR(below, same, 0.01);
    EXPECT_NEAR(next, same * 0.98, 0.01);
}

TEST_F(TractionFixture, RetardingNotchActsOnlyInsideItsBand)
{
    f.vehicle.notchTable[0] = {-1, 5, 10, 30, 0.9L, 0};
    EXPECT_EQ(forceAt(5), 0);
    EXPECT_NEAR(forceAt(10), forceOf(-1), newtonTolerance);
    EXPECT_NEAR(forceAt(29.9L), forceOf(-1), newtonTolerance);
    EXPECT_EQ(forceAt(30), 0);
}

TEST_F(TractionFixture, NoTractionAtMaxSpeedButBackwardsNeverLimitedReverserSigns)
{
    EXPECT_GT(forceAt(119.9L), 0);
    EXPECT_EQ(forceAt(120), 0);
    f.state().controls.reverser = -1;
    EXPECT_LT(forceAt(-150), 0);
    EXPECT_NEAR(forceAt(20), -forceOf(2.5L), newtonTolerance);
    f.state().controls.reverser = 0;
    EXPECT_EQ(forceAt(20), 0);
}

TEST_F(TractionFixture, DoorLockProtectionAndMissingNotchWithholdTraction)
{
    f.vehicle.doorLock = 1;
    f.state().doors.doorsOpen = true;
    EXPECT_EQ(forceAt(20), 0);
    f.state().doors.doorsOpen = false;
    EXPECT_GT(forceAt(20), 0);
    f.vehicle.doorLock = 2;  // never traction, doors or not
    EXPECT_EQ(forceAt(20), 0);
    f.vehicle.doorLock = 0;
    EXPECT_EQ(forceAt(20, 2), 0);  // a notch beyond the table
    f.state().protection.protectionServiceBrake = true;
    EXPECT_EQ(forceAt(20), 0);
}

TEST_F(TractionFixture, CurrentModelScalesWithMotorCurrent)
{
    f.vehicle.powerType = 0;
    f.vehicle.currentPHead1 = 400;   // A
    f.vehicle.currentPHead2 = 3;     // km/h/s at 400 A
    f.vehicle.currentPHead3 = 40;    // km/h
    f.state().dynamics.motorCurrent = 300;
    EXPECT_NEAR(forceAt(20), forceOf(3) * 300 / 400, newtonTolerance);
    EXPECT_NEAR(forceAt(80), forceOf(3) * 40 / 80 * 300 / 400, newtonTolerance);
}

TEST_F(TractionFixture, DieselBelowPowerJerkGivesAtMostNotchTwo)
{
    f.vehicle.engineType = 0;
    f.vehicle.powerNotches = 4;
    f.vehicle.powerJerk = 10;
    ASSERT_TRUE(f.vehicle.engineTable.add({0, 20, 60, 3000, 2000, 1000}));
    // 5 km/h: 2750 kgf at full power, two notches' worth of four.
    EXPECT_NEAR(forceAt(5, 4), 2 * 2750 * 9.8 / 4, newtonTolerance);
    EXPECT_NEAR(forceAt(5, 1), 1 * 2750 * 9.8 / 4, newtonTolerance);
    EXPECT_NEAR(forceAt(15, 4), 4 * 2250 * 9.8 / 4, newtonTolerance);
    EXPECT_NEAR(forceAt(40, 4), 4 * 1500 * 9.8 / 4, newtonTolerance);
    EXPECT_EQ(forceAt(60, 4), 0);
    f.state().engine.gearShiftState = 1;  // a gear change cuts the power
    EXPECT_EQ(forceAt(40, 4), 0);
}

// The current model's controller with three steps: two on notch 1, one on notch 3.
struct TractionMotorCurrent : ::testing::Test {
    test::RunFixture f;

    void SetUp() override
    {
        f.vehicle.engineType = 1;
        f.vehicle.powerType = 0;
        f.vehicle.currentPHead1 = 400;
        ASSERT_TRUE(f.vehicle.currentP.add({1, 8000, 0, 0}));
        ASSERT_TRUE(f.vehicle.currentP.add({1, 12000, 0, 0}));
        ASSERT_TRUE(f.vehicle.currentP.add({3, 20000, 0, 0}));
        f.scene.addPicture("img_Lamp_fin", Picture{1, 1, {0}});
        f.scene.addSprite("img_Lamp_fin", SpriteKind::Plain, 0, 0, 55);
    }

    void tick(std::int32_t notch, long double speed)
    {
        f.state().controls.appliedPowerNotch = notch;
        f.state().dynamics.trainSpeed = speed;
        updateMotorCurrent(f.run());
    }
    bool lampShown() { return f.scene.sprite("img_Lamp_fin")->visible; }
};

TEST_F(TractionMotorCurrent, StepsUpWhenCurrentFallsBelowLimitAndNotchAllows)
{
    const DynamicsState& d = f.state().dynamics;
    tick(1, 10);  // 800 A on the first step: above the limit, no step
    EXPECT_EQ(d.currentStep, 0);
    EXPECT_EQ(d.motorCurrent, 800);
    EXPECT_EQ(d.ammeterValue, 800);
    EXPECT_FALSE(lampShown());

    tick(1, 25);  // 320 A < 400: next step, 12000 / 25; notch 1 stops there
    EXPECT_EQ(d.currentStep, 1);
    EXPECT_EQ(d.motorCurrent, 480);
    EXPECT_TRUE(lampShown());

    tick(3, 40);  // 300 A on step 1, notch 3 allows the last step
    EXPECT_EQ(d.currentStep, 2);
    EXPECT_EQ(d.motorCurrent, 500);
    EXPECT_TRUE(lampShown());

    tick(0, 40);
    EXPECT_EQ(d.currentStep, 0);
    EXPECT_EQ(d.motorCurrent, 0);
    EXPECT_FALSE(lampShown());
}

TEST(TractionAmmeter, ReadsTheAppliedForceAsAcceleration)
{
    test::RunFixture f;
    f.vehicle.powerType = 1;
    f.vehicle.trainMass = fixed4::fromInt(100);
    DynamicsState& d = f.state().dynamics;
    d.appliedTractionForce = fixed4::fromValue(27777.7778L);  // 1 km/h/s on 100 t
    f.state().controls.appliedPowerNotch = 1;
    updateMotorCurrent(f.run());
    EXPECT_EQ(d.ammeterValue, 50);
    f.state().controls.appliedPowerNotch = 0;
    updateMotorCurrent(f.run());
    EXPECT_EQ(d.ammeterValue, 0);
    f.state().controls.appliedBrakeNotch = -2;
    d.appliedTractionForce = fixed4::fromValue(-13889);
    updateMotorCurrent(f.run());
    EXPECT_EQ(d.ammeterValue, -25);
}

}  // namespace
}  // namespace cabdrive
