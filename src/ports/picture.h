// Pictures as the core sees them: plain pixel buffers, loaded through a port.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace cabdrive {

// A decoded picture: width x height pixels, row by row from the top,
// each 0xAARRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

// Decodes picture files (BMP, JPEG, PNG). Implemented by the platform layer.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;

    // The picture in the file, or nothing when it is missing or cannot be
    // decoded.
    virtual std::optional<Picture> load(const std::filesystem::path& file) = 0;
};

// Decodes nothing: for walking a loader's keys without reading any file.
class NoPictureLoader : public PictureLoader {
public:
    std::optional<Picture> load(const std::filesystem::path&) override { return std::nullopt; }
};

// Loads a data path (backslashes and letter case as data files write them).
std::optional<Picture> loadDataPicture(PictureLoader& loader, std::string_view dataPath);

}  // namespace cabdrive
