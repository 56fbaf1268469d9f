// The running sounds of the tick on the recording device: the speed bands,
// the motors, the brakes and air, and the sounds along the line.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/run_start.h"
#include "sound/brake_sounds.h"
#include "sound/drive_sounds.h"
#include "sound/trackside_sounds.h"
#include "support/run_fixture.h"

namespace {

using cabdrive::RunState;
using test::RecordingSoundDevice;

// Thirteen bands on channels 0 .. 12; four route sounds on 13 .. 16.
struct SoundLine {
    SoundLine()
    {
        for (int band = 0; band < 13; ++band)
            (void)f.vehicle.driveSounds.add("run.wav");
        for (int sound = 0; sound < 4; ++sound)
            (void)f.route->soundData.add("env.wav");
    }
    const RecordingSoundDevice::Channel& channel(std::size_t c) { return f.sound.channels[c]; }

    test::RunFixture f;
};

struct RunningSounds : ::testing::Test, SoundLine {
    void bandsAt(long double speed)
    {
        f.state().dynamics.trainSpeed = speed;
        cabdrive::runningSoundBands(f.run());
    }
};

TEST_F(RunningSounds, TheTwoBandsAboutTheSpeedCrossFadeDownToAOnePercentFloor)
{
    bandsAt(10);
    EXPECT_TRUE(f.sound.isLooping(1));
    EXPECT_EQ(channel(1).volume, 0);
    EXPECT_TRUE(f.sound.isLooping(2));
    EXPECT_EQ(channel(2).volume, -4000) << "1 %, not silence";
    bandsAt(14.6);  // rounds to 15
    EXPECT_EQ(channel(1).volume, -602);
    EXPECT_EQ(channel(2).volume, -602);
    bandsAt(27);
    EXPECT_FALSE(f.sound.isPlaying(1)) << "the band below is stopped";
    EXPECT_EQ(channel(2).volume, -1046);  // 30 %
    EXPECT_EQ(channel(3).volume, -310);   // 70 %
    bandsAt(-15);  // backwards as forwards
    EXPECT_FALSE(f.sound.isPlaying(3)) << "two bands above are stopped";
    EXPECT_TRUE(f.sound.isPlaying(1) && f.sound.isPlaying(2));
    bandsAt(125);
    EXPECT_TRUE(f.sound.isLooping(12));
    EXPECT_EQ(channel(12).volume, 0);
}

TEST_F(RunningSounds, BandsTheVehicleDoesNotHaveLeaveTheRouteSoundsAfterItsOwnAlone)
{
    f.vehicle.driveSounds.restart();
    for (int band = 0; band < 3; ++band)
        (void)f.vehicle.driveSounds.add("run.wav");
    bandsAt(35);  // bands 3 and 4 would be route sounds 0 and 1
    EXPECT_EQ(f.sound.starts(3), 0);
    EXPECT_EQ(f.sound.starts(4), 0);
    bandsAt(15);  // and band 3 is no route sound to stop
    EXPECT_EQ(f.sound.log.back(), "loop 2");
}

// One motor row on channel 17, after the bands and the route sounds.
struct MotorLine : SoundLine {
    static constexpr std::size_t motor = 17;

    MotorLine(std::int32_t activity, std::int32_t engineType)
    {
        f.vehicle.engineType = engineType;
        (void)f.vehicle.engineSound1.add({"motor.wav", activity, {0, 40, 90}, {0.5, 1.0, 2.0}, {60, 90, 100}});
        cabdrive::startRun(f.run(), {});
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            cabdrive::motorSounds(f.run());
    }
};

TEST(MotorSounds, PitchAndVolumeFollowTheSpeedAndFadeAwayAfterTheNotchIsTakenOff)
{
    MotorLine line(0, 1);  // while powering, electric
    RunState& s = line.f.state();
    s.dynamics.trainSpeed = 20;
    s.controls.appliedPowerNotch = 1;
    line.ticks(5);  // the master level rises 20 a tick to 100
    EXPECT_TRUE(line.f.sound.isLooping(MotorLine::motor));
    EXPECT_DOUBLE_EQ(line.channel(MotorLine::motor).ratio, 0.75);
    EXPECT_EQ(line.channel(MotorLine::motor).volume, -207);  // 1660 log10(75 %)

    s.controls.appliedPowerNotch = 0;
    line.ticks(1);  // fade 90, master 90
    EXPECT_EQ(line.channel(MotorLine::motor).volume, std::lround(1660 * std::log10(0.75 * 0.9 * 0.9)));
    line.ticks(20);
    EXPECT_EQ(line.channel(MotorLine::motor).volume, -10000) << "faded to 10: silent";
    EXPECT_TRUE(line.f.sound.isLooping(MotorLine::motor)) << "but still running";

    s.controls.appliedPowerNotch = 1;
    s.dynamics.trainSpeed = 95;  // above its speeds: 1 %
    line.ticks(1);
    EXPECT_EQ(line.channel(MotorLine::motor).volume, -10000);
    EXPECT_DOUBLE_EQ(line.channel(MotorLine::motor).ratio, 0.75) << "the pitch it had last";
}

TEST(MotorSounds, ARowWhoseActivityNeverHeldNeverStartsAndADieselRowRampsOutAboveItsLastSpeed)
{
    MotorLine braking(1, 1);
    braking.f.state().controls.appliedPowerNotch = 1;
    braking.ticks(3);
    EXPECT_EQ(braking.f.sound.starts(MotorLine::motor), 0);

    MotorLine diesel(2, 0);  // always, on the engine speed
    diesel.f.state().engine.engineSpeed = 95;  // half way down the 10 units above 90
    diesel.f.state().controls.appliedBrakeNotch = -1;
    diesel.ticks(5);
    EXPECT_DOUBLE_EQ(diesel.channel(MotorLine::motor).ratio, 2.0);
    EXPECT_EQ(diesel.channel(MotorLine::motor).volume, std::lround(1660 * std::log10(0.5)));
}

struct BrakeSounds : ::testing::Test {
    BrakeSounds()
    {
        f.vehicle.brakeType = 1;
        f.vehicle.brakeNotches = 8;
        f.vehicle.maxPress = 440;
        f.vehicle.loseElec = 30;
        for (int k = 1; k <= 8; ++k) {
            (void)f.vehicle.soundBrakeBK.add(100 + k);
            (void)f.vehicle.soundBrakeBR.add(110 + k);
        }
        f.vehicle.soundEb = 120;
        f.vehicle.soundSqueak = 121;
    }
    void handles(std::int32_t handle, std::int32_t applied, long double cylinders)
    {
        f.state().controls.brakeHandle = handle;
        f.state().controls.appliedBrakeNotch = applied;
        f.state().air.bcTrailerCar = cabdrive::fixed4::fromValue(cylinders);
        cabdrive::brakeNotchSounds(f.run());
    }
    test::RunFixture f;
};

TEST_F(BrakeSounds, StepAndReleaseSoundsPlayOncePerMoveOfTheHandle)
{
    handles(-5, -2, 200);  // 5/8 of 440 kPa called, more than 10 kPa short
    handles(-5, -3, 220);
    EXPECT_EQ(f.sound.starts(115), 1);
    handles(-5, -5, 270);  // reached: the latch clears
    handles(-6, -5, 275);
    EXPECT_EQ(f.sound.starts(116), 1);
    handles(-6, -6, 320);
    handles(-7, -6, 320);  // 385 called: within 10 kPa? no, 65 short
    EXPECT_EQ(f.sound.starts(117), 1);

    handles(0, -7, 300);  // released with air in the cylinders: position 7's sound
    handles(0, -4, 200);
    EXPECT_EQ(f.sound.starts(107), 1);
    EXPECT_EQ(f.sound.starts(104), 0);
    handles(-1, -1, 100);
    handles(0, -1, 100);
    EXPECT_EQ(f.sound.starts(101), 0) << "not from the first position";

    f.state().protection.protectionServiceBrake = true;
    handles(-3, 0, 0);
    EXPECT_EQ(f.sound.starts(113), 0) << "not while protection brakes";
}

TEST_F(BrakeSounds, TheEmergencySoundPlaysOncePerApplicationWhileThePipeHoldsAir)
{
    f.state().controls.brakeHandle = -8;
    cabdrive::emergencyBrakeSound(f.run());
    EXPECT_EQ(f.sound.starts(120), 0) << "an empty pipe";
    f.state().air.bpPressure = 300;
    cabdrive::emergencyBrakeSound(f.run());
    f.sound.finish(120);
    cabdrive::emergencyBrakeSound(f.run());
    EXPECT_EQ(f.sound.starts(120), 1);
    f.state().controls.brakeHandle = -7;
    cabdrive::emergencyBrakeSound(f.run());
    f.state().protection.protectionEmergencyBrake = true;
    cabdrive::emergencyBrakeSound(f.run());
    EXPECT_EQ(f.sound.starts(120), 2);
}

TEST_F(BrakeSounds, TheSquealGrowsAsTheTrainSlowsUnderAirAloneAndDiesAwayWhenReleased)
{
    f.state().air.bcTrailerCar = cabdrive::fixed4::fromInt(100);
    f.state().dynamics.trainSpeed = 20;
    cabdrive::brakeSqueal(f.run());
    EXPECT_TRUE(f.sound.isLooping(121));
    EXPECT_EQ(f.sound.channels[121].volume, -1667);  // -250 000 x 20 / (30 x 100)
    f.state().dynamics.trainSpeed = -6;  // running back it squeals as running forward
    cabdrive::brakeSqueal(f.run());
    EXPECT_EQ(f.sound.channels[121].volume, -500);

    f.state().air.electricBrakeCurrent = 120;  // the electric brake takes over: no new volume
    f.state().air.bcTrailerCar = cabdrive::fixed4{};
    int ticks = 0;
    while (f.sound.isPlaying(121) && ticks < 100) {
        cabdrive::brakeSqueal(f.run());
        ++ticks;
    }
    EXPECT_EQ(ticks, 46) << "100 a tick from -500 until below -5000";
}

struct SoundsAlongTheLine : RunningSounds {
    SoundsAlongTheLine()
    {
        f.state().sound.tracksidePlayed.assign(3, 0);
        f.state().sound.switchPlayed.assign(1, 0);
    }
    // route sound `number` as a [Sound] row
    void addSound(std::int32_t number, std::int32_t start, std::int32_t end, std::int32_t looped, std::int32_t trigger)
    {
        cabdrive::SoundRow row;
        row.columns = {number, start, end, 50, looped, 1, 1, trigger};
        (void)f.route->sounds.add(row);
    }
    void at(std::int32_t frame, long double speed)
    {
        f.state().video.currentFrame = frame;
        f.state().dynamics.trainSpeed = speed;
        cabdrive::tracksideSounds(f.run());
        cabdrive::switchSounds(f.run());
    }
};

TEST_F(SoundsAlongTheLine, ASoundStartsOnceWithin14FramesOfItsStartNotAt15)
{
    addSound(0, 1000, 1500, 0, 0);
    f.state().sound.environmentVolumeFactor = 0.5;
    at(985, 40);
    EXPECT_EQ(f.sound.starts(13), 0);
    at(986, 40);
    EXPECT_TRUE(f.sound.isPlaying(13));
    EXPECT_FALSE(f.sound.isLooping(13));
    EXPECT_DOUBLE_EQ(channel(13).ratio, 0.8);  // 40 of its 50 km/h
    EXPECT_EQ(channel(13).volume, std::lround(5000 * std::log10(40 * 0.5 / 50)));
    f.sound.finish(13);
    at(990, 40);
    EXPECT_EQ(f.sound.starts(13), 1);
}

TEST_F(SoundsAlongTheLine, ALoopedSoundFollowsTheSpeedInsideItsRangeAndStopsAtItsEnd)
{
    addSound(1, 1000, 1500, 1, 0);
    at(995, 60);
    EXPECT_TRUE(f.sound.isLooping(14));
    EXPECT_EQ(channel(14).volume, 0) << "faster than its speed: full, never above";
    at(1200, 0.5);
    EXPECT_EQ(channel(14).volume, -10000) << "below walking pace";
    at(1490, 25);
    EXPECT_DOUBLE_EQ(channel(14).ratio, 0.5);
    at(1491, 25);
    EXPECT_FALSE(f.sound.isPlaying(14));
}

TEST_F(SoundsAlongTheLine, ATriggeredSoundPlaysOnceInsideItsRangeWhenTheTrainIsNoFasterThanItsSpeed)
{
    addSound(2, 1000, 1500, 0, 1);
    at(1001, 70);
    EXPECT_EQ(f.sound.starts(15), 0);
    at(1100, 50.4);
    EXPECT_EQ(f.sound.starts(15), 1);
    f.sound.finish(15);
    at(1200, 20);
    EXPECT_EQ(f.sound.starts(15), 1);
}

TEST_F(SoundsAlongTheLine, PointsSoundTheFirstRowOfTheirSwitchForASpeedAboveTheTrainsOnce)
{
    (void)f.route->switches.add({{3000, 1}});
    for (const cabdrive::SwitchSoundRow row : {cabdrive::SwitchSoundRow{40, 2, 90}, {40, 1, 91}, {999, 1, 92}})
        (void)f.vehicle.switchSounds.add(row);
    at(2990, 60);
    EXPECT_EQ(f.sound.starts(91), 0);
    EXPECT_EQ(f.sound.starts(92), 1);
    f.sound.finish(92);
    at(2995, 30);
    EXPECT_EQ(f.sound.starts(91) + f.sound.starts(92), 1);
}

TEST_F(SoundsAlongTheLine, AnnouncementsPlayOnceInTheirWindowsAndTheHeaderOncePerDoorClosingAwayFromStations)
{
    cabdrive::Station station;
    station.stopDistance = 100000;
    station.zoneStart = 99800;
    station.zoneEnd = 100200;
    (void)f.route->stations.add(station);
    // the header (route sound 0), 300 m after the stop (1), 50 m before it (2)
    for (const cabdrive::AnnounceRow row : {cabdrive::AnnounceRow{{0, 0, 0, 0}}, {{1, 0, 0, 300}}, {{2, 1, 0, 50}}})
        (void)f.route->announces.add(row);
    f.state().sound.announcePlayed.assign(3, 0);
    cabdrive::DynamicsState& d = f.state().dynamics;
    const auto announce = [&](long double position, long double toStop, long double speed) {
        d.trainPosition = position;
        d.distanceToStop = toStop;
        d.trainSpeed = speed;
        cabdrive::routeAnnouncements(f.run());
    };
    announce(130000, 50000, 60);
    EXPECT_EQ(f.sound.starts(14), 0) << "the window starts after 300 m";
    announce(130100, 50000, 60);
    announce(130200, 50000, 60);
    EXPECT_EQ(f.sound.starts(14), 1);
    announce(95100, 4900, 40);
    EXPECT_EQ(f.sound.starts(15), 1);

    announce(100150, -150, 0);
    EXPECT_EQ(f.sound.starts(13), 0) << "stopped past the mark but at the station";
    announce(102000, -2000, 0);
    f.sound.finish(13);
    announce(102000, -2000, 0);
    EXPECT_EQ(f.sound.starts(13), 1);
    f.state().doors.doorClosings = 1;
    announce(102000, -2000, 0);
    EXPECT_EQ(f.sound.starts(13), 2);
}

TEST_F(SoundsAlongTheLine, DopplerSourcesPlayAtTheirOwnPitchAtAStandstillAndShiftWithTheSpeed)
{
    cabdrive::DopplerRow row;
    row.columns = {3, 0, 10000, 0, 0};
    row.distance = 50000;
    (void)f.route->dopplers.add(row);
    const auto source = [&](long double position, long double speed) {
        f.state().dynamics.trainPosition = position;
        f.state().dynamics.trainSpeed = speed;
        cabdrive::dopplerSources(f.run());
        return channel(16);
    };
    EXPECT_EQ(source(39000, 0).ratio, 1.0) << "out of range: untouched";
    EXPECT_FALSE(f.sound.isPlaying(16));
    EXPECT_DOUBLE_EQ(source(45000, 0).ratio, 1.0);
    EXPECT_TRUE(f.sound.isLooping(16));
    EXPECT_EQ(channel(16).volume, -602) << "half its range away";
    EXPECT_GT(source(49000, 60).ratio, 1.04) << "towards it";
    EXPECT_LT(source(51000, 60).ratio, 0.96) << "away from it";
    source(61000, 60);
    EXPECT_FALSE(f.sound.isPlaying(16)) << "none in range: stopped";
}

}  // namespace
