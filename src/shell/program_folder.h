// The program folder: where the settings, controller map and route files are
// read from.
#pragma once

#include <string>

namespace cabdrive {

// With a DATA_FOLDER argument that folder is both the program folder and the
// current directory, so a line runs without copying the program into it;
// without one the program folder is the executable's. An installed program
// has no data beside its executable: without an argument it then opens the
// installed demo line (`installedDemoFolder`) as if it had been given. Returns
// the folder with its trailing separator, or an error text when DATA_FOLDER
// is not a folder.
struct ProgramFolder {
    std::string folder;
    std::string error;
};
ProgramFolder chooseProgramFolder(const std::string& executableFolder, const std::string& dataFolderArgument,
                                  const std::string& installedDemoFolder = {});

}  // namespace cabdrive
