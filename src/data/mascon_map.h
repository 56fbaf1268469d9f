// The controller map mascon.dat: the command strings of the serial master
// controller, one per slot.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace cabdrive {

// Slot k (1..26) is line k of the file; unused slots are empty. A received
// message matches a slot when its first five characters equal the slot text.
struct MasconMap {
    static constexpr std::size_t slotCount = 26;
    std::array<std::string, slotCount + 1> masconCodes;  // index 0 unused

    const std::string& slot(std::size_t k) const { return masconCodes.at(k); }
};

// Reads programFolder + "mascon.dat" up to the end or the first line starting
// with "#". Lines past slot 26 are ignored: the controller has no meaning for
// them. A missing or unreadable file throws LoadError with the file error.
MasconMap loadMasconMap(std::string_view programFolder);

}  // namespace cabdrive
