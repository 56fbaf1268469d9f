// The driver's keyboard, mouse wheel and easy-panel bindings.
#pragma once

#include <array>

namespace cabdrive {

struct Run;

// The virtual keys the key-down and key-up handlers act on.
enum class Key {
    Backspace,
    ScrollLock,
    Up,
    Down,
    Enter,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    PageUp,
    PageDown,
};

struct KeyModifiers {
    bool shift = false, ctrl = false, alt = false;
};

// A character key. Every character resets the vigilance device; until the run
// has started nothing else happens.
void AsciiDown(Run& run, char ch);
void keydowns(Run& run, Key key, KeyModifiers modifiers);
void keyups(Run& run, Key key);
// The wheel turned down (towards the driver) is the key "8", turned up "2"
// ("0", emergency, from the last service notch); both go through AsciiDown,
// so the digit swap applies to them.
void WheelD(Run& run);
void WheelU(Run& run);

// --- the easy panel window ---

enum class EasyPanelButton {
    Decelerate,
    Accelerate,
    Neutral,
    Doors,
    Announcement,
    Rewind,
    Reverser,
};

// The character a button posts to AsciiDown; 0 when it posts nothing (the
// reverser button in neutral).
char easyPanelCharacter(const Run& run, EasyPanelButton button);

enum class IndicatorColour { White, Green, Yellow, Red };

struct EasyPanelIndicators {
    IndicatorColour neutral = IndicatorColour::White;  // KN
    std::array<IndicatorColour, 5> power{};            // KP1 .. KP5
    std::array<IndicatorColour, 8> brake{};            // KB1 .. KB8
};

EasyPanelIndicators easyPanelIndicators(const Run& run);

}  // namespace cabdrive
