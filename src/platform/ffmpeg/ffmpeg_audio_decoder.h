// FfmpegAudioDecoder: the sound track of a movie or a WAV file, decoded in
// blocks into interleaved signed 16-bit samples for the sound output.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

struct AVFrame;

namespace cabdrive {

class FfmpegAudioDecoder {
public:
    FfmpegAudioDecoder();
    ~FfmpegAudioDecoder();
    FfmpegAudioDecoder(const FfmpegAudioDecoder&) = delete;
    FfmpegAudioDecoder& operator=(const FfmpegAudioDecoder&) = delete;

    // Opens the file's best audio stream; false (nothing open) when the file
    // cannot be read or holds no sound its codecs decode.
    bool open(const std::filesystem::path& file);
    void close();
    bool isOpen() const;

    int sampleRate() const;  // Hz
    int channels() const;    // 1 or 2: more channels are mixed down to two
    // The stream's length as the file states it; zero when it does not.
    std::chrono::microseconds length() const;

    // Appends the samples of the next decoded block (interleaved by
    // channels()); false once the stream is exhausted or broken.
    bool decodeMore(std::vector<std::int16_t>& samples);

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
};

// Appends a decoded frame's samples, whatever the codec's sample format
// (8/16/32-bit integer, float or double, packed or planar), as signed 16-bit
// samples interleaved in `outChannels` channels (1 or 2). A frame with more
// channels than that keeps the first one (mono) or folds the odd-numbered
// ones into the left and the even-numbered into the right (stereo); false for
// a sample format it does not know.
bool appendAsS16(const AVFrame& frame, int outChannels, std::vector<std::int16_t>& samples);

}  // namespace cabdrive
