// A key-value store held in memory: for tests and the headless tools, which
// must not touch the user's own options.
#pragma once

#include <map>
#include <string>
#include <variant>

#include "ports/key_value_store.h"

namespace cabdrive {

class MemoryKeyValueStore : public KeyValueStore {
public:
    std::optional<std::int32_t> readInt(std::string_view keyPath, std::string_view name) override;
    std::optional<std::string> readString(std::string_view keyPath, std::string_view name) override;
    bool writeInt(std::string_view keyPath, std::string_view name, std::int32_t value) override;
    bool writeString(std::string_view keyPath, std::string_view name, std::string_view value) override;
    bool writeStrings(std::string_view keyPath, std::span<const NamedText> values) override;

private:
    using Value = std::variant<std::int32_t, std::string>;
    std::map<std::string, Value> m_values;  // "keyPath/name"
};

}  // namespace cabdrive
