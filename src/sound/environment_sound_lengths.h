// The lengths of the route's environment sounds, read from their WAV headers.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace cabdrive {

struct RouteData;

// s: the data size over the average bytes per second, taken from where a
// canonical 44-byte header keeps them (bytes 40 and 28), rounded to the
// nearest with ties to even. A file that cannot be read, is shorter than the
// header, is no RIFF WAVE file or gives 0 bytes per second measures 0; a WAV
// whose header is laid out otherwise measures whatever those bytes say.
std::int32_t waveFileSeconds(std::string_view dataPath);

// One length per [SoundData] entry, each file taken from the program folder;
// an empty entry measures 0.
std::vector<std::int32_t> environmentSoundLengths(const RouteData& route);

}  // namespace cabdrive
