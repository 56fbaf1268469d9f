// The next-station announcement keys of one-person operation.
#include <gtest/gtest.h>

#include "input/driver_keys.h"
#include "station_line.h"

namespace {

using test::StationLine;

TEST(StationAnnouncements, TheKeysStepThroughTheAnnouncementsOnlyWithOneMan1)
{
    StationLine line(1);
    for (int sound : {6, 7, 8})
        (void)line.f.route->announces.add({{sound, 0, 0, 0}});
    line.start();
    auto& run = line.f.run();
    cabdrive::AsciiDown(run, 'c');
    EXPECT_TRUE(line.playing(6)) << "row 0, the header's sound, comes first";
    cabdrive::AsciiDown(run, '1');
    EXPECT_FALSE(line.playing(6));
    EXPECT_TRUE(line.playing(7));
    cabdrive::AsciiDown(run, '-');
    EXPECT_FALSE(line.playing(7));
    EXPECT_EQ(line.state().stations.announceIndex, 1);
    cabdrive::AsciiDown(run, 'c');
    EXPECT_EQ(line.f.sound.channels[line.channel(7)].rewinds, 2) << "played again from its beginning";
    cabdrive::AsciiDown(run, 'c');
    cabdrive::AsciiDown(run, 'c');
    EXPECT_EQ(line.state().stations.announceIndex, 3) << "no row beyond the table";

    StationLine other(2);
    (void)other.f.route->announces.add({{6, 0, 0, 0}});
    other.start();
    cabdrive::AsciiDown(other.f.run(), 'c');
    EXPECT_FALSE(other.playing(6));
}

}  // namespace
