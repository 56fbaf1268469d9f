// Reading a WAV file with libsndfile.
#include "platform/openal/wave_decoder.h"

#include <sndfile.h>

#include <memory>

#include "common/paths.h"

namespace cabdrive {
namespace {

constexpr sf_count_t blockFrames = 4096;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

}  // namespace

DecodedWave decodeWave(const std::string& dataPath)
{
    DecodedWave wave;
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(resolveDataPath(dataPath).c_str(), SFM_READ, &info));
    if (!file) {
        wave.file.error = sf_strerror(nullptr);
        return wave;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        wave.file.error = "no sound in the file";
        return wave;
    }
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<std::int16_t> block(static_cast<std::size_t>(blockFrames) * channels);
    // Read until the data ends rather than trusting the frame count: a header
    // may declare more data than the file holds.
    for (;;) {
        const sf_count_t read = sf_readf_short(file.get(), block.data(), blockFrames);
        if (read <= 0)
            break;
        if (channels == 1) {
            wave.samples.insert(wave.samples.end(), block.begin(), block.begin() + read);
            continue;
        }
        for (sf_count_t frame = 0; frame < read; ++frame) {
            const std::int16_t* first = &block[static_cast<std::size_t>(frame) * channels];
            std::int32_t sum = 0;
            for (std::size_t c = 0; c < channels; ++c)
                sum += first[c];
            wave.samples.push_back(static_cast<std::int16_t>(sum / static_cast<std::int32_t>(channels)));
        }
    }
    wave.file.frames = static_cast<std::int64_t>(wave.samples.size());
    wave.file.sampleRate = info.samplerate;
    return wave;
}

}  // namespace cabdrive
