// The desktop program's command line:
// `cabdrive [--live-port N [--live-listen ADDRESS]] [DATA_FOLDER]`, answered
// before a display is opened, with Qt's own options passed on to Qt.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/live_stream_settings.h"

namespace cabdrive {

// Answers --help and --version on `out`, and an unknown option or a second
// data folder with one line and the usage on `err`: returns the exit status
// then. Otherwise returns nothing and sets `dataFolder` to the folder given,
// or "" for none, and the live stream's options given over `live`.
std::optional<int> answerProgramCommandLine(std::span<const std::string_view> arguments, std::string& dataFolder,
                                            LiveStreamSettings& live, std::ostream& out, std::ostream& err);

}  // namespace cabdrive
