// A picture loader for tests: knows pictures by file name, fails for others.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ports/picture.h"

namespace cabdrive::test {

class FakePictureLoader : public PictureLoader {
public:
    // Makes `fileName` (the last path component, exact case) load as a
    // width x height picture.
    void add(const std::string& fileName, int width, int height)
    {
        m_known[fileName] = Picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), 0xFF000000u)};
    }

    std::optional<Picture> load(const std::filesystem::path& file) override
    {
        requested.push_back(file.string());
        const auto it = m_known.find(file.filename().string());
        if (it == m_known.end())
            return std::nullopt;
        return it->second;
    }

    // Every path asked for, in order.
    std::vector<std::string> requested;

private:
    std::map<std::string, Picture> m_known;
};

}  // namespace cabdrive::test
