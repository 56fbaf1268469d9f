// The call-out voice queue: playing one voice at a time, the time call-out,
// the signal and station call-outs and the call-out key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/driver_keys.h"
#include "sim/kanko_queue.h"
#include "sim/mascon_update.h"
#include "sim/trackside_signs.h"
#include "sound/kanko_queue_play.h"
#include "state/channel_layout.h"
#include "support/run_fixture.h"

namespace {

using cabdrive::CalloutState;

constexpr std::int32_t now = 36000 * 30;  // 10:00:00 in 1/30 s

class KankoQueue : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto& route = *f.route;
        route.programFolder = "data/";
        for (std::size_t k = 0; k < cabdrive::fixedKankoCount; ++k)
            route.kankoVoices[k].file = "k" + std::to_string(k) + ".wav";
        // Numbered voices 22.. with ordinals 0, 1, 2, 1: two name the same signal.
        const std::int32_t ordinals[] = {0, 1, 2, 1};
        for (std::int32_t ordinal : ordinals) {
            route.kankoVoices[cabdrive::fixedKankoCount + route.kankoSound2Count] =
                cabdrive::KankoVoice{ordinal, "n" + std::to_string(route.kankoSound2Count) + ".wav"};
            ++route.kankoSound2Count;
        }
        for (const char* name : {"l0.wav", "l1.wav", "l2.wav"})
            (void)route.limitKankos.add(name);
        // The call-out channel comes after the other sounds: not channel 0.
        (void)f.vehicle.driveSounds.add("run.wav");
        (void)route.soundData.add("env.wav");
        f.state().time.clockTicks = now;
    }

    std::size_t channel() { return cabdrive::calloutChannel(f.vehicle, *f.route); }

    // The voices waiting, written "k17" (numbered table), "l2" (limit table) or "o1" (sign table).
    std::vector<std::string> queued()
    {
        const CalloutState& c = f.state().callouts;
        std::vector<std::string> names;
        for (std::size_t k = 0; k < c.queued; ++k) {
            const CalloutState::Table from = c.queue[k].table;
            const char table = from == CalloutState::Table::Limit ? 'l' : from == CalloutState::Table::Other ? 'o' : 'k';
            names.push_back(table + std::to_string(c.queue[k].index));
        }
        return names;
    }
    // The paths loaded onto the call-out channel so far.
    std::vector<std::string> loaded()
    {
        const std::string prefix = "load " + std::to_string(channel()) + " ";
        std::vector<std::string> paths;
        for (const std::string& line : f.sound.log) {
            if (line.starts_with(prefix))
                paths.push_back(line.substr(prefix.size()));
        }
        return paths;
    }
    void clearQueue() { f.state().callouts.queued = 0; }

    test::RunFixture f;
};

TEST_F(KankoQueue, TwelveVoicesPlayOneAfterAnotherAndAThirteenthIsDropped)
{
    auto& run = f.run();
    for (std::int32_t voice = 0; voice < 13; ++voice)
        cabdrive::kanko_queue_add(run, voice);
    EXPECT_EQ(queued().size(), 12u);

    for (int k = 0; k < 12; ++k) {
        cabdrive::kanko_queue_play(run);
        ASSERT_EQ(loaded().size(), static_cast<std::size_t>(k + 1));
        EXPECT_EQ(loaded().back(), "data/k" + std::to_string(k) + ".wav");
        EXPECT_EQ(f.sound.starts(channel()), k + 1);
        cabdrive::kanko_queue_play(run);
        EXPECT_EQ(loaded().size(), static_cast<std::size_t>(k + 1)) << "voice " << k << " is still playing";
        f.sound.finish(channel());
    }
    cabdrive::kanko_queue_play(run);
    EXPECT_EQ(loaded().size(), 12u) << "the thirteenth voice was never queued";
    EXPECT_TRUE(queued().empty());
    EXPECT_TRUE(f.shell.messages.empty());
}

TEST_F(KankoQueue, WithCalloutsOffTheQueueDrainsOneVoicePerTickSilently)
{
    auto& run = f.run();
    run.options.Kanko = 1;
    for (std::int32_t voice : {3, 4, 5})
        cabdrive::kanko_queue_add(run, voice);
    for (std::size_t tick = 1; tick <= 3; ++tick) {
        cabdrive::kanko_queue_play(run);
        EXPECT_EQ(loaded().size(), tick);
        EXPECT_EQ(queued().size(), 4 - tick) << "the head leaves at the next look";
    }
    cabdrive::kanko_queue_play(run);
    EXPECT_TRUE(queued().empty());
    EXPECT_EQ(loaded(), (std::vector<std::string>{"data/k3.wav", "data/k4.wav", "data/k5.wav"}));
    EXPECT_EQ(f.sound.starts(channel()), 0);
}

TEST_F(KankoQueue, AVoiceThatFailsToLoadShowsTheMessageAtEveryAttemptAndStaysAtTheHead)
{
    auto& run = f.run();
    f.sound.unreadable.insert("data/k7.wav");
    cabdrive::kanko_queue_add(run, 7);
    cabdrive::kanko_queue_add(run, 8);
    cabdrive::kanko_queue_play(run);
    cabdrive::kanko_queue_play(run);
    EXPECT_EQ(f.shell.messages, (std::vector<std::string>{"喚呼の再生エラー", "喚呼の再生エラー"}));
    EXPECT_EQ(queued(), (std::vector<std::string>{"k7", "k8"}));
    EXPECT_EQ(f.sound.starts(channel()), 0);

    f.sound.unreadable.clear();
    cabdrive::kanko_queue_play(run);
    EXPECT_EQ(loaded().back(), "data/k7.wav");
    EXPECT_EQ(f.sound.starts(channel()), 1);
    EXPECT_EQ(f.shell.messages.size(), 2u);
}

TEST_F(KankoQueue, NumbersNamingNoLoadedVoiceAreDropped)
{
    auto& run = f.run();
    cabdrive::kanko_queue_add(run, -1);
    cabdrive::kanko_queue_add(run, 26);  // only four numbered voices: 22 .. 25
    cabdrive::kanko_queue_add(run, 25);
    cabdrive::kankoQueueAddVoice(run, {CalloutState::Table::Limit, 3});
    EXPECT_EQ(queued(), (std::vector<std::string>{"k25"}));
}

TEST_F(KankoQueue, TimeCalloutIsOnTimeUpTo15SecondsThenBandsWithLateOrEarlyUpTo120Seconds)
{
    auto& run = f.run();
    const auto callout = [&](std::int32_t target, std::int32_t form) {
        clearQueue();
        cabdrive::Timekanko(run, target, form);
        return queued();
    };
    using Voices = std::vector<std::string>;
    EXPECT_EQ(callout(now - 450, 0), Voices{"k17"});
    EXPECT_EQ(callout(now + 450, 1), Voices{"k18"});
    EXPECT_EQ(callout(now - 451, 0), (Voices{"k6", "k13"})) << "15 s and a tick late";
    EXPECT_EQ(callout(now - 451, 1), (Voices{"k6", "k14"}));
    EXPECT_EQ(callout(now + 451, 0), (Voices{"k6", "k15"})) << "15 s and a tick early";
    EXPECT_EQ(callout(now + 451, 1), (Voices{"k6", "k16"}));
    EXPECT_EQ(callout(now - 900, 0), (Voices{"k6", "k13"}));
    EXPECT_EQ(callout(now - 901, 0), (Voices{"k7", "k13"}));
    EXPECT_EQ(callout(now + 3150, 0), (Voices{"k11", "k15"}));
    EXPECT_EQ(callout(now + 3600, 0), (Voices{"k12", "k15"}));
    EXPECT_EQ(callout(now + 3601, 0), Voices{}) << "more than 120 s is not called";
    EXPECT_EQ(callout(now - 3601, 1), Voices{});
}

// Signal row 1 is named by ordinal 1 (voices 23 and 25); it has a moment-0
// voice, a moment-2 voice and a moment-1 target time.
class CalloutKey : public KankoQueue {
protected:
    void SetUp() override
    {
        KankoQueue::SetUp();
        auto& route = *f.route;
        for (int k = 0; k < 3; ++k)
            (void)route.signals.add({});
        route.signals[1].columns[2] = 1;
        const cabdrive::KankoRow rows[] = {{{1, 0, 10}}, {{0, 0, 11}}, {{1, 2, 12}}, {{1, 1, now + 451}}};
        for (const auto& row : rows)
            (void)route.signalKankos.add(row);
        auto& signals = f.state().signals;
        signals.signalAheadRow = 1;
        signals.signalDisplay = 4;
    }
    std::vector<std::string> press()
    {
        clearQueue();
        cabdrive::keydowns(f.run(), cabdrive::Key::Enter, {});
        return queued();
    }
};

TEST_F(CalloutKey, SignalCalloutIsItsNameAspectAndOwnVoices)
{
    using Voices = std::vector<std::string>;
    // Each name voice after the moment-0 voices, then the aspect, then moment 2 and moment 1.
    const Voices full{"k10", "k23", "k10", "k25", "k4", "k12", "k6", "k15"};
    auto& signals = f.state().signals;
    signals.signalDisplay = 3;
    EXPECT_EQ(press(), full);
    signals.signalDisplay = 2;
    EXPECT_EQ(press()[4], "k5");
    signals.signalDisplay = 29;
    EXPECT_EQ(press()[4], "k21");
    signals.signalDisplay = 18;
    EXPECT_EQ(press()[4], "k1");

    signals.signalDisplay = 32;  // a display without an aspect voice
    EXPECT_EQ(press(), (Voices{"k10", "k23", "k10", "k25", "k12", "k6", "k15"}));
    signals.signalDisplay = 35;
    EXPECT_EQ(press(), Voices{});
    signals.signalDisplay = 999;
    EXPECT_EQ(press(), Voices{});

    signals.signalDisplay = 1;
    f.route->signals[1].columns[2] = 7;  // a name no voice carries: no moment-0 voices either
    EXPECT_EQ(press(), (Voices{"k0", "k12", "k6", "k15"}));
}

TEST_F(CalloutKey, APendingLimitIsCalledFirstOnceWhileMovingThenTheSignal)
{
    using Voices = std::vector<std::string>;
    auto& run = f.run();
    auto& s = f.state();
    s.signals.pendingLimitCallout = 2;
    s.dynamics.trainSpeed = 0.4L;  // rounds to 0: the limit waits
    EXPECT_EQ(press().front(), "k10");

    s.dynamics.trainSpeed = 0.5L;
    EXPECT_EQ(press(), Voices{"l2"});
    cabdrive::forgetPassedLimitCallout(run);
    EXPECT_EQ(press().front(), "k10") << "not repeated while the same limit is due";

    s.signals.pendingLimitCallout = 1;
    EXPECT_EQ(press(), Voices{"l1"}) << "another limit is due";

    s.signals.pendingLimitCallout = -1;
    cabdrive::forgetPassedLimitCallout(run);
    s.signals.pendingLimitCallout = 1;
    EXPECT_EQ(press(), Voices{"l1"}) << "the next limit with the same voice";
}

TEST_F(CalloutKey, ASignComesFirstThenALimitThenACrossingWhileMovingThenTheSignal)
{
    using Voices = std::vector<std::string>;
    auto& run = f.run();
    auto& s = f.state();
    for (const char* name : {"o0.wav", "o1.wav"})
        (void)f.route->otherKankos.add(name);
    (void)f.route->crosses.add({{1, 7, 0, 0, 0}});
    s.dynamics.trainSpeed = 40;
    s.signals.pendingLimitCallout = 2;
    s.trackside.pendingSignCallout = 1;
    s.trackside.crossingQueue[0] = 0;
    EXPECT_EQ(press(), Voices{"o1"});
    EXPECT_EQ(press(), Voices{"k7"}) << "the sign is not called again, and the limit waits while it is in view";
    EXPECT_EQ(s.trackside.crossingQueue[0], -1) << "the crossing queue moves on";
    EXPECT_EQ(press().front(), "k10") << "then the signal";
    s.trackside.pendingSignCallout = cabdrive::TracksideState::noCallout;
    cabdrive::forgetPassedSignCallout(run);
    EXPECT_EQ(press(), Voices{"l2"});

    s.signals.pendingLimitCallout = -1;
    s.trackside.crossingQueue[0] = 0;
    s.trackside.crossingIndicator = true;
    EXPECT_EQ(press().front(), "k10") << "a crossing whose indicator is lit is not called";
    s.trackside.crossingIndicator = false;
    s.dynamics.trainSpeed = 0.4L;
    EXPECT_EQ(press().front(), "k10") << "nor while the train stands";

    // The timetable marker speaks the time of the [Time] row in view.
    (void)f.route->times.add({{100, 200, now}});
    s.stations.timeSpoken.assign(1, 0);
    s.video.currentFrame = 150;
    s.trackside.pendingSignCallout = cabdrive::TracksideState::timeMarker;
    EXPECT_EQ(press(), Voices{"k17"});
}

class StationCallouts : public KankoQueue {
protected:
    void SetUp() override
    {
        KankoQueue::SetUp();
        const cabdrive::KankoRow rows[] = {
            {{1, 4, 3}},   {{1, 4, 999}}, {{1, 4, now + 2000}},  // stopped: voices only
            {{1, 0, 5}},   {{2, 0, 6}},                          // doors open, at stations 1 and 2
            {{1, 1, now - 1000}},                                // departure melody: the time
            {{1, 2, 19}},  {{1, 5, 8}},                          // doors closed, doors closing
            {{1, 3, 999}},                                       // first power: the call-out key
        };
        for (const auto& row : rows)
            (void)f.route->stationKankos.add(row);
        f.state().stations.currentStation = 1;
        f.state().signals.signalDisplay = 999;
    }
    std::vector<std::string> at(std::int32_t moment)
    {
        clearQueue();
        cabdrive::stationCallouts(f.run(), moment);
        return queued();
    }
};

TEST_F(StationCallouts, EachMomentActsOnItsRowsOfTheCurrentStation)
{
    using Voices = std::vector<std::string>;
    EXPECT_EQ(at(0), Voices{"k3"});
    EXPECT_EQ(at(1), Voices{"k5"});
    EXPECT_EQ(at(2), (Voices{"k7", "k13"}));
    EXPECT_EQ(at(3), Voices{"k19"});
    EXPECT_EQ(at(5), Voices{"k8"});
    EXPECT_EQ(at(4), Voices{}) << "the call-out key with no signal ahead calls nothing";
    f.state().signals.signalDisplay = 5;
    EXPECT_EQ(at(4), Voices{"k3"}) << "the call-out key calls the signal's aspect";
    f.state().stations.currentStation = 2;
    EXPECT_EQ(at(1), Voices{"k6"});
}

TEST_F(StationCallouts, TheFirstPowerNotchWithTheDoorsClosedQueuesTheDepartureCalloutOnce)
{
    using Voices = std::vector<std::string>;
    auto& run = f.run();
    auto& s = f.state();
    s.signals.signalDisplay = 5;
    s.controls.departureCalloutPending = true;
    s.controls.powerHandle = 1;
    s.doors.doorsOpen = true;
    cabdrive::masconupdate(run);
    EXPECT_EQ(queued(), Voices{}) << "not while the doors are open";

    s.doors.doorsOpen = false;
    s.controls.powerHandle = 0;
    cabdrive::masconupdate(run);
    EXPECT_EQ(queued(), Voices{}) << "not before power is taken";

    s.controls.powerHandle = 1;
    cabdrive::masconupdate(run);
    EXPECT_EQ(queued(), (Voices{"k20", "k3"}));
    EXPECT_FALSE(s.controls.departureCalloutPending);
    cabdrive::masconupdate(run);
    EXPECT_EQ(queued().size(), 2u);
}

}  // namespace
