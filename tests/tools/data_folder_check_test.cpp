// cabdrive-check: the summary of a good data folder, and the exact message
// for each kind of broken file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "data_folder_check.h"
#include "platform/qt/qimage_picture_loader.h"
#include "support/temp_folder.h"

namespace cabdrive {
namespace {

namespace fs = std::filesystem;

const std::string checkFolder = std::string(CABDRIVE_TEST_DATA) + "/check";

struct CheckResult {
    int status;
    std::string out;
    std::string err;
};

CheckResult check(const std::string& folder, const std::string& vehicle = "")
{
    QImagePictureLoader pictures;
    std::ostringstream out, err;
    const int status = checkDataFolder(folder, vehicle, pictures, out, err);
    return {status, out.str(), err.str()};
}

std::string readText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DataFolderCheck, SummarisesLinesStationsTablesAndTheVehicle)
{
    const CheckResult r = check(checkFolder);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string& s = r.out;
    EXPECT_NE(s.find("controller map: 23 slots"), std::string::npos) << s;
    EXPECT_NE(s.find("vehicle train_E231_5B.dat: electric"), std::string::npos) << s;
    EXPECT_NE(s.find("power notches 4, brake notches 8 (notched brake, electric brake)"), std::string::npos) << s;
    EXPECT_NE(s.find("protection: pattern type"), std::string::npos) << s;
    EXPECT_NE(s.find("route line_down.dat: みどり線 / 下り 普通"), std::string::npos) << s;
    EXPECT_NE(s.find("route line_up.dat: "), std::string::npos) << s;
    // 972000 / 30 s after midnight is 09:00:00.
    EXPECT_NE(s.find("0 緑ヶ丘: kind 0 (stop), stop frame 30, "), std::string::npos) << s;
    EXPECT_NE(s.find("departs 09:00:00"), std::string::npos) << s;
    EXPECT_NE(s.find("2 川辺: kind 1 (pass), stop frame 2700, 1311.10 m\n"), std::string::npos) << s;
    EXPECT_NE(s.find("[Station] 5"), std::string::npos) << s;
    EXPECT_NE(s.find("[Signal] 5"), std::string::npos) << s;
    EXPECT_NE(s.find("pattern targets "), std::string::npos) << s;
}

TEST(DataFolderCheck, TakesAVehicleInItsOwnFolder)
{
    const CheckResult r = check(checkFolder, "diesel\\kiha.dat");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("vehicle diesel\\kiha.dat: diesel"), std::string::npos) << r.out;
    // An automatic air brake always has 4 positions.
    EXPECT_NE(r.out.find("brake notches 4 (automatic air brake"), std::string::npos) << r.out;

    const std::string fullPath = fs::absolute(checkFolder + "/diesel/kiha.dat").string();
    const CheckResult absolute = check(checkFolder, fullPath);
    ASSERT_EQ(absolute.status, 0) << absolute.err;
    EXPECT_NE(absolute.out.find("vehicle " + fullPath + ": diesel"), std::string::npos) << absolute.out;
}

TEST(DataFolderCheck, RefusesDataFilesThatAreNoTrain)
{
    for (const char* notATrain : {"mascon.dat", "line_down.dat", "cabdrive.dat"}) {
        const CheckResult r = check(checkFolder, notATrain);
        EXPECT_EQ(r.status, 1) << notATrain;
        EXPECT_EQ(r.out, "") << notATrain;
        EXPECT_EQ(r.err, "車両ファイルに誤りがあります- 列車の基本設定\n") << notATrain;
    }
}

// A copy of the good folder with one text replaced in one file, or the
// file removed when no text is given.
struct Breakage {
    const char* name;
    const char* file;
    const char* before;
    const char* after;
    const char* message;
};

class BrokenDataFolder : public ::testing::TestWithParam<Breakage> {};

TEST_P(BrokenDataFolder, IsRejectedWithTheExactMessage)
{
    const Breakage& b = GetParam();
    test::TempFolder temp;
    fs::copy(checkFolder, temp.path(), fs::copy_options::recursive);
    const fs::path target = temp.path() / b.file;
    if (std::string(b.before).empty()) {
        fs::remove(target);
    } else {
        std::string text = readText(target);
        const std::size_t at = text.find(b.before);
        ASSERT_NE(at, std::string::npos) << b.before;
        text.replace(at, std::string(b.before).size(), b.after);
        temp.write(b.file, text);
    }
    const CheckResult r = check(temp.path().string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    std::string message = b.message;
    if (const std::size_t file = message.find("{file}"); file != std::string::npos)
        message.replace(file, 6, target.lexically_normal().string());
    EXPECT_EQ(r.err, message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    EachFile, BrokenDataFolder,
    ::testing::Values(
        Breakage{"SettingsMissing", "cabdrive.dat", "", "", "stringファイルに誤りがあります\nファイル {file} を開けません。"},
        Breakage{"VehicleMissing", "train_E231_5B.dat", "", "",
                 "車両ファイルに誤りがあります- 列車の基本設定\nファイル {file} を開けません。"},
        Breakage{"RouteMissing", "line_up.dat", "", "", "路線ファイルに誤りがあります。その他:\nファイル {file} を開けません。"},
        Breakage{"VehicleWithoutTons", "train_E231_5B.dat", "[Tons]\n", "[Tonnes]\n", "車両ファイルに誤りがあります- 列車の基本設定"},
        Breakage{"SettingsNumber", "cabdrive.dat", "30,1\r\n", "30\r\n", "stringファイルに誤りがあります"},
        Breakage{"VehicleClock", "train_E231_5B.dat", "[Clock]\n260\n", "[Clock]\n2G0\n", "車両ファイルに誤りがあります- アナログ時計"},
        Breakage{"VehicleStripPicture", "train_E231_5B.dat", "\nnotch_p.bmp\n", "\nmissing.bmp\n", "車両ファイルに誤りがあります[NotchImageP]"},
        Breakage{"NotchTableOnADiesel", "train_E231_5B.dat", "[Engine_Type]\n1\n", "[Engine_Type]\n0\n", "動力が気動車なのにNotch指定があります"},
        Breakage{"TooFewBrakeNotches", "train_E231_5B.dat", "[Brake]\n8\n", "[Brake]\n2\n", "ブレーキの段数を3段以上に設定してください"},
        Breakage{"RouteStationRow", "line_down.dat", "川辺,1,2700,", "川辺,1,27OO,",
                 "路線ファイルに誤りがあります。[Station]:川辺,1,27OO,200,0,0,0,0,70,0,0,0,0,0,0"},
        Breakage{"RouteSignPicture", "line_down.dat", "image\\stop.bmp,32", "image\\nothing.bmp,32", "停目の生成エラー"}),
    [](const ::testing::TestParamInfo<Breakage>& info) { return std::string(info.param.name); });

TEST(DataFolderCheck, WarnsOfObjectsBeyondTheFilmingSpeedsAndOfGapsBetweenTheirRows)
{
    test::TempFolder temp;
    fs::copy(checkFolder, temp.path(), fs::copy_options::recursive);
    std::string route = readText(temp.path() / "line_down.dat");
    for (const auto& [before, after] : {std::pair{"終点,0,5900,", "終点,0,6100,"}, std::pair{"4230,4530,0,65", "4240,4530,0,65"}}) {
        const std::size_t at = route.find(before);
        ASSERT_NE(at, std::string::npos) << before;
        route.replace(at, std::string(before).size(), after);
    }
    temp.write("line_down.dat", route);
    const CheckResult r = check(temp.path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("warning: [Station] row 4 frame 6100 lies in no [SpeedUnit] row; its distance is 0"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("warning: [SpeedUnit] row 9 starts at frame 4240, not where the row before it ends (4230)"),
              std::string::npos)
        << r.out;
    // A folder without such faults has no warnings.
    EXPECT_EQ(check(checkFolder).out.find("warning"), std::string::npos);
}

TEST(DataFolderCheck, AMissingControllerMapStopsTheCheck)
{
    test::TempFolder temp;
    fs::copy(checkFolder, temp.path(), fs::copy_options::recursive);
    fs::remove(temp.path() / "mascon.dat");
    const CheckResult r = check(temp.path().string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("mascon.dat"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace cabdrive
