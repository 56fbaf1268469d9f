// Starting the program: the program folder an installed program finds, the
// live stream's command-line options, and the word on a missing sound card.
#include <gtest/gtest.h>

#include <QProcess>

#include <filesystem>
#include <sstream>

#include "shell/program_command_line.h"
#include "shell/program_folder.h"
#include "support/qt_application.h"
#include "support/temp_folder.h"

namespace cabdrive::test {
namespace {

struct RestoreCurrentFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    ~RestoreCurrentFolder() { std::filesystem::current_path(previous); }
};

TEST(ProgramFolder, AnInstalledProgramWithoutDataBesideItOpensTheInstalledDemo)
{
    RestoreCurrentFolder restore;
    TempFolder prefix;
    prefix.write("share/cabdrive/demo/cabdrive.dat", "");
    std::filesystem::create_directories(prefix.path() / "bin");
    const std::string bin = (prefix.path() / "bin").string();
    const std::string demo = bin + "/../share/cabdrive/demo";

    const ProgramFolder installed = chooseProgramFolder(bin, "", demo);
    EXPECT_EQ(installed.folder, (prefix.path() / "share/cabdrive/demo").string() + "/");
    EXPECT_EQ(std::filesystem::current_path(), prefix.path() / "share/cabdrive/demo") << "title media are read from there";

    // Data beside the executable, or a folder given, win over the installed demo.
    prefix.write("bin/cabdrive.dat", "");
    EXPECT_EQ(chooseProgramFolder(bin, "", demo).folder, bin + "/");
    EXPECT_EQ(chooseProgramFolder(bin, prefix.folder(), demo).folder, prefix.folder());
    // Neither: the executable's folder, whose missing settings file the title screen reports.
    std::filesystem::remove(prefix.path() / "bin/cabdrive.dat");
    EXPECT_EQ(chooseProgramFolder(bin, "", bin + "/nothing").folder, bin + "/");
}

TEST(ProgramCommandLineParts, TheLiveStreamOptionsGoOverTheStoredSettings)
{
    LiveStreamSettings live;
    live.port = 9000;  // as stored
    std::string folder;
    std::ostringstream out, err;
    const std::vector<std::string_view> arguments{"--live-port", "0", "demo", "--live-listen", "0.0.0.0"};
    EXPECT_EQ(answerProgramCommandLine(arguments, folder, live, out, err), std::nullopt);
    EXPECT_EQ(folder, "demo");
    EXPECT_EQ(live.port, 0);
    EXPECT_EQ(live.listenAddress, "0.0.0.0");

    EXPECT_EQ(answerProgramCommandLine(std::vector<std::string_view>{"--live-port"}, folder, live, out, err), 2);
    EXPECT_EQ(answerProgramCommandLine(std::vector<std::string_view>{"--live-port", "65536"}, folder, live, out, err), 2);
    EXPECT_TRUE(err.str().starts_with("cabdrive: --live-port needs a value\n")) << err.str();
    EXPECT_NE(err.str().find("cabdrive: --live-port needs a port number (0 .. 65535), not 65536\n"), std::string::npos);
}

// ALSA with an empty configuration has no device on any machine, and says
// so at length while the sound library probes it, unless the program keeps
// it quiet.
TEST(ProgramStart, WithoutASoundCardItSaysSoInOneLineOfItsOwn)
{
    qtApplication();
    TempFolder folder;
    folder.write("alsa.conf", "");
    std::filesystem::create_directory(folder.path() / "runtime");
    std::filesystem::permissions(folder.path() / "runtime", std::filesystem::perms::owner_all);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ALSOFT_DRIVERS", "alsa");
    environment.insert("ALSA_CONFIG_PATH", QString::fromStdString((folder.path() / "alsa.conf").string()));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((folder.path() / "runtime").string()));  // or Qt warns
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove("ALSOFT_LOGLEVEL");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(CABDRIVE_PROGRAM, {CABDRIVE_DEMO_FOLDER});
    std::string err;
    runEventsUntil(
        [&] {
            err += program.readAllStandardError().toStdString();
            return err.ends_with('\n');
        },
        20000);
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(err, "cabdrive: no sound card could be opened; runs are silent\n");
}

}  // namespace
}  // namespace cabdrive::test
