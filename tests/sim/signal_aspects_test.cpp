// Signal aspects behind the preceding train, the control overrides and the
// display index table.
#include <gtest/gtest.h>

#include <vector>

#include "protection_fixture.h"
#include "sim/signal_aspects.h"

namespace {

using Aspects = std::vector<std::int32_t>;

struct SignalAspects : test::ProtectionFixture {
    // The preceding train just beyond signal row `row` (1 000 frames apart).
    Aspects behindTrainAfterRow(std::size_t row)
    {
        state().dynamics.precedingFrame = static_cast<std::int32_t>(1000 * (row + 1) + 500);
        return cabdrive::signalAspects(run());
    }
};

TEST_F(SignalAspects, BlockSignalsStepUpBehindTheStopSignalByHeadType)
{
    addSignals({6, 4, 2, 1, 5, 3});
    EXPECT_EQ(cabdrive::signalAspects(run()), Aspects(6, 5)) << "no preceding train: all clear";
    EXPECT_EQ(behindTrainAfterRow(4), (Aspects{5, 4, 4, 2, 0, 5}));
    // Head types up to 5 have no picture above aspect 4.
    route->signals.restart();
    addSignals({3, 3, 3, 3, 3, 3});
    EXPECT_EQ(behindTrainAfterRow(4), (Aspects{4, 4, 3, 2, 0, 5}));
}

TEST_F(SignalAspects, TheWalkBackEndsAtTheTopAspect)
{
    route->speedSignals.restart();
    for (std::int32_t speed : {0, 25, 45, 65})
        (void)route->speedSignals.add(speed);
    addSignals({6, 6, 6, 6, 6, 6});
    EXPECT_EQ(behindTrainAfterRow(4), (Aspects{3, 3, 2, 1, 0, 3})) << "row 0 is never stepped beyond the top";
}

TEST_F(SignalAspects, ARepeaterShowsTheAspectOfTheSignalAheadAndCannotStopATrain)
{
    addSignals({3, 0, 3, 3});
    EXPECT_EQ(behindTrainAfterRow(2), (Aspects{2, 0, 0, 5}));
    route->signals.restart();
    addSignals({3, 3, -1, 3});
    EXPECT_EQ(behindTrainAfterRow(2), (Aspects{2, 0, 5, 5})) << "the block signal behind the repeater stops";
}

TEST_F(SignalAspects, TheWalkBackStopsAtRowZero)
{
    addSignals({0, -1, 0, 3});
    EXPECT_EQ(behindTrainAfterRow(2), Aspects(4, 5)) << "no block signal behind the train: nothing stops";
}

TEST_F(SignalAspects, ControlColumnsOverrideTheAspect)
{
    addSignals({3, 3, 3, 3});
    for (std::size_t i = 0; i < 4; ++i)
        route->signals[i].columns[8] = 1;  // the fixed aspect
    route->signals[0].columns[0] = 1;      // fixed before clock 900
    route->signals[0].columns[9] = 900;
    route->signals[1].columns[0] = 2;      // always fixed
    route->signals[2].columns[0] = 3;      // fixed until station 1's melody
    route->signals[2].columns[10] = 1;
    route->signals[3].columns[0] = 3;      // a flag the run does not keep counts as clear
    route->signals[3].columns[10] = 7;
    state().time.clockTicks = 899;
    state().stations.melodyStarted = {0, 0};
    EXPECT_EQ(cabdrive::signalAspects(run()), (Aspects{1, 1, 1, 1}));
    state().time.clockTicks = 900;
    state().stations.melodyStarted = {0, 1};
    EXPECT_EQ(cabdrive::signalAspects(run()), (Aspects{5, 1, 5, 1}));
    state().video.videoMode = 1;
    EXPECT_EQ(cabdrive::signalAspects(run()), (Aspects{1, 1, 1, 1})) << "a station clip shows the fixed aspects";
}

TEST(SignalDisplayIndex, FollowsHeadTypeAndAspectWithFastTrainPictures)
{
    EXPECT_EQ(cabdrive::displayIndex(0, 0, 100), 1);
    EXPECT_EQ(cabdrive::displayIndex(4, 3, 100), 15);
    EXPECT_EQ(cabdrive::displayIndex(9, 5, 100), 40);
    EXPECT_EQ(cabdrive::displayIndex(7, 5, 130), 28);
    EXPECT_EQ(cabdrive::displayIndex(7, 5, 131), 29);
    EXPECT_EQ(cabdrive::displayIndex(8, 5, 131), 34);
    EXPECT_EQ(cabdrive::displayIndex(8, 4, 131), 33) << "only the clearest aspect has a fast picture";
    EXPECT_EQ(cabdrive::displayIndex(-1, 2, 100), 2) << "a repeater of type -1 shows the repeater pictures";
    EXPECT_EQ(cabdrive::displayIndex(6, 9, 100), 25) << "aspects above 5 show the clearest picture";
}

}  // namespace
