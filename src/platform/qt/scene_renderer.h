// SceneRenderer: composes the cab view (video frame, texts, sprites, clock,
// fade) into a QImage back buffer with QPainter.
#pragma once

#include <QFont>
#include <QImage>
#include <QStaticText>

#include <cstdint>
#include <string>
#include <unordered_map>

#include "ports/frame_bitmap.h"

namespace cabdrive {

struct ClockFace;
struct Picture;
struct Run;
struct ScenePicture;
struct Sprite;
struct TextDisplay;
class Scene;

class SceneRenderer {
public:
    // The back buffer has the cab surface's design size.
    SceneRenderer(int width, int height);

    // Draws one pass: black, the frame stretched over the view with the text
    // displays on it, the sprites in drawing order, the clock.
    void compose(const Run& run, const FrameBitmap& frame);
    // Blackens the rectangle (0, 0, width, height) at alpha 0..255.
    void fade(int width, int height, int alpha);
    // Before the start: the sprites, then the picture over them at (0, 0).
    void composeStill(const Scene& scene, const Picture& picture);

    // The font the text displays are drawn in at a layout size (pt).
    static QFont textFont(int fontSize);

    const QImage& backBuffer() const { return m_back; }
    int messageWidth() const { return m_messageWidth; }  // px, measured in the last pass

private:
    struct Cached {
        QImage image;  // RGB when opaque, else premultiplied ARGB with 0 where the key colour was
        int width = 0, height = 0;
        bool transparent = false;
        std::uint32_t key = 0;
    };

    struct PreparedText {
        QFont font;
        QStaticText text;
        int width = 0;  // px
    };

    bool copyFrame(const QRect& view, const FrameBitmap& frame);
    void drawFrame(QPainter& painter, const QRect& view, const FrameBitmap& frame);
    void drawTexts(QPainter& painter, const Run& run, const QRect& view);
    void drawSprites(QPainter& painter, const Scene& scene);
    void drawSprite(QPainter& painter, const Sprite& sprite, const ScenePicture& picture);
    void drawClock(QPainter& painter, const Run& run);
    const QImage& pictureImage(const ScenePicture& picture);
    const PreparedText& preparedText(const TextDisplay& display);

    QImage m_back;
    QImage m_clockSurface;  // 50 x 50, redrawn when the face changes
    std::uint32_t m_clockRevision = 0;
    const Scene* m_scene = nullptr;  // the scene the picture cache belongs to
    std::unordered_map<const std::uint32_t*, Cached> m_pictures;  // by pixel storage
    std::unordered_map<std::string, PreparedText> m_texts;  // by size and text
    int m_messageWidth = 0;  // px
};

}  // namespace cabdrive
