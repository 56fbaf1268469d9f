// Starting the program: the program folder an installed program finds, and
// the live stream's command-line options.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/live_stream_options.h"
#include "shell/program_folder.h"
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

TEST(LiveStreamOptions, TakenOutOfTheArgumentsOverTheStoredSettings)
{
    LiveStreamSettings settings;
    settings.port = 9000;  // as stored
    std::vector<std::string> arguments{"--live-port", "0", "demo", "--live-listen", "0.0.0.0"};
    EXPECT_EQ(takeLiveStreamOptions(arguments, settings), std::nullopt);
    EXPECT_EQ(arguments, std::vector<std::string>{"demo"});
    EXPECT_EQ(settings.port, 0);
    EXPECT_EQ(settings.listenAddress, "0.0.0.0");

    std::vector<std::string> noValue{"--live-port"};
    EXPECT_EQ(takeLiveStreamOptions(noValue, settings), "--live-port needs a value");
    std::vector<std::string> badPort{"--live-port", "65536"};
    EXPECT_EQ(takeLiveStreamOptions(badPort, settings), "--live-port needs a port number (0 .. 65535), not 65536");
}

}  // namespace
}  // namespace cabdrive::test
