// The display options and controller codes read from the per-user store.
#include <gtest/gtest.h>

#include "data/controller_codes.h"
#include "data/display_options.h"
#include "data/serial_port_settings.h"
#include "ports/memory_key_value_store.h"

namespace cabdrive {
namespace {

void expectDefaults(const DisplayOptions& o)
{
    EXPECT_EQ(o.Kanko, 0);
    EXPECT_EQ(o.Information, 1);
    EXPECT_EQ(o.ATS, 0);
    EXPECT_EQ(o.Tunnel, 0);
    EXPECT_EQ(o.Moji, 0);
}

TEST(DisplayOptions, FirstStartGivesInformationOneAndTheRestZero)
{
    MemoryKeyValueStore store;
    expectDefaults(readDisplayOptions(store));
}

TEST(DisplayOptions, AreAllOrNothing)
{
    MemoryKeyValueStore store;
    for (const char* name : {"Kanko", "Information", "ATS", "Tunnel"})
        store.writeInt(optionsKeyPath, name, 1);
    store.writeString(optionsKeyPath, "Moji", "yes");  // not an integer
    expectDefaults(readDisplayOptions(store));

    store.writeInt(optionsKeyPath, "Moji", 1);
    const DisplayOptions all = readDisplayOptions(store);
    EXPECT_EQ(all.Kanko, 1);
    EXPECT_EQ(all.Information, 1);
    EXPECT_EQ(all.ATS, 1);
    EXPECT_EQ(all.Tunnel, 1);
    EXPECT_EQ(all.Moji, 1);
}

TEST(DisplayOptions, WrittenOptionsReadBack)
{
    MemoryKeyValueStore store;
    writeDisplayOptions(store, DisplayOptions{1, 0, 1, 1, 1});
    const DisplayOptions o = readDisplayOptions(store);
    EXPECT_EQ(o.Kanko, 1);
    EXPECT_EQ(o.Information, 0);
    EXPECT_EQ(o.ATS, 1);
    EXPECT_EQ(o.Tunnel, 1);
    EXPECT_EQ(o.Moji, 1);
    EXPECT_EQ(store.readInt(controllerKeyPath, "Kanko"), std::nullopt);  // another key path
}

TEST(ControllerCodes, StopAtTheFirstMissingValueKeepingThoseBefore)
{
    MemoryKeyValueStore store;
    store.writeInt(controllerKeyPath, "P0", 10);
    store.writeInt(controllerKeyPath, "P1", 11);
    store.writeInt(controllerKeyPath, "P2", 12);
    store.writeInt(controllerKeyPath, "P4", 14);  // after the gap at P3: not read
    store.writeInt(controllerKeyPath, "EB", 99);
    const ControllerCodes codes = readControllerCodes(store);
    EXPECT_EQ(codes.power(0), 10);
    EXPECT_EQ(codes.power(2), 12);
    EXPECT_EQ(codes.power(3), 0);
    EXPECT_EQ(codes.power(4), 0);
    EXPECT_EQ(codes.emergency(), 0);
}

TEST(ControllerCodes, ReadAllSixteenInTheirOrder)
{
    MemoryKeyValueStore store;
    for (std::size_t i = 0; i < ControllerCodes::names.size(); ++i)
        store.writeInt(controllerKeyPath, ControllerCodes::names[i], static_cast<std::int32_t>(100 + i));
    const ControllerCodes codes = readControllerCodes(store);
    EXPECT_EQ(codes.power(5), 105);
    EXPECT_EQ(codes.brake(0), 106);
    EXPECT_EQ(codes.brake(8), 114);
    EXPECT_EQ(codes.emergency(), 115);
}

}  // namespace
}  // namespace cabdrive

namespace cabdrive {
namespace {

TEST(SerialPortSettings, StoredSettingsReadBackAndBadValuesKeepTheirDefaults)
{
    MemoryKeyValueStore store;
    const SerialPortSettings defaults = readSerialPortSettings(store);
    EXPECT_EQ(defaults.portName, "/dev/ttyUSB0");
    EXPECT_EQ(defaults.baudRate, 9600);

    SerialPortSettings chosen{"/dev/pts/7", 19200, 7, SerialParity::Even, SerialStopBits::Two, true, false};
    EXPECT_TRUE(writeSerialPortSettings(store, chosen));
    const SerialPortSettings read = readSerialPortSettings(store);
    EXPECT_EQ(read.portName, "/dev/pts/7");
    EXPECT_EQ(read.baudRate, 19200);
    EXPECT_EQ(read.dataBits, 7);
    EXPECT_EQ(read.parity, SerialParity::Even);
    EXPECT_EQ(read.stopBits, SerialStopBits::Two);
    EXPECT_TRUE(read.dtr);
    EXPECT_FALSE(read.rts);

    // Edited by hand: out of range, or not a number.
    store.writeInt(optionsKeyPath, "ComDataBits", 9);
    store.writeInt(optionsKeyPath, "ComParity", -1);
    store.writeInt(optionsKeyPath, "ComBaudRate", 0);
    store.writeString(optionsKeyPath, "ComStopBits", "two");
    const SerialPortSettings edited = readSerialPortSettings(store);
    EXPECT_EQ(edited.dataBits, 8);
    EXPECT_EQ(edited.parity, SerialParity::None);
    EXPECT_EQ(edited.baudRate, 9600);
    EXPECT_EQ(edited.stopBits, SerialStopBits::One);
}

}  // namespace
}  // namespace cabdrive
