// SceneRenderer: the cab view composed with QPainter.
#include "platform/qt/scene_renderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "state/run.h"
#include "view/text_displays.h"

namespace cabdrive {
namespace {

// The windows' button face, on which the clock's hands are drawn; being the
// colour of the corner pixel it becomes the clock's transparent colour.
constexpr QRgb buttonFace = 0xFFF0F0F0;
constexpr QRgb handColour = 0xFFFFFFFF;
constexpr int turnSteps = 256;  // sprite angle steps in a full turn

// The layout names a Windows font; this machine's Japanese fonts stand in.
void substituteLayoutFont()
{
    if (QFont::substitutes(QStringLiteral("Meiryo")).isEmpty())
        QFont::insertSubstitutions(QStringLiteral("Meiryo"),
                                   {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic")});
}

// A point size of the layout in px of a 96-dpi screen.
int pixelSize(int points)
{
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

bool sameColour(std::uint32_t a, std::uint32_t b)
{
    return (a & 0x00FFFFFFu) == (b & 0x00FFFFFFu);
}

// Opaque pixels, and fully transparent ones where the key colour was. An
// opaque picture is kept without alpha, which Qt copies rather than blends.
QImage keyedImage(const std::uint32_t* pixels, int width, int height, std::size_t rowPixels, bool transparent, std::uint32_t key)
{
    QImage image(width, height, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = pixels + static_cast<std::size_t>(y) * rowPixels;
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = transparent && sameColour(from[x], key) ? 0u : (from[x] | 0xFF000000u);
    }
    return image;
}

}  // namespace

SceneRenderer::SceneRenderer(int width, int height) : m_back(width, height, QImage::Format_RGB32)
{
    m_back.fill(Qt::black);
}

QFont SceneRenderer::textFont(int fontSize)
{
    substituteLayoutFont();
    QFont font(QStringLiteral("Meiryo"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(pixelSize(fontSize));
    return font;
}

void SceneRenderer::compose(const Run& run, const FrameBitmap& frame)
{
    const QRect view(0, 0, run.settings.viewWidth, run.settings.viewHeight);
    const bool copied = copyFrame(view, frame);
    QPainter painter(&m_back);
    if (copied) {
        // Black only where the frame does not lie.
        painter.fillRect(QRect(0, view.height(), m_back.width(), m_back.height() - view.height()), Qt::black);
        painter.fillRect(QRect(view.width(), 0, m_back.width() - view.width(), view.height()), Qt::black);
    } else {
        painter.fillRect(m_back.rect(), Qt::black);
        drawFrame(painter, view, frame);
    }
    drawTexts(painter, run, view);
    drawSprites(painter, run.scene);
    drawClock(painter, run);
}

// The reader normally delivers frames at the view's size already: their rows
// are copied as they are, which costs a fraction of a painted image.
bool SceneRenderer::copyFrame(const QRect& view, const FrameBitmap& frame)
{
    if (frame.empty() || frame.width != view.width() || frame.height != view.height()
        || !m_back.rect().contains(view))
        return false;
    const auto rowBytes = static_cast<std::size_t>(frame.width) * sizeof(std::uint32_t);
    const auto* source = reinterpret_cast<const uchar*>(frame.pixels);
    for (int y = 0; y < frame.height; ++y)
        std::memcpy(m_back.scanLine(y), source + static_cast<std::ptrdiff_t>(y) * frame.stride, rowBytes);
    return true;
}

void SceneRenderer::fade(int width, int height, int alpha)
{
    QPainter painter(&m_back);
    painter.fillRect(QRect(0, 0, width, height), QColor(0, 0, 0, std::clamp(alpha, 0, 255)));
}

void SceneRenderer::composeStill(const Scene& scene, const Picture& picture)
{
    QPainter painter(&m_back);
    painter.fillRect(m_back.rect(), Qt::black);
    drawSprites(painter, scene);
    if (picture.width > 0 && picture.height > 0)
        painter.drawImage(0, 0, keyedImage(picture.pixels.data(), picture.width, picture.height,
                                           static_cast<std::size_t>(picture.width), false, 0));
}

// A frame of another size is stretched over the view.
void SceneRenderer::drawFrame(QPainter& painter, const QRect& view, const FrameBitmap& frame)
{
    if (frame.empty())
        return;
    const QImage picture(reinterpret_cast<const uchar*>(frame.pixels), frame.width, frame.height, frame.stride,
                         QImage::Format_RGB32);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(view, picture);
}

// The text displays are written on the video and clipped to it.
void SceneRenderer::drawTexts(QPainter& painter, const Run& run, const QRect& view)
{
    painter.save();
    painter.setClipRect(view);
    const TextDisplays texts = layoutTextDisplays(run, m_messageWidth);
    const int shadow = textShadowOffset(run.settings.viewWidth);
    const auto draw = [&](const TextDisplay& display) {
        const PreparedText& prepared = preparedText(display);
        painter.setFont(prepared.font);
        painter.setPen(Qt::black);
        painter.drawStaticText(display.x + shadow, display.y + shadow, prepared.text);
        painter.setPen(Qt::white);
        painter.drawStaticText(display.x, display.y, prepared.text);
        return prepared.width;
    };
    if (texts.message)
        m_messageWidth = draw(*texts.message);
    for (const TextDisplay& readout : texts.readouts)
        draw(readout);
    painter.restore();
}

// Laying a text out costs more than drawing it, and the texts change only
// with the tick: each text is laid out once for its size.
const SceneRenderer::PreparedText& SceneRenderer::preparedText(const TextDisplay& display)
{
    constexpr std::size_t keptTexts = 256;  // the clock alone makes a new text every second
    std::string key = std::to_string(display.fontSize) + '\n' + display.text;
    if (const auto found = m_texts.find(key); found != m_texts.end())
        return found->second;
    if (m_texts.size() >= keptTexts)
        m_texts.clear();
    PreparedText prepared;
    prepared.font = textFont(display.fontSize);
    const QString text = QString::fromStdString(display.text);
    prepared.text = QStaticText(text);
    prepared.text.setTextFormat(Qt::PlainText);
    prepared.text.prepare(QTransform(), prepared.font);
    prepared.width = QFontMetrics(prepared.font).horizontalAdvance(text);
    return m_texts.emplace(std::move(key), std::move(prepared)).first->second;
}

void SceneRenderer::drawSprites(QPainter& painter, const Scene& scene)
{
    if (m_scene != &scene) {
        m_pictures.clear();
        m_scene = &scene;
    }
    for (const Sprite* sprite : scene.spritesInDrawingOrder()) {
        if (!sprite->visible || sprite->alpha <= 0 || sprite->width <= 0 || sprite->height <= 0)
            continue;
        if (const ScenePicture* picture = scene.picture(sprite->name))
            drawSprite(painter, *sprite, *picture);
    }
}

void SceneRenderer::drawSprite(QPainter& painter, const Sprite& sprite, const ScenePicture& picture)
{
    const int cells = picture.patternCount();
    if (sprite.pattern < 0 || sprite.pattern >= cells)
        return;
    const int columns = picture.picture.width / picture.patternWidth;
    const QRect cell((sprite.pattern % columns) * picture.patternWidth, (sprite.pattern / columns) * picture.patternHeight,
                     picture.patternWidth, picture.patternHeight);
    const QImage& image = pictureImage(picture);
    const QSizeF size(sprite.width, sprite.height);

    painter.save();
    if (sprite.alpha < 255)
        painter.setOpacity(sprite.alpha / 255.0);
    if (sprite.angle % turnSteps != 0) {
        // Turned about the centre of the sprite, clockwise on the screen.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.translate(sprite.x + size.width() / 2, sprite.y + size.height() / 2);
        painter.rotate(sprite.angle * 360.0 / turnSteps);
        painter.drawImage(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), image, cell);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRectF(QPointF(sprite.x, sprite.y), size), image, cell);
    }
    painter.restore();
}

// The clock surface is drawn afresh only when the face changed; it is keyed
// by its corner pixel, so only the hands show.
void SceneRenderer::drawClock(QPainter& painter, const Run& run)
{
    const ClockFace& face = run.state.clockFace;
    if (!face.shown)
        return;
    if (m_clockSurface.isNull() || face.revision != m_clockRevision) {
        QImage surface(ClockFace::size, ClockFace::size, QImage::Format_RGB32);
        surface.fill(buttonFace);
        QPainter hands(&surface);
        hands.setPen(QPen(QColor::fromRgb(handColour), 1));
        for (const ClockHand& hand : face.hands) {
            // Whole pixels, as a line drawn on a bitmap's canvas ends.
            const long double radians = hand.degrees * 3.14159265358979323846L / 180;
            const QPoint end(static_cast<int>(std::lround(ClockFace::centre + hand.length * std::sin(radians))),
                             static_cast<int>(std::lround(ClockFace::centre - hand.length * std::cos(radians))));
            hands.drawLine(QPoint(ClockFace::centre, ClockFace::centre), end);
        }
        hands.end();
        m_clockSurface = keyedImage(reinterpret_cast<const std::uint32_t*>(surface.constBits()), surface.width(), surface.height(),
                                    static_cast<std::size_t>(surface.bytesPerLine() / 4), true, surface.pixel(0, 0));
        m_clockRevision = face.revision;
    }
    painter.drawImage(run.vehicle.clock.x, run.vehicle.clock.y, m_clockSurface);
}

// Pictures are turned into keyed images once; they do not change during a run.
const QImage& SceneRenderer::pictureImage(const ScenePicture& picture)
{
    const Picture& p = picture.picture;
    Cached& cached = m_pictures[p.pixels.data()];
    if (cached.image.isNull() || cached.width != p.width || cached.height != p.height
        || cached.transparent != picture.transparent || cached.key != picture.transparentColour) {
        cached.image = keyedImage(p.pixels.data(), p.width, p.height, static_cast<std::size_t>(p.width), picture.transparent,
                                  picture.transparentColour);
        cached.width = p.width;
        cached.height = p.height;
        cached.transparent = picture.transparent;
        cached.key = picture.transparentColour;
    }
    return cached.image;
}

}  // namespace cabdrive
