// Tests of the force balance and the gradient history.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/force_balance.h"
#include "sim/preceding_train.h"
#include "support/run_fixture.h"

namespace cabdrive {
namespace {

// An electric train of 100 t: 40 t on motor cars, 60 t on trailers, five cars.
struct ForceBalanceFixture : ::testing::Test {
    test::RunFixture f;

    void SetUp() override
    {
        VehicleSpec& v = f.vehicle;
        v.engineType = 1;
        v.trainMass = fixed4::fromInt(100);
        v.massMotor = fixed4::fromInt(40);
        v.massTrailer = fixed4::fromInt(60);
        v.cars = 5;
        v.ebPress = 400;
        v.brakeRateA = fixed4::fromInt(4);  // km/h/s at ebPress
        f.route->friction = fixed4::fromValue(0.3L);
    }

    DynamicsState& dyn() { return f.state().dynamics; }
    double traction() { return static_cast<double>(dyn().tractionForce.value()); }
    double resistance() { return static_cast<double>(dyn().resistanceForce.value()); }
    void brakeCylinders(long double motor, long double trailer)
    {
        f.state().air.bcMotorCar = fixed4::fromValue(motor);
        f.state().air.bcTrailerCar = fixed4::fromValue(trailer);
    }
    // One tick's balance on the forces a physics step left.
    void balance(long double speed, long double tractionForce = 0)
    {
        dyn().trainSpeed = speed;
        dyn().tractionForce = fixed4::fromValue(tractionForce);
        dyn().resistanceForce = fixed4{};
        forceBalance(f.run());
    }
};

TEST_F(ForceBalanceFixture, SlipDropsTractionToHalfTheAdhesionForce)
{
    f.state().controls.appliedPowerNotch = 1;
    balance(0, 200000);
    // mu 0.3 at standstill on 40 t of motor cars: limit 117 600 N, half of it is left.
    EXPECT_EQ(traction(), 58800);
    EXPECT_EQ(dyn().slipIndication, "空転");
    // Starting resistance 2 940 N, then both forces over 0.1 s on 100 t.
    EXPECT_NEAR(static_cast<double>(dyn().trainSpeed), (58800 - 2940) * 3.6 / 100000 / 10, 1e-9);
    balance(dyn().trainSpeed, 1000);
    EXPECT_EQ(dyn().slipIndication, "");
}

TEST_F(ForceBalanceFixture, SlideLeavesTwoThirdsOfTheAdhesionForce)
{
    f.route->friction = fixed4::fromValue(0.1L);
    f.state().controls.appliedBrakeNotch = -1;
    brakeCylinders(400, 400);
    balance(50);
    // Full cylinders at 50 km/h: 4 km/h/s on 100 t; mu = 0.1 / 1.295, stored 0.0772.
    EXPECT_NEAR(static_cast<double>(dyn().brakeForce.value()), 111111.1111, 1e-9);
    EXPECT_NEAR(traction(), -0.0772 * 0.66 * 100 * 1000 * 9.8, 1e-4);
    EXPECT_EQ(dyn().slipIndication, "滑走");
}

TEST_F(ForceBalanceFixture, BrakeForceFollowsBrakeType2AndShoeFactor)
{
    VehicleSpec& v = f.vehicle;
    v.massCab = fixed4::fromInt(20);
    v.eBrakeCurr = 400;
    v.brakeRateB = fixed4::fromInt(3);
    brakeCylinders(400, 200);
    f.state().air.electricBrakeCurrent = 200;
    const double k = 1.0 * 4 / 3.6 * 1000;  // shoe factor 1 above brakeRateC (0)
    const auto brakeForceOfKind = [&](std::int32_t kind) {
        v.brakeType2 = kind;
        balance(100);
        return static_cast<double>(dyn().brakeForce.value());
    };
    EXPECT_NEAR(brakeForceOfKind(0), k * (40 + 30), 1e-4);
    EXPECT_NEAR(brakeForceOfKind(1), k * (40 + 30 + 10) + 0.5 * 3 / 3.6 * 1000 * 40, 1e-4);
    EXPECT_NEAR(brakeForceOfKind(2), k * (40 + 60 + 10) + 0.5 * 3 / 3.6 * 1000 * 100, 1e-4);
    v.brakeRateC = fixed4::fromInt(50);
    v.brakeRateAlt = 0.05L;
    balance(10);  // shoes grip harder below brakeRateC
    EXPECT_EQ(dyn().shoeFactor, fixed4::fromValue((1.1L / 1.5L) / (1.5L / 3.5L)));
}

TEST_F(ForceBalanceFixture, StartingResistanceOnlyWhileResistanceIsNotNegative)
{
    f.state().controls.appliedPowerNotch = 1;
    balance(0);
    EXPECT_EQ(resistance(), -3 * 9.8 * 100);
    // A down-grade pulls forward (positive): the starting resistance is still charged.
    dyn().effectiveGradient = fixed4::fromInt(-5);
    balance(0);
    const double pull = 9.8 * 100 * 1000 * 5 / std::sqrt(25.0 + 1000 * 1000);
    EXPECT_NEAR(resistance(), pull - 2940, 1e-3);
    // An up-grade makes the resistance negative: none is added.
    dyn().effectiveGradient = fixed4::fromInt(5);
    balance(0);
    EXPECT_NEAR(resistance(), -pull, 1e-3);
}

TEST_F(ForceBalanceFixture, BrakingNeverReversesTheTrain)
{
    f.state().controls.appliedBrakeNotch = -1;
    brakeCylinders(400, 400);
    balance(0.2L);  // 0.4 km/h of braking in this tick
    EXPECT_EQ(dyn().trainSpeed, 0);
    EXPECT_EQ(traction(), 0);
    EXPECT_EQ(resistance(), 0);
    balance(-0.2L);
    EXPECT_EQ(dyn().trainSpeed, 0);
    EXPECT_EQ(traction(), 0);
    balance(5);
    EXPECT_GT(dyn().trainSpeed, 4.5);
    EXPECT_LT(dyn().trainSpeed, 4.6);
}

TEST_F(ForceBalanceFixture, StandingTrainHoldsUntilTheGradientOutpullsItsBrakes)
{
    f.state().controls.appliedBrakeNotch = -1;
    dyn().effectiveGradient = fixed4::fromInt(10);  // 9 799.5 N downhill
    brakeCylinders(0, 400);                          // holds 111 111 N
    balance(0);
    EXPECT_EQ(dyn().trainSpeed, 0);
    EXPECT_EQ(resistance(), 0);
    brakeCylinders(0, 10);  // holds 2 778 N
    balance(0);
    EXPECT_NEAR(static_cast<double>(dyn().trainSpeed), -9799.51 * 3.6 / 100000 / 10, 1e-9);
}

// Coasting on the level at 100 km/h, either way: bearing and rolling
// 9.8 x (1.32 + 1.64) x 100 t, air 9.8 x (0.028 + 0.0078 x (5 - 1)) x 100².
// Writing `cars` for `cars - 1` would add 764.4 N.
TEST_F(ForceBalanceFixture, RunningResistanceCountsTheAirDragOfEveryCarBehindTheFirst)
{
    balance(100);
    EXPECT_NEAR(resistance(), -9.8 * (296 + 592), 1e-4);
    balance(-100);
    EXPECT_NEAR(resistance(), 9.8 * (296 + 592), 1e-4);
    f.vehicle.cars = 1;
    balance(100);
    EXPECT_NEAR(resistance(), -9.8 * (296 + 280), 1e-4);
}

// Powering, the wheels grip less as the speed rises: F x (1 + 0.279 v) /
// (1 + 0.367 v); with the two constants swapped it would rise instead.
TEST_F(ForceBalanceFixture, PoweringAdhesionFallsWithSpeedEitherWay)
{
    f.state().controls.appliedPowerNotch = 1;
    for (const long double v : {100.0L, -100.0L}) {
        balance(v);
        EXPECT_EQ(dyn().adhesionCoefficient, fixed4::fromValue(0.3L * 28.9L / 37.7L)) << static_cast<double>(v);
    }
    balance(0);
    EXPECT_EQ(dyn().adhesionCoefficient, fixed4::fromValue(0.3L));
}

// (R / 10000) x v² x M x 9.8 against the motion, forwards and backwards;
// however large R, a tunnel stops the train and never sends it back.
TEST_F(ForceBalanceFixture, TunnelResistanceActsAgainstTheMotionAndNeverReversesIt)
{
    dyn().inTunnel = true;
    dyn().tunnelResistance = 6;
    const double running = 9.8 * (296 + 592);
    balance(100);
    EXPECT_NEAR(resistance(), -(6 * 9.8 * 100 + running), 1e-3);
    balance(-100);
    EXPECT_NEAR(resistance(), 6 * 9.8 * 100 + running, 1e-3);
    dyn().tunnelResistance = 100000000;
    for (const long double v : {60.0L, -60.0L}) {
        balance(v);
        EXPECT_LT(std::fabs(dyn().trainSpeed), 0.1) << static_cast<double>(v) << " km/h: stopped, within the running resistance";
    }
}

TEST_F(ForceBalanceFixture, MasslessTrainDoesNotMove)
{
    f.vehicle.trainMass = fixed4{};
    f.vehicle.ebPress = 0;
    f.state().controls.appliedPowerNotch = 1;
    balance(10, 5000);
    EXPECT_EQ(dyn().trainSpeed, 10);
}

struct GradientSampling : ::testing::Test {
    test::RunFixture f;
    DynamicsState& dyn() { return f.state().dynamics; }
    void sampleAt(long double position, long double front)
    {
        dyn().trainPosition = position;
        dyn().frontGradient = fixed4::fromValue(front);
        sampleGradient(f.run());
    }
};

TEST_F(GradientSampling, ReaveragedOnlyAfterTwentyMetres)
{
    dyn().carGradients.assign(3, 0);
    sampleAt(2000, 10);  // exactly 20 m: not yet
    EXPECT_EQ(dyn().effectiveGradient, fixed4{});
    sampleAt(2000.5L, 10);
    EXPECT_EQ(dyn().carGradients, (std::vector<std::int32_t>{10, 0, 0}));
    EXPECT_EQ(dyn().effectiveGradient, fixed4::fromValue(10.0L / 3));
    sampleAt(2000.5L, 4);  // standing still changes nothing
    EXPECT_EQ(dyn().carGradients, (std::vector<std::int32_t>{10, 0, 0}));
    sampleAt(4001, 2.5L);  // ties to even
    EXPECT_EQ(dyn().carGradients, (std::vector<std::int32_t>{2, 10, 0}));
    EXPECT_EQ(dyn().effectiveGradient, fixed4::fromInt(4));
    sampleAt(1900, -3);  // backwards counts as movement too
    EXPECT_EQ(dyn().carGradients, (std::vector<std::int32_t>{-3, 2, 10}));
    EXPECT_EQ(dyn().effectiveGradient, fixed4::fromInt(3));
}

TEST_F(GradientSampling, TrainWithoutCarsFeelsItsFront)
{
    sampleAt(3000, 7.4L);
    EXPECT_EQ(dyn().effectiveGradient, fixed4::fromInt(7));
}

// A preceding train filmed at 60 km/h everywhere: 60 speed units per frame.
struct PrecedingTrain : ::testing::Test {
    test::RunFixture f;

    void SetUp() override
    {
        RouteData& route = *f.route;
        ASSERT_TRUE(route.speedUnits.add({0, 10000, 60, 60, 0}));
        Station first;
        first.stopFrame = 100;
        Station second;
        second.stopFrame = 5000;
        ASSERT_TRUE(route.stations.add(first));
        ASSERT_TRUE(route.stations.add(second));
        ASSERT_TRUE(route.preTrains.add({0, 90, 1000}));  // leaves station 0 at 90 km/h
        ASSERT_TRUE(route.preTrains.add({1, 45, 9000}));
        ASSERT_TRUE(route.preTrains.add({7, 30, 0}));     // names no station: ignored
        DynamicsState& d = f.state().dynamics;
        d.precedingFrame = 200;
        f.state().video.currentFrame = 50;
    }
    DynamicsState& dyn() { return f.state().dynamics; }
    void step(std::int32_t clock)
    {
        f.state().time.clockTicks = clock;
        movePrecedingTrain(f.run());
    }
};

TEST_F(PrecedingTrain, WaitsForDepartureThenAdvancesByFilmingSpeed)
{
    step(1000);  // not after the departure time yet
    EXPECT_EQ(dyn().precedingSpeed, 0);
    EXPECT_EQ(dyn().precedingFrame, 200);
    step(1001);  // 90 units: one frame, 30 left over
    EXPECT_EQ(dyn().precedingSpeed, 90);
    EXPECT_EQ(dyn().precedingPitch, 60);
    EXPECT_EQ(dyn().precedingFrame, 201);
    EXPECT_EQ(dyn().precedingAccumulator, 30);
    step(1002);  // 120 units: two frames
    EXPECT_EQ(dyn().precedingFrame, 203);
    EXPECT_EQ(dyn().precedingAccumulator, 0);
}

TEST_F(PrecedingTrain, LastRowRulesBeyondItsStation)
{
    dyn().precedingFrame = 6000;
    step(9001);
    EXPECT_EQ(dyn().precedingSpeed, 45);
}

TEST_F(PrecedingTrain, DoesNotMoveOnceTheDrivenTrainHasReachedIt)
{
    step(1001);
    f.state().video.currentFrame = 201;
    const DynamicsState before = dyn();
    step(1002);
    step(1003);
    EXPECT_EQ(dyn().precedingFrame, before.precedingFrame);
    EXPECT_EQ(dyn().precedingAccumulator, before.precedingAccumulator);
    f.state().video.currentFrame = 250;
    step(1004);
    EXPECT_EQ(dyn().precedingFrame, before.precedingFrame);
}

}  // namespace
}  // namespace cabdrive
