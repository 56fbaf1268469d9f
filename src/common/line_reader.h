// Line-by-line reading of a decoded data file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cabdrive {

// Splits UTF-8 text at LF, dropping a CR before it. Reading past the end of
// the text yields empty lines, as the data-file rules expect.
class LineReader {
public:
    explicit LineReader(std::string text) : m_text(std::move(text)) {}

    // The next line without its line end; "" once the text is exhausted.
    // The view stays valid as long as the reader lives.
    std::string_view readLine();

    bool atEnd() const { return m_pos >= m_text.size(); }

private:
    std::string m_text;
    std::size_t m_pos = 0;
};

// Opens a data path (see resolveDataPath) and decodes it (see decodeDataText).
std::optional<LineReader> openDataFile(std::string_view dataPath);

}  // namespace cabdrive
