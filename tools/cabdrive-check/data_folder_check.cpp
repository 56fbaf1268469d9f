// cabdrive-check: loading and summarising a data folder.
#include "data_folder_check.h"

namespace cabdrive {

int checkDataFolder(const std::string&, const std::string&, PictureLoader&, std::ostream&, std::ostream& err)
{
    err << "not yet\n";
    return 1;
}

}  // namespace cabdrive
