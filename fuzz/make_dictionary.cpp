// Writes a libFuzzer dictionary for one data file kind (settings, vehicle or
// route) from its loader's own key list, or for the controller map from the
// codes its loader reads from a map, with the tokens every data file uses:
// the list end, the field separator, a remark, numbers, both line ends.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/load_error.h"
#include "data/mascon_map.h"
#include "data/route_file.h"
#include "data/settings.h"
#include "data/vehicle_file.h"

namespace {

void printEntry(std::string_view text)
{
    std::string quoted;
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\' || c < 0x20 || c >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            quoted += escaped;
        } else {
            quoted += static_cast<char>(c);
        }
    }
    std::printf("\"%s\"\n", quoted.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc >= 2 ? argv[1] : "";
    std::vector<std::string_view> keys;
    cabdrive::MasconMap mascon;
    if (kind == "mascon" && argc == 3) {
        // The map has no keys: each line is a code the serial controller sends.
        try {
            mascon = cabdrive::loadMasconMap(argv[2]);
        } catch (const cabdrive::LoadError& e) {
            std::fprintf(stderr, "make_dictionary: %s\n", e.what());
            return 1;
        }
        for (std::size_t k = 1; k <= cabdrive::MasconMap::slotCount; ++k)
            if (!mascon.slot(k).empty())
                keys.push_back(mascon.slot(k));
    } else if (kind == "settings")
        keys = cabdrive::settingsFileKeys();
    else if (kind == "vehicle")
        keys = cabdrive::vehicleFileKeys();
    else if (kind == "route")
        keys = cabdrive::routeFileKeys();
    else {
        std::fprintf(stderr, "usage: make_dictionary settings|vehicle|route, or make_dictionary mascon FOLDER/\n");
        return 2;
    }
    for (const std::string_view key : keys)
        printEntry(std::string(key) + "\n");
    for (const std::string_view token : {"\n#\n", ",", ";", "\r\n", "-1", "0", "1", "30", "999", "2147483647",
                                         "-2147483648", "0.5", "1e308", "AT", "MT", "\\", ".bmp", ".wav"})
        printEntry(token);
    return 0;
}
