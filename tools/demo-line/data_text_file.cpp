// Writing text data files in CP932 with CR LF line ends.
#include "data_text_file.h"

#include <iconv.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace cabdrive::demo {

DataText& DataText::line(std::string_view text)
{
    m_text += text;
    m_text += '\n';
    return *this;
}

DataText& DataText::append(const DataText& other)
{
    m_text += other.m_text;
    return *this;
}

std::string decimal(double value, int places)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    std::string result = text;
    if (result.find('.') != std::string::npos) {
        while (result.back() == '0')
            result.pop_back();
        if (result.back() == '.')
            result.pop_back();
    }
    if (result == "-0")
        result = "0";
    return result;
}

namespace {

// One iconv conversion descriptor for one call; closed on every path.
class Converter {
public:
    Converter() : m_cd(iconv_open("CP932", "UTF-8"))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(std::string_view utf8) const
    {
        std::string out(utf8.size() * 2 + 16, '\0');
        char* in = const_cast<char*>(utf8.data());
        std::size_t inLeft = utf8.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(m_cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            const std::size_t at = utf8.size() - inLeft;
            throw std::runtime_error("CP932 cannot hold the text at \"" + std::string(utf8.substr(at, 12)) + "\"");
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t m_cd;
};

}  // namespace

std::string toCp932Crlf(std::string_view utf8Text)
{
    std::string crlf;
    crlf.reserve(utf8Text.size() + utf8Text.size() / 16);
    for (const char c : utf8Text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return Converter().convert(crlf);
}

void writeBytes(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path file(path);
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void writeDataText(const std::string& path, std::string_view utf8Text)
{
    writeBytes(path, toCp932Crlf(utf8Text));
}

}  // namespace cabdrive::demo
