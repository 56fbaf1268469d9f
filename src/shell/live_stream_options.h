// The desktop program's live stream options: `--live-port N` and
// `--live-listen ADDRESS`, over the settings kept in the per-user store.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/live_stream_settings.h"

namespace cabdrive {

// Takes the options and their values out of `arguments` into `settings`;
// returns what is wrong with them, if anything.
std::optional<std::string> takeLiveStreamOptions(std::vector<std::string>& arguments, LiveStreamSettings& settings);

}  // namespace cabdrive
