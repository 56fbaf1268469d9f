// The station loop: texts, arrival, the melody against the timetable, the
// conductor's door closing, the end of the run and the crew change.
#include <gtest/gtest.h>

#include "input/driver_keys.h"
#include "station_line.h"

namespace {

using test::StationLine;

// Stands at station 2 under a conductor with the clock at `clock`: the doors
// open and the arrival registers.
void arriveAtSouth(StationLine& line, std::int32_t clock)
{
    line.start();
    line.closeDoors();
    line.state().time.clockTicks = clock;
    line.standAt(100000);
    line.tick();
    ASSERT_TRUE(line.doors().doorsOpen);
    line.f.sound.finish(StationLine::doorOpen);
}

TEST(StationStops, TextsAndAmbienceBetweenAndAtStations)
{
    StationLine line(0);
    line.addStation("東町", 3, 500, 300000, 0, 0, 0, 0);
    line.start();
    line.standAt(20000, 60);
    line.tick();
    EXPECT_EQ(line.state().stations.nextStationText, "次は 中町通過");
    EXPECT_FALSE(line.playing(StationLine::ambience));

    line.standAt(50100, 60);  // in the passing station's zone
    line.tick();
    EXPECT_EQ(line.state().stations.nextStationText, "次は 中町通過") << "a passing station shows no now-at text";
    EXPECT_FALSE(line.state().stations.atStation[1]);
    EXPECT_TRUE(line.f.sound.isLooping(line.channel(StationLine::ambience)));

    line.standAt(60000, 60);
    line.tick();
    EXPECT_EQ(line.state().stations.nextStationText, "次は 南町停車");
    EXPECT_FALSE(line.playing(StationLine::ambience)) << "no station in its zone";
    EXPECT_EQ(line.f.scene.sprite("img_unten_teimoku")->pattern, 0);

    line.standAt(100000, 30);
    line.tick();
    EXPECT_EQ(line.state().stations.nextStationText, "ただいま 南町");
    EXPECT_EQ(line.state().stations.currentStation, 2);
    EXPECT_EQ(line.f.scene.sprite("img_unten_teimoku")->pattern, 3);

    line.standAt(250000, 60);
    line.tick();
    EXPECT_EQ(line.state().stations.nextStationText, "次は 東町臨時") << "a special station takes the first info line";
}

// The zone of 南町 runs from 99 800 to 100 200 cm, both edges included: a
// train short of the mark and one that overran it and stopped on the far
// edge both stand at the station and get their doors.
TEST(StationStops, BothEdgesOfTheStopZoneCountAsAtTheStation)
{
    for (const long double edge : {99800.0L, 100200.0L}) {
        StationLine line(0);
        line.start();
        line.closeDoors();
        line.standAt(edge);
        line.tick();
        EXPECT_EQ(line.state().stations.nextStationText, "ただいま 南町") << edge;
        EXPECT_TRUE(line.doors().doorsOpen) << edge;
        EXPECT_TRUE(line.state().stations.arrivalRegistered[2]) << edge;
    }
    for (const long double outside : {99799.99L, 100200.01L}) {
        StationLine line(0);
        line.start();
        line.closeDoors();
        line.standAt(outside);
        line.tick();
        EXPECT_FALSE(line.doors().doorsOpen) << outside;
        EXPECT_NE(line.state().stations.nextStationText, "ただいま 南町") << outside;
    }
}

TEST(StationStops, TheMelodyStartsItsLengthBeforeTheDepartureTime)
{
    StationLine line(0);
    const std::int32_t melodyDue = StationLine::departure2 - 10 * 30;
    arriveAtSouth(line, melodyDue - 1000);
    line.state().time.clockTicks = melodyDue;
    line.tick();
    EXPECT_FALSE(line.state().stations.melodyStarted[2]);
    line.state().time.clockTicks = melodyDue + 1;
    line.tick();
    EXPECT_TRUE(line.state().stations.melodyStarted[2]);
    EXPECT_TRUE(line.playing(StationLine::melody));
    EXPECT_EQ(line.state().stations.arrivalClock, melodyDue + 1);
    EXPECT_EQ(line.state().stations.currentStopName, "南町");
    EXPECT_EQ(line.state().stations.nextStopName, "西町");
    EXPECT_EQ(line.state().dynamics.nextStopPosition, 200000);
}

TEST(StationStops, ALateTrainHearsTheMelodyAsSoonAsTheArrivalSoundHasRunOut)
{
    StationLine line(0);
    const std::int32_t arrival = StationLine::departure2 + 3000;  // departure time already past
    arriveAtSouth(line, arrival);
    line.state().time.clockTicks = arrival + 5 * 30;
    line.tick();
    EXPECT_FALSE(line.state().stations.melodyStarted[2]) << "the 5 s arrival sound has not run out";
    line.state().time.clockTicks = arrival + 5 * 30 + 1;
    line.tick();
    EXPECT_TRUE(line.state().stations.melodyStarted[2]);
}

TEST(StationStops, TheConductorClosesTheDoorsOnceTheMelodyHasRunOut)
{
    StationLine line(0);
    const std::int32_t arrival = StationLine::departure2 + 3000;
    arriveAtSouth(line, arrival);
    const std::int32_t melodyStart = arrival + 151;
    line.state().time.clockTicks = melodyStart;
    line.tick();
    line.state().time.clockTicks = melodyStart + 10 * 30;
    line.tick();
    EXPECT_TRUE(line.doors().doorOpenCommand) << "the 10 s melody still runs";
    line.state().time.clockTicks = melodyStart + 10 * 30 + 1;
    line.tick();
    EXPECT_FALSE(line.doors().doorOpenCommand);
    EXPECT_TRUE(line.state().stations.departed[2]);
    EXPECT_FALSE(line.playing(StationLine::arrival));
    EXPECT_TRUE(line.f.sound.isPlaying(StationLine::doorClose));
    line.f.sound.finish(StationLine::doorClose);
    line.tick();
    EXPECT_FALSE(line.doors().doorsOpen);
    line.tick();
    EXPECT_FALSE(line.doors().doorsOpen) << "a departed station does not open its doors again";
}

TEST(StationStops, AtTheLastStationTheRunEndsOnlyAfterTheArrivalSoundHasFinished)
{
    StationLine line(0);
    line.start();
    line.closeDoors();
    line.standAt(200000);
    EXPECT_TRUE(line.tick());
    ASSERT_TRUE(line.playing(StationLine::lastArrival));
    for (int i = 0; i < 100; ++i) {
        line.state().time.clockTicks += 3;
        EXPECT_TRUE(line.tick()) << "no next stop is looked for at the last stop";
    }
    EXPECT_EQ(line.f.shell.returnsToTitle, 0);
    EXPECT_FALSE(line.state().stations.runEnded);
    EXPECT_EQ(line.f.sound.starts(line.channel(StationLine::melody)), 0);

    line.f.sound.finish(line.channel(StationLine::lastArrival));
    line.tick();
    line.tick();
    EXPECT_EQ(line.f.shell.returnsToTitle, 1);
    EXPECT_TRUE(line.state().stations.runEnded);
}

TEST(StationStops, AOnePersonArrivalWithNoStopAheadEndsTheTickOnce)
{
    StationLine line(1);
    line.start();
    line.closeDoors();
    line.standAt(200000);
    line.tick();
    cabdrive::AsciiDown(line.f.run(), 'd');
    EXPECT_FALSE(line.tick());
    EXPECT_TRUE(line.tick());
    line.f.sound.finish(line.channel(StationLine::lastArrival));
    line.tick();
    EXPECT_EQ(line.f.shell.returnsToTitle, 1);
}

TEST(StationStops, TheCrewChangeStationShowsTheDialogOnceItsArrivalSoundHasEnded)
{
    StationLine line(0);
    line.crewChangeStation = 2;
    arriveAtSouth(line, StationLine::departure2 - 3000);
    line.tick();
    EXPECT_EQ(line.f.shell.crewChangeDialogs, 0);
    line.f.sound.finish(line.channel(StationLine::arrival));
    line.tick();
    line.tick();
    EXPECT_EQ(line.f.shell.crewChangeDialogs, 1);
    EXPECT_EQ(line.f.shell.returnsToTitle, 0);
    EXPECT_TRUE(line.state().stations.runEnded);
}

TEST(StationStops, ARunStartsWithTheDoorsOpenAndTheClockAheadOfTheDeparture)
{
    StationLine line(0);
    line.crewChangeStation = 2;
    line.start(0);
    EXPECT_TRUE(line.doors().doorsOpen && line.doors().doorOpenCommand);
    EXPECT_EQ(line.state().time.clockTicks, StationLine::departure0 - 10 * 30) << "the first station: the melody only";
    EXPECT_EQ(line.state().stations.crewChangeStation, 2);
    EXPECT_EQ(line.state().sound.environmentSoundSeconds.size(), 5u);
    EXPECT_EQ(line.state().stations.melodyStarted.size(), 4u);

    line.start(2);
    EXPECT_EQ(line.state().time.clockTicks, StationLine::departure2 - (10 + 5) * 30);
    EXPECT_EQ(line.state().stations.nextStopStation, 3);
    EXPECT_EQ(line.state().dynamics.distanceToStop, 100000);

    line.start(1);
    EXPECT_FALSE(line.doors().doorsOpen) << "a passing station opens no doors";
}

}  // namespace
