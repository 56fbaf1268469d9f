// Qt key events in the words of the driver's key bindings: virtual keys,
// modifiers, characters and the keys whose held state the tick reads.
#pragma once

#include <optional>

#include <QKeyEvent>

#include "input/driver_keys.h"

namespace cabdrive {

// The virtual key the key-down handler acts on; none for other keys.
std::optional<Key> virtualKey(const QKeyEvent& event);
KeyModifiers keyModifiers(const QKeyEvent& event);
// The character a key press types, for the character handler: one ASCII
// character (control characters such as Enter's included); none for keys
// that type nothing, Delete, or keys typing outside ASCII.
std::optional<char> typedCharacter(const QKeyEvent& event);

// A copy of a key press or release sent to `target`, as if typed there: the
// tool windows pass their keys on to the main window.
void passKeyOn(const QKeyEvent& event, QWidget& target);

// Keys whose held state is read on each tick: "3" sounds the horn and "4"
// the buzzer, on the main keyboard and on the keypad alike.
enum class HeldKey { None, Horn, Buzzer };
HeldKey heldKey(const QKeyEvent& event);

}  // namespace cabdrive
