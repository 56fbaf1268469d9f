// The program folder: where the settings, controller map and route files are
// read from.
#include "shell/program_folder.h"

#include <filesystem>
#include <system_error>

namespace cabdrive {
namespace {

std::string withSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool holdsSettings(const std::string& folder)
{
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_regular_file(std::filesystem::path(folder) / "cabdrive.dat", ec);
}

}  // namespace

ProgramFolder chooseProgramFolder(const std::string& executableFolder, const std::string& dataFolderArgument,
                                  const std::string& installedDemoFolder)
{
    if (dataFolderArgument.empty()) {
        if (!holdsSettings(executableFolder) && holdsSettings(installedDemoFolder))
            return chooseProgramFolder(executableFolder, installedDemoFolder);
        return {withSeparator(executableFolder), {}};
    }
    std::error_code ec;
    const auto folder = std::filesystem::absolute(dataFolderArgument, ec);
    if (ec || !std::filesystem::is_directory(folder, ec))
        return {{}, "データフォルダが見つかりません: " + dataFolderArgument};
    std::filesystem::current_path(folder, ec);
    if (ec)
        return {{}, "データフォルダに移動できません: " + dataFolderArgument};
    return {withSeparator(folder.lexically_normal().string()), {}};
}

}  // namespace cabdrive
