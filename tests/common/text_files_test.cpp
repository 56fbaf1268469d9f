// Reading data files: line ends, text encodings and Windows-style paths.
#include <gtest/gtest.h>

#include "common/line_reader.h"
#include "common/paths.h"
#include "common/text_encoding.h"
#include "support/temp_folder.h"

namespace cabdrive {
namespace {

TEST(LineReader, SplitsCrLfAndLfAndYieldsEmptyLinesPastTheEnd)
{
    LineReader in("[Disp]\r\n3,1\nlast");
    EXPECT_EQ(in.readLine(), "[Disp]");
    EXPECT_EQ(in.readLine(), "3,1");
    EXPECT_FALSE(in.atEnd());
    EXPECT_EQ(in.readLine(), "last");
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.readLine(), "");
    EXPECT_EQ(in.readLine(), "");

    LineReader trailing("a\r\n\r\n");
    EXPECT_EQ(trailing.readLine(), "a");
    EXPECT_EQ(trailing.readLine(), "");
    EXPECT_TRUE(trailing.atEnd());

    EXPECT_TRUE(LineReader("").atEnd());
}

TEST(TextEncoding, DecodesAWindowsShiftJisFileWithItsCrLfEnds)
{
    const auto in = openDataFile(std::string(CABDRIVE_TEST_DATA) + "/settings/cabdrive.dat");
    ASSERT_TRUE(in);
    LineReader lines = *in;
    std::vector<std::string> all;
    while (!lines.atEnd())
        all.emplace_back(lines.readLine());
    ASSERT_GT(all.size(), 12u);
    EXPECT_EQ(all[8], "video\\");  // the backslash stays a backslash
    EXPECT_EQ(all[10], "前");
    EXPECT_EQ(all[20], " 運転停車");
    for (const auto& line : all)
        EXPECT_EQ(line.find('\r'), std::string::npos);
}

TEST(TextEncoding, KeepsUtf8AndDecodesCp932AsWindowsDoes)
{
    EXPECT_EQ(decodeDataText("\xEF\xBB\xBF[Stop]\n停車"), "[Stop]\n停車");
    EXPECT_EQ(decodeDataText("plain ascii\\path"), "plain ascii\\path");
    // "ソ" ends in 0x5C, the byte of a backslash; "～" and "①" exist only in
    // the Windows code page.
    EXPECT_EQ(decodeDataText("\x83\x5C\\\x81\x60\x87\x40"), "ソ\\～①");
    // Bytes the code page does not define become U+FFFD and decoding goes on.
    EXPECT_EQ(decodeDataText("a\xFF" "b\x82\xA0"), "a\xEF\xBF\xBD" "bあ");
    EXPECT_EQ(decodeDataText("\x82"), "\xEF\xBF\xBD");
}

TEST(TextEncoding, RecognisesOnlyWellFormedUtf8)
{
    EXPECT_TRUE(isValidUtf8("停車 ok"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xE5\x81"));          // cut short
    EXPECT_FALSE(isValidUtf8("\x92\xE2\x8E\xD4"));  // Shift-JIS "停車"
}

TEST(Paths, JoinByConcatenationAndOpenWithSlashesAndAnyLetterCase)
{
    EXPECT_EQ(joinPath("train\\", "car.dat"), "train\\car.dat");
    EXPECT_EQ(joinPath("", "car.dat"), "car.dat");

    test::TempFolder temp;
    temp.write("Image/Title/Line01.BMP", "picture");
    const std::string base = temp.folder();
    EXPECT_EQ(resolveDataPath(base + "Image\\Title\\Line01.BMP"), temp.path() / "Image/Title/Line01.BMP");
    EXPECT_EQ(resolveDataPath(base + "image\\title\\line01.bmp"), temp.path() / "Image/Title/Line01.BMP");
    EXPECT_EQ(readDataFileBytes(base + "IMAGE\\title\\LINE01.bmp"), "picture");
    EXPECT_FALSE(readDataFileBytes(base + "image\\title\\line02.bmp"));
    EXPECT_FALSE(readDataFileBytes(base + "image"));  // a folder is no file
    EXPECT_FALSE(readDataFileBytes("/dev/zero")) << "a device would never end";
}

}  // namespace
}  // namespace cabdrive
