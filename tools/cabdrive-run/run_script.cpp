// Scripts of timed driver inputs for cabdrive-run.
#include "run_script.h"

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string_view>
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

[[noreturn]] void failLine(int lineNumber, const std::string& why)
{
    throw ScriptError("script line " + std::to_string(lineNumber) + ": " + why);
}

// A whole number within [low, high]; "0x" starts a hexadecimal one.
std::int32_t readWhole(const std::string& word, std::int32_t low, std::int32_t high, const std::string& what,
                       int lineNumber)
{
    const bool hex = word.starts_with("0x") || word.starts_with("0X");
    const char* first = word.data() + (hex ? 2 : 0);
    const char* last = word.data() + word.size();
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (error != std::errc{} || end != last || first == last || value < low || value > high)
        failLine(lineNumber, "\"" + word + "\" is not " + what + " (" + std::to_string(low) + " .. "
                                 + std::to_string(high) + ")");
    return static_cast<std::int32_t>(value);
}

// "joystick KIND X Y BUTTONS", after the word "joystick".
ScriptInput readJoystick(std::istringstream& words, int lineNumber)
{
    std::string kind, x, y, buttons, extra;
    if (!(words >> kind >> x >> y >> buttons))
        failLine(lineNumber, "joystick needs KIND X Y BUTTONS");
    if (words >> extra)
        failLine(lineNumber, "joystick takes four values (\"" + extra + "\" is left over)");
    ScriptInput input;
    input.kind = ScriptInput::Kind::Joystick;
    input.controllerKind = readWhole(kind, 1, 3, "a game controller kind", lineNumber);
    input.joystick.x = readWhole(x, -32768, 32767, "an axis value", lineNumber);
    input.joystick.y = readWhole(y, -32768, 32767, "an axis value", lineNumber);
    input.joystick.buttons = static_cast<std::uint16_t>(readWhole(buttons, 0, 0xffff, "a button mask", lineNumber));
    return input;
}

// "save N", "restore N", after the word.
ScriptInput readSlot(ScriptInput::Kind kind, const std::string& what, std::istringstream& words, int lineNumber)
{
    std::string slot, extra;
    if (!(words >> slot))
        failLine(lineNumber, what + " needs a slot (1 .. 3)");
    if (words >> extra)
        failLine(lineNumber, what + " takes one slot (\"" + extra + "\" is left over)");
    ScriptInput input;
    input.kind = kind;
    input.slot = readWhole(slot, 1, savedStateSlots, "a slot", lineNumber);
    return input;
}

// "serial TEXT": the text runs from after the one blank that follows "serial"
// to the end of the line, blanks included.
ScriptInput readSerial(const std::string& line, std::istringstream& words, int lineNumber)
{
    const auto start = words.tellg();
    if (start == std::istringstream::pos_type(-1) || static_cast<std::size_t>(start) + 1 >= line.size())
        failLine(lineNumber, "serial needs the text the controller sends");
    ScriptInput input;
    input.kind = ScriptInput::Kind::Serial;
    input.serialText = line.substr(static_cast<std::size_t>(start) + 1);
    return input;
}

double readSeconds(const std::string& word, int lineNumber)
{
    double seconds = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), seconds);
    if (error != std::errc{} || end != word.data() + word.size() || !std::isfinite(seconds) || seconds < 0)
        failLine(lineNumber, "\"" + word + "\" is not a time in seconds");
    if (seconds > longestRunSeconds)
        failLine(lineNumber, word + " s is longer than a day (86400 s)");
    return seconds;
}

ScriptInput readInput(std::string word, int lineNumber)
{
    ScriptInput input;
    if (word == "wheel-up") {
        input.kind = ScriptInput::Kind::WheelUp;
        return input;
    }
    if (word == "wheel-down") {
        input.kind = ScriptInput::Kind::WheelDown;
        return input;
    }
    if (word == "space")
        word = " ";
    if (word.size() == 1) {
        input.character = word[0];
        return input;
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
            input.kind = ScriptInput::Kind::Key;
            input.key = key;
            return input;
        }
    }
    failLine(lineNumber, "\"" + word + "\" is not a character, a key name (F1..F12, Backspace, ScrollLock, Up, Down, "
                         "Enter, PageUp, PageDown, with an optional Shift+ or -up) or wheel-up/wheel-down");
}

}  // namespace

std::vector<ScriptInput> readRunScript(std::istream& in)
{
    std::vector<ScriptInput> script;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string time, what, extra;
        if (!(words >> time) || time.starts_with('#'))
            continue;
        if (!(words >> what))
            failLine(lineNumber, "a time needs an input after it");
        ScriptInput input;
        if (what == "serial") {
            input = readSerial(line, words, lineNumber);
        } else if (what == "joystick") {
            input = readJoystick(words, lineNumber);
        } else if (what == "save") {
            input = readSlot(ScriptInput::Kind::Save, what, words, lineNumber);
        } else if (what == "restore") {
            input = readSlot(ScriptInput::Kind::Restore, what, words, lineNumber);
        } else {
            if (words >> extra)
                failLine(lineNumber, "one input per line (\"" + extra + "\" is left over)");
            input = readInput(what, lineNumber);
        }
        input.seconds = readSeconds(time, lineNumber);
        if (!script.empty() && input.seconds < script.back().seconds)
            failLine(lineNumber, "the time goes backwards");
        script.push_back(input);
    }
    return script;
}

void applyScriptInput(Run& run, const ScriptInput& input)
{
    switch (input.kind) {
    case ScriptInput::Kind::Character: AsciiDown(run, input.character); break;
    case ScriptInput::Kind::Key:
        if (input.keyReleased)
            keyups(run, input.key);
        else
            keydowns(run, input.key, input.modifiers);
        break;
    case ScriptInput::Kind::WheelUp: WheelU(run); break;
    case ScriptInput::Kind::WheelDown: WheelD(run); break;
    case ScriptInput::Kind::Serial: RxChar(run, input.serialText + "\r"); break;
    case ScriptInput::Kind::Joystick:
        chooseControllerKind(run, input.controllerKind);
        USBScan(run, input.joystick);
        break;
    case ScriptInput::Kind::Save: saveDrivingState(run, input.slot); break;
    case ScriptInput::Kind::Restore: restoreDrivingState(run, input.slot); break;
    }
}

}  // namespace cabdrive
