// The per-user key-value store on QSettings: INI files under the user's
// configuration folder, organisation "Cabdrive", one application per key path.
#pragma once

#include "ports/key_value_store.h"

namespace cabdrive {

// Only for the program's own options and states: QSettings treats backslashes
// as escapes, so it must never read the Windows-authored data files.
class QSettingsKeyValueStore : public KeyValueStore {
public:
    std::optional<std::int32_t> readInt(std::string_view keyPath, std::string_view name) override;
    std::optional<std::string> readString(std::string_view keyPath, std::string_view name) override;
    bool writeInt(std::string_view keyPath, std::string_view name, std::int32_t value) override;
    bool writeString(std::string_view keyPath, std::string_view name, std::string_view value) override;
};

}  // namespace cabdrive
