// Loading pictures named in data files.
#include "ports/picture.h"

#include "common/paths.h"

namespace cabdrive {

std::optional<Picture> loadDataPicture(PictureLoader& loader, std::string_view dataPath)
{
    if (dataPath.empty())
        return std::nullopt;
    return loader.load(resolveDataPath(dataPath));
}

}  // namespace cabdrive
