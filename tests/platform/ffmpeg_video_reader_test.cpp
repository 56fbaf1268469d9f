// The FFmpeg video reader: frame count, frame-exact decoding by number in any
// order, data paths, and what stays in the bitmap.
#include <gtest/gtest.h>

#include <vector>

#include "avi_writer.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "support/temp_folder.h"

namespace {

using cabdrive::FfmpegVideoReader;
using cabdrive::FrameBitmap;

// Frame n lights cell n of a 10 x 8 grid of 16 x 15 px cells, so each frame
// says which one it is even after lossy coding.
constexpr int width = 160, height = 120, columns = 10, cellWidth = 16, cellHeight = 15;
constexpr int frames = 80;

void writeNumberedVideo(const std::string& path)
{
    cabdrive::demo::AviWriter writer(path, width, height, 30, 0);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    for (int n = 0; n < frames; ++n) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[static_cast<std::size_t>(y * width + x)] = (y / cellHeight) * columns + x / cellWidth == n ? 0xFFFFFFFF : 0xFF000000;
        writer.addFrame(pixels.data());
    }
    writer.finish();
}

// The brightest cell of the decoded frame.
int litCell(const FrameBitmap& frame)
{
    int best = -1;
    long bestSum = -1;
    for (int cell = 0; cell < frames; ++cell) {
        long sum = 0;
        for (int y = 2; y < cellHeight - 2; ++y)
            for (int x = 2; x < cellWidth - 2; ++x)
                sum += frame.pixel((cell % columns) * cellWidth + x, (cell / columns) * cellHeight + y) & 0xFF;
        if (sum > bestSum) {
            bestSum = sum;
            best = cell;
        }
    }
    return best;
}

std::vector<std::uint32_t> copyOf(const FrameBitmap& frame)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            pixels.push_back(frame.pixel(x, y));
    return pixels;
}

class FfmpegReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folder.path() / "Video");
        writeNumberedVideo((folder.path() / "Video" / "Numbers.avi").string());
    }
    // As a data file names it: backslashes, another letter case.
    std::string dataPath() const { return folder.folder() + "video\\numbers.AVI"; }

    cabdrive::test::TempFolder folder;
    FfmpegVideoReader reader;
};

TEST_F(FfmpegReader, OpensADataPathAndCountsItsFrames)
{
    ASSERT_TRUE(reader.open(dataPath()));
    EXPECT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.frameCount(), frames);
    EXPECT_DOUBLE_EQ(reader.framesPerSecond(), 30);
    EXPECT_EQ(reader.videoWidth(), width);
    EXPECT_TRUE(reader.frame().empty());  // nothing decoded yet

    EXPECT_FALSE(reader.open(folder.folder() + "video\\missing.avi"));
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(reader.frameCount(), 0);
    EXPECT_FALSE(reader.decodeFrame(0));
}

TEST_F(FfmpegReader, AnyFrameInAnyOrderIsTheFrameASequentialDecodeGives)
{
    ASSERT_TRUE(reader.open(dataPath()));
    std::vector<std::vector<std::uint32_t>> sequential;
    for (int n = 0; n < frames; ++n) {
        ASSERT_TRUE(reader.decodeFrame(n));
        ASSERT_EQ(litCell(reader.frame()), n);
        sequential.push_back(copyOf(reader.frame()));
    }

    FfmpegVideoReader jumping;
    ASSERT_TRUE(jumping.open(dataPath()));
    // Back and forth across keyframes (every 30 frames), repeats, skips ahead within a group.
    for (int n : {75, 3, 44, 44, 79, 0, 31, 30, 29, 60, 59, 65, 12, 13, 17, 1}) {
        ASSERT_TRUE(jumping.decodeFrame(n));
        EXPECT_EQ(jumping.frame().width, width);
        EXPECT_EQ(copyOf(jumping.frame()), sequential[static_cast<std::size_t>(n)]) << "frame " << n;
    }
}

TEST_F(FfmpegReader, AFrameOutOfRangeLeavesTheLastPicture)
{
    ASSERT_TRUE(reader.open(dataPath()));
    ASSERT_TRUE(reader.decodeFrame(42));
    const std::vector<std::uint32_t> shown = copyOf(reader.frame());
    EXPECT_FALSE(reader.decodeFrame(frames));
    EXPECT_FALSE(reader.decodeFrame(-1));
    EXPECT_EQ(copyOf(reader.frame()), shown);

    // Closing or failing to open another file keeps the picture on screen.
    reader.close();
    EXPECT_FALSE(reader.open(folder.folder() + "missing.avi"));
    EXPECT_EQ(litCell(reader.frame()), 42);
}

TEST_F(FfmpegReader, FramesComeStretchedToTheSizeAskedFor)
{
    reader.setFrameSize(2 * width, 2 * height);
    ASSERT_TRUE(reader.open(dataPath()));
    ASSERT_TRUE(reader.decodeFrame(33));  // cell (3, 3)
    const FrameBitmap& frame = reader.frame();
    EXPECT_EQ(frame.width, 2 * width);
    EXPECT_EQ(frame.height, 2 * height);
    EXPECT_EQ(frame.stride, 2 * width * 4);
    EXPECT_GT(frame.pixel(2 * (3 * cellWidth + 8), 2 * (3 * cellHeight + 7)) & 0xFF, 200u);
    EXPECT_LT(frame.pixel(2 * 8, 2 * 7) & 0xFF, 50u);
}

}  // namespace
