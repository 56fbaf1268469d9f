// Loading a route file ("line_down.dat" or "line_up.dat") into RouteData.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/route_data.h"

namespace cabdrive {

struct RouteSource {
    std::string programFolder;  // with its trailing separator; route pictures are relative to it
    std::string routeFileName;
    std::string trainFileName;         // the running vehicle's file, compared by [Monitor]
    std::size_t vehicleSoundChannels = 0;  // channels the vehicle's sounds already take
};

// The sound device has this many channels in all; the loaded sounds leave
// room for the call-out channel and the one after it.
inline constexpr std::size_t soundChannelCapacity = 320;
inline constexpr std::size_t voiceChannelCount = 2;

// Reads programFolder + routeFileName and loads the pictures it names through
// `pictures`. Throws LoadError with the message the user sees; for a route-file
// error that is "路線ファイルに誤りがあります。" + label + ":" + the line read last.
// The derived distances stay 0 until deriveDistances runs.
std::unique_ptr<RouteData> loadRoute(const RouteSource& source, PictureLoader& pictures);

// The [SpeedUnit] table of a route file read again, its other keys passed
// over; the end distances stay 0 until deriveSpeedUnitDistances runs.
// Nothing when the file cannot be opened or a row cannot be read.
std::unique_ptr<SpeedUnitTable> readSpeedUnits(const std::string& programFolder, const std::string& routeFileName);

// The keys of a route file in the order the loader tests them.
std::vector<std::string_view> routeFileKeys();

}  // namespace cabdrive
