// A stop on the demo line through the whole tick: the jump, the doors, the
// melody and the departure timed by the lengths of the line's own sounds.
#include <gtest/gtest.h>

#include <chrono>

#include "sim/station_jump.h"
#include "support/built_run.h"

namespace {

using namespace std::chrono_literals;

struct DemoRun : test::BuiltRun {
    DemoRun() : BuiltRun(CABDRIVE_DEMO_FOLDER) {}

    // Runs the clocks until the timetable clock has passed `clock`.
    void runUntil(std::int32_t clock)
    {
        while (run.state.time.clockTicks <= clock && scheduler.simulatedTime() < 600s)
            scheduler.advanceBy(100ms);
    }
};

TEST(StationDemoRun, AJumpedToStopRunsByTheTimetableAndTheSoundsLengths)
{
    DemoRun d;
    const cabdrive::Station& station = d.route->stations[1];
    const std::int32_t arrivalTicks = d.run.state.sound.environmentSoundSeconds.at(static_cast<std::size_t>(station.arrivalSound)) * 30;
    const std::int32_t melodyTicks = d.run.state.sound.environmentSoundSeconds.at(static_cast<std::size_t>(station.departureSound)) * 30;
    ASSERT_GT(arrivalTicks, 0);
    ASSERT_GT(melodyTicks, 0);

    cabdrive::StationClick(d.run, 1);
    EXPECT_EQ(d.run.state.time.clockTicks, station.departureTime - arrivalTicks - melodyTicks);
    d.scheduler.advanceBy(100ms);
    const auto& s = d.run.state;
    EXPECT_TRUE(s.doors.doorsOpen);
    EXPECT_EQ(s.stations.nextStationText, "ただいま " + station.name);

    d.runUntil(station.departureTime - melodyTicks - 3);
    EXPECT_FALSE(s.stations.melodyStarted[1]);
    d.runUntil(station.departureTime - melodyTicks + 3);
    EXPECT_TRUE(s.stations.melodyStarted[1]);
    EXPECT_TRUE(s.doors.doorOpenCommand);
    EXPECT_EQ(s.stations.nextStopStation, 3) << "the passing station is no stop";

    // The doors start closing at the departure time and are shut once their
    // sound (2.2 s on the demo line) has ended.
    d.runUntil(station.departureTime + 15);
    EXPECT_TRUE(s.stations.departed[1]);
    EXPECT_FALSE(s.doors.doorOpenCommand);
    EXPECT_TRUE(s.doors.doorsOpen) << "still closing";
    d.runUntil(station.departureTime + 60);
    EXPECT_TRUE(s.doors.doorsOpen);
    d.runUntil(station.departureTime + 90);
    EXPECT_FALSE(s.doors.doorsOpen) << "shut as their sound ends";
    EXPECT_EQ(s.doors.doorClosings, 1);
    EXPECT_EQ(s.dynamics.distanceToStop, d.route->stations[3].stopDistance - station.stopDistance);
}

TEST(StationDemoRun, OnceSetUpTheEmergencyLampIsDarkAndTheTracksideSpritesStandOverTheView)
{
    DemoRun d;
    ASSERT_NE(d.run.scene.sprite("img_Lamp_EB"), nullptr);
    EXPECT_FALSE(d.run.scene.sprite("img_Lamp_EB")->visible);
    for (const char* name : {"img_unten_anim", "img_unten_cross", "img_unten_traffic", "img_unten_traffic2"})
        EXPECT_NE(d.run.scene.sprite(name), nullptr) << name;
    d.scheduler.advanceBy(100ms);
    EXPECT_TRUE(d.run.scene.sprite("img_other0")->visible) << "the E231's pattern-type indicator";
}

}  // namespace
