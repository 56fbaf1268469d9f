// The lengths of the route's environment sounds, read from their WAV headers.
#include "sound/environment_sound_lengths.h"

#include <array>
#include <fstream>
#include <string_view>

#include "common/paths.h"
#include "common/rounding.h"
#include "data/route_data.h"

namespace cabdrive {
namespace {

constexpr std::size_t canonicalHeaderSize = 44;     // bytes
constexpr std::size_t bytesPerSecondOffset = 28;
constexpr std::size_t dataSizeOffset = 40;

std::uint32_t littleEndian32(const std::array<char, canonicalHeaderSize>& header, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(header[offset + i]);
    return value;
}

}  // namespace

std::int32_t waveFileSeconds(std::string_view dataPath)
{
    std::ifstream in(resolveDataPath(dataPath), std::ios::binary);
    std::array<char, canonicalHeaderSize> header{};
    if (!in.read(header.data(), header.size()))
        return 0;
    // Garbage would give a length of days read from random bytes.
    if (std::string_view(header.data(), 4) != "RIFF" || std::string_view(header.data() + 8, 4) != "WAVE")
        return 0;
    const std::uint32_t bytesPerSecond = littleEndian32(header, bytesPerSecondOffset);
    if (bytesPerSecond == 0)
        return 0;
    const long double seconds = static_cast<long double>(littleEndian32(header, dataSizeOffset)) / bytesPerSecond;
    return saturateInt32(roundTiesEven(seconds));
}

std::vector<std::int32_t> environmentSoundLengths(const RouteData& route)
{
    std::vector<std::int32_t> lengths;
    lengths.reserve(route.soundData.size());
    for (const std::string& file : route.soundData)
        lengths.push_back(file.empty() ? 0 : waveFileSeconds(joinPath(route.programFolder, file)));
    return lengths;
}

}  // namespace cabdrive
