// Saved driving states through cabdrive-run and the program's own store on
// QSettings: drive, save, drive on, restore; a restore after a restart; and
// a save cut short by a crash or by a file that cannot grow.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/clock_text.h"
#include "common/field.h"
#include "common/number_conversion.h"
#include "headless_run.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/qt/qimage_picture_loader.h"
#include "platform/qt/qsettings_key_value_store.h"
#include "support/temp_folder.h"

namespace {

using cabdrive::test::TempFolder;

struct TraceRow {
    double seconds = 0;
    std::string clock;
    double speed = 0;     // km/h
    double position = 0;  // m
    int frame = 0;
    int brakeHandle = 0;
};

std::vector<TraceRow> rowsOf(const std::string& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);  // the header
    std::vector<TraceRow> rows;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; fields.size() < 8 && std::getline(cells, cell, ',');)
            fields.push_back(cell);
        rows.push_back({std::stod(fields[0]), fields[1], std::stod(fields[2]), std::stod(fields[3]),
                        std::stoi(fields[4]), std::stoi(fields[7])});
    }
    return rows;
}

const TraceRow& rowAt(const std::vector<TraceRow>& rows, double seconds)
{
    for (const TraceRow& row : rows) {
        if (std::abs(row.seconds - seconds) < 0.01)
            return row;
    }
    ADD_FAILURE() << "no trace line at " << seconds << " s";
    return rows.front();
}

// The fields of a stored record as numbers: station, speed, frame, clock, position, preceding frame.
std::vector<std::int32_t> recordNumbers(const std::string& storeFile, const char* slot)
{
    cabdrive::QSettingsKeyValueStore store(storeFile);
    const std::string record = store.readString("kestra", slot).value_or("");
    std::vector<std::int32_t> numbers;
    for (int n = 2; n <= 7; ++n)
        numbers.push_back(cabdrive::toInt(cabdrive::field(record, n)).value_or(-999));
    return numbers;
}

struct DemoRun {
    int status = 0;
    std::string out, err;
};

// A run of the demo line with the program's video reader and a store in
// `storeFile`, made anew for every run as a new program start makes it.
DemoRun runDemo(const TempFolder& temp, const std::string& script, double seconds, const std::string& storeFile,
                const std::string& traceFile = "")
{
    cabdrive::HeadlessRunOptions options;
    options.dataFolder = CABDRIVE_DEMO_FOLDER;
    options.scriptFile = temp.write("script.txt", script).string();
    options.seconds = seconds;
    options.traceFile = traceFile;
    cabdrive::QImagePictureLoader pictures;
    cabdrive::FfmpegVideoReader video;
    cabdrive::QSettingsKeyValueStore store(storeFile);
    std::ostringstream out, err;
    DemoRun run;
    run.status = cabdrive::runHeadless(options, pictures, video, store, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(HeadlessSaves, DriveSaveDriveOnRestoreAndTheTraceGoesOnFromTheSavedFramePositionAndClock)
{
    TempFolder temp;
    const std::string storeFile = temp.folder() + "store.ini";
    const std::string traceFile = temp.folder() + "trace.csv";
    // Power away, save at 40 s, brake from 50 s, restore at 90 s.
    const DemoRun traced = runDemo(temp,
                                   "1 5\n2 z\n2.2 z\n2.4 z\n2.6 z\n40 save 1\n50 a\n50.1 a\n50.2 a\n50.3 a\n"
                                   "50.5 .\n50.6 .\n50.7 .\n90 restore 1\n",
                                   100, storeFile, traceFile);
    ASSERT_EQ(traced.status, 0) << traced.err;
    EXPECT_NE(traced.err.find("message: 運転状態を保存しました\n"), std::string::npos) << "a trace has no summary";
    const std::vector<std::int32_t> saved = recordNumbers(storeFile, "Save1");
    const std::int32_t speed = saved[1], frame = saved[2], clock = saved[3], position = saved[4];
    ASSERT_GT(speed, 20) << "saved while moving";

    const std::vector<TraceRow> rows = rowsOf(traceFile);
    const TraceRow& atSave = rowAt(rows, 40.0);
    EXPECT_EQ(atSave.frame, frame);
    EXPECT_NEAR(atSave.position * 100, position, 0.5);
    EXPECT_EQ(atSave.clock, cabdrive::clockText(clock));
    const TraceRow& beforeRestore = rowAt(rows, 90.0);
    EXPECT_GT(beforeRestore.frame, frame + 500) << "driven on";
    EXPECT_LT(beforeRestore.brakeHandle, 0);

    const TraceRow& afterRestore = rowAt(rows, 90.1);
    EXPECT_NEAR(afterRestore.speed, speed, 1.0);
    EXPECT_EQ(afterRestore.brakeHandle, 0) << "restored with the brakes released";
    EXPECT_GE(afterRestore.frame, frame);
    EXPECT_LE(afterRestore.frame, frame + 5);
    const double metresIn100ms = speed / 3.6 * 0.1;
    EXPECT_NEAR(afterRestore.position * 100, position + metresIn100ms * 100, 50);
    EXPECT_EQ(afterRestore.clock, cabdrive::clockText(clock + 3));
    EXPECT_GT(rows.back().frame, afterRestore.frame) << "and runs on";

    // A new program start with a new store on the same file restores it
    // too; the summary lists what the driver was told.
    const DemoRun restarted = runDemo(temp, "1 restore 1\n1 restore 2\n", 1, storeFile);
    ASSERT_EQ(restarted.status, 0) << restarted.err;
    std::ostringstream expected;
    expected << "frame " << frame << ", speed";
    EXPECT_NE(restarted.out.find(expected.str()), std::string::npos) << restarted.out;
    EXPECT_NE(restarted.out.find("message: 運転状態が保存されていません\n"), std::string::npos) << restarted.out;
    EXPECT_EQ(restarted.out.find("壊れている"), std::string::npos) << restarted.out;
}

// cabdrive-run saving into slot 2 of a store whose files may not grow
// beyond `bytes` (prlimit). With SIGXFSZ at its default the process dies in
// the middle of writing the file, as in a crash; with the signal ignored the
// write fails as on a full disk.
// The output goes through a pipe, which no file size limit holds back.
std::string saveWithFileSizeLimit(const TempFolder& temp, const std::string& storeFile, int bytes, bool crash)
{
    const std::string script = temp.write("save.txt", "1 save 2\n").string();
    const std::string out = temp.folder() + "out.txt";
    const std::string command = std::string(crash ? "" : "trap '' XFSZ; ") + "(prlimit --fsize=" + std::to_string(bytes)
                                + " " + CABDRIVE_RUN_PROGRAM + " " + CABDRIVE_DEMO_FOLDER + " --script " + script
                                + " --seconds 1.5 --store " + storeFile + " 2>&1; echo exit=$?) | cat >" + out;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;  // run by sh
    std::ifstream in(out);
    const std::string told(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(told.ends_with("exit=0\n"), !crash) << told;
    return told;
}

TEST(HeadlessSaves, ASaveCutShortByACrashOrAFullFileKeepsTheSlotsPreviousRecordAndTitle)
{
    TempFolder temp;
    const std::string storeFile = temp.folder() + "kestra.ini";
    const std::string previousRecord = "line_down.dat,1,0,500,1086000,60000,0";
    {
        cabdrive::QSettingsKeyValueStore store(storeFile);
        const std::string padding(3000, 'x');  // the file outgrows the limit
        const std::array<cabdrive::NamedText, 3> values{
            {{"Save2", previousRecord}, {"Save2Title", "前の保存"}, {"Padding", padding}}};
        ASSERT_TRUE(store.writeStrings("kestra", values));
    }
    const auto slotHoldsThePreviousState = [&] {
        cabdrive::QSettingsKeyValueStore store(storeFile);
        EXPECT_EQ(store.readString("kestra", "Save2"), previousRecord);
        EXPECT_EQ(store.readString("kestra", "Save2Title"), "前の保存");
        EXPECT_EQ(store.readString("kestra", "Padding")->size(), 3000u);
    };

    saveWithFileSizeLimit(temp, storeFile, 2048, true);
    slotHoldsThePreviousState();
    // The store itself cannot grow, then not even QSettings' lock file.
    for (const int bytes : {2048, 50}) {
        const std::string told = saveWithFileSizeLimit(temp, storeFile, bytes, false);
        EXPECT_NE(told.find("message: 運転状態を保存できませんでした\n"), std::string::npos) << told;
        slotHoldsThePreviousState();
        EXPECT_FALSE(std::filesystem::exists(storeFile + ".previous"));
    }

    // With room again the same save goes through.
    const DemoRun saved = runDemo(temp, "1 save 2\n", 1.5, storeFile);
    EXPECT_NE(saved.out.find("message: 運転状態を保存しました\n"), std::string::npos) << saved.out;
    cabdrive::QSettingsKeyValueStore store(storeFile);
    EXPECT_NE(store.readString("kestra", "Save2"), previousRecord);
    EXPECT_NE(store.readString("kestra", "Save2Title"), "前の保存");
}

}  // namespace
