// The timetable clock's readouts and the time call-outs of the [Time] rows.
#include <gtest/gtest.h>

#include "sim/timetable_clock.h"
#include "support/run_fixture.h"

namespace {

constexpr std::int32_t at(int h, int m, int s)
{
    return ((h * 60 + m) * 60 + s) * 30;
}

TEST(TimetableClock, TheHandsFollowTheClockAndAreRedrawnOnlyWhenTheSecondChanges)
{
    test::RunFixture f;
    f.vehicle.clock = {10, 10, 20};
    cabdrive::timecalc(f.run(), at(22, 30, 15));
    const cabdrive::ClockFace& face = f.state().clockFace;
    EXPECT_EQ(f.state().stations.clockText, "22:30:15");
    EXPECT_TRUE(face.shown);
    EXPECT_EQ(face.hands[0].degrees, 22 * 30 + 15) << "the hour hand moves half a degree a minute";
    EXPECT_EQ(face.hands[0].length, 12) << "0.6 of the hand length";
    EXPECT_EQ(face.hands[1].degrees, 180 + 1.5L);
    EXPECT_EQ(face.hands[2].degrees, 90);
    EXPECT_EQ(face.hands[2].length, 20);
    const std::uint32_t drawn = face.revision;

    cabdrive::timecalc(f.run(), at(22, 30, 15) + 29);
    EXPECT_EQ(face.revision, drawn) << "the same second";
    cabdrive::timecalc(f.run(), at(22, 31, 15));
    EXPECT_EQ(face.revision, drawn + 1) << "a minute later the seconds read the same, but the time differs";
    EXPECT_EQ(face.hands[1].degrees, 186 + 1.5L);
}

TEST(TimetableClock, AVehicleWithoutAClockGetsOnlyTheText)
{
    test::RunFixture f;
    f.vehicle.clock = {0, 10, 20};
    cabdrive::timecalc(f.run(), at(7, 5, 9));
    EXPECT_EQ(f.state().stations.clockText, "07:05:09");
    EXPECT_FALSE(f.state().clockFace.shown);
    EXPECT_EQ(f.state().clockFace.revision, 0u);
}

TEST(TimetableClock, EachTimeRowSpeaksOnceInsideItsFrameWindow)
{
    test::RunFixture f;
    (void)f.route->times.add({{100, 200, at(10, 0, 0)}});
    f.state().stations.timeSpoken.assign(1, 0);
    f.state().time.clockTicks = at(10, 0, 10);
    f.state().video.currentFrame = 100;
    cabdrive::Timecheck(f.run(), 1);
    EXPECT_EQ(f.state().callouts.queued, 0u) << "the window's ends are outside it";

    f.state().video.currentFrame = 150;
    cabdrive::Timecheck(f.run(), 1);
    ASSERT_EQ(f.state().callouts.queued, 1u);
    EXPECT_EQ(f.state().callouts.queue[0].index, 18) << "on time, in the wording of form 1";
    cabdrive::Timecheck(f.run(), 1);
    EXPECT_EQ(f.state().callouts.queued, 1u) << "spoken once";
}

}  // namespace
