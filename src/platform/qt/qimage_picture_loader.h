// Picture loading with QImage (BMP, PNG, and JPEG through Qt's plugin).
#pragma once

#include "ports/picture.h"

namespace cabdrive {

class QImagePictureLoader : public PictureLoader {
public:
    std::optional<Picture> load(const std::filesystem::path& file) override;
};

}  // namespace cabdrive
