// A whole journey on the demo line, from its first station to its last, behind
// the preceding train: the careful driver of cabdrive-run drives it through
// the signals and stops, and the journey log reports the stops, the
// protection's interventions and the end of the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

#include "careful_driver.h"
#include "journey_log.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "support/built_run.h"

namespace {

// A demo train on a demo line with the program's own video reader, so that
// the clips really open, driven to the end by the careful driver of
// cabdrive-run, with its journey log.
struct DemoJourney {
    explicit DemoJourney(const std::string& vehicleFile = "", const std::string& lineFile = "line_down.dat")
        : d(CABDRIVE_DEMO_FOLDER, {.vehicleFile = vehicleFile, .lineFile = lineFile, .video = &video, .shell = &shell})
    {
        mainVideoOpened = d.loaded->mainVideoOpened;
        d.scheduler.afterTick = [this] { log.afterTick(d.run, shell, d.scheduler.simulatedTime()); };
    }

    // Drives until the run ends, or for half an hour; notes the aspects of
    // the signals ahead on the way.
    void driveToTheEnd()
    {
        cabdrive::CarefulDriver driver(d.run);
        constexpr int maxTicks = 30 * 60 * 10;
        for (int tick = 0; tick < maxTicks && !shell.returnRequested; ++tick) {
            driver.actOnce();
            d.scheduler.advanceBy(std::chrono::milliseconds(100));
            const cabdrive::SignalState& signals = d.run.state.signals;
            if (signals.signalAheadRow >= 0)
                aspectsAhead.insert(signals.aspects[static_cast<std::size_t>(signals.signalAheadRow)]);
        }
        std::ostringstream out;
        log.print(out, d.run, shell);
        report = out.str();
    }

    // The run ended at the last station after a stop within the zone at
    // every stopping station, in order, without a protection brake or a
    // message on the way.
    void expectEveryStopMade() const
    {
        ASSERT_TRUE(shell.returnRequested) << "the run ends at the last station";
        EXPECT_TRUE(d.run.state.stations.runEnded);
        EXPECT_TRUE(log.ended());
        EXPECT_NE(report.find("end of the run"), std::string::npos);
        std::vector<std::int32_t> expected;
        for (std::size_t i = 0; i < d.route->stations.size(); ++i) {
            if (d.route->stations[i].kind != 1)
                expected.push_back(static_cast<std::int32_t>(i));
        }
        std::vector<std::int32_t> stopped;
        for (const auto& stop : log.stops()) {
            const std::string& name = d.route->stations[static_cast<std::size_t>(stop.station)].name;
            stopped.push_back(stop.station);
            EXPECT_TRUE(stop.withinZone) << name;
            // The train stood there for a while before it moved off.
            if (&stop != &log.stops().back()) {
                EXPECT_GT(stop.departureClock, stop.arrivalClock + 30 * 5) << name;
            }
        }
        EXPECT_EQ(stopped, expected);
        EXPECT_TRUE(log.interventions().empty());
        EXPECT_TRUE(shell.messages.empty());  // the station and weather clips opened too
    }

    cabdrive::FfmpegVideoReader video;
    cabdrive::HeadlessShell shell;
    test::BuiltRun d;
    cabdrive::JourneyLog log;
    bool mainVideoOpened = false;
    std::set<std::int32_t> aspectsAhead;
    std::string report;
};

TEST(DemoJourney, DrivesFromTheFirstStationToTheLastThroughSignalsAndStops)
{
    DemoJourney j;
    ASSERT_TRUE(j.mainVideoOpened);
    j.driveToTheEnd();
    SCOPED_TRACE(j.report);
    j.expectEveryStopMade();
    // Behind the preceding train a signal ahead showed stop and the driver
    // braked for it; beyond the train's reach the line showed clear.
    EXPECT_TRUE(j.aspectsAhead.count(0));
    EXPECT_TRUE(j.aspectsAhead.count(static_cast<std::int32_t>(j.d.route->speedSignals.size()) - 1));
}

// The diesel car brings the spot-type protection, the automatic air brake,
// the gearbox and the vigilance device; the other electric train its own
// brakes and motors.
class EveryDemoTrain : public ::testing::TestWithParam<std::tuple<const char*, const char*>> {};

TEST_P(EveryDemoTrain, RunsTheLineToItsEnd)
{
    const auto [vehicle, line] = GetParam();
    DemoJourney j(vehicle, line);
    j.driveToTheEnd();
    SCOPED_TRACE(j.report);
    j.expectEveryStopMade();
}

// The first test has the default train on the down line.
INSTANTIATE_TEST_SUITE_P(DemoJourney, EveryDemoTrain,
                         ::testing::Values(std::tuple("train_E231_5B.dat", "line_up.dat"),
                                           std::tuple("diesel/kiha_W100_1B.dat", "line_down.dat"),
                                           std::tuple("diesel/kiha_W100_1B.dat", "line_up.dat"),
                                           std::tuple("ecs/train_W3000_4B.dat", "line_down.dat"),
                                           std::tuple("ecs/train_W3000_4B.dat", "line_up.dat")),
                         [](const auto& info) {
                             std::string name = std::string(std::get<0>(info.param)) + "_" + std::get<1>(info.param);
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });

}  // namespace
