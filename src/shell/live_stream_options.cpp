// The desktop program's live stream options.
#include "shell/live_stream_options.h"

namespace cabdrive {

std::optional<std::string> takeLiveStreamOptions(std::vector<std::string>& arguments, LiveStreamSettings& settings)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument != "--live-port" && argument != "--live-listen") {
            rest.push_back(argument);
            continue;
        }
        if (i + 1 == arguments.size())
            return argument + " needs a value";
        const std::string& value = arguments[++i];
        if (argument == "--live-listen") {
            settings.listenAddress = value;
            continue;
        }
        settings.port = readPortNumber(value);
        if (!settings.port)
            return "--live-port needs a port number (0 .. 65535), not " + value;
    }
    arguments = std::move(rest);
    return std::nullopt;
}

}  // namespace cabdrive
