// Scripts of timed driver inputs for cabdrive-run: one input per line, a time
// in seconds and what the driver does then.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "input/driver_keys.h"
#include "ports/joystick.h"

namespace cabdrive {

// The longest run a script or --seconds may ask for: a day of the timetable
// clock, longer than any line's timetable. Billions of seconds would
// overflow the run's nanosecond clock and run for ever.
inline constexpr double longestRunSeconds = 24 * 3600;

struct ScriptInput {
    enum class Kind { Character, Key, WheelUp, WheelDown, Serial, Joystick, Save, Restore };

    double seconds = 0;  // running time at which the input happens
    Kind kind = Kind::Character;
    char character = 0;
    Key key = Key::Enter;
    KeyModifiers modifiers;
    bool keyReleased = false;  // "F2-up": the key is let go
    std::string serialText;    // received by the serial port, a carriage return after it
    std::int32_t controllerKind = 0;  // 1 .. 3: the game controller polled
    JoystickSnapshot joystick;
    int slot = 0;  // 1 .. 3: the saved driving state written or read
};

// A script line that cannot be read; what() names the line number.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads "SECONDS INPUT" lines: INPUT is one character ("8", "a", "space" for
// a blank), a key name with optional "Shift+" ("F2", "Shift+F12",
// "Backspace", "PageUp"; "F2-up" lets a held key go), "wheel-up",
// "wheel-down", "serial TEXT" (the rest of the line, received by the serial
// port with a carriage return after it) or "joystick KIND X Y BUTTONS" (one
// poll of game controller kind 1 .. 3 with raw axes -32768 .. 32767 and
// buttons 0 .. 15 as a mask, decimal or 0x hexadecimal), "save N" or
// "restore N" (the driving state into or from slot 1 .. 3 of the store, as
// the Save menu does). Blank lines and lines starting with "#" are skipped.
// Times must not go backwards nor beyond longestRunSeconds.
std::vector<ScriptInput> readRunScript(std::istream& in);

// Acts on the run as the window would.
void applyScriptInput(Run& run, const ScriptInput& input);

}  // namespace cabdrive
