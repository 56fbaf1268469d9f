// Starting the program: the program folder an installed program finds, and
// the live stream's command-line options.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "shell/program_command_line.h"
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

}  // namespace
}  // namespace cabdrive::test
