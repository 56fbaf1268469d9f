// Paths as data files write them: folders with a trailing backslash, joined by
// plain concatenation, opened on a case-sensitive file system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace cabdrive {

// folder + name, nothing added: a folder must end with its separator.
std::string joinPath(std::string_view folder, std::string_view name);

// The file-system path of a data path: backslashes become slashes, and a
// component that does not exist with its exact case is looked up without
// regard to ASCII letter case (data written on Windows). When nothing matches,
// the slash form is returned, so that opening it fails as usual.
std::filesystem::path resolveDataPath(std::string_view dataPath);

// The path the program tries for a data path, as the user finds it: whole
// (from the current directory), with slashes.
std::string triedPath(std::string_view dataPath);

// A loader's message for a file that cannot be opened: the message, and on
// the next line the file, named by the path tried.
std::string withFileNotOpened(std::string_view message, std::string_view dataPath);

// The largest data file read: a route at every table's capacity is a few
// MiB. A device (/dev/zero), a folder or a file beyond it is no data file
// and would never finish reading.
inline constexpr std::uintmax_t maxDataFileBytes = 64u << 20;

// The whole content of a data path, or nothing when it cannot be read or is
// no ordinary file of at most maxDataFileBytes.
std::optional<std::string> readDataFileBytes(std::string_view dataPath);

}  // namespace cabdrive
