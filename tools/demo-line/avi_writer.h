// Writes MPEG-4 video in AVI through libavcodec: a keyframe every 30 frames,
// no B-frames, optionally with a PCM sound track.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace cabdrive::demo {

class AviWriter {
public:
    // audioSampleRate 0: no sound track. Throws std::runtime_error naming the
    // file and the failing step.
    AviWriter(const std::string& path, int width, int height, int framesPerSecond, int audioSampleRate);
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    void addFrame(const std::uint32_t* argbPixels);  // width x height, 0xAARRGGBB, row-major
    void addAudio(const std::int16_t* samples, std::size_t count);  // mono
    void finish();  // writes the trailer; the destructor calls it when nobody did
    int framesWritten() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace cabdrive::demo
