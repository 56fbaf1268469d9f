// The doors: the conductor's and the driver's, their sounds, their closing
// and the door side keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "input/driver_keys.h"
#include "sim/doors.h"
#include "station_line.h"

namespace {

using test::StationLine;

TEST(StationDoors, UnderAConductorTheDoorsOpenOnlyBelowPointOneKmh)
{
    StationLine line(0);
    line.start();
    line.closeDoors();
    line.standAt(100000, 0.1L);
    line.tick();
    EXPECT_FALSE(line.doors().doorsOpen);
    EXPECT_FALSE(line.state().stations.arrivalRegistered[2]);
    EXPECT_FALSE(line.playing(StationLine::arrival));
    EXPECT_EQ(line.state().stations.nextStationText, "ただいま 南町");
    cabdrive::AsciiDown(line.f.run(), 'd');
    EXPECT_FALSE(line.doors().doorsOpen) << "the door key is the one-person driver's";

    line.standAt(100000, 0.09L);
    line.tick();
    EXPECT_TRUE(line.doors().doorsOpen && line.doors().doorOpenCommand);
    EXPECT_EQ(line.state().presentation.easyPanelText, "ドアが開いています");
    EXPECT_EQ(line.f.sound.starts(StationLine::doorOpen), 1);
    EXPECT_TRUE(line.playing(StationLine::arrival));
    EXPECT_TRUE(line.state().stations.arrivalRegistered[2]);
    EXPECT_TRUE(line.state().controls.departureCalloutPending);
    line.tick();
    EXPECT_FALSE(line.visible("img_Lamp_Door"));
    EXPECT_TRUE(line.visible("img_other2")) << "column 11 = 1 lights the second door-side indicator";
    EXPECT_FALSE(line.visible("img_other1"));
}

TEST(StationDoors, InOnePersonOperationNothingOpensUntilTheDoorKey)
{
    StationLine line(1);
    line.start();
    line.closeDoors();
    line.standAt(100000);
    for (int i = 0; i < 20; ++i)
        line.tick();
    EXPECT_FALSE(line.doors().doorsOpen);
    EXPECT_FALSE(line.state().stations.arrivalRegistered[2]);
    EXPECT_TRUE(line.state().stations.onePersonCalloutDone[2]);

    line.standAt(100000, 0.2L);
    cabdrive::AsciiDown(line.f.run(), 'd');
    EXPECT_FALSE(line.doors().doorsOpen) << "not while moving";
    line.standAt(100000);
    cabdrive::AsciiDown(line.f.run(), '7');
    EXPECT_TRUE(line.doors().doorsOpen);
    line.tick();
    EXPECT_TRUE(line.state().stations.arrivalRegistered[2]);
    EXPECT_TRUE(line.playing(StationLine::arrival));
    EXPECT_EQ(line.state().stations.nextStopStation, 3);
    EXPECT_EQ(line.state().stations.nextStopName, "西町");
    EXPECT_EQ(line.state().dynamics.nextStopPosition, 200000);

    line.f.sound.finish(line.channel(StationLine::arrival));
    line.tick();
    EXPECT_EQ(line.state().stations.carsText, "ドア扱い") << "the one-person notice once the arrival sound has ended";
    cabdrive::AsciiDown(line.f.run(), 'd');
    EXPECT_EQ(line.state().stations.carsText, "");
    EXPECT_EQ(line.state().presentation.easyPanelText, "ドアを閉めています");
}

TEST(StationDoors, OnePersonDoorSoundsPlayOnlyWhenTheDrawIsWithinColumn15)
{
    StationLine line(1);
    line.f.route->stations[2].doorSoundChance = 0;
    line.start();
    line.closeDoors();
    line.standAt(100000);
    line.tick();
    EXPECT_EQ(line.doors().doorSoundChance, 0);
    EXPECT_GE(line.doors().doorSoundDraw, 0);
    EXPECT_LE(line.doors().doorSoundDraw, 99);

    line.doors().doorSoundDraw = 1;
    cabdrive::Door_operate(line.f.run());
    cabdrive::Door_operate(line.f.run());
    EXPECT_EQ(line.f.sound.starts(StationLine::doorOpen), 0);
    EXPECT_EQ(line.f.sound.starts(StationLine::doorClose), 0);
    cabdrive::completeDoorClosing(line.f.run());
    EXPECT_FALSE(line.doors().doorsOpen) << "silent doors shut at once";

    line.doors().doorSoundDraw = 0;
    cabdrive::Door_operate(line.f.run());
    cabdrive::Door_operate(line.f.run());
    EXPECT_EQ(line.f.sound.starts(StationLine::doorOpen), 1);
    EXPECT_EQ(line.f.sound.starts(StationLine::doorClose), 1);
    line.f.sound.finish(StationLine::doorOpen);
    cabdrive::completeDoorClosing(line.f.run());
    EXPECT_TRUE(line.doors().doorsOpen) << "still closing while the closing sound plays";
}

TEST(StationDoors, ClosingCompletesWhenTheDoorSoundsHaveEnded)
{
    StationLine line(0);
    line.start();  // doors open at the first station
    line.tick();
    EXPECT_FALSE(line.visible("img_Lamp_Door"));
    EXPECT_TRUE(line.visible("img_other1"));

    line.standAt(1000, 5);
    cabdrive::doorSafety(line.f.run());
    EXPECT_TRUE(line.doors().doorOpenCommand) << "not at 5 km/h";
    line.standAt(1000, -5.01L);
    cabdrive::doorSafety(line.f.run());
    EXPECT_FALSE(line.doors().doorOpenCommand);
    EXPECT_TRUE(line.f.sound.isPlaying(StationLine::doorClose));
    cabdrive::completeDoorClosing(line.f.run());
    EXPECT_TRUE(line.doors().doorsOpen);
    EXPECT_FALSE(line.visible("img_other1"));

    line.f.sound.finish(StationLine::doorClose);
    cabdrive::completeDoorClosing(line.f.run());
    EXPECT_FALSE(line.doors().doorsOpen);
    EXPECT_TRUE(line.visible("img_Lamp_Door"));
    EXPECT_EQ(line.state().presentation.easyPanelText, "");
    EXPECT_EQ(line.f.sound.starts(StationLine::departSignal), 1);
    EXPECT_EQ(line.doors().doorClosings, 1);
    ASSERT_EQ(line.state().callouts.queued, 1u);
    EXPECT_EQ(line.state().callouts.queue[0].index, 19) << "the doors-closed call-out";
    cabdrive::completeDoorClosing(line.f.run());
    EXPECT_EQ(line.doors().doorClosings, 1) << "closed once";
}

// Sound number 0 is no sound: a vehicle without door sounds must not send
// its door commands to channel 0, the lowest running-sound band.
TEST(StationDoors, AVehicleWithoutDoorSoundsLeavesChannel0Alone)
{
    StationLine line(0);
    line.f.vehicle.soundDoorOpen = line.f.vehicle.soundDoorClose = 0;
    line.start();
    line.closeDoors();
    line.f.sound.play(0, true);
    line.standAt(100000);
    line.tick();
    ASSERT_TRUE(line.doors().doorsOpen);
    cabdrive::Door_operate(line.f.run());
    cabdrive::completeDoorClosing(line.f.run());
    EXPECT_FALSE(line.doors().doorsOpen) << "silent doors shut at once";
    EXPECT_TRUE(line.f.sound.isLooping(0));
    EXPECT_EQ(std::count(line.f.sound.log.begin(), line.f.sound.log.end(), "play 0"), 0);
}

TEST(StationDoors, PageUpAndPageDownChooseTheDoorSideOnlyWithTheDoorsClosed)
{
    StationLine line(1);
    line.start();  // doors open
    cabdrive::keydowns(line.f.run(), cabdrive::Key::PageDown, {});
    EXPECT_EQ(line.state().input.doorSide, 0);
    line.closeDoors();
    cabdrive::keydowns(line.f.run(), cabdrive::Key::PageDown, {});
    EXPECT_EQ(line.state().input.doorSide, 1);
    EXPECT_EQ(line.state().stations.doorSideText, "右");
    EXPECT_TRUE(line.visible("img_other2"));
    cabdrive::keydowns(line.f.run(), cabdrive::Key::PageUp, {});
    EXPECT_EQ(line.state().input.doorSide, 0);
    EXPECT_EQ(line.state().stations.doorSideText, "左");
    EXPECT_FALSE(line.visible("img_other2"));
}

}  // namespace
