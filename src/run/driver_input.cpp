// Driver inputs written as text.
#include "run/driver_input.h"

#include <array>
#include <charconv>
#include <sstream>
#include <utility>

#include "input/game_controllers.h"
#include "input/serial_controller.h"
#include "run/saved_states.h"

namespace cabdrive {
namespace {

constexpr std::array<std::pair<std::string_view, Key>, 19> keyNames{{
    {"Backspace", Key::Backspace}, {"ScrollLock", Key::ScrollLock}, {"Up", Key::Up}, {"Down", Key::Down},
    {"Enter", Key::Enter}, {"F1", Key::F1}, {"F2", Key::F2}, {"F3", Key::F3}, {"F4", Key::F4}, {"F5", Key::F5},
    {"F6", Key::F6}, {"F7", Key::F7}, {"F8", Key::F8}, {"F9", Key::F9}, {"F10", Key::F10}, {"F11", Key::F11},
    {"F12", Key::F12}, {"PageUp", Key::PageUp}, {"PageDown", Key::PageDown},
}};

DriverInputReading refused(std::string why)
{
    return {std::nullopt, std::move(why)};
}

// A whole number within [low, high]; "0x" starts a hexadecimal one.
std::optional<std::int32_t> readWhole(const std::string& word, std::int32_t low, std::int32_t high)
{
    const bool hex = word.starts_with("0x") || word.starts_with("0X");
    const char* first = word.data() + (hex ? 2 : 0);
    const char* last = word.data() + word.size();
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (error != std::errc{} || end != last || first == last || value < low || value > high)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string notA(const std::string& word, const char* what, std::int32_t low, std::int32_t high)
{
    return "\"" + word + "\" is not " + what + " (" + std::to_string(low) + " .. " + std::to_string(high) + ")";
}

// "joystick KIND X Y BUTTONS", after the word "joystick".
DriverInputReading readJoystick(std::istringstream& words)
{
    std::string kind, x, y, buttons, extra;
    if (!(words >> kind >> x >> y >> buttons))
        return refused("joystick needs KIND X Y BUTTONS");
    if (words >> extra)
        return refused("joystick takes four values (\"" + extra + "\" is left over)");
    DriverInput input;
    input.kind = DriverInput::Kind::Joystick;
    const auto k = readWhole(kind, 1, 3);
    if (!k)
        return refused(notA(kind, "a game controller kind", 1, 3));
    input.controllerKind = *k;
    for (const auto& [word, axis] : {std::pair{&x, &input.joystick.x}, std::pair{&y, &input.joystick.y}}) {
        const auto value = readWhole(*word, -32768, 32767);
        if (!value)
            return refused(notA(*word, "an axis value", -32768, 32767));
        *axis = *value;
    }
    const auto mask = readWhole(buttons, 0, 0xffff);
    if (!mask)
        return refused(notA(buttons, "a button mask", 0, 0xffff));
    input.joystick.buttons = static_cast<std::uint16_t>(*mask);
    return {input, {}};
}

// "save N", "restore N", after the word.
DriverInputReading readSlot(DriverInput::Kind kind, const std::string& what, std::istringstream& words)
{
    std::string slot, extra;
    if (!(words >> slot))
        return refused(what + " needs a slot (1 .. 3)");
    if (words >> extra)
        return refused(what + " takes one slot (\"" + extra + "\" is left over)");
    const auto number = readWhole(slot, 1, savedStateSlots);
    if (!number)
        return refused(notA(slot, "a slot", 1, savedStateSlots));
    DriverInput input;
    input.kind = kind;
    input.slot = *number;
    return {input, {}};
}

// "serial TEXT": the text runs from after the one blank that follows "serial"
// to the end, blanks included.
DriverInputReading readSerial(std::string_view text, std::istringstream& words)
{
    const auto start = words.tellg();
    if (start == std::istringstream::pos_type(-1) || static_cast<std::size_t>(start) + 1 >= text.size())
        return refused("serial needs the text the controller sends");
    DriverInput input;
    input.kind = DriverInput::Kind::Serial;
    input.serialText = std::string(text.substr(static_cast<std::size_t>(start) + 1));
    return {input, {}};
}

// A character, a key name or a wheel step: one word.
DriverInputReading readKey(std::string word)
{
    DriverInput input;
    if (word == "wheel-up" || word == "wheel-down") {
        input.kind = word == "wheel-up" ? DriverInput::Kind::WheelUp : DriverInput::Kind::WheelDown;
        return {input, {}};
    }
    if (word == "space")
        word = " ";
    if (word.size() == 1) {
        input.character = word[0];
        return {input, {}};
    }
    constexpr std::string_view released = "-up";
    if (word.size() > released.size() && word.ends_with(released)) {
        input.keyReleased = true;
        word.erase(word.size() - released.size());
    }
    constexpr std::string_view shift = "Shift+";
    if (word.starts_with(shift)) {
        input.modifiers.shift = true;
        word.erase(0, shift.size());
    }
    for (const auto& [name, key] : keyNames) {
        if (word == name) {
            input.kind = DriverInput::Kind::Key;
            input.key = key;
            return {input, {}};
        }
    }
    return refused("\"" + word + "\" is not a character, a key name (F1..F12, Backspace, ScrollLock, Up, Down, "
                   "Enter, PageUp, PageDown, with an optional Shift+ or -up) or wheel-up/wheel-down");
}

}  // namespace

DriverInputReading readDriverInput(std::string_view text)
{
    std::istringstream words{std::string(text)};
    std::string what, extra;
    if (!(words >> what))
        return refused("no input");
    if (what == "serial")
        return readSerial(text, words);
    if (what == "joystick")
        return readJoystick(words);
    if (what == "save" || what == "restore")
        return readSlot(what == "save" ? DriverInput::Kind::Save : DriverInput::Kind::Restore, what, words);
    if (words >> extra)
        return refused("one input per line (\"" + extra + "\" is left over)");
    return readKey(what);
}

void applyDriverInput(Run& run, const DriverInput& input)
{
    switch (input.kind) {
    case DriverInput::Kind::Character: AsciiDown(run, input.character); break;
    case DriverInput::Kind::Key:
        if (input.keyReleased)
            keyups(run, input.key);
        else
            keydowns(run, input.key, input.modifiers);
        break;
    case DriverInput::Kind::WheelUp: WheelU(run); break;
    case DriverInput::Kind::WheelDown: WheelD(run); break;
    case DriverInput::Kind::Serial: RxChar(run, input.serialText + "\r"); break;
    case DriverInput::Kind::Joystick:
        putGameController(run, input.controllerKind, input.joystick);
        break;
    case DriverInput::Kind::Save: saveDrivingState(run, input.slot); break;
    case DriverInput::Kind::Restore: restoreDrivingState(run, input.slot); break;
    }
}

}  // namespace cabdrive
