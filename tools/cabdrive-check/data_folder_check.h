// cabdrive-check: loads a data folder the way the program does and
// summarises it for route and vehicle authors.
#pragma once

#include <ostream>
#include <string>

namespace cabdrive {

class PictureLoader;
class VideoReader;

struct CheckRequest {
    std::string dataFolder;
    std::string vehicleFile;  // relative to the data folder; empty: "train_E231_5B.dat"
    bool strict = false;      // warnings fail the check
};

// Checks the title screen's files as the program's start does, then loads
// the settings file, the controller map, the vehicle file and both route
// files, builds the cab and opens each line's video, through the run builder
// as the program does. Prints the summary to `out`, then one line
// per warning (data that loads but cannot work as meant) starting with
// "warning:", and returns 0 (1 with warnings when strict); or prints the
// program's exact message to `err` and returns 1.
int checkDataFolder(const CheckRequest& request, PictureLoader& pictures, VideoReader& video, std::ostream& out,
                    std::ostream& err);

}  // namespace cabdrive
