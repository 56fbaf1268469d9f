// The words of the notch readouts, and which cell of a notch strip shows
// each handle position: the readout and the strip must say the same thing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cabdrive {

struct Settings;
struct VehicleSpec;

// The brake readout at a brake handle position (`holding`: the holding
// position is selected). Nothing for a position no rule names: the readout
// then keeps the text it had.
std::optional<std::string> brakeNotchWord(const Settings& words, const VehicleSpec& vehicle, std::int32_t brakeHandle,
                                          bool holding);

// The power readout at a power notch in a power mode, without constant-speed
// control; nothing outside 0 .. powerNotches.
std::optional<std::string> powerNotchWord(const Settings& words, const VehicleSpec& vehicle, std::int32_t powerHandle,
                                          std::int32_t powerMode);

// The brake strip's pattern: the notch; on a vehicle with a holding position
// ([Hold] 1) the holding position takes pattern 1 and the notches move up one.
int brakeStripPattern(const VehicleSpec& vehicle, std::int32_t brakeHandle, bool holding);

// The readout word of every pattern of the power and brake strips, pattern
// by pattern, for every handle position of the vehicle's notch layout (the
// brake notch count as adjusted after loading). Patterns no position shows
// are "". A strip drawn in this order shows what the readout says.
struct NotchStripWords {
    std::vector<std::string> power;
    std::vector<std::string> brake;
};
NotchStripWords notchStripWords(const Settings& words, const VehicleSpec& vehicle);

}  // namespace cabdrive
