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

std::optional<std::int32_t> readPortNumber(std::string_view text)
{
    std::int32_t port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty() || port < 0
        || port > LiveStreamSettings::highestPort)
        return std::nullopt;
    return port;
}

}  // namespace cabdrive
