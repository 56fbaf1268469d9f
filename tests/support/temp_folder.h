// A temporary folder for a test, removed when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace cabdrive::test {

class TempFolder {
public:
    TempFolder()
    {
        std::random_device seed;
        m_path = std::filesystem::temp_directory_path() / ("cabdrive-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // The folder as data files name folders: with its trailing separator.
    std::string folder() const { return m_path.string() + "/"; }

    // Writes `bytes` to name (sub-folders created as needed); returns the path.
    std::filesystem::path write(const std::string& name, std::string_view bytes) const
    {
        const auto file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace cabdrive::test
