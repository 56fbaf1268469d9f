// Line-by-line reading of a decoded data file.
#include "common/line_reader.h"

#include "common/paths.h"
#include "common/text_encoding.h"

namespace cabdrive {

std::string_view LineReader::readLine()
{
    if (atEnd())
        return {};
    const std::size_t newline = m_text.find('\n', m_pos);
    const std::size_t end = newline == std::string::npos ? m_text.size() : newline;
    std::string_view line(m_text.data() + m_pos, end - m_pos);
    m_pos = newline == std::string::npos ? m_text.size() : newline + 1;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::optional<LineReader> openDataFile(std::string_view dataPath)
{
    auto bytes = readDataFileBytes(dataPath);
    if (!bytes)
        return std::nullopt;
    return LineReader(decodeDataText(*bytes));
}

}  // namespace cabdrive
