// FrameBitmap: a view of the decoded video frame that the renderer draws.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cabdrive {

// width x height pixels, rows `stride` bytes apart, each pixel 0xFFRRGGBB in
// native byte order (what QImage::Format_RGB32 wraps without copying).
struct FrameBitmap {
    int width = 0;   // px
    int height = 0;  // px
    int stride = 0;  // bytes per row, a multiple of 4
    const std::uint32_t* pixels = nullptr;  // null until a frame was decoded
    std::uint64_t revision = 0;  // changes whenever the pixels do

    bool empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
    std::uint32_t pixel(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride / 4) + static_cast<std::size_t>(x)];
    }
};

}  // namespace cabdrive
