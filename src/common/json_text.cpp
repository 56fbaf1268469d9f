// JSON text for the live stream.
#include "common/json_text.h"

#include <charconv>
#include <cmath>

namespace cabdrive {

std::string jsonString(std::string_view value)
{
    std::string out = "\"";
    for (const char c : value) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                constexpr char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[(c >> 4) & 0xf];
                out += hex[c & 0xf];
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

void JsonObject::name(std::string_view name)
{
    if (m_text.size() > 1)
        m_text += ',';
    m_text += jsonString(name);
    m_text += ':';
}

JsonObject& JsonObject::text(std::string_view name, std::string_view value)
{
    this->name(name);
    m_text += jsonString(value);
    return *this;
}

JsonObject& JsonObject::integer(std::string_view name, std::int64_t value)
{
    this->name(name);
    m_text += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::number(std::string_view name, double value, int decimals)
{
    if (!std::isfinite(value))
        return null(name);
    this->name(name);
    char digits[64];
    const auto written = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    // Beyond 64 characters a value is no reading of a cab instrument.
    if (written.ec != std::errc{}) {
        m_text += "null";
        return *this;
    }
    std::string_view shown(digits, static_cast<std::size_t>(written.ptr - digits));
    // "-0.0" is a rounding remainder, not a direction.
    if (shown.starts_with('-') && shown.find_first_not_of("-0.") == std::string_view::npos)
        shown.remove_prefix(1);
    m_text += shown;
    return *this;
}

JsonObject& JsonObject::boolean(std::string_view name, bool value)
{
    this->name(name);
    m_text += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::null(std::string_view name)
{
    this->name(name);
    m_text += "null";
    return *this;
}

JsonObject& JsonObject::object(std::string_view name, const JsonObject& value)
{
    this->name(name);
    m_text += value.json();
    return *this;
}

template <typename Value, typename Write>
void JsonObject::array(std::string_view name, const std::vector<Value>& values, Write write)
{
    this->name(name);
    m_text += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            m_text += ',';
        m_text += write(values[i]);
    }
    m_text += ']';
}

JsonObject& JsonObject::texts(std::string_view name, const std::vector<std::string>& values)
{
    array(name, values, [](const std::string& value) { return jsonString(value); });
    return *this;
}

JsonObject& JsonObject::objects(std::string_view name, const std::vector<JsonObject>& values)
{
    array(name, values, [](const JsonObject& value) { return value.json(); });
    return *this;
}

}  // namespace cabdrive
