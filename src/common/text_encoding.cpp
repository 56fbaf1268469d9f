// CP932 to UTF-8 with glibc iconv. SHIFT_JIS is not used on purpose: it turns
// the backslash of paths into a yen sign.
#include "common/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace cabdrive {

namespace {

constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";

class Cp932Decoder {
public:
    Cp932Decoder() : m_cd(iconv_open("UTF-8", "CP932"))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv: CP932 is not available");
    }
    ~Cp932Decoder() { iconv_close(m_cd); }
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    std::string decode(std::string_view bytes)
    {
        std::string out;
        out.reserve(bytes.size() * 3 / 2 + 16);
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL (a lead byte cut off at the end): skip one byte.
                out += replacementCharacter;
                ++in;
                --inLeft;
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t m_cd;
};

}  // namespace

bool isValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
        static constexpr std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string decodeDataText(std::string_view bytes)
{
    if (bytes.substr(0, utf8Bom.size()) == utf8Bom)
        bytes.remove_prefix(utf8Bom.size());
    if (isValidUtf8(bytes))
        return std::string(bytes);
    Cp932Decoder decoder;
    return decoder.decode(bytes);
}

}  // namespace cabdrive
