// Driver inputs written as text: a script line of cabdrive-run after its
// time, or a line a live-stream client sends. Both act on the run as the
// window's keyboard, wheel and controllers do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "input/driver_keys.h"
#include "ports/joystick.h"

namespace cabdrive {

struct Run;

struct DriverInput {
    enum class Kind { Character, Key, WheelUp, WheelDown, Serial, Joystick, Save, Restore };

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

// An input, or what is wrong with the text.
struct DriverInputReading {
    std::optional<DriverInput> input;
    std::string error;
};

// Reads one input: one character ("8", "a", "space" for a blank), a key name
// with optional "Shift+" ("F2", "Shift+F12", "Backspace", "PageUp"; "F2-up"
// lets a held key go), "wheel-up", "wheel-down", "serial TEXT" (TEXT runs
// from after the one blank that follows "serial" to the end, blanks included;
// the serial port receives it with a carriage return after it) or
// "joystick KIND X Y BUTTONS" (one poll of game controller kind 1 .. 3 with
// raw axes -32768 .. 32767 and buttons 0 .. 15 as a mask, decimal or 0x
// hexadecimal), "save N" or "restore N" (the driving state into or from
// slot 1 .. 3 of the store, as the Save menu does). Blanks around a word are
// ignored.
DriverInputReading readDriverInput(std::string_view text);

// Acts on the run as the window and the controllers would.
void applyDriverInput(Run& run, const DriverInput& input);

}  // namespace cabdrive
