// The title screen's files and the ones it cannot start without.
#include "data/title_media.h"

#include <filesystem>
#include <system_error>

#include "common/paths.h"
#include "ports/picture.h"

namespace cabdrive {
namespace {

// The message when the program is not where its data is; the next line
// names the file it missed.
constexpr std::string_view notInPlaceMessage = "実行ファイルが正しい場所に配置されていません";

}  // namespace

std::optional<std::string> startUpRefusal(std::string_view folder, PictureLoader& pictures)
{
    const std::string settings = joinPath(folder, "cabdrive.dat");
    std::error_code ec;
    if (!std::filesystem::exists(resolveDataPath(settings), ec))
        return withFileNotOpened(notInPlaceMessage, settings);
    for (const std::string_view picture : {titlePictureFiles[0], titlePictureFiles[1], menuPictureFile}) {
        const std::string path = joinPath(folder, picture);
        if (!loadDataPicture(pictures, path))
            return withFileNotOpened(notInPlaceMessage, path);
    }
    return std::nullopt;
}

}  // namespace cabdrive
