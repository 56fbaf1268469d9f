// Reading a WAV file (any variant libsndfile knows) into mono 16-bit samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ports/sound_device.h"

namespace cabdrive {

struct DecodedWave {
    WaveFile file;                      // error, frames, rate
    std::vector<std::int16_t> samples;  // mono; empty on an error
};

// dataPath as data files name it (backslashes, any letter case). Several
// channels are mixed down to one: the sounds are heard from the cab, not
// placed around the listener, and every wave then plays at the same level.
// The length is what the data holds, whatever the header declares.
DecodedWave decodeWave(const std::string& dataPath);

}  // namespace cabdrive
