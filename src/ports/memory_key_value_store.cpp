// A key-value store held in memory.
#include "ports/memory_key_value_store.h"

namespace cabdrive {

namespace {

std::string slot(std::string_view keyPath, std::string_view name)
{
    std::string key(keyPath);
    key += '/';
    key += name;
    return key;
}

}  // namespace

std::optional<std::int32_t> MemoryKeyValueStore::readInt(std::string_view keyPath, std::string_view name)
{
    const auto it = m_values.find(slot(keyPath, name));
    if (it == m_values.end() || !std::holds_alternative<std::int32_t>(it->second))
        return std::nullopt;
    return std::get<std::int32_t>(it->second);
}

std::optional<std::string> MemoryKeyValueStore::readString(std::string_view keyPath, std::string_view name)
{
    const auto it = m_values.find(slot(keyPath, name));
    if (it == m_values.end() || !std::holds_alternative<std::string>(it->second))
        return std::nullopt;
    return std::get<std::string>(it->second);
}

bool MemoryKeyValueStore::writeInt(std::string_view keyPath, std::string_view name, std::int32_t value)
{
    m_values[slot(keyPath, name)] = value;
    return true;
}

bool MemoryKeyValueStore::writeString(std::string_view keyPath, std::string_view name, std::string_view value)
{
    m_values[slot(keyPath, name)] = std::string(value);
    return true;
}

bool MemoryKeyValueStore::writeStrings(std::string_view keyPath, std::span<const NamedText> values)
{
    for (const NamedText& value : values)
        writeString(keyPath, value.name, value.value);
    return true;
}

}  // namespace cabdrive
