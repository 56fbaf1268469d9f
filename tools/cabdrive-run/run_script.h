// Scripts of timed driver inputs for cabdrive-run: one input per line, a time
// in seconds and what the driver does then.
#pragma once

#include <istream>
#include <stdexcept>
#include <vector>

#include "run/driver_input.h"

namespace cabdrive {

// The longest run a script or --seconds may ask for: a day of the timetable
// clock, longer than any line's timetable. Billions of seconds would
// overflow the run's nanosecond clock and run for ever.
inline constexpr double longestRunSeconds = 24 * 3600;

struct ScriptInput : DriverInput {
    double seconds = 0;  // running time at which the input happens
};

// A script line that cannot be read; what() names the line number.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads "SECONDS INPUT" lines, INPUT as readDriverInput reads it. Blank lines
// and lines starting with "#" are skipped. Times must not go backwards nor
// beyond longestRunSeconds.
std::vector<ScriptInput> readRunScript(std::istream& in);

// Acts on the run as the window would.
inline void applyScriptInput(Run& run, const ScriptInput& input)
{
    applyDriverInput(run, input);
}

}  // namespace cabdrive
