// The answers every cabdrive program gives on its command line.
#include "common/command_line.h"

#include <algorithm>
#include <ostream>

namespace cabdrive {

std::string_view cabdriveVersion()
{
    return CABDRIVE_VERSION;
}

std::optional<int> answerHelpOrVersion(std::span<const std::string_view> arguments, std::string_view program,
                                       std::string_view usage, std::ostream& out)
{
    const auto given = [&arguments](std::string_view option) {
        return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
    };
    if (given("--help") || given("-h")) {
        out << usage;
        return 0;
    }
    if (given("--version")) {
        out << program << ' ' << cabdriveVersion() << '\n';
        return 0;
    }
    return std::nullopt;
}

int refuseCommandLine(std::string_view program, std::string_view what, std::string_view usage, std::ostream& err)
{
    err << program << ": " << what << '\n' << usage;
    return 2;
}

}  // namespace cabdrive
