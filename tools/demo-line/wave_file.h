// Mono 16-bit PCM sounds and the WAV files the demo line ships them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cabdrive::demo {

struct Wave {
    int sampleRate = 22050;  // Hz
    std::vector<std::int16_t> samples;
};

// RIFF WAVE, byte-identical for equal input; creates the parent folders.
void writeWave(const std::string& path, const Wave& wave);

}  // namespace cabdrive::demo
