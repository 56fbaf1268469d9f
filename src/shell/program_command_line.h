// The desktop program's command line: `cabdrive [DATA_FOLDER]`, answered
// before a display is opened, with Qt's own options passed on to Qt.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cabdrive {

// Answers --help and --version on `out`, and an unknown option or a second
// data folder with one line and the usage on `err`: returns the exit status
// then. Otherwise returns nothing and sets `dataFolder` to the folder given,
// or "" for none.
std::optional<int> answerProgramCommandLine(std::span<const std::string_view> arguments, std::string& dataFolder,
                                            std::ostream& out, std::ostream& err);

}  // namespace cabdrive
