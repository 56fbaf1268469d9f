// The answers every cabdrive program gives on its command line before its
// work: the usage on --help, the version on --version, and one line saying
// what is wrong, with the usage, on a command line it cannot take.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string_view>

namespace cabdrive {

// The version of the program and its tools, as the build names it.
std::string_view cabdriveVersion();

// With --help or -h among the arguments: the usage on `out`; otherwise with
// --version: "<program> <version>" on `out`. Returns the exit status 0 when
// it answered, nothing when the program goes on.
std::optional<int> answerHelpOrVersion(std::span<const std::string_view> arguments, std::string_view program,
                                       std::string_view usage, std::ostream& out);

// "<program>: <what>" and the usage on `err`; returns the exit status 2.
int refuseCommandLine(std::string_view program, std::string_view what, std::string_view usage, std::ostream& err);

}  // namespace cabdrive
