// Clip switching: running clips over a frame window, station clips while the
// train stands, and the hand-back to the main video.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/video_switch.h"
#include "support/run_fixture.h"

namespace {

using cabdrive::MovieSwitch;

class VideoSwitch : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.settings.videoFolder = "video\\";
        f.route->dataName = "line";
        f.video.add("video\\line.avi", 5000);
        f.video.add("video\\pass.avi", 200);
        f.video.add("video\\platform.avi", 100);
    }
    void addRow(const MovieSwitch& row)
    {
        ASSERT_TRUE(f.route->movieSwitches.add(row));
        video().movieSwitchDone.assign(f.route->movieSwitches.size(), 0);
    }
    // A running clip over frames 1000..1200 that hands back at 1300.
    static MovieSwitch runningClip() { return {0, 1000, 1200, "pass", 150, 1300, 0, 0, 0}; }
    void tick() { cabdrive::switchVideoClips(f.run()); }
    // What the physics step does with the frame of a running clip.
    void runTo(std::int32_t frame)
    {
        video().currentFrame = frame;
        if (video().videoMode == 2)
            video().playbackFrame = frame - video().frameOffset;
    }
    cabdrive::VideoState& video() { return f.state().video; }

    test::RunFixture f;
};

TEST_F(VideoSwitch, ARunningClipReplacesTheMainVideoOverItsWindow)
{
    addRow(runningClip());
    ASSERT_TRUE(cabdrive::openMainVideo(f.run()));
    f.state().dynamics.trainSpeed = 60;
    runTo(999);
    tick();
    EXPECT_EQ(video().videoMode, 0);

    runTo(1003);
    tick();
    EXPECT_EQ(video().videoMode, 2);
    EXPECT_EQ(f.video.opened.back(), "video\\pass.avi");
    EXPECT_EQ(video().playbackFrame, 3);
    EXPECT_EQ(video().frameOffset, 1000);
    EXPECT_EQ(video().clipEndFrame, 150);
    EXPECT_EQ(f.state().presentation.lastDecodedFrame, -1);
    EXPECT_EQ(f.video.decoded, (std::vector<std::int32_t>{1}));
}

TEST_F(VideoSwitch, ARunningClipEndsOnlyBeyondItsWindowOnceItHasReachedItsEnd)
{
    addRow(runningClip());
    cabdrive::openMainVideo(f.run());
    f.state().dynamics.trainSpeed = 60;
    runTo(1000);
    tick();
    ASSERT_EQ(video().videoMode, 2);

    runTo(1180);  // the clip has passed its end, but the train is still in the window
    tick();
    EXPECT_EQ(video().videoMode, 2);

    runTo(1205);  // beyond the window, 55 frames past the clip's end
    tick();
    EXPECT_EQ(video().videoMode, 0);
    EXPECT_EQ(video().currentFrame, 1300);
    EXPECT_EQ(f.video.opened.back(), "video\\line.avi");
    EXPECT_EQ(video().movieSwitchDone[0], 1);

    // A row acts once a run.
    runTo(1000);
    tick();
    EXPECT_EQ(video().videoMode, 0);
}

TEST_F(VideoSwitch, ARunningClipMoreThanSixtyFramesPastItsEndIsNotHandedBack)
{
    addRow(runningClip());
    cabdrive::openMainVideo(f.run());
    f.state().dynamics.trainSpeed = 60;
    runTo(1000);
    tick();
    runTo(1150);
    tick();
    runTo(1211);  // 61 frames past the clip's end
    tick();
    EXPECT_EQ(video().videoMode, 2);
    // Nor does a train short of its end: the window is left backwards.
    runTo(999);
    tick();
    EXPECT_EQ(video().videoMode, 2);
}

TEST_F(VideoSwitch, OnlyTheRowWhoseClipIsShownHandsItBack)
{
    addRow(runningClip());
    addRow({1, 3000, 3100, "pass", 90, 3500, 0, 0, 0});
    cabdrive::openMainVideo(f.run());
    f.state().dynamics.trainSpeed = 60;
    runTo(1000);
    tick();
    runTo(1160);  // past the clip's end, still in the first window: the second row must not act
    tick();
    EXPECT_EQ(video().videoMode, 2);
    EXPECT_EQ(video().currentFrame, 1160);
    EXPECT_EQ(video().movieSwitchDone[1], 0);
}

TEST_F(VideoSwitch, AClipThatCannotBeOpenedIsReportedAndTheMainVideoStays)
{
    MovieSwitch row = runningClip();
    row.clipName = "missing";
    addRow(row);
    cabdrive::openMainVideo(f.run());
    runTo(1010);
    tick();
    EXPECT_EQ(video().videoMode, 0);
    EXPECT_EQ(f.video.opened.back(), "video\\line.avi");
    EXPECT_TRUE(f.video.isOpen());
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0], "映像ファイルを開けません" + (std::filesystem::current_path() / "video/missing.avi").string());
    tick();
    EXPECT_EQ(f.shell.messages.size(), 1u);  // once
}

class StationClip : public VideoSwitch {
protected:
    void SetUp() override
    {
        VideoSwitch::SetUp();
        cabdrive::Station station;
        station.name = "若葉";
        station.stopFrame = 400;
        station.stopDistance = 10000;
        station.zoneStart = 9000;
        station.zoneEnd = 11000;
        ASSERT_TRUE(f.route->stations.add(station));
        // Station 0 after 1/30 s clock 1000; environment sound 2 from clip frame 30.
        addRow({2, 0, 0, "platform", 90, 0, 1000, 30, 2});
        cabdrive::openMainVideo(f.run());
        f.state().dynamics.trainPosition = 10500;
        video().currentFrame = 410;
    }
};

TEST_F(StationClip, PlaysWhileTheTrainStandsInTheStopZoneAfterItsTime)
{
    f.state().time.clockTicks = 1000;
    tick();
    EXPECT_EQ(video().videoMode, 0);

    f.state().time.clockTicks = 1001;
    tick();
    EXPECT_EQ(video().videoMode, 1);
    EXPECT_EQ(f.video.opened.back(), "video\\platform.avi");
    EXPECT_EQ(video().currentFrame, 400);
    EXPECT_EQ(f.state().dynamics.trainPosition, 10000);
    EXPECT_EQ(video().frameOffset, 400);
    EXPECT_EQ(video().playbackFrame, 0);

    video().playbackFrame = 89;
    tick();
    EXPECT_EQ(video().videoMode, 1);
    video().playbackFrame = 90;
    tick();
    EXPECT_EQ(video().videoMode, 0);
    EXPECT_EQ(f.video.opened.back(), "video\\line.avi");
    EXPECT_EQ(video().currentFrame, 400);
    tick();
    EXPECT_EQ(video().videoMode, 0);  // done for this run
}

TEST_F(StationClip, OutsideTheStopZoneOrForAStationThatDoesNotExistNothingPlays)
{
    f.state().time.clockTicks = 2000;
    f.state().dynamics.trainPosition = 11001;
    tick();
    EXPECT_EQ(video().videoMode, 0);

    f.state().dynamics.trainPosition = 10000;
    f.route->movieSwitches[0].returnFrame = 7;  // no such station
    tick();
    EXPECT_EQ(video().videoMode, 0);
    EXPECT_EQ(f.video.opened.size(), 1u);
}

TEST_F(StationClip, ItsSoundStartsInTheTenFramesAfterItsFrame)
{
    f.state().time.clockTicks = 1001;
    tick();
    const std::size_t channel = 2;  // no running sounds before the route's
    for (std::int32_t frame : {30, 31, 35, 39, 40}) {
        video().playbackFrame = frame;
        tick();
        if (frame == 35)
            f.sound.finish(channel);
    }
    EXPECT_EQ(f.sound.starts(channel), 2);  // at 31, and at 39 after it had ended
}

TEST_F(StationClip, ATrainMovingOffEndsTheStationClip)
{
    f.state().time.clockTicks = 1001;
    tick();
    ASSERT_EQ(video().videoMode, 1);
    video().playbackFrame = 50;
    f.state().dynamics.trainSpeed = 3;
    tick();
    EXPECT_EQ(video().videoMode, 0);
    EXPECT_EQ(f.video.opened.back(), "video\\line.avi");
    EXPECT_EQ(video().movieSwitchDone[0], 1);
}

}  // namespace
