// Scripts of timed driver inputs for cabdrive-run.
#include "run_script.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

namespace cabdrive {
namespace {

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

}  // namespace

std::vector<ScriptInput> readRunScript(std::istream& in)
{
    std::vector<ScriptInput> script;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string time, what;
        if (!(words >> time) || time.starts_with('#'))
            continue;
        const auto afterTime = static_cast<std::size_t>(words.tellg());
        if (!(words >> what))
            failLine(lineNumber, "a time needs an input after it");
        const DriverInputReading reading = readDriverInput(std::string_view(line).substr(afterTime));
        if (!reading.input)
            failLine(lineNumber, reading.error);
        ScriptInput input;
        static_cast<DriverInput&>(input) = *reading.input;
        input.seconds = readSeconds(time, lineNumber);
        if (!script.empty() && input.seconds < script.back().seconds)
            failLine(lineNumber, "the time goes backwards");
        script.push_back(input);
    }
    return script;
}

}  // namespace cabdrive
