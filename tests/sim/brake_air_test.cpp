// Tests of the air brake system, the compressor, the horn's air and the electric brake current.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/brake_air.h"
#include "support/run_fixture.h"

namespace cabdrive {
namespace {

constexpr double kpaTolerance = 0.0001;

TEST(BrakeAirReleaseCurve, FullRateAtHighPressureDivisorElevenAtZero)
{
    EXPECT_EQ(releaseCurve(0, 1.2L), 11);
    EXPECT_NEAR(static_cast<double>(releaseCurve(10, 1.2L)), 10 / 1.2 + 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(releaseCurve(20, 2)), 3.5, 1e-12);
}

// A train with a main reservoir at 800 kPa and charged pipes; rates give
// round amounts per step at 30 steps per second.
struct BrakeAirFixture : ::testing::Test {
    test::RunFixture f;

    void SetUp() override
    {
        VehicleSpec& v = f.vehicle;
        v.engineType = 1;
        v.brakeNotches = 8;
        v.maxPress = 440;
        v.ebPress = 400;
        v.sapPress = 400;
        v.brakeUp = 300;    // 10 kPa per step
        v.brakeDown = 300;
        v.sapUp = 300;
        v.sapDown = 300;
        v.bpReturn = 150;   // 5 kPa per step at full rate, 2 at the slow rate
        AirState& air = f.state().air;
        air.mrPressure = fixed4::fromInt(800);
        air.erPressure = fixed4::fromInt(490);
        air.bpPressure = 490;
    }

    AirState& air() { return f.state().air; }
    double trailer() { return static_cast<double>(air().bcTrailerCar.value()); }
    double motor() { return static_cast<double>(air().bcMotorCar.value()); }
    void steps(int count)
    {
        for (int i = 0; i < count; ++i)
            updateAirBrake(f.run());
    }
    // Whether a trailer cylinder at `pressure` rises in one step at `notch`.
    bool trailerRises(std::int32_t notch, long double pressure)
    {
        f.state().controls.appliedBrakeNotch = notch;
        air().bcTrailerCar = fixed4::fromValue(pressure);
        steps(1);
        return air().bcTrailerCar.value() > pressure;
    }
};

TEST_F(BrakeAirFixture, ElectroPneumaticServiceTargetsMaxPressOverNMinusOne)
{
    f.vehicle.brakeType = 1;
    // -7 of 8 asks for maxPress; a cylinder rises while 10 kPa or more below.
    EXPECT_TRUE(trailerRises(-7, 429.5L));
    EXPECT_FALSE(trailerRises(-7, 430.5L));
    // -1 asks for maxPress / 7 = 62.857 kPa.
    EXPECT_TRUE(trailerRises(-1, 52.8L));
    EXPECT_FALSE(trailerRises(-1, 52.9L));
}

TEST_F(BrakeAirFixture, ElectricCommandServiceTargetsMaxPressOverN)
{
    f.vehicle.brakeType = 2;
    // -7 of 8 asks for 440 x 7/8 = 385 kPa.
    EXPECT_TRUE(trailerRises(-7, 374.9L));
    EXPECT_FALSE(trailerRises(-7, 375.1L));
    // Slower as it nears the target: 15 kPa short, the step is divided by releaseCurve(15, 1.2).
    air().bcTrailerCar = fixed4::fromInt(370);
    steps(1);
    EXPECT_NEAR(trailer(), 370 + 10 / (10 * std::pow(1.2, -1.5) + 1), kpaTolerance);
}

TEST_F(BrakeAirFixture, ReleaseIsFastAtHighPressureWithASlowTail)
{
    f.vehicle.brakeType = 2;
    f.state().controls.appliedBrakeNotch = 0;
    air().bcTrailerCar = fixed4::fromInt(400);
    air().bcMotorCar = fixed4::fromInt(1);
    steps(1);
    EXPECT_NEAR(trailer(), 400 - 10 / (10 * std::pow(1.2, -40) + 1), kpaTolerance);
    EXPECT_NEAR(motor(), 1 - 10 / (10 * std::pow(1.2, -0.1) + 1), kpaTolerance);
    steps(1);
    EXPECT_EQ(motor(), 0);  // clamped, never negative
}

// The automatic air brake just after an emergency: pipe empty, cylinders full.
struct BrakeAirAutomatic : BrakeAirFixture {
    void SetUp() override
    {
        BrakeAirFixture::SetUp();
        f.vehicle.brakeType = 0;
        f.vehicle.brakeNotches = 4;
        air().bpPressure = 0;
        air().erPressure = fixed4{};
        air().bcTrailerCar = fixed4::fromInt(400);
        air().bcMotorCar = fixed4::fromInt(400);
    }
};

TEST_F(BrakeAirAutomatic, PipeRechargesFastWhileTheTrailerCylinderHoldsThenSlowly)
{
    for (int k = 1; k <= 81; ++k) {
        steps(1);
        ASSERT_EQ(trailer(), 400) << "step " << k;  // not released until the pipe is above it
        ASSERT_NEAR(static_cast<double>(air().bpPressure), 5.0 * k, 1e-9);
    }
    steps(1);  // the pipe (405) is above the cylinder: release, and the slow rate
    EXPECT_LT(trailer(), 400);
    EXPECT_NEAR(static_cast<double>(air().bpPressure), 407, 1e-9);
    steps(200);
    EXPECT_EQ(air().bpPressure, 490);  // the slow rate charges to the full feed
    EXPECT_EQ(air().erPressure, fixed4::fromInt(490));
}

TEST_F(BrakeAirAutomatic, FullRateChargesOnlyToOneBelowTheFeed)
{
    air().bcTrailerCar = fixed4::fromInt(500);  // stays above the pipe
    steps(200);
    EXPECT_EQ(air().bpPressure, 489);
    EXPECT_EQ(air().erPressure, fixed4::fromInt(489));
}

TEST_F(BrakeAirAutomatic, ServiceBuildsNothingUntilTheReductionExceedsElbrFlag)
{
    f.vehicle.brakeUp = 150;  // the pipe falls 150 / 30 / 4.6 kPa per step
    f.vehicle.elbrFlag = 30;
    air().bpPressure = 490;
    air().erPressure = fixed4::fromInt(490);
    air().bcTrailerCar = fixed4{};
    air().bcMotorCar = fixed4{};
    f.state().controls.appliedBrakeNotch = -3;
    steps(28);  // reduction before the 28th step: 29.3 kPa
    EXPECT_EQ(trailer(), 0);
    EXPECT_EQ(motor(), 0);
    steps(1);  // 30.4 kPa
    EXPECT_EQ(trailer(), 5);
    EXPECT_EQ(motor(), 5);
    EXPECT_NEAR(static_cast<double>(air().bpPressure), 490 - 29 * 5 / 4.6, 1e-9);
}

TEST_F(BrakeAirAutomatic, LowMainReservoirCapsThePipe)
{
    air().mrPressure = fixed4::fromInt(400);
    air().bcTrailerCar = fixed4{};
    air().bcMotorCar = fixed4{};
    for (int k = 0; k < 300; ++k) {
        const long double before = air().bpPressure;
        steps(1);
        ASSERT_LE(air().feedPressure, 400);
        // Charging draws on the reservoir, so the feed may later fall below
        // the pipe; a charge itself never passes the feed of its step.
        if (air().bpPressure > before) {
            ASSERT_LE(air().bpPressure, air().feedPressure) << "step " << k;
        }
    }
    EXPECT_GT(air().bpPressure, 300);
}

TEST_F(BrakeAirFixture, ElectroPneumaticRechargeCapsAtTheFeed)
{
    f.vehicle.brakeType = 1;
    air().mrPressure = fixed4::fromInt(400);
    air().bpPressure = 0;
    air().erPressure = fixed4{};
    f.state().controls.appliedBrakeNotch = 0;
    for (int k = 0; k < 300; ++k) {
        steps(1);
        ASSERT_LE(air().bpPressure, air().feedPressure) << "step " << k;
    }
    // Only the leak has lowered the reservoir: 0.0067 kPa per step as stored.
    EXPECT_EQ(air().bpPressure, air().feedPressure);
    EXPECT_NEAR(static_cast<double>(air().feedPressure), 400 - 299 * 0.0067, 1e-9);
}

TEST_F(BrakeAirFixture, MainReservoirLeaksAndANullDivisorFreezesTheAir)
{
    f.vehicle.brakeType = 2;
    steps(30);  // 0.2 / 30 kPa per step, stored to four decimals: 0.0067
    EXPECT_NEAR(static_cast<double>(air().mrPressure.value()), 800 - 30 * 0.0067, kpaTolerance);
    f.settings.physicsStepDivisor = 0;
    f.state().controls.appliedBrakeNotch = -8;
    steps(1);
    EXPECT_NEAR(static_cast<double>(air().mrPressure.value()), 800 - 30 * 0.0067, kpaTolerance);
    EXPECT_EQ(trailer(), 0);
}

TEST_F(BrakeAirFixture, HornDrawsAirAndDipsTheNeedle)
{
    f.vehicle.horn4Time = fixed4::fromInt(20);
    f.state().sound.hornSounding = true;
    updateHornAir(f.run());
    EXPECT_NEAR(static_cast<double>(mainReservoirNeedleValue(f.run())), 799.5 - 10, 1e-9);
    updateHornAir(f.run());
    updateHornAir(f.run());  // the dip stops at -20
    EXPECT_NEAR(static_cast<double>(air().mrPressure.value()), 798.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(mainReservoirNeedleValue(f.run())), 798.5 - 20, 1e-9);
    f.state().sound.hornSounding = false;
    updateHornAir(f.run());
    EXPECT_NEAR(static_cast<double>(mainReservoirNeedleValue(f.run())), 798.5, 1e-9);

    air().mrPressure = fixed4::fromInt(5);  // the dip never goes below an empty reservoir
    f.state().sound.hornSounding = true;
    updateHornAir(f.run());
    EXPECT_NEAR(static_cast<double>(mainReservoirNeedleValue(f.run())), 0, 1e-9);
}

struct CompressorFixture : ::testing::Test {
    test::RunFixture f;

    void SetUp() override
    {
        f.vehicle.engineType = 1;
        f.vehicle.lowAirPress = 700;
        f.vehicle.highAirPress = 800;
        f.vehicle.soundCpStart = 10;
        f.vehicle.soundCpRun = 11;
        f.vehicle.soundCpEnd = 12;
    }
    AirState& air() { return f.state().air; }
    void setReservoir(long double kpa) { air().mrPressure = fixed4::fromValue(kpa); }
    double reservoir() { return static_cast<double>(air().mrPressure.value()); }
};

TEST_F(CompressorFixture, RunsFromBelowLowUntilHighPressure)
{
    setReservoir(699.9L);
    runCompressor(f.run());
    EXPECT_TRUE(air().compressorOn);
    EXPECT_EQ(f.sound.channels[10].rewinds, 1);  // the start sound from its beginning
    EXPECT_TRUE(f.sound.isPlaying(10));
    EXPECT_FALSE(f.sound.isLooping(10));
    EXPECT_TRUE(f.sound.isLooping(11));
    EXPECT_NEAR(reservoir(), 700.2, 1e-9);
    for (int k = 2; k <= 334; ++k)
        runCompressor(f.run());
    EXPECT_TRUE(air().compressorOn);  // well above low, not yet at high
    EXPECT_NEAR(reservoir(), 800.1, 1e-9);
    runCompressor(f.run());
    EXPECT_FALSE(air().compressorOn);
    EXPECT_NEAR(reservoir(), 800.1, 1e-9);
    EXPECT_TRUE(f.sound.isPlaying(12));
    EXPECT_FALSE(f.sound.isPlaying(11));

    setReservoir(750);  // between the two: stays off
    runCompressor(f.run());
    EXPECT_FALSE(air().compressorOn);
    EXPECT_EQ(reservoir(), 750);
    EXPECT_EQ(f.sound.starts(10), 1);

    f.vehicle.engineType = 0;  // a diesel charges by engine speed
    setReservoir(600);
    f.state().engine.engineSpeed = 500;
    runCompressor(f.run());
    EXPECT_NEAR(reservoir(), 602, 1e-9);
}

// Electro-pneumatic brake blending with a ramped electric brake of 700 A at -7.
struct ElectricBrakeBlending : BrakeAirFixture {
    void SetUp() override
    {
        BrakeAirFixture::SetUp();
        VehicleSpec& v = f.vehicle;
        v.brakeType = 1;
        v.brakeType2 = 1;
        v.brakeTypeAlt = 1;
        v.elbrFlag = 50;
        v.eBrakeCurr = 700;
        v.eBrakeUp = 900;  // 90 A per tick
        v.eBrakeDown = 900;
        v.loseElec = 10;
        ControlState& c = f.state().controls;
        c.appliedBrakeNotch = -7;
        c.electricBrakeNotch = -7;
    }
    // Three physics steps and the tick's current update.
    void ticks(int count, long double speed)
    {
        f.state().dynamics.trainSpeed = speed;
        for (int i = 0; i < count; ++i) {
            steps(3);
            updateElectricBrakeCurrent(f.run());
        }
    }
};

TEST_F(ElectricBrakeBlending, CurrentFadesBelowLoseElecAndMotorCylinderTakesOver)
{
    ticks(20, 50);
    EXPECT_EQ(air().electricBrakeCurrent, 630);  // ramps by 90 A to within 50 A of 700
    EXPECT_EQ(f.state().dynamics.ammeterValue, -630);
    EXPECT_EQ(motor(), 50);    // held at elbrFlag while the electric brake carries
    EXPECT_EQ(trailer(), 430);  // within 10 kPa of maxPress
    ticks(1, 5);
    EXPECT_EQ(air().electricBrakeCurrent, 540);
    ticks(6, 5);
    EXPECT_EQ(air().electricBrakeCurrent, 0);
    ticks(20, 5);
    EXPECT_EQ(motor(), 430);  // the full target once the current is gone
}

TEST(ElectricBrakeTable, StepsOnWhileTheCurrentIsBelowTheNotchCurrent)
{
    test::RunFixture f;
    VehicleSpec& v = f.vehicle;
    v.brakeNotches = 8;
    v.brakeTypeAlt = 0;
    v.loseElec = 10;
    ASSERT_TRUE(v.currentB.add({0.1L, 0, 0}));   // 10 A per km/h
    ASSERT_TRUE(v.currentB.add({0.05L, 0, 0}));  // 20 A per km/h
    ASSERT_TRUE(v.brakeCurr.add(300));           // notch -1
    RunState& s = f.state();
    const auto tick = [&](std::int32_t notch, long double speed) {
        s.controls.electricBrakeNotch = notch;
        s.dynamics.trainSpeed = speed;
        updateElectricBrakeCurrent(f.run());
    };
    tick(-1, 50);
    EXPECT_EQ(s.air.electricBrakeCurrent, 500);
    EXPECT_EQ(s.air.brakeCurrentStep, 0);
    EXPECT_EQ(s.dynamics.ammeterValue, -500);
    s.dynamics.currentStep = 3;
    tick(-1, 25);  // 250 A < 300: the next step
    EXPECT_EQ(s.air.brakeCurrentStep, 1);
    EXPECT_EQ(s.air.electricBrakeCurrent, 250);
    EXPECT_EQ(s.dynamics.currentStep, 0);  // the power step resets while braking
    tick(-1, 25);
    EXPECT_EQ(s.air.electricBrakeCurrent, 500);
    tick(-1, 4);  // 80 A: below 100 A there is no electric brake
    EXPECT_EQ(s.air.electricBrakeCurrent, 0);
    tick(-2, 50);  // a notch without a current entry
    EXPECT_EQ(s.air.electricBrakeCurrent, 0);
    EXPECT_EQ(s.air.brakeCurrentStep, 0);
}

}  // namespace
}  // namespace cabdrive
