// The per-user key-value store for options, controller codes and saved
// driving states.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cabdrive {

// One string value of several written together.
struct NamedText {
    std::string_view name;
    std::string_view value;
};

// Values live under a key path ("kestra" for the options and saved states,
// "vqcontroller" for the controller codes) and a value name.
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    // Nothing when the value is absent or is not an integer.
    virtual std::optional<std::int32_t> readInt(std::string_view keyPath, std::string_view name) = 0;
    virtual std::optional<std::string> readString(std::string_view keyPath, std::string_view name) = 0;

    // False when the value could not be stored.
    virtual bool writeInt(std::string_view keyPath, std::string_view name, std::int32_t value) = 0;
    virtual bool writeString(std::string_view keyPath, std::string_view name, std::string_view value) = 0;
    // Writes the values of one key path together: either all of them are
    // stored, or, when the store fails (a full disk, a crash half-way),
    // none of them and the previous values stay. False when nothing was stored.
    virtual bool writeStrings(std::string_view keyPath, std::span<const NamedText> values) = 0;
};

inline constexpr std::string_view optionsKeyPath = "kestra";
inline constexpr std::string_view controllerKeyPath = "vqcontroller";

}  // namespace cabdrive
