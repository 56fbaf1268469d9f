// Strict conversions of data-file texts to numbers.
#include "common/number_conversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace cabdrive {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimNumber(std::string_view text)
{
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A decimal number split into its parts: sign, all mantissa digits (integer
// part then fraction), the count of fraction digits and the exponent.
struct DecimalText {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    long exponent = 0;
};

std::optional<DecimalText> parseDecimalText(std::string_view text)
{
    DecimalText d;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        d.negative = text[i] == '-';
        ++i;
    }
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    d.integerDigits = text.substr(intStart, i - intStart);
    if (i < text.size() && text[i] == '.') {
        ++i;
        const std::size_t fracStart = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        d.fractionDigits = text.substr(fracStart, i - fracStart);
    }
    if (d.integerDigits.empty() && d.fractionDigits.empty())
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        const std::size_t expStart = i;
        long exponent = 0;
        while (i < text.size() && isDigit(text[i])) {
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (i == expStart)
            return std::nullopt;
        d.exponent = expNegative ? -exponent : exponent;
    }
    if (i != text.size())
        return std::nullopt;
    return d;
}

}  // namespace

std::optional<std::int32_t> toInt(std::string_view text)
{
    text = trimNumber(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<long double> toDecimal(std::string_view text)
{
    text = trimNumber(text);
    if (!parseDecimalText(text))
        return std::nullopt;
    // from_chars takes no leading "+"; the syntax is already checked above.
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    long double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<fixed4> toFixed4(std::string_view text)
{
    const auto parsed = parseDecimalText(trimNumber(text));
    if (!parsed)
        return std::nullopt;
    std::string digits(parsed->integerDigits);
    digits += parsed->fractionDigits;
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return fixed4{};
    // value x 10000 = digits x 10^shift
    long shift = parsed->exponent - static_cast<long>(parsed->fractionDigits.size()) + 4;
    digits.erase(0, firstNonZero);
    if (shift < 0) {
        const long keep = static_cast<long>(digits.size()) + shift;
        const std::string dropped = keep > 0 ? digits.substr(keep) : std::string(static_cast<std::size_t>(-keep), '0') + digits;
        digits = keep > 0 ? digits.substr(0, keep) : std::string();
        shift = 0;
        // Round the dropped digits to nearest, ties to even.
        const bool aboveHalf = dropped[0] > '5' || (dropped[0] == '5' && dropped.find_first_not_of('0', 1) != std::string::npos);
        const bool exactlyHalf = dropped[0] == '5' && !aboveHalf;
        const bool keptIsOdd = !digits.empty() && ((digits.back() - '0') % 2 == 1);
        if (aboveHalf || (exactlyHalf && keptIsOdd)) {
            // add one to the kept digits
            int i = static_cast<int>(digits.size()) - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
                digits[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                digits.insert(digits.begin(), '1');
            else
                ++digits[static_cast<std::size_t>(i)];
        }
    }
    if (static_cast<long>(digits.size()) + shift > 19)
        return std::nullopt;
    digits.append(static_cast<std::size_t>(shift), '0');
    unsigned __int128 magnitude = 0;
    for (char c : digits)
        magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    const unsigned __int128 limit = static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) + (parsed->negative ? 1 : 0);
    if (magnitude > limit)
        return std::nullopt;
    const auto m = static_cast<__int128>(magnitude);
    return fixed4::fromRaw(static_cast<std::int64_t>(parsed->negative ? -m : m));
}

}  // namespace cabdrive
