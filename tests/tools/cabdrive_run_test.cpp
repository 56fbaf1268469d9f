// cabdrive-run: scripts, traces, and whole runs on the fixture line.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "data/data_folder.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "headless_run.h"
#include "input/driver_keys.h"
#include "platform/qt/qimage_picture_loader.h"
#include "ports/memory_key_value_store.h"
#include "ports/null_sound_device.h"
#include "ports/video_reader.h"
#include "run/scheduler.h"
#include "run_script.h"
#include "state/run.h"
#include "support/temp_folder.h"

namespace {

using cabdrive::ScriptInput;

std::vector<ScriptInput> parse(const std::string& text)
{
    std::istringstream in(text);
    return cabdrive::readRunScript(in);
}

std::string scriptError(const std::string& text)
{
    try {
        parse(text);
    } catch (const cabdrive::ScriptError& e) {
        return e.what();
    }
    return "no error";
}

TEST(RunScript, ReadsCharactersKeysAndWheelSteps)
{
    const auto script = parse("# a comment\n\n1 8\n1.5 space\r\n2 Shift+F12\n2 F2-up\n3 Backspace\n4 wheel-up\n4.25 wheel-down\n");
    ASSERT_EQ(script.size(), 7u);
    EXPECT_EQ(script[0].character, '8');
    EXPECT_EQ(script[1].character, ' ');
    EXPECT_EQ(script[1].seconds, 1.5);
    EXPECT_EQ(script[2].kind, ScriptInput::Kind::Key);
    EXPECT_EQ(script[2].key, cabdrive::Key::F12);
    EXPECT_TRUE(script[2].modifiers.shift);
    EXPECT_TRUE(script[3].keyReleased);
    EXPECT_EQ(script[3].key, cabdrive::Key::F2);
    EXPECT_EQ(script[4].key, cabdrive::Key::Backspace);
    EXPECT_FALSE(script[4].modifiers.shift);
    EXPECT_EQ(script[5].kind, ScriptInput::Kind::WheelUp);
    EXPECT_EQ(script[6].kind, ScriptInput::Kind::WheelDown);
}

TEST(RunScript, ABadLineIsNamedByItsNumber)
{
    EXPECT_EQ(scriptError("1 8\nsoon 8\n"), "script line 2: \"soon\" is not a time in seconds");
    EXPECT_EQ(scriptError("1 8\n2\n"), "script line 2: a time needs an input after it");
    EXPECT_EQ(scriptError("1 8 8\n"), "script line 1: one input per line (\"8\" is left over)");
    EXPECT_EQ(scriptError("2 8\n1 2\n"), "script line 2: the time goes backwards");
    EXPECT_EQ(scriptError("-1 8\n"), "script line 1: \"-1\" is not a time in seconds");
    // 9.3e9 s once overflowed the run's clock into "ran -9223372036.9 s".
    EXPECT_EQ(scriptError("1 8\n9.3e9 2\n"), "script line 2: 9.3e9 s is longer than a day (86400 s)");
    EXPECT_NE(scriptError("1 F13\n").find("script line 1: \"F13\" is not a character"), std::string::npos);
}

TEST(RunScript, ReadsSerialLinesAndJoystickPolls)
{
    const auto script = parse("1 serial P1###\n2 serial  two  blanks \n3 joystick 3 -32768 32767 0x1C0\n4 joystick 1 0 0 65535\n");
    ASSERT_EQ(script.size(), 4u);
    EXPECT_EQ(script[0].kind, ScriptInput::Kind::Serial);
    EXPECT_EQ(script[0].serialText, "P1###");
    EXPECT_EQ(script[1].serialText, " two  blanks ");
    EXPECT_EQ(script[2].kind, ScriptInput::Kind::Joystick);
    EXPECT_EQ(script[2].controllerKind, 3);
    EXPECT_EQ(script[2].joystick.x, -32768);
    EXPECT_EQ(script[2].joystick.y, 32767);
    EXPECT_EQ(script[2].joystick.buttons, 0x1C0);
    EXPECT_EQ(script[3].joystick.buttons, 0xffff);

    EXPECT_EQ(scriptError("1 serial\n"), "script line 1: serial needs the text the controller sends");
    EXPECT_EQ(scriptError("1 joystick 1 0 0\n"), "script line 1: joystick needs KIND X Y BUTTONS");
    EXPECT_EQ(scriptError("1 joystick 0 0 0 0\n"), "script line 1: \"0\" is not a game controller kind (1 .. 3)");
    EXPECT_EQ(scriptError("1 joystick 1 40000 0 0\n"), "script line 1: \"40000\" is not an axis value (-32768 .. 32767)");
    EXPECT_EQ(scriptError("1 joystick 1 0 0 0x10000\n"),
              "script line 1: \"0x10000\" is not a button mask (0 .. 65535)");
    EXPECT_EQ(scriptError("1 joystick 1 0 0 1 2\n"), "script line 1: joystick takes four values (\"2\" is left over)");
}

TEST(RunScript, ReadsSavesAndRestoresOfTheThreeSlots)
{
    const auto script = parse("10 save 1\n20 restore 3\n");
    ASSERT_EQ(script.size(), 2u);
    EXPECT_EQ(script[0].kind, ScriptInput::Kind::Save);
    EXPECT_EQ(script[0].slot, 1);
    EXPECT_EQ(script[1].kind, ScriptInput::Kind::Restore);
    EXPECT_EQ(script[1].slot, 3);
    EXPECT_EQ(scriptError("1 save\n"), "script line 1: save needs a slot (1 .. 3)");
    EXPECT_EQ(scriptError("1 restore 4\n"), "script line 1: \"4\" is not a slot (1 .. 3)");
    EXPECT_EQ(scriptError("1 save 1 2\n"), "script line 1: save takes one slot (\"2\" is left over)");
}

const std::string fixtureFolder = std::string(CABDRIVE_TEST_DATA) + "/check";

struct HeadlessResult {
    int status = 0;
    std::string out, err, trace;
};

HeadlessResult runFixture(const std::string& script, const std::string& extraSeconds = "")
{
    cabdrive::test::TempFolder temp;
    const std::string scriptFile = temp.write("script.txt", script).string();
    cabdrive::HeadlessRunOptions options;
    options.dataFolder = fixtureFolder;
    options.scriptFile = scriptFile;
    options.traceFile = temp.folder() + "trace.csv";
    options.seconds = extraSeconds.empty() ? 90.0 : std::stod(extraSeconds);
    cabdrive::QImagePictureLoader pictures;
    cabdrive::NullVideoReader video;
    std::ostringstream out, err;
    HeadlessResult result;
    cabdrive::MemoryKeyValueStore store;
    result.status = cabdrive::runHeadless(options, pictures, video, store, out, err);
    result.out = out.str();
    result.err = err.str();
    std::ifstream trace(options.traceFile);
    result.trace.assign(std::istreambuf_iterator<char>(trace), {});
    return result;
}

const char* powerThenBrake = "1 5\n2 z\n2.2 z\n2.4 z\n2.6 z\n30 a\n30.1 a\n30.2 a\n30.3 a\n30.5 .\n30.6 .\n30.7 .\n";

TEST(HeadlessRun, OneScriptRunTwiceGivesIdenticalTraces)
{
    const HeadlessResult first = runFixture(powerThenBrake);
    const HeadlessResult second = runFixture(powerThenBrake);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(std::count(first.trace.begin(), first.trace.end(), '\n'), 901) << "a header and 900 ticks";
    EXPECT_EQ(first.trace, second.trace);
}

struct SpeedsSeen {
    double top = 0, last = -1;  // km/h
};

SpeedsSeen speedsOf(const std::string& trace)
{
    std::istringstream lines(trace);
    std::string line;
    std::getline(lines, line);
    SpeedsSeen seen;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string time, clock, speed;
        std::getline(fields, time, ',');
        std::getline(fields, clock, ',');
        std::getline(fields, speed, ',');
        seen.top = std::max(seen.top, std::stod(speed));
        seen.last = std::stod(speed);
    }
    return seen;
}

TEST(HeadlessRun, ATraceShowsTheTrainAcceleratingAndStopping)
{
    const HeadlessResult result = runFixture(powerThenBrake);
    ASSERT_EQ(result.status, 0) << result.err;
    const SpeedsSeen seen = speedsOf(result.trace);
    EXPECT_GT(seen.top, 30);
    EXPECT_EQ(seen.last, 0);
}

// Release, power 4, brake 7 half a minute later: once from the serial
// master controller, once from the OHC-PC01 with the reverser forward.
TEST(HeadlessRun, TheSerialAndGameControllersDriveTheTrainAsTheKeysDo)
{
    for (const char* script : {"1 serial N####\n2 serial P4###\n30 serial B7###\n",
                               "1 joystick 3 0 -1 0x140\n2 joystick 3 0 -1 0x1C0\n30 joystick 3 0 -1 0x140\n30.5 joystick 3 0 -1 0x300\n"}) {
        const HeadlessResult result = runFixture(script);
        ASSERT_EQ(result.status, 0) << result.err;
        const SpeedsSeen seen = speedsOf(result.trace);
        EXPECT_GT(seen.top, 30) << script;
        EXPECT_EQ(seen.last, 0) << script;
    }
}

TEST(HeadlessRun, ErrorsAreReportedNotThrown)
{
    cabdrive::test::TempFolder temp;
    cabdrive::HeadlessRunOptions options;
    options.dataFolder = fixtureFolder;
    options.scriptFile = temp.write("script.txt", "1 8\nlater 2\n").string();
    cabdrive::QImagePictureLoader pictures;
    cabdrive::NullVideoReader video;
    cabdrive::MemoryKeyValueStore store;
    std::ostringstream out, err;
    EXPECT_EQ(cabdrive::runHeadless(options, pictures, video, store, out, err), 1);
    EXPECT_EQ(err.str(), "script line 2: \"later\" is not a time in seconds\n");
    options.scriptFile = "/dev/zero";
    err.str("");
    EXPECT_EQ(cabdrive::runHeadless(options, pictures, video, store, out, err), 1);
    EXPECT_EQ(err.str(), "the script /dev/zero is no text file of at most 64 MiB\n");

    options.scriptFile.clear();
    options.dataFolder = temp.folder();
    err.str("");
    EXPECT_EQ(cabdrive::runHeadless(options, pictures, video, store, out, err), 1);
    // The controller map is the first file a run loads.
    EXPECT_EQ(err.str(), temp.folder() + "mascon.dat: No such file or directory\n");
}

TEST(HeadlessRun, WithoutATraceItSummarisesTheRun)
{
    cabdrive::HeadlessRunOptions options;
    options.dataFolder = fixtureFolder;
    options.seconds = 5;
    cabdrive::QImagePictureLoader pictures;
    cabdrive::NullVideoReader video;
    std::ostringstream out, err;
    cabdrive::MemoryKeyValueStore store;
    ASSERT_EQ(cabdrive::runHeadless(options, pictures, video, store, out, err), 0) << err.str();
    EXPECT_EQ(out.str(),
              "ran 5.0 s: 0.0 m, top speed 0.0 km/h\nfinal position 0.00 m, frame 0, speed 0.0 km/h, clock 09:00:05\n"
              "stops:\n  緑ヶ丘: arrived 09:00:00 (at 0.1 s), stopped +0 cm from the mark, within the stop zone; "
              "timetable departure 09:00:00, 0 s to spare\n"
              "protection brake interventions:\n  none\n"
              // The fixture line comes without its video.
              "message: 映像ファイルを開けません" + fixtureFolder + "/video/line_down.avi\n"
              "the run has not ended\n");
}

}  // namespace
