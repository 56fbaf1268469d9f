// The environment sounds' lengths from their WAV headers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/route_data.h"
#include "sound/environment_sound_lengths.h"
#include "support/temp_folder.h"

namespace {

// A canonical 44-byte header with these values, followed by `extra` bytes.
std::string waveHeader(std::uint32_t bytesPerSecond, std::uint32_t dataSize, std::size_t extra = 0)
{
    std::string bytes(44 + extra, '\0');
    bytes.replace(0, 4, "RIFF");
    bytes.replace(8, 4, "WAVE");
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(28 + i)] = static_cast<char>(bytesPerSecond >> (8 * i) & 0xff);
        bytes[static_cast<std::size_t>(40 + i)] = static_cast<char>(dataSize >> (8 * i) & 0xff);
    }
    return bytes;
}

TEST(EnvironmentSoundLengths, DataSizeOverBytesPerSecondRoundedTiesToEven)
{
    cabdrive::test::TempFolder folder;
    folder.write("a.wav", waveHeader(22050, 55125));   // 2.5 s
    folder.write("b.wav", waveHeader(22050, 77175));   // 3.5 s
    folder.write("c.wav", waveHeader(44100, 3000000000u));  // beyond int32 bytes
    EXPECT_EQ(cabdrive::waveFileSeconds(folder.folder() + "a.wav"), 2);
    EXPECT_EQ(cabdrive::waveFileSeconds(folder.folder() + "b.wav"), 4);
    EXPECT_EQ(cabdrive::waveFileSeconds(folder.folder() + "c.wav"), 68027);
}

TEST(EnvironmentSoundLengths, MissingShortOrRatelessFilesMeasureZero)
{
    cabdrive::test::TempFolder folder;
    folder.write("short.wav", waveHeader(22050, 44100).substr(0, 43));
    folder.write("rateless.wav", waveHeader(0, 44100));
    EXPECT_EQ(cabdrive::waveFileSeconds(folder.folder() + "missing.wav"), 0);
    EXPECT_EQ(cabdrive::waveFileSeconds(folder.folder() + "short.wav"), 0);
    EXPECT_EQ(cabdrive::waveFileSeconds(folder.folder() + "rateless.wav"), 0);
}

TEST(EnvironmentSoundLengths, OneLengthPerSoundDataEntryFromTheProgramFolder)
{
    cabdrive::test::TempFolder folder;
    folder.write("sound/Melody.wav", waveHeader(11025, 110250));
    auto route = std::make_unique<cabdrive::RouteData>();
    route->programFolder = folder.folder();
    for (const char* name : {"sound\\melody.wav", "", "sound\\gone.wav"})
        (void)route->soundData.add(name);
    EXPECT_EQ(cabdrive::environmentSoundLengths(*route), (std::vector<std::int32_t>{10, 0, 0}));
}

}  // namespace
