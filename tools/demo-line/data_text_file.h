// Text data files as a Windows-authored data set holds them: CP932 with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cabdrive::demo {

// Lines of a data file under construction, in UTF-8 with "\n" line ends.
class DataText {
public:
    DataText& line(std::string_view text = {});
    // A row of comma-separated fields.
    template <typename... Fields>
    DataText& row(const Fields&... fields)
    {
        std::string text;
        bool first = true;
        ((text += first ? "" : ",", text += field(fields), first = false), ...);
        return line(text);
    }
    DataText& append(const DataText& other);

    const std::string& text() const { return m_text; }

private:
    static std::string field(std::int64_t value) { return std::to_string(value); }
    static std::string field(int value) { return std::to_string(value); }
    static std::string field(const std::string& value) { return value; }
    static std::string field(const char* value) { return value; }
    static std::string field(std::string_view value) { return std::string(value); }

    std::string m_text;
};

// A decimal with at most `places` decimals, trailing zeros dropped ("2.5", "3").
std::string decimal(double value, int places = 3);

// UTF-8 text with "\n" line ends as CP932 with "\r\n". Throws std::runtime_error
// naming the character CP932 cannot hold.
std::string toCp932Crlf(std::string_view utf8Text);

// Writes the text to path in CP932 with CR LF, creating the parent folders.
void writeDataText(const std::string& path, std::string_view utf8Text);

// Writes bytes unchanged, creating the parent folders.
void writeBytes(const std::string& path, std::string_view bytes);

}  // namespace cabdrive::demo
