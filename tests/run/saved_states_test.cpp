// Saving driving states into the three slots and restoring them.
#include <gtest/gtest.h>

#include "run/saved_states.h"
#include "sim/station_line.h"

namespace {

using test::StationLine;

struct SavedLine : StationLine {
    SavedLine()
    {
        f.route->routeFileName = "line_down.dat";
        f.route->lineName = "若葉線 下り";
        f.route->lineName2 = "若葉線";
        f.vehicle.maxSpeed = 120;
        (void)f.route->speedUnits.add({0, 1000, 60, 60, 120000});
        (void)f.route->movieStops.add(900);
        (void)f.route->sounds.add({});
        (void)f.route->switches.add({});
        // Crossings: picture, voice, enter frame, leave frame, station.
        (void)f.route->crosses.add({{1, 0, 400, 500, 0}});
        (void)f.route->crosses.add({{2, 0, 200, 300, 0}});
        f.video.add("line.avi", 1000);
        start();
        f.state().video.highestFrame = 1000;
    }

    // Somewhere between 中町 and 南町, running.
    void runBetweenStations(long double speed = 45.5L)
    {
        cabdrive::RunState& s = f.state();
        standAt(60000.5L, speed);
        s.stations.currentStation = 1;
        s.video.currentFrame = 250;
        s.time.clockTicks = 1090000;
        s.dynamics.precedingFrame = 380;
    }

    bool save(int slot) { return cabdrive::saveDrivingState(f.run(), slot); }
    bool restore(int slot) { return cabdrive::restoreDrivingState(f.run(), slot); }
    std::optional<std::string> stored(const char* name) { return f.store.readString("kestra", name); }
    const std::string& lastMessage() const { return f.shell.messages.back(); }
};

TEST(SavedStates, ASaveStoresTheSevenFieldsInWholeUnitsWithTheCaptionAndOverwritesTheSlot)
{
    SavedLine line;
    for (int slot = 1; slot <= 3; ++slot)
        EXPECT_EQ(cabdrive::savedStateTitle(line.f.store, slot), "") << "no data before any save";

    line.runBetweenStations();
    ASSERT_TRUE(line.save(2));
    EXPECT_EQ(line.lastMessage(), "運転状態を保存しました");
    EXPECT_EQ(line.stored("Save2"), "line_down.dat,1,46,250,1090000,60001,380") << "km/h and cm rounded half away";
    EXPECT_EQ(cabdrive::savedStateTitle(line.f.store, 2), "若葉線（中町～南町）");

    line.standAt(200100);  // beyond the last stop
    line.state().stations.currentStation = 3;
    ASSERT_TRUE(line.save(2));
    EXPECT_EQ(line.stored("Save2"), "line_down.dat,3,0,250,1090000,200100,380");
    EXPECT_EQ(cabdrive::savedStateTitle(line.f.store, 2), "若葉線（西町～）");
    EXPECT_EQ(line.stored("Save1"), std::nullopt);

    // Short of the first stop no station has been passed; the caption still
    // names the line, so the slot does not read as empty in the menu.
    line.standAt(500);
    EXPECT_EQ(cabdrive::drivingStateCaption(line.f.run()), "若葉線（～北町）");
    EXPECT_FALSE(line.save(0));
    EXPECT_FALSE(line.save(4));
}

TEST(SavedStates, ARestorePutsTheRunBackAsSavedAndClearsWhatHappenedSince)
{
    SavedLine line;
    line.runBetweenStations();
    ASSERT_TRUE(line.save(1));

    // Driven on: into a station clip at 南町, doors open, flags set, sounds playing.
    cabdrive::RunState& s = line.state();
    line.standAt(100000);
    s.video.currentFrame = 300;
    s.video.videoMode = 1;
    s.video.movieSwitchDone.assign(2, 1);
    s.stations.arrivalRegistered[2] = s.stations.melodyStarted[2] = s.stations.departed[0] = 1;
    s.sound.tracksidePlayed.assign(1, 1);
    s.sound.switchPlayed.assign(1, 1);
    s.doors.doorsOpen = s.doors.doorOpenCommand = true;
    s.controls.departureCalloutPending = true;
    s.protection.atsCheckSpeed = 45;
    s.dynamics.effectiveGradient = cabdrive::fixed4::fromInt(12);
    s.trackside.crossingQueue[0] = 0;  // the crossing beyond the saved frame
    line.f.sound.play(0, true);
    line.f.sound.play(line.channel(StationLine::melody), false);
    const std::size_t opened = line.f.video.opened.size();

    ASSERT_TRUE(line.restore(1));
    EXPECT_EQ(s.dynamics.trainSpeed, 46);
    EXPECT_EQ(s.dynamics.trainPosition, 60001);
    EXPECT_EQ(s.video.currentFrame, 250);
    EXPECT_EQ(s.time.clockTicks, 1090000);
    EXPECT_EQ(s.dynamics.precedingFrame, 380);
    EXPECT_EQ(s.stations.currentStation, 1);
    EXPECT_EQ(s.controls.brakeHandle, 0) << "saved while moving: brakes released";
    EXPECT_EQ(s.controls.appliedBrakeNotch, 0);
    EXPECT_EQ(s.controls.powerHandle, 0);
    EXPECT_EQ(s.video.videoMode, 0);
    EXPECT_EQ(line.f.video.opened.size(), opened + 1) << "the main video is back";
    EXPECT_EQ(s.video.movieSwitchDone, std::vector<std::uint8_t>(2, 0));
    EXPECT_FALSE(s.stations.arrivalRegistered[2] || s.stations.melodyStarted[2] || s.stations.departed[0]);
    EXPECT_EQ(s.sound.tracksidePlayed, std::vector<std::uint8_t>{0});
    EXPECT_EQ(s.sound.switchPlayed, std::vector<std::uint8_t>{0});
    EXPECT_FALSE(s.doors.doorsOpen || s.doors.doorOpenCommand);
    EXPECT_FALSE(s.controls.departureCalloutPending);
    EXPECT_TRUE(line.f.sound.isPlaying(0)) << "channel 0 keeps playing";
    EXPECT_FALSE(line.playing(StationLine::melody));
    EXPECT_EQ(s.protection.atsCheckSpeed, 999);
    EXPECT_EQ(s.signals.signalDisplay, 999) << "no signal in view";
    EXPECT_EQ(s.dynamics.effectiveGradient.raw, 0);
    EXPECT_EQ(s.dynamics.gradientSamplePosition, 60001);
    EXPECT_EQ(s.stations.nextStopStation, 2) << "中町 is passed, 南町 is the next stop";
    EXPECT_EQ(s.dynamics.distanceToStop, 100000 - 60001);
    EXPECT_EQ(s.stations.announceIndex, 3) << "one station with doors before 中町";
    EXPECT_EQ(s.video.filmingSpeed, 60);
    EXPECT_EQ(s.video.reversed, 0);
    EXPECT_EQ(s.trackside.crossingQueue[0], 1) << "only the crossing whose range holds frame 250 is ahead";
    EXPECT_EQ(s.trackside.crossingQueue[1], -1);

    // Saved at a stand: the last service notch.
    line.standAt(100000);
    s.video.currentFrame = 950;  // beyond the switch-back at 900
    ASSERT_TRUE(line.save(3));
    line.runBetweenStations();
    ASSERT_TRUE(line.restore(3));
    EXPECT_EQ(s.dynamics.trainSpeed, 0);
    EXPECT_EQ(s.controls.brakeHandle, -7);
    EXPECT_EQ(s.controls.appliedBrakeNotch, -7);
    EXPECT_EQ(s.video.reversed, 1) << "a frame beyond the switch-back was reached after changing ends";
}

TEST(SavedStates, AnEmptySlotTheOtherDirectionAndDamagedRecordsAreRefusedAndChangeNothing)
{
    SavedLine line;
    line.runBetweenStations();
    const auto unchanged = [&line] {
        const cabdrive::RunState& s = line.state();
        return s.dynamics.trainPosition == 60000.5L && s.video.currentFrame == 250 && s.time.clockTicks == 1090000
               && s.dynamics.trainSpeed == 45.5L;
    };

    EXPECT_FALSE(line.restore(1));
    EXPECT_EQ(line.lastMessage(), "運転状態が保存されていません");
    (void)line.f.store.writeString("kestra", "Save1", "");
    EXPECT_FALSE(line.restore(1));
    EXPECT_EQ(line.lastMessage(), "運転状態が保存されていません");

    (void)line.f.store.writeString("kestra", "Save1", "line_up.dat,1,0,250,1090000,60001,0");
    EXPECT_FALSE(line.restore(1));
    EXPECT_EQ(line.lastMessage(), "運転状態を保存したダイヤではありません");

    const std::pair<const char*, const char*> damaged[] = {
        {"line_down.dat,1,0,250,1090000", "項目の数が7つではありません"},
        {"line_down.dat,1,0,250,1090000,60001,0,9", "項目の数が7つではありません"},
        {"line_down.dat,1,0,250,10:00:00,60001,0", "数値でない項目があります"},
        {"line_down.dat,1,0,250,1090000,,0", "数値でない項目があります"},
        {"line_down.dat,1,0,250,1090000,99999999999,0", "数値でない項目があります"},
        {"line_down.dat,4,0,250,1090000,60001,0", "駅の番号 4 はこの路線にありません"},
        {"line_down.dat,-1,0,250,1090000,60001,0", "駅の番号 -1 はこの路線にありません"},
        {"line_down.dat,1,0,1001,1090000,60001,0", "フレーム 1001 は映像の範囲外です"},
        {"line_down.dat,1,0,-5,1090000,60001,0", "フレーム -5 は映像の範囲外です"},
        {"line_down.dat,1,0,250,1090000,-1,0", "位置が負の値です"},
        {"line_down.dat,1,-1000,250,1090000,60001,0", "速度 -1000 km/h は範囲外です"},
        {"line_down.dat,1,241,250,1090000,60001,0", "速度 241 km/h は範囲外です"},
        {"line_down.dat,1,0,250,1090000,130001,0", "位置 130001 cm は路線の範囲外です"},
        {"line_down.dat,1,0,250,2147483000,60001,0", "時刻 2147483000 は範囲外です"},
        {"line_down.dat,1,0,250,-5184001,60001,0", "時刻 -5184001 は範囲外です"},
        {"line_down.dat,1,0,250,1090000,60001,-3", "先行列車のフレームが負の値です"},
    };
    for (const auto& [record, fault] : damaged) {
        (void)line.f.store.writeString("kestra", "Save1", record);
        EXPECT_FALSE(line.restore(1)) << record;
        EXPECT_EQ(line.lastMessage(), std::string("保存された運転状態が壊れているため復元できません（Save1: ") + fault + "）");
        EXPECT_TRUE(unchanged()) << record;
    }
    (void)line.f.store.writeString("kestra", "Save1", "line_down.dat,1,0,1000,1090000,60001,0");
    EXPECT_TRUE(line.restore(1)) << "the last frame of the video is on the line";
}

}  // namespace
