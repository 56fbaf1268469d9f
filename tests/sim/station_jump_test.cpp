// The jump to a station from the Move menu.
#include <gtest/gtest.h>

#include "sim/station_jump.h"
#include "station_line.h"

namespace {

using test::StationLine;

TEST(StationJump, TheTrainStandsAtTheStopWithTheClockAheadOfTheDeparture)
{
    StationLine line(0);
    line.f.video.add("line.avi", 1000);
    line.start();
    auto& s = line.state();
    s.stations.melodyStarted[0] = 1;
    s.stations.departed[0] = 1;
    s.video.videoMode = 2;
    s.dynamics.trainSpeed = 40;
    s.protection.atsCheckSpeed = 45;
    for (std::size_t channel : {std::size_t{0}, std::size_t{5}})
        line.f.sound.play(channel, true);
    s.trackside.pendingSignCallout = s.trackside.calledSign = 4;
    s.trackside.crossingQueue[0] = 0;
    s.dynamics.frontGradient = cabdrive::fixed4::fromInt(10);
    s.trackside.gradientText = "+10.0";

    cabdrive::StationClick(line.f.run(), 2);
    EXPECT_EQ(s.time.clockTicks, StationLine::departure2 - (10 + 5) * 30) << "melody and arrival sound end at the departure";
    EXPECT_EQ(s.dynamics.trainSpeed, 0);
    EXPECT_EQ(s.dynamics.trainPosition, 100000);
    EXPECT_EQ(s.dynamics.distanceToStop, 0);
    EXPECT_EQ(s.video.currentFrame, 300);
    EXPECT_EQ(s.video.videoMode, 0);
    EXPECT_EQ(line.f.video.opened.back(), "line.avi");
    EXPECT_EQ(s.stations.nextStationText, "ただいま 南町");
    EXPECT_EQ(s.controls.powerHandle, 0);
    EXPECT_EQ(s.controls.brakeHandle, -7);
    EXPECT_EQ(s.controls.appliedBrakeNotch, -7);
    EXPECT_EQ(s.protection.atsCheckSpeed, 999);
    EXPECT_EQ(s.trackside.pendingSignCallout, 999);
    EXPECT_EQ(s.trackside.crossingQueue[0], -1) << "no crossing is pending after the jump";
    EXPECT_EQ(s.trackside.gradientText, "L");
    EXPECT_EQ(s.dynamics.frontGradient, cabdrive::fixed4{});
    EXPECT_FALSE(s.stations.melodyStarted[0] || s.stations.departed[0]);
    EXPECT_TRUE(s.stations.arrivalRegistered[2]) << "a conductor's arrival counts as registered";
    EXPECT_FALSE(s.doors.doorsOpen || s.doors.doorOpenCommand);
    EXPECT_TRUE(line.visible("img_Lamp_Door"));
    EXPECT_TRUE(line.f.sound.isPlaying(0)) << "channel 0 keeps playing";
    EXPECT_FALSE(line.f.sound.isPlaying(5));

    line.tick();
    EXPECT_TRUE(s.doors.doorsOpen) << "the conductor opens the doors at once";
}

TEST(StationJump, WithoutADepartureTimeTheClockIsInterpolatedByFrame)
{
    StationLine line(1);
    line.f.route->stations[2].departureTime = 0;
    line.f.route->stations[3].departureTime = StationLine::departure0 + 9000;
    line.start();
    cabdrive::StationClick(line.f.run(), 2);
    // Frame 300 lies two thirds of the way from station 0 (frame 100) to station 3 (frame 400).
    EXPECT_EQ(line.state().time.clockTicks, StationLine::departure0 + 6000 - (10 + 5) * 30);
    EXPECT_FALSE(line.state().stations.arrivalRegistered[2]) << "the one-person driver opens the doors himself";

    line.f.route->stations[3].departureTime = 0;
    cabdrive::StationClick(line.f.run(), 2);
    EXPECT_EQ(line.state().time.clockTicks, StationLine::departure0 - (10 + 5) * 30) << "only an earlier station is timed";

    const std::int32_t before = line.state().time.clockTicks;
    cabdrive::StationClick(line.f.run(), 7);
    EXPECT_EQ(line.state().time.clockTicks, before) << "no such station";
}

TEST(StationJump, ThePrecedingTrainWaitsAtTheStationOfTheRowWhoseTimeSpanHoldsTheClock)
{
    StationLine line(0);
    (void)line.f.route->preTrains.add({0, 60, 1000000});
    (void)line.f.route->preTrains.add({2, 60, 1090000});
    line.start();
    cabdrive::StationClick(line.f.run(), 0);  // 09:59:45
    EXPECT_EQ(line.state().dynamics.precedingFrame, 100);
    cabdrive::StationClick(line.f.run(), 2);  // 10:09:45
    EXPECT_EQ(line.state().dynamics.precedingFrame, 300);

    line.f.route->preTrains[0].departureTime = 1085000;
    line.f.route->preTrains[1].departureTime = 1095000;
    cabdrive::StationClick(line.f.run(), 0);
    EXPECT_EQ(line.state().dynamics.precedingFrame, 0) << "before its first departure the train is absent";
}

}  // namespace
