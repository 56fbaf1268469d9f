// The reader loop shared by every data-file loader.
#include "data/reader_loop.h"

#include "common/field.h"
#include "common/load_error.h"
#include "common/number_conversion.h"

namespace cabdrive {

bool keyMatches(std::string_view line, std::string_view key)
{
    return line.substr(0, key.size()) == key;
}

bool isListEnd(std::string_view line)
{
    return !line.empty() && line.front() == '#';
}

std::string_view ValueReader::nextLine()
{
    m_current = m_in.readLine();
    return m_current;
}

void ValueReader::fail() const
{
    throw LoadError(m_format(m_label, m_current));
}

std::int32_t ValueReader::toIntOrFail(std::string_view text) const
{
    const auto value = toInt(text);
    if (!value)
        fail();
    return *value;
}

long double ValueReader::toDecimalOrFail(std::string_view text) const
{
    const auto value = toDecimal(text);
    if (!value)
        fail();
    return *value;
}

fixed4 ValueReader::toFixed4OrFail(std::string_view text) const
{
    const auto value = toFixed4(text);
    if (!value)
        fail();
    return *value;
}

std::int32_t ValueReader::intField(int n) const
{
    return toIntOrFail(field(m_current, n));
}

long double ValueReader::decimalField(int n) const
{
    return toDecimalOrFail(field(m_current, n));
}

fixed4 ValueReader::fixed4Field(int n) const
{
    return toFixed4OrFail(field(m_current, n));
}

std::string ValueReader::textField(int n) const
{
    return std::string(field(m_current, n));
}

void runReaderLoop(ValueReader& reader, const std::vector<KeyRule>& rules,
                   const std::function<void(ValueReader&)>& atPassStart)
{
    while (!reader.atEnd()) {
        reader.nextLine();
        if (atPassStart)
            atPassStart(reader);
        for (const KeyRule& rule : rules) {
            if (rule.label)
                reader.setLabel(*rule.label);
            if (keyMatches(reader.current(), rule.key))
                rule.read(reader);
        }
    }
}

}  // namespace cabdrive
