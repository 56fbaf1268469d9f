// Scripts of timed driver inputs for cabdrive-run.
#include "run_script.h"

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string_view>
#include <utility>

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
        if (words >> extra)
            failLine(lineNumber, "one input per line (\"" + extra + "\" is left over)");
        ScriptInput input = readInput(what, lineNumber);
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
    }
}

}  // namespace cabdrive
