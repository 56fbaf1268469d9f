// The driving state a run starts with.
#include <gtest/gtest.h>

#include "sim/run_start.h"
#include "support/run_fixture.h"

namespace {

cabdrive::Station station(const char* name, int kind, int frame, int distance, int departure)
{
    cabdrive::Station s;
    s.name = name;
    s.kind = kind;
    s.stopFrame = frame;
    s.stopDistance = distance;
    s.departureTime = departure;
    return s;
}

class RunStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.vehicle.brakeNotches = 8;
        f.vehicle.ebPress = 520;
        f.vehicle.highAirPress = 880;
        f.vehicle.cars = 5;
        f.route->startPos = 12;
        f.route->preTrainStartFrame = 900;
        f.route->stations.add(station("北町", 0, 30, 1000, 972000));
        f.route->stations.add(station("中町", 1, 1500, 80000, 0));
        f.route->stations.add(station("南町", 0, 2700, 150000, 979200));
    }
    test::RunFixture f;
};

TEST_F(RunStart, TheTrainStandsInEmergencyWithTheReservoirCharged)
{
    cabdrive::startRun(f.run(), {.startStation = 0});
    const auto& s = f.state();
    EXPECT_EQ(s.controls.powerHandle, 0);
    EXPECT_EQ(s.controls.brakeHandle, -8);
    EXPECT_EQ(s.controls.appliedBrakeNotch, -8);
    EXPECT_EQ(s.controls.sapBrakeNotch, -8);
    EXPECT_EQ(s.controls.reverser, 1);
    EXPECT_EQ(s.air.bcTrailerCar.value(), 520);
    EXPECT_EQ(s.air.bcMotorCar.raw, 0);
    EXPECT_EQ(s.air.mrPressure.value(), 880);
    EXPECT_EQ(s.air.bpPressure, 0);
    EXPECT_EQ(s.dynamics.lineVoltageTarget.value(), 1500);
    EXPECT_EQ(s.dynamics.carGradients.size(), 5u);
    EXPECT_EQ(s.engine.engineRunning, 1);
    EXPECT_TRUE(s.input.runNotStarted);
    EXPECT_EQ(s.controls.brakeText, "非常");
    EXPECT_EQ(s.controls.reverserText, "前");
    EXPECT_EQ(s.stations.carsText, "5両");
}

TEST_F(RunStart, AtTheFirstStationTheVideoStartsAtTheRoutesStartFrame)
{
    cabdrive::startRun(f.run(), {.startStation = 0});
    const auto& s = f.state();
    EXPECT_EQ(s.video.currentFrame, 12);
    EXPECT_EQ(s.dynamics.trainPosition, 1000);
    EXPECT_EQ(s.time.clockTicks, 972000);
    EXPECT_EQ(s.stations.nextStationText, "ただいま 北町");
    EXPECT_EQ(s.dynamics.precedingFrame, 900);
    EXPECT_EQ(s.dynamics.nextStopPosition, 150000) << "the passing station is not a stop";
    EXPECT_EQ(s.dynamics.distanceToStop, 149000);
}

TEST_F(RunStart, AtALaterStationTheVideoStartsAtItsStopFrame)
{
    cabdrive::startRun(f.run(), {.startStation = 2});
    const auto& s = f.state();
    EXPECT_EQ(s.video.currentFrame, 2700);
    EXPECT_EQ(s.dynamics.trainPosition, 150000);
    EXPECT_EQ(s.stations.nextStationText, "ただいま 南町");
    EXPECT_GT(s.dynamics.distanceToStop, 1e12L) << "no stop lies ahead of the last station";
}

TEST_F(RunStart, AStartStationBeyondTheTableStartsAtTheFirst)
{
    cabdrive::startRun(f.run(), {.startStation = 999});
    EXPECT_EQ(f.state().stations.startStation, 0);
    EXPECT_EQ(f.state().stations.nextStationText, "ただいま 北町");
}

TEST_F(RunStart, OnePersonOperationShowsNoCarCount)
{
    f.route->oneMan = 1;
    cabdrive::startRun(f.run(), {.startStation = 0});
    EXPECT_EQ(f.state().stations.carsText, "");
}

}  // namespace
