// Drawing helpers for the demo line's pictures.
#include "paint_kit.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace cabdrive::demo {

QImage canvas(int width, int height, const QColor& fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void markKey(QImage& image)
{
    image.setPixelColor(0, image.height() - 1, keyColour);
}

QFont japaneseFont(double pixelSize, bool bold)
{
    QFont font("Noto Sans CJK JP");
    font.setPixelSize(std::max(1, static_cast<int>(pixelSize)));
    font.setBold(bold);
    return font;
}

double fittingPixelSize(const QString& text, double pixelSize, double width, bool bold)
{
    const double natural = QFontMetricsF(japaneseFont(pixelSize, bold)).horizontalAdvance(text);
    return natural <= width ? pixelSize : std::floor(pixelSize * width / natural);
}

void centredText(QPainter& p, const QRectF& box, const QString& text, double pixelSize, const QColor& colour, bool bold)
{
    p.setFont(japaneseFont(pixelSize, bold));
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void savePicture(const QImage& image, const std::string& dataFolder, const std::string& dataPath)
{
    std::string relative = dataPath;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::filesystem::path file = std::filesystem::path(dataFolder) / relative;
    std::filesystem::create_directories(file.parent_path());
    const bool jpeg = file.extension() == ".jpg";
    if (!image.save(QString::fromStdString(file.string()), jpeg ? "JPG" : "BMP", jpeg ? 90 : -1))
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace cabdrive::demo
