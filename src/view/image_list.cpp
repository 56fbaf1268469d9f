// The route's window image lists as one picture of equal cells.
#include "view/image_list.h"

#include <algorithm>

namespace cabdrive {
namespace {

constexpr std::uint32_t colourBits = 0x00FFFFFFu;

bool empty(const Picture& picture)
{
    return picture.width <= 0 || picture.height <= 0;
}

std::uint32_t bottomLeft(const Picture& picture)
{
    return picture.pixel(0, picture.height - 1);
}

// The strip's transparent colour: the first picture's.
std::uint32_t stripKey(const std::vector<Picture>& pictures)
{
    const auto first = std::find_if(pictures.begin(), pictures.end(), [](const Picture& p) { return !empty(p); });
    return first == pictures.end() ? 0xFFFF00FFu : bottomLeft(*first);
}

// Cells a picture gives: as many as fit side by side, at least one (a
// picture that could not be read keeps its place as a blank cell).
int cellsOf(const Picture& picture, int cellWidth)
{
    return std::max(1, picture.width / cellWidth);
}

class Strip {
public:
    Strip(int cells, int cellWidth, int cellHeight, std::uint32_t key)
        : m_cellWidth(cellWidth), m_cellHeight(cellHeight), m_key(key)
    {
        m_out.width = cells * cellWidth;
        m_out.height = cellHeight;
        m_out.pixels.assign(static_cast<std::size_t>(m_out.width) * static_cast<std::size_t>(m_out.height), key);
    }

    // Copies `picture` from x = fromX into cell `cell`, one cell wide.
    void copy(const Picture& picture, int fromX, int cell)
    {
        if (empty(picture))
            return;
        const std::uint32_t ownKey = bottomLeft(picture) & colourBits;
        const int width = std::min(m_cellWidth, picture.width - fromX);
        const int height = std::min(m_cellHeight, picture.height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                std::uint32_t p = picture.pixel(fromX + x, y);
                if ((p & colourBits) == ownKey)
                    p = m_key;
                else if ((p & colourBits) == (m_key & colourBits))
                    p ^= 1;  // a visible pixel that happens to be the key colour stays visible
                m_out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_out.width)
                             + static_cast<std::size_t>(cell * m_cellWidth + x)] = p;
            }
        }
    }

    Picture take() { return std::move(m_out); }

private:
    int m_cellWidth, m_cellHeight;
    std::uint32_t m_key;
    Picture m_out;
};

}  // namespace

Picture imageListStrip(const std::vector<Picture>& pictures, int cellWidth, int cellHeight)
{
    if (pictures.empty() || cellWidth <= 0 || cellHeight <= 0)
        return {};
    int cells = 0;
    for (const Picture& picture : pictures)
        cells += cellsOf(picture, cellWidth);
    Strip strip(cells, cellWidth, cellHeight, stripKey(pictures));
    int cell = 0;
    for (const Picture& picture : pictures) {
        for (int k = 0; k < cellsOf(picture, cellWidth); ++k)
            strip.copy(picture, k * cellWidth, cell++);
    }
    return strip.take();
}

Picture imageListStripOfOwnSizes(const std::vector<Picture>& pictures)
{
    int width = 0, height = 0;
    for (const Picture& picture : pictures) {
        width = std::max(width, picture.width);
        height = std::max(height, picture.height);
    }
    if (width <= 0 || height <= 0)
        return {};
    Strip strip(static_cast<int>(pictures.size()), width, height, stripKey(pictures));
    for (std::size_t k = 0; k < pictures.size(); ++k)
        strip.copy(pictures[k], 0, static_cast<int>(k));
    return strip.take();
}

}  // namespace cabdrive
