// The scheduler: steps every 1/30 s, ticks every third step, step first.
#include <gtest/gtest.h>

#include "run/scheduler.h"
#include "support/run_fixture.h"

namespace {

using namespace std::chrono_literals;

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.vehicle.cars = 1;
        f.vehicle.brakeNotches = 8;
        f.vehicle.brakeType = 1;
        f.vehicle.trainMass = cabdrive::fixed4::fromInt(100);
    }
    test::RunFixture f;
};

TEST_F(SchedulerTest, StepsEveryThirtiethOfASecondAndTicksAfterEveryThirdStep)
{
    cabdrive::Scheduler scheduler(f.run());
    std::vector<std::int64_t> stepsAtTicks;
    scheduler.afterTick = [&] { stepsAtTicks.push_back(scheduler.stepCount()); };
    scheduler.start();
    scheduler.advanceBy(99ms);
    EXPECT_EQ(scheduler.stepCount(), 2);  // at 33.3 and 66.7 ms
    EXPECT_TRUE(stepsAtTicks.empty());
    scheduler.advanceBy(1ms);  // 100 ms: the third step, then the tick
    EXPECT_EQ(scheduler.stepCount(), 3);
    ASSERT_EQ(stepsAtTicks.size(), 1u);
    EXPECT_EQ(stepsAtTicks[0], 3) << "the step due at the same instant runs before the tick";
    EXPECT_EQ(f.state().time.tickCount, 1);
    EXPECT_EQ(f.state().time.clockTicks, 3);

    scheduler.advanceBy(900ms);
    EXPECT_EQ(scheduler.stepCount(), 30);
    EXPECT_EQ(f.state().time.tickCount, 10);
    EXPECT_EQ(scheduler.simulatedTime(), 1s);
}

TEST_F(SchedulerTest, PauseStopsBothClocksAndTimeFedMeanwhileIsLost)
{
    cabdrive::Scheduler scheduler(f.run());
    EXPECT_TRUE(f.state().input.runNotStarted);
    scheduler.advanceBy(1s);
    EXPECT_EQ(scheduler.stepCount(), 0) << "nothing runs before the start command";
    scheduler.start();
    EXPECT_FALSE(f.state().input.runNotStarted);
    scheduler.advanceBy(500ms);
    scheduler.pause();
    scheduler.advanceBy(10s);
    EXPECT_EQ(scheduler.stepCount(), 15);
    EXPECT_EQ(f.state().time.tickCount, 5);
    scheduler.start();
    scheduler.advanceBy(500ms);
    EXPECT_EQ(scheduler.stepCount(), 30);
}

TEST_F(SchedulerTest, AnObserverThatPausesStopsTheRestOfTheTimeFed)
{
    cabdrive::Scheduler scheduler(f.run());
    scheduler.afterTick = [&] {
        if (f.state().time.tickCount == 2)
            scheduler.pause();
    };
    scheduler.start();
    scheduler.advanceBy(1s);
    EXPECT_EQ(scheduler.stepCount(), 6);
    scheduler.start();
    scheduler.advanceBy(100ms);
    EXPECT_EQ(scheduler.stepCount(), 9) << "the time left when it paused was dropped";
}

}  // namespace
