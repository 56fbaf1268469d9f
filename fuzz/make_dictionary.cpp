// Writes a libFuzzer dictionary for one data file kind (settings, vehicle or
// route) from its loader's own key list, with the tokens every data file
// uses: the list end, the field separator, a remark, numbers.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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
    const std::string kind = argc == 2 ? argv[1] : "";
    std::vector<std::string_view> keys;
    if (kind == "settings")
        keys = cabdrive::settingsFileKeys();
    else if (kind == "vehicle")
        keys = cabdrive::vehicleFileKeys();
    else if (kind == "route")
        keys = cabdrive::routeFileKeys();
    else {
        std::fprintf(stderr, "usage: make_dictionary settings|vehicle|route\n");
        return 2;
    }
    for (const std::string_view key : keys)
        printEntry(std::string(key) + "\n");
    for (const std::string_view token : {"\n#\n", ",", ";", "\r\n", "-1", "0", "1", "30", "999", "2147483647",
                                         "-2147483648", "0.5", "1e308", "AT", "MT", "\\", ".bmp", ".wav"})
        printEntry(token);
    return 0;
}
