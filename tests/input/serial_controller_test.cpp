// Tests of the serial master controller's lines against the controller map.
#include "input/serial_controller.h"

#include <gtest/gtest.h>

#include "input/input_fixture.h"

using namespace cabdrive;

namespace {

// The map of the demo line: P1..P6, N, B1..B8 and EB, F/C/R, ACK, HORN, DOOR, ANN.
struct SerialFixture : test::StartedInputFixture {
    SerialFixture()
    {
        std::size_t slot = 1;
        for (const char* code : {"P1###", "P2###", "P3###", "P4###", "P5###", "P6###", "N####", "B1###", "B2###",
                                 "B3###", "B4###", "B5###", "B6###", "B7###", "B8###", "EB###", "F####", "C####",
                                 "R####", "ACK##", "HORN#", "DOOR#", "ANN##"})
            mascon.masconCodes[slot++] = code;
    }
    void line(std::string_view text) { RxChar(run(), std::string(text) + "\r"); }
    std::int32_t power() { return controls().powerHandle; }
    std::int32_t brake() { return controls().brakeHandle; }
};

}  // namespace

TEST(SerialController, AChunkWaitsForItsCarriageReturnAndOneChunkIsOneMessage)
{
    SerialFixture f;
    RxChar(f.run(), "P3");
    RxChar(f.run(), "#");
    EXPECT_EQ(f.power(), 0);
    EXPECT_EQ(f.state().controller.serialBuffer, "P3#");
    // Two messages in one chunk: only the first five characters count.
    RxChar(f.run(), "##\rB2###\r");
    EXPECT_EQ(f.power(), 3);
    EXPECT_EQ(f.brake(), 0);
    EXPECT_EQ(f.controls().powerText, "P3");
    EXPECT_TRUE(f.controls().powerChangePending);
    EXPECT_TRUE(f.state().controller.serialBuffer.empty());
    EXPECT_EQ(f.state().controller.lastSerialMessage, "P3###\rB2###\r") << "for the value display's caption";
    f.line("B2###");
    EXPECT_EQ(f.power(), 0);
    EXPECT_EQ(f.brake(), -2);
    EXPECT_EQ(f.controls().brakeText, "B2");
    f.line("N####");
    EXPECT_EQ(f.brake(), 0);
    f.line("P1");  // shorter than a code: matches nothing
    EXPECT_EQ(f.power(), 0);
}

TEST(SerialController, PositionsBeyondTheTrainsNotchesGiveItsLastNotchAndEmergency)
{
    SerialFixture f;  // P5 and B7 + emergency
    f.line("EB###");  // brake position 9
    EXPECT_EQ(f.brake(), -8);
    EXPECT_EQ(f.controls().brakeText, "非常");
    f.line("B8###");
    EXPECT_EQ(f.brake(), -8);
    f.line("P6###");
    EXPECT_EQ(f.power(), 5);
    EXPECT_EQ(f.brake(), 0);

    SerialFixture modes;  // mode 0 runs notches 1 .. 4, mode 1 notches 5 .. 7
    modes.addSecondPowerMode();
    modes.line("P6###");
    EXPECT_EQ(modes.power(), 4);
    modes.controls().powerMode = 1;
    modes.line("P2###");
    EXPECT_EQ(modes.power(), 6);
    modes.line("P5###");
    EXPECT_EQ(modes.power(), 7);
}

TEST(SerialController, ALeverPositionLeavesTheHoldingBrake)
{
    SerialFixture f;
    f.vehicle.holdNotch = 1;
    f.controls().holdingBrakeOn = true;
    f.line("B3###");
    EXPECT_FALSE(f.controls().holdingBrakeOn);
    EXPECT_EQ(f.controls().brakeText, "B3");
}

TEST(SerialController, ALeverMovedOntoABrakePositionSoundsItsNotchOnce)
{
    SerialFixture f;
    for (int k = 1; k <= 8; ++k)
        (void)f.vehicle.soundBrakeBA.add(80 + k);
    f.line("B3###");
    EXPECT_EQ(f.sound.starts(83), 1);
    f.line("B3###");
    EXPECT_EQ(f.sound.channels[83].rewinds, 1) << "a lever that stays where it is sounds nothing";
}

TEST(SerialController, ReverserAndButtonSlots)
{
    SerialFixture f;
    f.state().dynamics.trainSpeed = 1.5L;
    f.line("R####");
    EXPECT_EQ(f.controls().reverser, 1);
    f.state().dynamics.trainSpeed = -1;
    f.line("R####");
    EXPECT_EQ(f.controls().reverser, -1);
    f.line("C####");
    EXPECT_EQ(f.controls().reverser, 0);
    f.line("HORN#");  // types "3"
    EXPECT_EQ(f.sound.channels[41].rewinds, 1);
}

TEST(SerialController, EveryMessageAnswersTheVigilanceDeviceEvenOneMatchingNothing)
{
    SerialFixture f;
    f.warnVigilance();
    f.line("?????");
    EXPECT_TRUE(f.vigilanceAnswered());
    EXPECT_EQ(f.power(), 0);
}

TEST(SerialController, GarbageNeverGrowsTheBufferAndTheLineRecovers)
{
    SerialFixture f;
    const std::string binary("\0\xff\x80\n\x1b[2J", 9);
    RxChar(f.run(), binary);
    const std::string megabyte(1 << 20, 'x');
    RxChar(f.run(), megabyte);
    RxChar(f.run(), megabyte);
    EXPECT_EQ(f.state().controller.serialBuffer.size(), serialBufferLimit);
    RxChar(f.run(), "\r");
    EXPECT_TRUE(f.state().controller.serialBuffer.empty());
    EXPECT_EQ(f.power(), 0);

    // A code followed by a megabyte still acts on its first five characters.
    RxChar(f.run(), "P2###");
    RxChar(f.run(), megabyte + "\r");
    EXPECT_EQ(f.power(), 2);

    // An empty map matches nothing, not even an empty message.
    SerialFixture empty;
    empty.mascon = {};
    serialMessage(empty.run(), "");
    empty.line("P1###");
    EXPECT_EQ(empty.power(), 0);
    EXPECT_EQ(empty.brake(), 0);
}
