// The title screen's media: title and menu pictures, line and train buttons, the cursor, title sounds and the opening movie.
#include "title_media.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "avi_writer.h"
#include "sound_synth.h"
#include "track_view.h"
#include "wave_file.h"

namespace cabdrive::demo {
namespace {

constexpr int titleWidth = 800, titleHeight = 600;   // px, the title window's picture area
constexpr int movieWidth = 640, movieHeight = 360;   // px, the opening movie's surface
constexpr int movieFramesPerSecond = 30;
constexpr double movieSeconds = 6.0;
constexpr int jpegQuality = 90;
constexpr int soundRate = 22050;  // Hz
const char* const fontFamily = "Noto Sans CJK JP";

// Painting text needs a GUI application; the tool has one, tests may not.
// Holds a temporary offscreen one while needed (Qt keeps pointers to argc and argv).
struct GuiWhenMissing {
    int argc = 3;
    char name[10] = "demo-line", platform[10] = "-platform", offscreen[10] = "offscreen";
    char* argv[4] = {name, platform, offscreen, nullptr};
    std::unique_ptr<QGuiApplication> app;

    GuiWhenMissing()
    {
        if (QGuiApplication::instance() == nullptr)
            app = std::make_unique<QGuiApplication>(argc, argv);
    }
    GuiWhenMissing(const GuiWhenMissing&) = delete;
    GuiWhenMissing& operator=(const GuiWhenMissing&) = delete;
};

void save(const QImage& image, const std::filesystem::path& path, const char* format, int quality = -1)
{
    std::filesystem::create_directories(path.parent_path());
    if (!image.save(QString::fromStdString(path.string()), format, quality))
        throw std::runtime_error("cannot write " + path.string());
}

QFont font(int pixelSize, bool bold)
{
    QFont f(fontFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// Text with a dark outline so it reads over any picture.
void outlinedText(QPainter& p, const QRect& box, int flags, const QString& text, const QFont& f, QColor fill)
{
    QPainterPath path;
    const QFontMetrics metrics(f);
    const QRect bounds = metrics.boundingRect(box, flags, text);
    path.addText(bounds.left(), bounds.top() + metrics.ascent(), f, text);
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(QColor(0, 0, 0, 200), std::max(2.0, f.pixelSize() / 12.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, fill);
}

// The scenery of the title pictures and the opening: a station on a curve.
TrackFeatures titleScenery()
{
    TrackFeatures line;
    line.lengthM = 2000;
    line.platforms = {{0, 180, true}};
    line.tunnels = {{900, 1300}};
    line.levelCrossings = {420};
    line.pointsAt = {210};
    line.heightAt = [](double m) { return m > 500 ? (m - 500) * 0.01 : 0.0; };
    line.curveAt = [](double m) { return m > 260 && m < 800 ? 1.0 / 600 : 0.0; };
    return line;
}

QImage trackPicture(double cameraM, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    renderTrackView(titleScenery(), cameraM, width, height, reinterpret_cast<std::uint32_t*>(image.bits()));
    return image;
}

QImage titlePicture(double cameraM, const std::string& lineName, const std::string& downName, const std::string& upName)
{
    QImage image = trackPicture(cameraM, titleWidth, titleHeight);
    QPainter p(&image);
    QLinearGradient shade(0, 0, 0, 260);
    shade.setColorAt(0, QColor(0, 0, 40, 150));
    shade.setColorAt(1, QColor(0, 0, 40, 0));
    p.fillRect(0, 0, titleWidth, 260, shade);
    outlinedText(p, QRect(0, 60, titleWidth, 110), Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(lineName),
                 font(84, true), Qt::white);
    outlinedText(p, QRect(0, 175, titleWidth, 40), Qt::AlignHCenter | Qt::AlignTop,
                 QString::fromStdString(downName + "　／　" + upName), font(28, true), QColor(255, 235, 150));
    return image;
}

QImage menuPicture(const std::string& lineName)
{
    QImage image = trackPicture(60, titleWidth, titleHeight);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(10, 20, 50, 170));
    outlinedText(p, QRect(40, 40, 720, 60), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(lineName), font(44, true),
                 Qt::white);
    outlinedText(p, QRect(73, 110, 650, 30), Qt::AlignLeft | Qt::AlignTop,
                 QString::fromUtf8("運転する路線を選んでください"), font(22, false), QColor(220, 230, 255));
    outlinedText(p, QRect(330, 455, 460, 30), Qt::AlignRight | Qt::AlignTop,
                 QString::fromUtf8("列車をクリックすると運転を開始します"), font(20, false), QColor(220, 230, 255));
    return image;
}

// A menu button: a rounded panel with the direction's name.
QImage lineButton(const std::string& lineName, const std::string& directionName, QColor accent)
{
    QImage image(440, 48, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 50));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 48);
    fill.setColorAt(0, accent.lighter(130));
    fill.setColorAt(1, accent.darker(140));
    p.setBrush(fill);
    p.setPen(QPen(QColor(255, 255, 255, 180), 2));
    p.drawRoundedRect(QRectF(2, 2, 436, 44), 10, 10);
    p.setPen(Qt::white);
    p.setFont(font(22, true));
    p.drawText(QRect(18, 0, 420, 48), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromStdString(lineName + "　" + directionName));
    return image;
}

// The train button: a stainless commuter car seen from the side. It sits at
// (570, 500), so it must stay under 71 px high to clear the buttons at y 571.
QImage trainButton()
{
    QImage image(200, 66, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 50));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(6, 8, 188, 38);
    QLinearGradient metal(0, body.top(), 0, body.bottom());
    metal.setColorAt(0, QColor(226, 228, 232));
    metal.setColorAt(0.5, QColor(188, 192, 198));
    metal.setColorAt(1, QColor(150, 154, 160));
    p.setPen(QPen(QColor(90, 90, 96), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(body, 5, 5);
    p.fillRect(QRectF(6, 34, 188, 5), QColor(40, 150, 70));  // line colour band
    p.fillRect(QRectF(6, 39, 188, 2), QColor(230, 120, 40));
    p.setBrush(QColor(50, 70, 90));
    for (int k = 0; k < 4; ++k) {
        p.drawRect(QRectF(18 + k * 45, 14, 9, 28));  // doors
        p.drawRect(QRectF(31 + k * 45, 14, 24, 13));  // windows
    }
    p.setBrush(QColor(40, 40, 44));
    for (const double x : {26.0, 46.0, 154.0, 174.0})
        p.drawEllipse(QPointF(x, 52), 7, 7);  // wheels
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(QPointF(60, 8), QPointF(75, 1));  // pantograph
    p.drawLine(QPointF(75, 1), QPointF(90, 8));
    p.drawLine(QPointF(64, 1), QPointF(86, 1));
    p.setPen(Qt::white);
    p.setFont(font(12, true));
    p.drawText(QRect(60, 50, 80, 16), Qt::AlignCenter, QString::fromUtf8("運転開始"));
    return image;
}

// The pointer set beside the chosen line: a yellow arrow on black (the colour key).
QImage cursorPicture()
{
    QImage image(28, 28, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 80, 0), 1.5));
    p.setBrush(QColor(255, 210, 40));
    const QPointF arrow[3] = {QPointF(4, 3), QPointF(25, 14), QPointF(4, 25)};
    p.drawPolygon(arrow, 3);
    return image;
}

Wave hornBlast()
{
    const Wave attack = hornPart(0), sustain = hornPart(1), release = hornPart(2);
    const double a = static_cast<double>(attack.samples.size()) / soundRate;
    const double s = static_cast<double>(sustain.samples.size()) / soundRate;
    const double r = static_cast<double>(release.samples.size()) / soundRate;
    return mixLayers({{&attack, 0, 1}, {&sustain, a, 1}, {&sustain, a + s, 1}, {&release, a + 2 * s, 1}}, a + 2 * s + r);
}

// About six seconds through the station with the line's name, a melody and the horn.
void writeOpeningMovie(const std::filesystem::path& path, const std::string& lineName, const std::string& downName,
                       const std::string& upName)
{
    std::filesystem::create_directories(path.parent_path());
    const TrackFeatures scenery = titleScenery();
    AviWriter movie(path.string(), movieWidth, movieHeight, movieFramesPerSecond, soundRate);

    const Wave running = runningBand(5, 13), ambience = stationAmbience(0), melody = departureMelody(0);
    const Wave horn = hornBlast();
    const Wave sound = mixLayers({{&running, 0, 0.6, true, 5.2, movieSeconds},
                                  {&ambience, 0, 0.5, true, 1.5, 3.5},
                                  {&melody, 0, 0.45, false, 2.5, 4.5},
                                  {&horn, 3.6, 0.8}},
                                 movieSeconds);
    movie.addAudio(sound.samples.data(), sound.samples.size());

    const int frames = static_cast<int>(movieSeconds * movieFramesPerSecond);
    QImage frame(movieWidth, movieHeight, QImage::Format_RGB32);
    for (int f = 0; f < frames; ++f) {
        const double t = static_cast<double>(f) / movieFramesPerSecond;
        const double cameraM = 20 + 8 * t + 1.2 * t * t;  // pulling out of the station
        renderTrackView(scenery, cameraM, movieWidth, movieHeight, reinterpret_cast<std::uint32_t*>(frame.bits()));
        {
            QPainter p(&frame);
            const double captionAlpha = std::clamp(t - 0.8, 0.0, 1.0);
            if (captionAlpha > 0) {
                p.setOpacity(captionAlpha);
                outlinedText(p, QRect(0, 110, movieWidth, 80), Qt::AlignHCenter | Qt::AlignTop,
                             QString::fromStdString(lineName), font(60, true), Qt::white);
                outlinedText(p, QRect(0, 190, movieWidth, 30), Qt::AlignHCenter | Qt::AlignTop,
                             QString::fromStdString(downName + "　／　" + upName), font(22, true), QColor(255, 235, 150));
            }
            const double fade = std::clamp((t - (movieSeconds - 0.7)) / 0.7, 0.0, 1.0);
            if (fade > 0) {
                p.setOpacity(fade);
                p.fillRect(frame.rect(), Qt::black);
            }
        }
        movie.addFrame(reinterpret_cast<const std::uint32_t*>(frame.constBits()));
    }
    movie.finish();
}

}  // namespace

void writeTitleMedia(const std::string& dataFolder, const std::string& lineName, const std::string& downName,
                     const std::string& upName)
{
    const GuiWhenMissing gui;
    const std::filesystem::path folder(dataFolder);
    const std::filesystem::path title = folder / "image" / "title";
    save(titlePicture(40, lineName, downName, upName), title / "title01.jpg", "JPG", jpegQuality);
    save(titlePicture(790, lineName, downName, upName), title / "title02.jpg", "JPG", jpegQuality);
    save(menuPicture(lineName), title / "title2.jpg", "JPG", jpegQuality);
    save(lineButton(lineName, downName, QColor(30, 90, 170)), title / "line01.bmp", "BMP");
    save(lineButton(lineName, upName, QColor(190, 90, 30)), title / "line02.bmp", "BMP");
    save(trainButton(), title / "train1.bmp", "BMP");
    save(cursorPicture(), title / "cursor.bmp", "BMP");
    writeWave((folder / "sound" / "34109.wav").string(), titleJingle());
    writeWave((folder / "sound" / "start.wav").string(), hornBlast());
    writeOpeningMovie(folder / "move" / "opening.avi", lineName, downName, upName);
}

}  // namespace cabdrive::demo
