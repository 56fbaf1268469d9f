// The desktop program and a headless run built from the same data folder and
// set-up are one simulation: they start from the same state and stay equal
// through a minute of the same driving, keys typed into the window on one
// side and script lines on the other.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "main_window_fixture.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "run_script.h"
#include "support/built_run.h"

namespace cabdrive::test {
namespace {

using namespace std::chrono_literals;

// What a driver sees and what the physics carries, compared field by field
// so that a difference names itself.
void expectSameState(const RunState& desktop, const RunState& headless, const char* when)
{
    SCOPED_TRACE(when);
    EXPECT_EQ(desktop.time.clockTicks, headless.time.clockTicks);
    EXPECT_EQ(desktop.time.tickCount, headless.time.tickCount);
    EXPECT_EQ(desktop.dynamics.trainSpeed, headless.dynamics.trainSpeed);
    EXPECT_EQ(desktop.dynamics.trainPosition, headless.dynamics.trainPosition);
    EXPECT_EQ(desktop.video.currentFrame, headless.video.currentFrame);
    EXPECT_EQ(desktop.video.highestFrame, headless.video.highestFrame);
    EXPECT_EQ(desktop.controls.powerHandle, headless.controls.powerHandle);
    EXPECT_EQ(desktop.controls.brakeHandle, headless.controls.brakeHandle);
    EXPECT_EQ(desktop.controls.appliedPowerNotch, headless.controls.appliedPowerNotch);
    EXPECT_EQ(desktop.controls.appliedBrakeNotch, headless.controls.appliedBrakeNotch);
    EXPECT_EQ(desktop.air.bcTrailerCar.raw, headless.air.bcTrailerCar.raw);
    EXPECT_EQ(desktop.air.bpPressure, headless.air.bpPressure);
    EXPECT_EQ(desktop.controls.powerText, headless.controls.powerText);
    EXPECT_EQ(desktop.controls.brakeText, headless.controls.brakeText);
    EXPECT_EQ(desktop.stations.nextStationText, headless.stations.nextStationText);
    EXPECT_EQ(desktop.stations.clockText, headless.stations.clockText);
    EXPECT_EQ(desktop.doors.doorsOpen, headless.doors.doorsOpen);
    EXPECT_EQ(desktop.signals.signalDisplay, headless.signals.signalDisplay);
}

class SameRun : public MainWindowTest {};

TEST_F(SameRun, TheDesktopProgramAndAHeadlessRunAreOneSimulation)
{
    MainWindow& w = openDemo();
    ASSERT_TRUE(w.loaded());
    // The test feeds the desktop run's clock itself, as the window's timer would.
    w.start1Click();
    Scheduler& desktopClock = *w.scheduler();
    desktopClock.start();

    FfmpegVideoReader video;
    ::test::BuiltRun headless(CABDRIVE_DEMO_FOLDER, {.video = &video});
    const RunState& d = run().state;
    const RunState& h = headless.run.state;

    // The first station's clock starts the departure melody's length before
    // the departure, on both sides.
    const Station& first = headless.route->stations[0];
    const std::int32_t melodyTicks = h.sound.environmentSoundSeconds.at(static_cast<std::size_t>(first.departureSound)) * 30;
    ASSERT_GT(melodyTicks, 0);
    EXPECT_EQ(d.time.clockTicks, first.departureTime - melodyTicks);
    expectSameState(d, h, "at the start");

    std::istringstream script("1 5\n2 z\n2.2 z\n2.4 z\n2.6 z\n25 a\n25.2 a\n26 .\n26.2 .\n40 ,\n40.2 ,\n41 z\n55 0\n");
    const std::vector<ScriptInput> inputs = readRunScript(script);
    std::size_t next = 0;
    for (int tick = 1; tick <= 600; ++tick) {
        const double now = tick / 10.0;
        for (; next < inputs.size() && inputs[next].seconds <= now - 0.05; ++next) {
            applyScriptInput(headless.run, inputs[next]);
            const char c = inputs[next].character;
            typeKey(w, QKeySequence(QString(QChar(c)))[0].key(), QString(QChar(c)));
        }
        desktopClock.advanceBy(100ms);
        headless.scheduler.advanceBy(100ms);
        expectSameState(d, h, ("after " + std::to_string(now) + " s").c_str());
        if (HasFailure())
            return;
    }
    EXPECT_GT(h.dynamics.trainPosition - first.stopDistance, 10000) << "the train ran more than 100 m";
}

}  // namespace
}  // namespace cabdrive::test
