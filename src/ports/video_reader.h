// VideoReader: the route video, frame n on demand. The platform decodes into
// its own frame bitmap, which the renderer draws; the core only says which
// file is open and which frame to decode.
#pragma once

#include <cstdint>
#include <string>

namespace cabdrive {

class VideoReader {
public:
    virtual ~VideoReader() = default;

    // Closes any open file first. `dataPath` is written as data files write
    // it (backslashes, any letter case). False when the file cannot be opened
    // or holds no video; nothing is open then.
    virtual bool open(const std::string& dataPath) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual std::int32_t frameCount() const = 0;  // 0 when nothing is open
    // Decodes frame n (from 0) into the frame bitmap; false (bitmap unchanged)
    // outside 0 .. frameCount - 1 or on a decoding error.
    virtual bool decodeFrame(std::int32_t n) = 0;
};

// Opens nothing: for runs without a picture.
class NullVideoReader final : public VideoReader {
public:
    bool open(const std::string&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    std::int32_t frameCount() const override { return 0; }
    bool decodeFrame(std::int32_t) override { return false; }
};

}  // namespace cabdrive
