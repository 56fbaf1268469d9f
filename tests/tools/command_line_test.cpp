// The command lines of cabdrive, cabdrive-check and cabdrive-run, run as a
// user runs them: help and version on standard output with status 0, a
// command line they cannot take on standard error with status 2.
#include <gtest/gtest.h>

#include <QProcess>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/command_line.h"
#include "shell/program_command_line.h"
#include "support/qt_application.h"

namespace {

struct Answer {
    int status = -1;
    std::string out, err;
};

Answer run(const std::string& program, const QStringList& arguments)
{
    cabdrive::test::qtApplication();
    QProcess process;
    process.start(QString::fromStdString(program), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

class ProgramCommandLine : public ::testing::TestWithParam<const char*> {
protected:
    const std::string path = GetParam();
    const std::string name = std::filesystem::path(path).filename().string();
};

TEST_P(ProgramCommandLine, AnswersHelpAndVersionAndRefusesAnUnknownOption)
{
    const Answer help = run(path, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: " + name + " ")) << help.out;
    EXPECT_EQ(help.err, "");

    const Answer version = run(path, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, name + " " + std::string(cabdrive::cabdriveVersion()) + "\n");

    const Answer unknown = run(path, {CABDRIVE_DEMO_FOLDER, "--bogus"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, name + ": unknown option --bogus\n" + help.out);
}

INSTANTIATE_TEST_SUITE_P(EachProgram, ProgramCommandLine,
                         ::testing::Values(CABDRIVE_PROGRAM, CABDRIVE_CHECK_PROGRAM, CABDRIVE_RUN_PROGRAM),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = std::filesystem::path(info.param).filename().string();
                             std::erase(name, '-');
                             return name;
                         });

TEST(RunCommandLine, ValuesItCannotTakeAreRefusedWithTheirReasonAndTheUsage)
{
    const std::string usage = run(CABDRIVE_RUN_PROGRAM, {"--help"}).out;
    const struct {
        QStringList arguments;
        std::string reason;
    } refused[] = {
        // 9.3e9 s once overflowed into "ran -9223372036.9 s"; much more ran for ever.
        {{CABDRIVE_DEMO_FOLDER, "--seconds", "9.3e9"}, "--seconds is at most 86400 (a day), not 9.3e9"},
        {{CABDRIVE_DEMO_FOLDER, "--realtime", "--live-listen", "any"},
         "--live-listen needs --live-port: without a port there is no live stream to listen for"},
    };
    for (const auto& [arguments, reason] : refused) {
        const Answer answer = run(CABDRIVE_RUN_PROGRAM, arguments);
        EXPECT_EQ(answer.status, 2) << reason;
        EXPECT_EQ(answer.err, "cabdrive-run: " + reason + "\n" + usage);
    }
}

// A WAV file counts its bytes in 32 bits: past about 6 h 12 min at 48 kHz
// stereo its sizes would wrap.
TEST(RunCommandLine, AWavFileNeedsANameAndARunningTimeItCanHold)
{
    const Answer unnamed = run(CABDRIVE_RUN_PROGRAM, {CABDRIVE_DEMO_FOLDER, "--wav", ""});
    EXPECT_EQ(unnamed.status, 2);
    EXPECT_TRUE(unnamed.err.starts_with("cabdrive-run: --wav needs a file name\n")) << unnamed.err;

    const Answer tooLong = run(CABDRIVE_RUN_PROGRAM, {CABDRIVE_DEMO_FOLDER, "--seconds", "22370", "--wav", "run.wav"});
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_TRUE(tooLong.err.starts_with(
        "cabdrive-run: --seconds 22370 is too long for --wav: a WAV file holds at most 22369 s of sound\n"))
        << tooLong.err;
    EXPECT_FALSE(std::filesystem::exists("run.wav"));
}

TEST(CheckCommandLine, WithoutArgumentsItPrintsItsWholeUsage)
{
    const Answer bare = run(CABDRIVE_CHECK_PROGRAM, {});
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.err, "cabdrive-check: which data folder?\n" + run(CABDRIVE_CHECK_PROGRAM, {"-h"}).out);
}

TEST(ProgramCommandLineParts, QtsOwnOptionsPassAndOneDataFolderIsTaken)
{
    std::string folder;
    cabdrive::LiveStreamSettings live;
    std::ostringstream out, err;
    const std::vector<std::string_view> withQtOptions = {"-platform", "xcb", "--qwindowgeometry=800x600", "-reverse", "line"};
    EXPECT_EQ(cabdrive::answerProgramCommandLine(withQtOptions, folder, live, out, err), std::nullopt);
    EXPECT_EQ(folder, "line");
    EXPECT_EQ(cabdrive::answerProgramCommandLine(std::vector<std::string_view>{"line", "other"}, folder, live, out, err), 2);
    EXPECT_TRUE(err.str().starts_with("cabdrive: one data folder only (\"other\" is a second)\n")) << err.str();
}

}  // namespace
