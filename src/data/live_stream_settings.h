// Where the live stream for home cockpits listens: kept in the per-user
// store, overridden by the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/key_value_store.h"

namespace cabdrive {

struct LiveStreamSettings {
    static constexpr std::int32_t highestPort = 65535;

    // TCP port; nothing: no stream; 0 (from the command line only): any
    // free port, which the program then names.
    std::optional<std::int32_t> port;
    // Loopback only unless the user says otherwise: every client may drive.
    std::string listenAddress = "127.0.0.1";
};

// "LivePort" (1 .. 65535) and "LiveListen" under the options' key path; an
// absent or out-of-range value keeps its default.
LiveStreamSettings readLiveStreamSettings(KeyValueStore& store);

// The command-line options "--live-port N" (0 .. 65535) and "--live-listen
// ADDRESS", over the stored settings.
bool isLiveStreamOption(std::string_view option);
// Sets the option's value; returns what is wrong with it, if anything.
std::optional<std::string> setLiveStreamOption(LiveStreamSettings& settings, std::string_view option,
                                               std::string_view value);

}  // namespace cabdrive
