// The scene of the cab view: named pictures and the sprites that show them.
#include "state/scene.h"

#include <algorithm>

namespace cabdrive {
namespace {

// ASCII letters only, as names are matched on the platform the data comes
// from; the locale's tolower would be a library call per letter, and the
// tick looks names up hundreds of times.
constexpr unsigned char lower(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// The first item of `name`, by the index kept beside the list.
template <typename Item, typename Index>
Item* findByName(std::vector<Item>& items, const Index& index, std::string_view name)
{
    const auto found = index.find(name);
    return found == index.end() ? nullptr : &items[found->second];
}

}  // namespace

std::size_t Scene::NameHash::operator()(std::string_view name) const
{
    std::size_t hash = 14695981039346656037u;  // FNV-1a over the lower-case bytes
    for (const char c : name)
        hash = (hash ^ lower(c)) * 1099511628211u;
    return hash;
}

bool Scene::SameName::operator()(std::string_view a, std::string_view b) const
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

int ScenePicture::patternCount() const
{
    if (patternWidth <= 0 || patternHeight <= 0)
        return 0;
    return (picture.width / patternWidth) * (picture.height / patternHeight);
}

void ScenePicture::keyByBottomLeftPixel()
{
    transparent = true;
    if (picture.width > 0 && picture.height > 0)
        transparentColour = picture.pixel(0, picture.height - 1);
}

ScenePicture& Scene::addPicture(std::string name, Picture picture)
{
    ScenePicture* entry = findByName(m_pictures, m_pictureIndex, name);
    if (!entry) {
        m_pictureIndex.emplace(name, m_pictures.size());
        entry = &m_pictures.emplace_back();
    }
    entry->name = std::move(name);
    entry->patternWidth = picture.width;
    entry->patternHeight = picture.height;
    entry->picture = std::move(picture);
    entry->transparent = false;
    return *entry;
}

const ScenePicture* Scene::picture(std::string_view name) const
{
    return findByName(const_cast<std::vector<ScenePicture>&>(m_pictures), m_pictureIndex, name);
}

ScenePicture* Scene::picture(std::string_view name)
{
    return findByName(m_pictures, m_pictureIndex, name);
}

Sprite& Scene::addSprite(std::string_view pictureName, SpriteKind kind, double x, double y, int z)
{
    m_spriteIndex.emplace(pictureName, m_sprites.size());
    Sprite& sprite = m_sprites.emplace_back();
    sprite.name = std::string(pictureName);
    sprite.kind = kind;
    sprite.x = x;
    sprite.y = y;
    sprite.z = z;
    if (const ScenePicture* shown = picture(pictureName)) {
        sprite.width = shown->patternWidth;
        sprite.height = shown->patternHeight;
    }
    return sprite;
}

const Sprite* Scene::sprite(std::string_view name) const
{
    return findByName(const_cast<std::vector<Sprite>&>(m_sprites), m_spriteIndex, name);
}

Sprite* Scene::sprite(std::string_view name)
{
    return findByName(m_sprites, m_spriteIndex, name);
}

void Scene::setVisible(std::string_view name, bool visible)
{
    changeSprite(name, [visible](Sprite& sprite) { sprite.visible = visible; });
}

void Scene::setPattern(std::string_view name, int pattern)
{
    changeSprite(name, [pattern](Sprite& sprite) { sprite.pattern = pattern; });
}

void Scene::setAngle(std::string_view name, int angle)
{
    changeSprite(name, [angle](Sprite& sprite) { sprite.angle = angle; });
}

void Scene::setAlpha(std::string_view name, int alpha)
{
    changeSprite(name, [alpha](Sprite& sprite) { sprite.alpha = alpha; });
}

void Scene::setPosition(std::string_view name, double x, double y)
{
    changeSprite(name, [x, y](Sprite& sprite) {
        sprite.x = x;
        sprite.y = y;
    });
}

int Scene::patternCount(std::string_view name) const
{
    const ScenePicture* shown = sprite(name) ? picture(name) : nullptr;
    return shown ? shown->patternCount() : 0;
}

void Scene::showPatternIfPresent(std::string_view name, int pattern)
{
    if (pattern >= 0 && pattern < patternCount(name))
        setPattern(name, pattern);
}

std::vector<const Sprite*> Scene::spritesInDrawingOrder() const
{
    std::vector<const Sprite*> ordered;
    ordered.reserve(m_sprites.size());
    for (const Sprite& sprite : m_sprites)
        ordered.push_back(&sprite);
    std::stable_sort(ordered.begin(), ordered.end(), [](const Sprite* a, const Sprite* b) { return a->z < b->z; });
    return ordered;
}

}  // namespace cabdrive
