// The information line: which advice the driver sees, and when it changes.
#include <gtest/gtest.h>

#include <string>

#include "sim/information_line.h"
#include "support/run_fixture.h"

namespace {

struct InformationLine : ::testing::Test {
    void SetUp() override
    {
        for (int k = 0; k < 22; ++k)
            f.settings.infoTexts.push_back("I" + std::to_string(k));
        f.vehicle.engineType = 1;
        cabdrive::Station station;
        station.kind = 0;
        (void)f.route->stations.add(station);
        (void)f.route->movieStops.add(5000);
        auto& s = f.state();
        s.stations.atStation.assign(1, 0);
        s.dynamics.distanceToStop = 1e9L;
        s.video.currentFrame = 100;
    }
    // The advice as the message line over the view shows it.
    std::string shown()
    {
        cabdrive::updateInformationLine(f.run());
        EXPECT_EQ(f.state().presentation.informationText, f.state().presentation.messageText);
        return f.state().presentation.messageText;
    }

    test::RunFixture f;
};

TEST_F(InformationLine, OnePersonStopAsksForThePlatformsDoorSide)
{
    auto& s = f.state();
    auto& station = f.route->stations[0];
    s.stations.atStation[0] = 1;
    s.input.doorSide = 1;
    EXPECT_EQ(shown(), "") << "conductor operation";
    f.route->oneMan = 1;
    EXPECT_EQ(shown(), "I8") << "platform on the left, right doors chosen";
    s.input.doorSide = 0;
    EXPECT_EQ(shown(), "") << "the right side: the marker alone shows nothing";
    station.column14 = 1;
    EXPECT_EQ(shown(), "I9");
    s.doors.doorsOpen = true;
    EXPECT_EQ(shown(), "");
    s.doors.doorsOpen = false;
    s.dynamics.trainSpeed = 0.6L;  // rounds to 1
    EXPECT_EQ(shown(), "");
}

TEST_F(InformationLine, StationClipAndEndOfVideo)
{
    auto& s = f.state();
    s.video.videoMode = 1;
    s.controls.powerHandle = 1;
    EXPECT_EQ(shown(), "I10");
    s.video.videoMode = 0;
    s.video.currentFrame = 4801;
    EXPECT_EQ(shown(), "I21");
    EXPECT_EQ(s.presentation.informationFrame, 4800) << "the frame before the change is noted";
    s.video.currentFrame = 4800;
    EXPECT_EQ(shown(), "") << "200 frames before the first stop frame is too early";
    s.video.currentFrame = 5000;
    s.dynamics.trainSpeed = 0.5L;
    EXPECT_EQ(shown(), "") << "only standing";
}

TEST_F(InformationLine, ProtectionAdviceComesInItsOrderOfPreference)
{
    auto& s = f.state();
    auto& p = s.protection;
    s.video.currentFrame = 5000;  // the end-of-video text shows unless protection replaces it
    p.protectionServiceBrake = true;
    EXPECT_EQ(shown(), "I21") << "a service brake without the pattern says nothing";
    p.patternState = 2;
    EXPECT_EQ(shown(), "I12");
    s.dynamics.trainSpeed = 30;
    EXPECT_EQ(shown(), "I11");

    p.protectionServiceBrake = false;
    p.patternState = 0;
    p.protectionEmergencyBrake = true;
    EXPECT_EQ(shown(), "") << "emergency while moving, without alarm or pattern";
    p.alarm = true;
    EXPECT_EQ(shown(), "I11");
    s.dynamics.trainSpeed = 0;
    EXPECT_EQ(shown(), "I12");

    p.protectionEmergencyBrake = false;
    EXPECT_EQ(shown(), "I13");
    p.atsActive = false;
    s.protection.vigilanceCounter = 601;
    EXPECT_EQ(shown(), "I14");
    s.protection.vigilanceCounter = 600;
    EXPECT_EQ(shown(), "I21");
}

TEST_F(InformationLine, SignalAndStopAheadAdvice)
{
    auto& s = f.state();
    auto& v = s.dynamics.trainSpeed;
    s.signals.signalDisplay = 8;
    v = 55.4L;
    EXPECT_EQ(shown(), "");
    v = 55.5L;
    EXPECT_EQ(shown(), "I15");
    s.signals.signalDisplay = 24;
    v = 76;
    EXPECT_EQ(shown(), "I16");
    s.signals.signalDisplay = 22;
    v = 26;
    EXPECT_EQ(shown(), "I17");

    // At 90 km/h the stop is near once less than 125 m + 450 m ahead.
    s.signals.signalDisplay = 11;
    v = 90;
    s.dynamics.distanceToStop = 57499;
    EXPECT_EQ(shown(), "I15I18") << "appended to the signal advice";
    s.dynamics.distanceToStop = 57500;
    EXPECT_EQ(shown(), "I15");
    s.signals.signalDisplay = 999;
    s.dynamics.distanceToStop = 25001;
    EXPECT_EQ(shown(), "I18");
    s.dynamics.distanceToStop = 25000;
    EXPECT_EQ(shown(), "") << "too close to matter";
}

TEST_F(InformationLine, TheStallMessageOverridesEverythingAndHoldsForElectricTrainsToo)
{
    auto& s = f.state();
    s.protection.protectionEmergencyBrake = true;
    s.protection.alarm = true;
    s.controls.powerHandle = 1;
    s.engine.engineRunning = 0;
    const std::string stall = "エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。";
    EXPECT_EQ(shown(), stall);
    s.controls.powerHandle = 0;
    EXPECT_EQ(shown(), "I12");
    s.controls.powerHandle = 1;
    s.engine.engineRunning = -1;
    EXPECT_EQ(shown(), "I12") << "cranking is not stalled";
}

}  // namespace
