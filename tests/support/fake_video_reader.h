// A video reader for tests: every file it is told about opens with a given
// frame count, and the frames decoded are recorded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ports/video_reader.h"

namespace test {

class FakeVideoReader final : public cabdrive::VideoReader {
public:
    void add(const std::string& dataPath, std::int32_t frames) { m_files[dataPath] = frames; }

    bool open(const std::string& dataPath) override
    {
        opened.push_back(dataPath);
        const auto it = m_files.find(dataPath);
        m_frames = it == m_files.end() ? -1 : it->second;
        return m_frames >= 0;
    }
    void close() override { m_frames = -1; }
    bool isOpen() const override { return m_frames >= 0; }
    std::int32_t frameCount() const override { return m_frames < 0 ? 0 : m_frames; }
    bool decodeFrame(std::int32_t n) override
    {
        if (n < 0 || n >= m_frames)
            return false;
        decoded.push_back(n);
        return true;
    }

    std::vector<std::string> opened;
    std::vector<std::int32_t> decoded;

private:
    std::map<std::string, std::int32_t> m_files;
    std::int32_t m_frames = -1;
};

}  // namespace test
