// cabdrive-run: a whole run without a window, driven by a script in virtual
// time, with a CSV trace or a short summary.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace cabdrive {

class PictureLoader;

struct HeadlessRunOptions {
    std::string dataFolder;
    std::string vehicleFile;         // empty: the default train
    bool upLine = false;             // line_up.dat instead of line_down.dat
    std::string scriptFile;          // empty: no inputs
    std::optional<double> seconds;   // running time; default: the script's last input + 60 s
    std::string traceFile;           // empty: print the summary instead
};

// Returns the exit status: 0, or 1 after printing the error to `err`.
int runHeadless(const HeadlessRunOptions& options, PictureLoader& pictures, std::ostream& out, std::ostream& err);

}  // namespace cabdrive
