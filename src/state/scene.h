// The scene of the cab view: named pictures and the sprites that show them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ports/picture.h"

namespace cabdrive {

// A picture of the picture list. A picture may hold several equal cells
// (patterns) laid out left to right, then top to bottom.
struct ScenePicture {
    std::string name;
    Picture picture;
    int patternWidth = 0;   // px; the picture's width unless set
    int patternHeight = 0;  // px; the picture's height unless set
    bool transparent = false;
    std::uint32_t transparentColour = 0;  // 0xAARRGGBB, used while transparent

    int patternCount() const;
    // Transparent, with the colour of the bottom-left pixel as the key.
    void keyByBottomLeftPixel();
};

enum class SpriteKind {
    Plain,     // drawn as is
    Extended,  // may also be rotated and drawn with an alpha
};

struct Sprite {
    std::string name;  // the name of its picture
    SpriteKind kind = SpriteKind::Plain;
    double x = 0, y = 0;  // px on the cab surface
    int z = 0;            // higher is drawn later, on top
    int width = 0, height = 0;  // px
    bool visible = true;
    int pattern = 0;
    int angle = 0;    // 1/256 turns about the picture's centre (255 make a full circle)
    int alpha = 255;  // 0 transparent .. 255 opaque
};

// Pictures and sprites are found by name without regard to letter case; an
// operation on a sprite that does not exist does nothing.
class Scene {
public:
    // Adds (or replaces) a picture; its pattern size starts as its own size.
    ScenePicture& addPicture(std::string name, Picture picture);
    const ScenePicture* picture(std::string_view name) const;
    ScenePicture* picture(std::string_view name);

    // Adds a sprite for the picture of the same name; its size starts as
    // that picture's pattern size.
    Sprite& addSprite(std::string_view pictureName, SpriteKind kind, double x, double y, int z);
    const Sprite* sprite(std::string_view name) const;
    Sprite* sprite(std::string_view name);

    void setVisible(std::string_view name, bool visible);
    void setPattern(std::string_view name, int pattern);
    void setAngle(std::string_view name, int angle);
    void setAlpha(std::string_view name, int alpha);
    void setPosition(std::string_view name, double x, double y);
    // Pattern cells of the sprite's picture; 0 when there is no such sprite.
    int patternCount(std::string_view name) const;
    // Shows the pattern only when the picture has that many cells.
    void showPatternIfPresent(std::string_view name, int pattern);

    // Sprites in drawing order: ascending z, equal z in order of creation.
    std::vector<const Sprite*> spritesInDrawingOrder() const;
    std::size_t spriteCount() const { return m_sprites.size(); }
    // Sprites in order of creation.
    const std::vector<Sprite>& sprites() const { return m_sprites; }

private:
    template <typename Change>
    void changeSprite(std::string_view name, Change change)
    {
        if (Sprite* found = sprite(name))
            change(*found);
    }

    // Names without regard to letter case, hashed and compared as such, so
    // that the tick's hundred lookups by name cost no scan of the lists.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct SameName {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, SameName>;

    std::vector<ScenePicture> m_pictures;
    std::vector<Sprite> m_sprites;
    NameIndex m_pictureIndex;  // the first picture of each name
    NameIndex m_spriteIndex;   // the first sprite of each name
};

}  // namespace cabdrive
