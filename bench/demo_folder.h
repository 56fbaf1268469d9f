// Where the benchmarks find the demo line: $CABDRIVE_DEMO_FOLDER, or the
// demo folder the build generated beside bench/.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace cabdrive::bench {

inline std::string demoFolder()
{
    if (const char* given = std::getenv("CABDRIVE_DEMO_FOLDER"))
        return given;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    return (executable.parent_path().parent_path() / "demo").string() + "/";
}

}  // namespace cabdrive::bench
