// The scene of the cab view: named pictures and the sprites that show them.
#include "state/scene.h"

#include <algorithm>
#include <cctype>

namespace cabdrive {
namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

template <typename Item>
Item* findByName(std::vector<Item>& items, std::string_view name)
{
    const auto found = std::find_if(items.begin(), items.end(), [name](const Item& item) { return sameName(item.name, name); });
    return found == items.end() ? nullptr : &*found;
}

}  // namespace

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
    ScenePicture* entry = findByName(m_pictures, name);
    if (!entry)
        entry = &m_pictures.emplace_back();
    entry->name = std::move(name);
    entry->patternWidth = picture.width;
    entry->patternHeight = picture.height;
    entry->picture = std::move(picture);
    entry->transparent = false;
    return *entry;
}

const ScenePicture* Scene::picture(std::string_view name) const
{
    return findByName(const_cast<std::vector<ScenePicture>&>(m_pictures), name);
}

ScenePicture* Scene::picture(std::string_view name)
{
    return findByName(m_pictures, name);
}

Sprite& Scene::addSprite(std::string_view pictureName, SpriteKind kind, double x, double y, int z)
{
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
    return findByName(const_cast<std::vector<Sprite>&>(m_sprites), name);
}

Sprite* Scene::sprite(std::string_view name)
{
    return findByName(m_sprites, name);
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
