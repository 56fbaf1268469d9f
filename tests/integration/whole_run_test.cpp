// A whole run on the fixture line: power up, brake to a stand, and check the
// braking distance against the vehicle's braking rate.
#include <gtest/gtest.h>

#include <cmath>

#include "input/driver_keys.h"
#include "support/built_run.h"

namespace {

using namespace std::chrono_literals;

struct FixtureRun : test::BuiltRun {
    FixtureRun() : BuiltRun(std::string(CABDRIVE_TEST_DATA) + "/check") {}
};

TEST(WholeRun, EmergencyBrakingDistanceMatchesTheVehiclesBrakingRate)
{
    FixtureRun f;
    auto& d = f.run.state.dynamics;
    cabdrive::AsciiDown(f.run, '5');  // brake released
    // The run starts in emergency: the reservoirs recharge before the cylinders release.
    while (f.run.state.air.bcTrailerCar.raw > 0 && f.scheduler.simulatedTime() < 60s)
        f.scheduler.advanceBy(100ms);
    for (int i = 0; i < 4; ++i)
        cabdrive::AsciiDown(f.run, 'z');
    while (d.trainSpeed < 60 && f.scheduler.simulatedTime() < 120s)
        f.scheduler.advanceBy(100ms);
    ASSERT_GE(d.trainSpeed, 60) << "the train powers up to 60 km/h";
    const long double brakingFrom = d.trainSpeed;
    // The distance run, summed step by step: the position itself is put back
    // on the filming run's row boundaries whenever the frame crosses one.
    long double distanceM = 0;
    long double speedOfNextSteps = d.trainSpeed;
    f.scheduler.afterTick = [&] {
        distanceM += speedOfNextSteps / 36000 * 33333 * 3 / 100;
        speedOfNextSteps = d.trainSpeed;
    };
    cabdrive::AsciiDown(f.run, '0');  // power off, emergency brake
    while (d.trainSpeed > 0 && f.scheduler.simulatedTime() < 240s)
        f.scheduler.advanceBy(100ms);
    ASSERT_EQ(d.trainSpeed, 0) << "the train comes to a stand";

    // At emergency the cylinders reach ebPress, where the brake gives
    // brakeRateA on the braked masses (the shoe factor is 1 above
    // brakeRateC, 0.5 km/h): b = brakeRateA x (Mm + Mt + Mc) / Tons.
    const cabdrive::VehicleSpec& v = f.vehicle;
    const long double b = v.brakeRateA.value() * (v.massMotor.value() + v.massTrailer.value() + v.massCab.value())
                        / v.trainMass.value();
    const long double idealM = brakingFrom * brakingFrom / (7.2L * b);
    // The cylinders take ebPress / (3 brakeUp) s to fill after the brake delay
    // (3 steps); over that time the train runs on at about half the braking
    // rate, adding about v/3.6 x (0.1 + fill/2) m. Running resistance (about
    // 5 % of the brake force at 60 km/h) shortens the distance. 10 % covers
    // both with room to spare and still catches a wrong rate or mass.
    const long double fillS = v.ebPress / (3.0L * v.brakeUp);
    const long double expectedM = idealM + brakingFrom / 3.6L * (0.1L + fillS / 2);
    EXPECT_NEAR(static_cast<double>(distanceM), static_cast<double>(expectedM), static_cast<double>(expectedM * 0.1L));
}

// Coasting from 60 km/h for one second on a line made all level or all 25 per
// mille up: the difference of the two speed losses is the slope's pull alone.
long double coastingLoss(long double perMille)
{
    FixtureRun f;
    auto& slopes = f.loaded->route->slopes;
    slopes.restart();
    EXPECT_TRUE(slopes.add({cabdrive::fixed4::fromValue(perMille), -1, 100000}));
    auto& d = f.run.state.dynamics;
    cabdrive::AsciiDown(f.run, '5');
    while (f.run.state.air.bcTrailerCar.raw > 0 && f.scheduler.simulatedTime() < 60s)
        f.scheduler.advanceBy(100ms);
    // Rolling for 10 s fills the gradient history of every car.
    d.trainSpeed = 60;
    f.scheduler.advanceBy(10s);
    EXPECT_EQ(d.effectiveGradient, cabdrive::fixed4::fromValue(perMille));
    d.trainSpeed = 60;
    f.scheduler.advanceBy(1s);
    EXPECT_FALSE(f.run.state.protection.protectionEmergencyBrake || f.run.state.protection.protectionServiceBrake);
    return 60 - d.trainSpeed;
}

TEST(WholeRun, CoastingUpA25PerMilleGradeLosesTheSlopesPullMore)
{
    const long double level = coastingLoss(0);
    const long double grade = coastingLoss(25);
    EXPECT_GT(level, 0) << "running resistance slows a coasting train on the level too";
    // g x G / sqrt(G^2 + 1000^2) of every tonne: 0.2449 m/s^2, 0.8818 km/h per second.
    const long double pull = 9.8L * 25 / std::sqrt(25.0L * 25 + 1000 * 1000) * 3.6L;
    EXPECT_NEAR(static_cast<double>(grade - level), static_cast<double>(pull), 0.01);
}

}  // namespace
