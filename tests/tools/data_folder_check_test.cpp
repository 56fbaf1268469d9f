// cabdrive-check: the summary of a good data folder, and the exact message
// for each kind of broken file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "data_folder_check.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
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
    std::string file;  // the file a breakage changed
};

CheckResult check(const std::string& folder, const std::string& vehicle = "", bool strict = false)
{
    QImagePictureLoader pictures;
    FfmpegVideoReader video;
    std::ostringstream out, err;
    const int status = checkDataFolder({folder, vehicle, strict}, pictures, video, out, err);
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
    const char* message;  // the error, or the warning
};

CheckResult checkBroken(const Breakage& b, bool strict = false)
{
    test::TempFolder temp;
    fs::copy(checkFolder, temp.path(), fs::copy_options::recursive);
    const fs::path target = temp.path() / b.file;
    if (std::string(b.before).empty()) {
        fs::remove(target);
    } else {
        std::string text = readText(target);
        const std::size_t at = text.find(b.before);
        if (at == std::string::npos)
            return {-1, "", std::string("no ") + b.before + " in " + b.file, ""};
        text.replace(at, std::string(b.before).size(), b.after);
        temp.write(b.file, text);
    }
    CheckResult r = check(temp.path().string(), "", strict);
    r.file = target.lexically_normal().string();
    return r;
}

// The message with {file} (the file the breakage changed) or {folder} (the
// folder of that file, with its separator) filled in.
std::string filledIn(std::string message, const CheckResult& r)
{
    const fs::path file(r.file);
    for (const auto& [slot, path] : {std::pair{"{file}", file.string()}, {"{folder}", file.parent_path().string() + "/"}})
        if (const std::size_t at = message.find(slot); at != std::string::npos)
            message.replace(at, std::string_view(slot).size(), path);
    return message;
}

class BrokenDataFolder : public ::testing::TestWithParam<Breakage> {};

TEST_P(BrokenDataFolder, IsRejectedWithTheExactMessage)
{
    const CheckResult r = checkBroken(GetParam());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, filledIn(GetParam().message, r) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    EachFile, BrokenDataFolder,
    ::testing::Values(
        // The title screen's test, before any run.
        Breakage{"SettingsMissing", "cabdrive.dat", "", "", "実行ファイルが正しい場所に配置されていません\nファイル {file} を開けません。"},
        Breakage{"TitlePictureMissing", "image/title/title01.jpg", "", "",
                 "実行ファイルが正しい場所に配置されていません\nファイル {file} を開けません。"},
        Breakage{"MenuPictureGarbage", "image/title/title2.jpg", "\xFF\xD8", "GA",
                 "実行ファイルが正しい場所に配置されていません\nファイル {file} を開けません。"},
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

// Data that loads but cannot work as meant: a warning after the summary,
// status 0, and status 1 when strict.
class WarnedDataFolder : public ::testing::TestWithParam<Breakage> {};

TEST_P(WarnedDataFolder, LoadsWithAWarningAfterTheSummary)
{
    const CheckResult r = checkBroken(GetParam());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::size_t warning = r.out.find("\nwarning: " + filledIn(GetParam().message, r) + "\n");
    EXPECT_NE(warning, std::string::npos) << r.out;
    EXPECT_GT(warning, r.out.rfind("pattern targets")) << "warnings follow the summary";
    EXPECT_EQ(checkBroken(GetParam(), true).status, 1);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, WarnedDataFolder,
    ::testing::Values(
        Breakage{"NoFriction", "line_down.dat", "[Friction]\n0.25\n", "",
                 "line_down.dat: [Friction] is missing or 0: every powered notch slips and every brake slides, so no train moves"},
        Breakage{"NoMaxSpeed", "train_E231_5B.dat", "[MaxSpeed]\n120", "[MaxSpeed]\n0",
                 "train_E231_5B.dat: [MaxSpeed] is 0: the train never takes power"},
        Breakage{"CarMassesOffTheTrainMass", "train_E231_5B.dat", "[Tons]\n150.6", "[Tons]\n150.5",
                 "train_E231_5B.dat: [Mt] + [Tt] + [Tct] is 150.6000 t, but [Tons] is 150.5000 t: "
                 "braking and adhesion reckon with another train than traction does"},
        Breakage{"LeadingNotchZeroRow", "train_E231_5B.dat", "[Notch]\n", "[Notch]\n0\n0\n0\n0\n1\n0\n",
                 "train_E231_5B.dat: [Notch] has 5 rows for [Power] 4: the first row is notch 1, "
                 "so a leading notch-0 row shifts every notch by one"},
        Breakage{"NoPhysicsStepDivisor", "cabdrive.dat", "30,1\r\n", "0,1\r\n",
                 "cabdrive.dat: [Disp] gives the physics step divisor 0: the brakes and the air never move, so no train ever leaves"},
        Breakage{"StationBeyondTheFilmingSpeeds", "line_down.dat", "終点,0,5900,", "終点,0,6100,",
                 "line_down.dat: [Station] row 4 frame 6100 lies in no [SpeedUnit] row; its distance is 0"},
        Breakage{"GapBetweenFilmingSpeeds", "line_down.dat", "4230,4530,0,65", "4240,4530,0,65",
                 "line_down.dat: [SpeedUnit] row 9 starts at frame 4240, not where the row before it ends (4230)"},
        Breakage{"FilmingSpeedsBackwards", "line_down.dat", "4230,4530,0,65", "4530,4230,0,65",
                 "line_down.dat: [SpeedUnit] row 9 runs from frame 4530 to 4230: a row must run forwards"},
        Breakage{"MissingOpeningPicture", "line_down.dat", "image\\opening.bmp", "image\\none.bmp",
                 "line_down.dat: [Staf] opening picture image\\none.bmp cannot be loaded: the view stays black before the start"},
        Breakage{"VideoShorterThanTheFilmingSpeeds", "line_down.dat", "[DataName]\nline_down", "[DataName]\nshort",
                 "line_down.dat: the video {folder}video/short.avi has 30 frames, but [SpeedUnit] ends at frame 6000"},
        Breakage{"StationBeyondTheVideo", "line_down.dat", "[DataName]\nline_down", "[DataName]\nshort",
                 "line_down.dat: [Station] row 1 frame 1500 lies beyond the last frame of the video (30)"},
        Breakage{"StripSmallerThanItsCell", "train_E231_5B.dat", "16\n8\nnotch_p.bmp", "100\n8\nnotch_p.bmp",
                 "train_E231_5B.dat: [NotchImageP] picture notch_p.bmp is 80 x 8 px, smaller than one 100 x 8 px cell: "
                 "it shows nothing"},
        Breakage{"NoEmergencyBrakePressure", "train_E231_5B.dat", "[EBPress]\n520", "[EBPress]\n0",
                 "train_E231_5B.dat: [EBPress] is 0: the brake force is reckoned per kPa of it, so no brake acts and the "
                 "train never stops"},
        Breakage{"NoServiceBrakePressure", "train_E231_5B.dat", "[MAXPress]\n440", "[MAXPress]\n0",
                 "train_E231_5B.dat: [MAXPress] is 0: the service notches apply no air brake; only the emergency position "
                 "fills the cylinders"},
        Breakage{"MenuPictureMissing", "image/title/line01.bmp", "", "",
                 "title screen: image\\title\\line01.bmp cannot be loaded: the caption \"下り線\" takes its place"},
        Breakage{"TitleSoundMissing", "sound/start.wav", "", "",
                 "title screen: sound\\start.wav cannot be played: the title goes on in silence"},
        Breakage{"HelpTextMissing", "operation.dat", "", "",
                 "title screen: operation.dat cannot be opened: the program says so at start and the Help window stays empty"}),
    [](const ::testing::TestParamInfo<Breakage>& info) { return std::string(info.param.name); });

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
