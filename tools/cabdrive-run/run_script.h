// Scripts of timed driver inputs for cabdrive-run: one input per line, a time
// in seconds and what the driver does then.
#pragma once

#include <istream>
#include <stdexcept>
#include <vector>

#include "run/driver_input.h"

namespace cabdrive {

struct ScriptInput : DriverInput {
    double seconds = 0;  // running time at which the input happens
};

// A script line that cannot be read; what() names the line number.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads "SECONDS INPUT" lines, INPUT as readDriverInput reads it. Blank lines
// and lines starting with "#" are skipped. Times must not go backwards.
std::vector<ScriptInput> readRunScript(std::istream& in);

// Acts on the run as the window would.
inline void applyScriptInput(Run& run, const ScriptInput& input)
{
    applyDriverInput(run, input);
}

}  // namespace cabdrive
