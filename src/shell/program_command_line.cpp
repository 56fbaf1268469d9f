// The desktop program's command line.
#include "shell/program_command_line.h"

#include <algorithm>
#include <array>

#include "common/command_line.h"

namespace cabdrive {
namespace {

constexpr std::string_view program = "cabdrive";
constexpr std::string_view usage =
    "usage: cabdrive [--live-port N [--live-listen ADDRESS]] [DATA_FOLDER]\n"
    "  The railway cab driving simulator. DATA_FOLDER holds cabdrive.dat, mascon.dat, the vehicle and\n"
    "  route files with their pictures, sounds and videos; it becomes the program folder and the current\n"
    "  directory. Without it the program reads the folder of its executable.\n"
    "  It needs a display; on a machine without one, run it in a virtual one:\n"
    "    xvfb-run -a cabdrive DATA_FOLDER\n"
    "  Qt's own options (-platform NAME, -display NAME, -qwindowgeometry WxH+X+Y, ...) are passed on.\n"
    "  --live-port N      serve the runs on the live stream (WebSocket, JSON) on port N (0: any free\n"
    "                     port; the address is printed on standard error); LivePort in the user's store\n"
    "  --live-listen A    the address it listens on (default 127.0.0.1, this machine only)\n"
    "  --help             this text\n"
    "  --version          the version\n";

// Qt's options that QApplication takes out of the command line itself,
// written with one dash or two; the first take a value.
constexpr std::array<std::string_view, 14> qtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session", "style", "stylesheet", "display", "name", "title", "geometry"};
constexpr std::array<std::string_view, 5> qtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The option's name without its dashes and without a "=value".
std::string_view optionName(std::string_view argument)
{
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

}  // namespace

std::optional<int> answerProgramCommandLine(std::span<const std::string_view> arguments, std::string& dataFolder,
                                            LiveStreamSettings& live, std::ostream& out, std::ostream& err)
{
    if (const auto answered = answerHelpOrVersion(arguments, program, usage, out))
        return answered;
    dataFolder.clear();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!argument.starts_with('-')) {
            if (!dataFolder.empty())
                return refuseCommandLine(program, "one data folder only (\"" + std::string(argument) + "\" is a second)",
                                         usage, err);
            dataFolder = argument;
            continue;
        }
        if (isLiveStreamOption(argument)) {
            if (i + 1 == arguments.size())
                return refuseCommandLine(program, std::string(argument) + " needs a value", usage, err);
            if (const auto wrong = setLiveStreamOption(live, argument, arguments[++i]))
                return refuseCommandLine(program, *wrong, usage, err);
            continue;
        }
        const std::string_view name = optionName(argument);
        if (listed(qtOptionsWithValue, name)) {
            if (argument.find('=') == std::string_view::npos)
                ++i;  // its value
            continue;
        }
        if (!listed(qtFlags, name))
            return refuseCommandLine(program, "unknown option " + std::string(argument), usage, err);
    }
    return std::nullopt;
}

}  // namespace cabdrive
