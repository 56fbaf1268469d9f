// What every fuzz target shares: the fuzzed bytes written as a data file in
// a folder of the process's own, and a picture loader that makes a picture of
// any name, so that a vehicle or route file is read to its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ports/picture.h"

namespace cabdrive::fuzz {

// The folder, with its trailing separator; made once per process.
const std::string& fuzzFolder();

// Writes the bytes to fuzzFolder() + name; returns the folder.
const std::string& writeInput(const std::string& name, const std::uint8_t* data, std::size_t size);

class AnyPictureLoader final : public PictureLoader {
public:
    std::optional<Picture> load(const std::filesystem::path&) override
    {
        return Picture{2, 2, std::vector<std::uint32_t>(4, 0xFF000000u)};
    }
};

}  // namespace cabdrive::fuzz
