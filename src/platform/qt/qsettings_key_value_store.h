// The per-user key-value store on QSettings: INI files under the user's
// configuration folder, organisation "Cabdrive", one application per key
// path; or one INI file named by the caller for every key path.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QString>
#include <QVariant>

#include "ports/key_value_store.h"

class QSettings;

namespace cabdrive {

// Only for the program's own options and states: QSettings treats backslashes
// as escapes, so it must never read the Windows-authored data files.
class QSettingsKeyValueStore : public KeyValueStore {
public:
    // The user's own store (~/.config/Cabdrive/kestra.ini, vqcontroller.ini).
    QSettingsKeyValueStore() = default;
    // One INI file that holds the values of every key path.
    explicit QSettingsKeyValueStore(std::string file) : m_file(std::move(file)) {}

    std::optional<std::int32_t> readInt(std::string_view keyPath, std::string_view name) override;
    std::optional<std::string> readString(std::string_view keyPath, std::string_view name) override;
    bool writeInt(std::string_view keyPath, std::string_view name, std::int32_t value) override;
    bool writeString(std::string_view keyPath, std::string_view name, std::string_view value) override;
    bool writeStrings(std::string_view keyPath, std::span<const NamedText> values) override;

private:
    using Values = std::vector<std::pair<QString, QVariant>>;

    QVariant readValue(std::string_view keyPath, std::string_view name) const;
    bool writeValues(std::string_view keyPath, const Values& values);
    std::unique_ptr<QSettings> open(std::string_view keyPath) const;

    std::string m_file;  // empty: the user's store
};

}  // namespace cabdrive
