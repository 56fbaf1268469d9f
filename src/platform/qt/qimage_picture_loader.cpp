// Picture loading with QImage.
#include "platform/qt/qimage_picture_loader.h"

#include <QImage>
#include <QString>

#include <cstring>

namespace cabdrive {

std::optional<Picture> QImagePictureLoader::load(const std::filesystem::path& file)
{
    QImage image;
    if (!image.load(QString::fromStdString(file.string())) || image.isNull())
        return std::nullopt;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Picture picture{argb.width(), argb.height(), {}};
    picture.pixels.resize(static_cast<std::size_t>(argb.width()) * static_cast<std::size_t>(argb.height()));
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(picture.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(argb.width()),
                    argb.constScanLine(y), static_cast<std::size_t>(argb.width()) * sizeof(std::uint32_t));
    return picture;
}

}  // namespace cabdrive
