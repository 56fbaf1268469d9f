// How the video frame follows the train, and the end of the video.
#include <gtest/gtest.h>

#include <limits>

#include "data/route_distances.h"
#include "sim/frame_advance.h"
#include "support/run_fixture.h"

namespace {

using cabdrive::SpeedUnit;

class FrameAdvance : public ::testing::Test {
protected:
    void SetUp() override
    {
        // 0..300 filmed at 60 km/h, 300..600 slowing from 60 to 30, 600..900 at 30.
        addRow(0, 300, 60, 60);
        addRow(300, 600, 60, 30);
        addRow(600, 900, 30, 30);
        cabdrive::deriveDistances(*f.route);
    }
    void addRow(int from, int to, long double s1, long double s2)
    {
        SpeedUnit row;
        row.fromFrame = from;
        row.toFrame = to;
        row.fromSpeed = s1;
        row.toSpeed = s2;
        f.route->speedUnits.add(row);
    }
    void steps(int n)
    {
        for (int i = 0; i < n; ++i)
            cabdrive::advanceFrame(f.run());
    }
    cabdrive::VideoState& video() { return f.state().video; }

    test::RunFixture f;
};

TEST_F(FrameAdvance, AtTheFilmingSpeedTheVideoRunsOneFramePerStep)
{
    video().filmingSpeed = 60;
    f.state().dynamics.trainSpeed = 60;
    steps(30);
    EXPECT_EQ(video().currentFrame, 30);
    EXPECT_EQ(video().frameAccumulator, 0);

    // Half the filming speed: a frame every second step.
    f.state().dynamics.trainSpeed = 30;
    steps(10);
    EXPECT_EQ(video().currentFrame, 35);
}

TEST_F(FrameAdvance, StandingStillCollectsNothingAndKeepsTheFrame)
{
    video().currentFrame = 100;
    video().filmingSpeed = 60;
    steps(100);
    EXPECT_EQ(video().currentFrame, 100);
    EXPECT_EQ(video().frameAccumulator, 0);
}

TEST_F(FrameAdvance, RunningBackwardsTakesFramesOff)
{
    video().currentFrame = 100;
    video().filmingSpeed = 60;
    f.state().dynamics.trainSpeed = -120;
    steps(3);
    EXPECT_EQ(video().currentFrame, 94);
}

TEST_F(FrameAdvance, ASpeedIsRoundedHalfAwayFromZeroBeforeItIsCollected)
{
    video().filmingSpeed = 60;
    f.state().dynamics.trainSpeed = 29.5L;
    steps(1);
    EXPECT_EQ(video().frameAccumulator, 30);
    f.state().dynamics.trainSpeed = -29.5L;
    steps(1);
    EXPECT_EQ(video().currentFrame, -1);  // 60 collected: one frame back
}

TEST_F(FrameAdvance, ZeroFilmingSpeedMovesTwiceWhatWasCollected)
{
    video().filmingSpeed = 0;
    video().currentFrame = 2000;  // outside every row: the filming speed stays 0
    f.state().dynamics.trainSpeed = 5;
    steps(1);
    EXPECT_EQ(video().currentFrame, 2010);
    EXPECT_EQ(video().frameAccumulator, 0);

    // An absurd speed saturates the frame; it never wraps round.
    f.state().dynamics.trainSpeed = 2e9L;
    steps(2);
    EXPECT_EQ(video().currentFrame, std::numeric_limits<std::int32_t>::max());
}

TEST_F(FrameAdvance, FilmingSpeedIsInterpolatedWithinItsRow)
{
    const auto at450 = cabdrive::filmingSpeedAt(f.route->speedUnits, 450);
    ASSERT_TRUE(at450);
    EXPECT_EQ(at450->row, 1);
    EXPECT_EQ(at450->speed, 45);
    EXPECT_EQ(cabdrive::filmingSpeedAt(f.route->speedUnits, 301)->speed, 60);  // 59.9 rounds to 60
    EXPECT_EQ(cabdrive::filmingSpeedAt(f.route->speedUnits, 300)->row, 1);     // a row holds its first frame, not its last
    EXPECT_FALSE(cabdrive::filmingSpeedAt(f.route->speedUnits, 900));
    EXPECT_FALSE(cabdrive::filmingSpeedAt(f.route->speedUnits, -1));
}

TEST_F(FrameAdvance, CrossingARowBoundaryPutsThePositionOnThatBoundary)
{
    const auto& rows = f.route->speedUnits;
    video().filmingSpeed = 60;
    video().currentFrame = 299;
    f.state().dynamics.trainSpeed = 60;
    steps(1);  // first lookup: no reset
    EXPECT_EQ(video().speedUnitRow, 1);
    f.state().dynamics.trainPosition = 12345;

    video().currentFrame = 599;
    video().filmingSpeed = 30;
    f.state().dynamics.trainSpeed = 30;
    steps(1);  // into row 2
    EXPECT_EQ(video().currentFrame, 600);
    EXPECT_EQ(f.state().dynamics.trainPosition, rows[1].endDistance);

    f.state().dynamics.trainSpeed = -30;
    steps(1);  // back into row 1: its own end
    EXPECT_EQ(video().currentFrame, 599);
    EXPECT_EQ(f.state().dynamics.trainPosition, rows[1].endDistance);

    video().currentFrame = 300;
    video().filmingSpeed = 60;
    f.state().dynamics.trainSpeed = -60;
    steps(1);  // into the first row: the start of the line
    EXPECT_EQ(f.state().dynamics.trainPosition, 0);
}

TEST_F(FrameAdvance, OutsideEveryRowTheLastFilmingSpeedStays)
{
    video().filmingSpeed = 30;
    video().currentFrame = 1000;
    f.state().dynamics.trainSpeed = 30;
    steps(2);
    EXPECT_EQ(video().filmingSpeed, 30);
    EXPECT_EQ(video().currentFrame, 1002);
}

class EndOfVideo : public FrameAdvance {
protected:
    void SetUp() override
    {
        FrameAdvance::SetUp();
        f.route->movieStops.add(800);
        f.route->movieStops.add(50);  // only the first one counts
        f.state().controls.appliedPowerNotch = 3;
    }
};

TEST_F(EndOfVideo, DrivingOnPastTheEndStopsDeadOnTheLastFrame)
{
    f.state().dynamics.trainSpeed = 40;
    f.sound.play(0, true);
    f.sound.play(5, true);
    video().currentFrame = 800;
    EXPECT_FALSE(cabdrive::inEndOfVideoWindow(f.run()));
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(f.state().dynamics.trainSpeed, 40);  // on the last frame itself: still going

    video().currentFrame = 803;
    video().frameAccumulator = 17;
    EXPECT_TRUE(cabdrive::inEndOfVideoWindow(f.run()));
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(video().currentFrame, 800);
    EXPECT_EQ(f.state().dynamics.trainSpeed, 0);
    EXPECT_EQ(f.state().dynamics.trainPosition, cabdrive::FrameDistance(f.route->speedUnits)(800));
    EXPECT_EQ(video().frameAccumulator, 0);
    EXPECT_EQ(f.state().controls.appliedPowerNotch, 0);
    EXPECT_TRUE(f.sound.isPlaying(0)) << "the first running sound keeps playing";
    EXPECT_FALSE(f.sound.isPlaying(5));
}

TEST_F(EndOfVideo, AfterTheSwitchBackTheTrainStopsOnTheFrameBeyondWhenRunningBack)
{
    video().reversed = 1;
    f.state().dynamics.trainSpeed = 40;
    video().currentFrame = 790;
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(f.state().dynamics.trainSpeed, 40);  // forwards after the switch-back: no stop

    f.state().dynamics.trainSpeed = -40;
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(video().currentFrame, 801);
    EXPECT_EQ(f.state().dynamics.trainSpeed, 0);
}

// Backing away from the first station once ran the train to frame -1 039 925.
TEST_F(EndOfVideo, ReversingPastTheFirstFrameStopsDeadOnIt)
{
    f.state().dynamics.trainSpeed = -40;
    video().currentFrame = 2;
    video().filmingSpeed = 60;
    for (int tick = 0; tick < 10; ++tick) {
        steps(3);
        cabdrive::stopAtEndOfVideo(f.run());
    }
    EXPECT_EQ(video().currentFrame, 0);
    EXPECT_EQ(f.state().dynamics.trainSpeed, 0);
    EXPECT_EQ(f.state().controls.appliedPowerNotch, 0);
}

TEST_F(EndOfVideo, RunningPastTheLastFrameOfTheOpenedVideoStopsDeadOnIt)
{
    video().reversed = 1;  // after the switch-back there is no [MovieStop] ahead
    video().highestFrame = 1200;
    f.state().dynamics.trainSpeed = 40;
    video().currentFrame = 1200;
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(f.state().dynamics.trainSpeed, 40);
    video().currentFrame = 1203;
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(video().currentFrame, 1200);
    EXPECT_EQ(f.state().dynamics.trainSpeed, 0);
}

TEST_F(EndOfVideo, FarBeyondTheEndOrInAClipNothingHappens)
{
    f.state().dynamics.trainSpeed = 40;
    video().currentFrame = 1300;
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(f.state().dynamics.trainSpeed, 40);
    video().currentFrame = 805;
    video().videoMode = 2;
    cabdrive::stopAtEndOfVideo(f.run());
    EXPECT_EQ(f.state().dynamics.trainSpeed, 40);
}

}  // namespace
