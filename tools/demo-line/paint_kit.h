// Small drawing helpers shared by the demo line's picture painters.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <string>

namespace cabdrive::demo {

// Transparent areas of a colour-keyed picture are painted in this colour; the
// bottom-left pixel of every keyed picture has it.
inline const QColor keyColour(255, 0, 255);

// A picture filled with `fill`.
QImage canvas(int width, int height, const QColor& fill = keyColour);

// Sets the bottom-left pixel to the key colour: the program takes the
// transparent colour from there.
void markKey(QImage& image);

QFont japaneseFont(double pixelSize, bool bold = true);

// The pixel size at which the text fits the width: pixelSize, or smaller.
double fittingPixelSize(const QString& text, double pixelSize, double width, bool bold = true);

// Text centred in a rectangle.
void centredText(QPainter& p, const QRectF& box, const QString& text, double pixelSize, const QColor& colour, bool bold = true);

// Saves a picture as BMP (or JPEG for ".jpg") under dataFolder at a data path
// (backslashes), creating folders. Throws std::runtime_error on failure.
void savePicture(const QImage& image, const std::string& dataFolder, const std::string& dataPath);

inline QString qs(const std::string& utf8) { return QString::fromUtf8(utf8.c_str()); }

}  // namespace cabdrive::demo
