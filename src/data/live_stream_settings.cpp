// Reading the live stream's settings.
#include "data/live_stream_settings.h"

#include <charconv>

namespace cabdrive {

LiveStreamSettings readLiveStreamSettings(KeyValueStore& store)
{
    LiveStreamSettings s;
    if (const auto port = store.readInt(optionsKeyPath, "LivePort"); port && *port > 0 && *port <= s.highestPort)
        s.port = *port;
    if (const auto address = store.readString(optionsKeyPath, "LiveListen"); address && !address->empty())
        s.listenAddress = *address;
    return s;
}

bool isLiveStreamOption(std::string_view option)
{
    return option == "--live-port" || option == "--live-listen";
}

std::optional<std::string> setLiveStreamOption(LiveStreamSettings& settings, std::string_view option,
                                               std::string_view value)
{
    if (option == "--live-listen") {
        settings.listenAddress = value;
        return std::nullopt;
    }
    std::int32_t port = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
    if (error != std::errc{} || end != value.data() + value.size() || value.empty() || port < 0
        || port > LiveStreamSettings::highestPort)
        return "--live-port needs a port number (0 .. 65535), not " + std::string(value);
    settings.port = port;
    return std::nullopt;
}

}  // namespace cabdrive
