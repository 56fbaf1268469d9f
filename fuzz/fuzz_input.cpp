// The fuzzed bytes as a data file.
#include "fuzz_input.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace cabdrive::fuzz {

const std::string& fuzzFolder()
{
    // In memory where there is a tmpfs: rewriting a file on a disk file
    // system may wait for the disk on every input.
    static const std::string folder = [] {
        for (std::string pattern : {"/dev/shm/cabdrive-fuzz-XXXXXX", "/tmp/cabdrive-fuzz-XXXXXX"}) {
            if (mkdtemp(pattern.data()))
                return pattern + "/";
        }
        throw std::runtime_error("cannot make a folder in /dev/shm or /tmp");
    }();
    return folder;
}

const std::string& writeInput(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    std::ofstream(fuzzFolder() + name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return fuzzFolder();
}

}  // namespace cabdrive::fuzz
