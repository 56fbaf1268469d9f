// FfmpegVideoReader: the route video (and any other AVI) decoded frame by
// frame number with FFmpeg, into one RGB32 frame bitmap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ports/frame_bitmap.h"
#include "ports/video_reader.h"

namespace cabdrive {

class FfmpegVideoReader final : public VideoReader {
public:
    FfmpegVideoReader();
    ~FfmpegVideoReader() override;
    FfmpegVideoReader(const FfmpegVideoReader&) = delete;
    FfmpegVideoReader& operator=(const FfmpegVideoReader&) = delete;

    bool open(const std::string& dataPath) override;
    void close() override;
    bool isOpen() const override;
    std::int32_t frameCount() const override;
    // Frame-exact: a frame ahead within reach is decoded onward from the last
    // one; any other frame seeks to the keyframe at or before it and decodes
    // forward from there. False for a frame the header counts but the file,
    // cut short or damaged, does not hold.
    bool decodeFrame(std::int32_t n) override;

    // The bitmap keeps the last decoded frame, also after close() or a failed
    // open (the picture stays on screen); its storage moves only when a frame
    // of another size is decoded.
    const FrameBitmap& frame() const;
    // Frames are converted straight to this size (px), the view's, in the same
    // pass that turns them into RGB; 0 x 0 keeps the video's own size.
    void setFrameSize(int width, int height);
    double framesPerSecond() const;  // 0 when nothing is open
    int videoWidth() const;          // px of the open video; 0 when nothing is open
    int videoHeight() const;

private:
    struct Decoder;
    std::unique_ptr<Decoder> m_decoder;  // null while nothing is open
    std::vector<std::uint32_t> m_pixels;
    int m_frameWidth = 0, m_frameHeight = 0;  // px; 0: the video's own size
    FrameBitmap m_frame;
};

}  // namespace cabdrive
