// ClickablePicture: a picture (or a caption) of the title window that reports
// clicks and mouse presses, like the form's image components.
#include "shell/clickable_picture.h"

#include <QBitmap>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>

#include "common/paths.h"

namespace cabdrive {

ClickablePicture::ClickablePicture(QWidget* parent) : QLabel(parent) {}

bool ClickablePicture::loadPicture(const std::string& dataPath, const QString& fallbackText, bool transparentCorner)
{
    const QImage image = QImage(QString::fromStdString(resolveDataPath(dataPath).string())).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        if (fallbackText.isEmpty())
            setText(fallbackText);
        else
            showCaption(fallbackText);
        return false;
    }
    setStyleSheet(QString());
    QPixmap pixmap = QPixmap::fromImage(image);
    if (transparentCorner)
        pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1))));
    setPixmap(pixmap);
    resize(pixmap.size());
    return true;
}

void ClickablePicture::showCaption(const QString& text)
{
    setStyleSheet(QStringLiteral("color: white; background: rgba(0, 0, 0, 140); font-weight: bold; padding: 2px 6px;"));
    setText(text);
    adjustSize();
}

void ClickablePicture::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed(event->button());
    event->accept();
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    event->accept();
}

}  // namespace cabdrive
