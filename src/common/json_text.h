// JSON text: one object written field by field, for the live stream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cabdrive {

// A JSON object under construction. Field names are written as given (they
// are the program's own); texts are escaped. Numbers are written without
// regard to the C locale, and a number that is not finite becomes null.
class JsonObject {
public:
    JsonObject& text(std::string_view name, std::string_view value);
    JsonObject& integer(std::string_view name, std::int64_t value);
    JsonObject& number(std::string_view name, double value, int decimals);
    JsonObject& boolean(std::string_view name, bool value);
    JsonObject& null(std::string_view name);
    JsonObject& object(std::string_view name, const JsonObject& value);
    JsonObject& texts(std::string_view name, const std::vector<std::string>& values);
    JsonObject& objects(std::string_view name, const std::vector<JsonObject>& values);

    // The object's text, "{...}", on one line.
    std::string json() const { return m_text + '}'; }

private:
    void name(std::string_view name);
    template <typename Value, typename Write>
    void array(std::string_view name, const std::vector<Value>& values, Write write);

    std::string m_text = "{";
};

// A JSON string: quoted, with quotes, backslashes and control characters escaped.
std::string jsonString(std::string_view value);

}  // namespace cabdrive
