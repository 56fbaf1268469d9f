// The signal ahead on the cab view, the spot-type transponders, passing a
// signal and the jump to the next signal.
#include <gtest/gtest.h>

#include "input/driver_keys.h"
#include "protection_fixture.h"
#include "sim/signal_display.h"

namespace {

struct SignalDisplay : test::ProtectionFixture {
    SignalDisplay()
    {
        addSprite("img_unten_signal", 41);
        for (const char* sub : {"img_unten_signal_S", "img_unten_signal_L", "img_unten_signal_R"})
            addSprite(sub, 10);
        addSprite("img_cabsignal", 6);
        route->signalPictures.emplace();
        (*route->signalPictures)[0].x = 300;
        (*route->signalPictures)[0].y = 50;
    }
    // Three type-3 signals at frames 1 000, 2 000, 3 000; the preceding train
    // between the second and the third: the second shows stop (display 10).
    void threeSignalsSecondAtStop()
    {
        addSignals({3, 3, 3});
        state().dynamics.precedingFrame = 2500;
    }
    void tickAt(std::int32_t frame)
    {
        state().video.currentFrame = frame;
        cabdrive::updateSignals(run());
    }
};

TEST_F(SignalDisplay, TheSignalInViewBecomesTheSignalAheadAndItsPicturesChangeWithIt)
{
    threeSignalsSecondAtStop();
    cabdrive::SignalRow& first = route->signals[0];
    first.columns[2] = 7;                      // the signal's name
    first.columns[11] = 10, first.columns[12] = 20;  // main picture offset
    first.columns[13] = 3;                     // sub-picture L
    tickAt(900);
    const auto& sig = signals();
    EXPECT_EQ(sig.signalDisplay, 11) << "head type 3 at aspect 2";
    EXPECT_EQ(sig.signalAheadRow, 0);
    EXPECT_EQ(sig.signalName, 7);
    EXPECT_EQ(sig.displays, (std::vector<std::int32_t>{11, 0, 12})) << "out of view: 12 unless at stop";
    EXPECT_EQ(sprite("img_unten_signal").pattern, 11);
    EXPECT_EQ(sprite("img_unten_signal").x, 310);
    EXPECT_EQ(sprite("img_unten_signal").y, 70);
    EXPECT_EQ(sprite("img_unten_signal_L").pattern, 3);
    EXPECT_EQ(sprite("img_unten_signal_R").pattern, 0) << "column 0: the picture stays at frame 0";

    scene.setPattern("img_unten_signal_L", 9);
    tickAt(901);
    EXPECT_EQ(sprite("img_unten_signal_L").pattern, 9) << "the same display leaves the pictures alone";
    state().dynamics.precedingFrame = 0;
    tickAt(902);
    EXPECT_EQ(sprite("img_unten_signal").pattern, 12);
    EXPECT_EQ(sound.starts(atcBell), 0) << "wayside signals ring no bell";
}

TEST_F(SignalDisplay, UnderCabSignallingAChangeRingsTheBellAndShowsTheCabSignal)
{
    vehicle.atsType = 2;
    addSignals({9, 9, 9});
    state().dynamics.precedingFrame = 2500;
    tickAt(900);
    EXPECT_EQ(signals().signalDisplay, 36) << "head type 9 at aspect 1";
    EXPECT_EQ(sprite("img_cabsignal").pattern, 1);
    EXPECT_EQ(sound.starts(atcBell), 1);
    route->signals[0].columns[3] = 6;
    tickAt(901);
    EXPECT_FALSE(sprite("img_cabsignal").visible) << "below display 35 the cab signal is hidden";
    EXPECT_EQ(sprite("img_unten_signal").pattern, 0) << "only head type 9 shows on the main picture";
}

TEST_F(SignalDisplay, TheLongRangeTransponderArmsTheAlarmOnlyAtAStopSignal)
{
    threeSignalsSecondAtStop();
    tickAt(1885);  // 15 frames from the transponder at 1 900
    EXPECT_EQ(protection().atsCheckSpeed, 999);
    tickAt(1886);
    EXPECT_EQ(protection().atsCheckSpeed, 998);
    protection().atsCheckSpeed = 999;
    protection().atsActive = false;
    tickAt(1900);
    EXPECT_EQ(protection().atsCheckSpeed, 999) << "protection switched off";
}

TEST_F(SignalDisplay, TheImmediateTransponderStopsOrChecksAndForgetsTheSignalAhead)
{
    threeSignalsSecondAtStop();
    protection().patternCode = 10;
    tickAt(1979);
    EXPECT_EQ(protection().atsCheckSpeed, 0);
    EXPECT_EQ(signals().signalDisplay, 999);
    EXPECT_EQ(protection().patternCode, 10) << "a stop keeps the stop pattern";

    vehicle.atsAlert = 1;
    tickAt(980);
    EXPECT_EQ(protection().atsCheckSpeed, 45) << "display 11 checks [Speed_Signal] entry 2";
    EXPECT_EQ(protection().patternCode, 999) << "no stop: the stop pattern is erased";
}

TEST_F(SignalDisplay, PassingASignalClearsTheAcknowledgementAndTheSignalAhead)
{
    threeSignalsSecondAtStop();
    route->signals[1].columns[7] = 1700;  // the immediate transponder out of the way
    tickAt(1950);
    protection().acknowledgedAtSignal = true;
    tickAt(1985);
    EXPECT_TRUE(protection().acknowledgedAtSignal) << "15 frames before the signal: not yet passed";
    EXPECT_EQ(signals().signalDisplay, 10);
    tickAt(1986);
    EXPECT_FALSE(protection().acknowledgedAtSignal);
    EXPECT_EQ(signals().signalDisplay, 999);
    EXPECT_EQ(sprite("img_unten_signal").pattern, 0);

    vehicle.atsType = 2;
    tickAt(1950);
    tickAt(1986);
    EXPECT_EQ(signals().signalDisplay, 10) << "cab signalling keeps the last signal";
}

TEST_F(SignalDisplay, ShiftF3JumpsToTenFramesBeforeTheNextSignal)
{
    threeSignalsSecondAtStop();
    state().video.currentFrame = 1500;
    signals().signalDisplay = 10;
    cabdrive::keydowns(run(), cabdrive::Key::F3, {true, false, false});
    EXPECT_EQ(state().video.currentFrame, 1990);
    EXPECT_EQ(signals().signalDisplay, 999);
    state().video.currentFrame = 3000;
    cabdrive::keydowns(run(), cabdrive::Key::F3, {true, false, false});
    EXPECT_EQ(state().video.currentFrame, 3000) << "no signal after the last";
}

}  // namespace
