// The display options and controller codes read from the per-user store.
#include <gtest/gtest.h>

#include "data/controller_codes.h"
#include "data/display_options.h"
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
