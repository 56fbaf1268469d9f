// cabdrive-check: loads a data folder the way the program does and
// summarises it for route and vehicle authors.
#pragma once

#include <ostream>
#include <string>

namespace cabdrive {

class PictureLoader;

// Loads the settings file, the controller map, the vehicle file (relative to
// the data folder; "train_E231_5B.dat" when empty) and both route files.
// Prints the summary to `out` and returns 0, or prints the loader's exact
// message to `err` and returns 1.
int checkDataFolder(const std::string& dataFolder, const std::string& vehicleFile, PictureLoader& pictures,
                    std::ostream& out, std::ostream& err);

}  // namespace cabdrive
