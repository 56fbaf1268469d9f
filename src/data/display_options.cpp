// Reading and writing the display options.
#include "data/display_options.h"

#include <array>
#include <string_view>
#include <utility>

namespace cabdrive {

namespace {

// The options in their stored order, with their fields.
std::array<std::pair<std::string_view, std::int32_t DisplayOptions::*>, 5> optionFields()
{
    return {{{"Kanko", &DisplayOptions::Kanko},
             {"Information", &DisplayOptions::Information},
             {"ATS", &DisplayOptions::ATS},
             {"Tunnel", &DisplayOptions::Tunnel},
             {"Moji", &DisplayOptions::Moji}}};
}

}  // namespace

DisplayOptions readDisplayOptions(KeyValueStore& store)
{
    DisplayOptions options;
    for (const auto& [name, member] : optionFields()) {
        const auto value = store.readInt(optionsKeyPath, name);
        if (!value)
            return DisplayOptions{};
        options.*member = *value;
    }
    return options;
}

void writeDisplayOptions(KeyValueStore& store, const DisplayOptions& options)
{
    for (const auto& [name, member] : optionFields())
        store.writeInt(optionsKeyPath, name, options.*member);
}

}  // namespace cabdrive
