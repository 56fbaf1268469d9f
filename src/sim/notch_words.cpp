// The words of the notch readouts and the cells of the notch strips.
#include "sim/notch_words.h"

#include <algorithm>

#include "data/settings.h"
#include "data/vehicle_spec.h"
#include "sim/controller_state.h"

namespace cabdrive {
namespace {

// The automatic air brake's release position, below emergency, reached only
// through a controller's mapping.
constexpr std::int32_t removePosition = -5;

struct BrakePosition {
    std::int32_t handle;
    bool holding;
};

std::vector<BrakePosition> brakePositions(const VehicleSpec& vehicle)
{
    std::vector<BrakePosition> positions{{0, false}};
    if (vehicle.holdNotch == 1)
        positions.push_back({0, true});
    for (std::int32_t notch = 1; notch <= vehicle.brakeNotches; ++notch)
        positions.push_back({-notch, false});
    if (vehicle.brakeType == 0 && removePosition < -vehicle.brakeNotches)
        positions.push_back({removePosition, false});
    return positions;
}

void setCell(std::vector<std::string>& cells, int pattern, const std::optional<std::string>& word)
{
    if (pattern < 0 || !word)
        return;
    if (cells.size() <= static_cast<std::size_t>(pattern))
        cells.resize(static_cast<std::size_t>(pattern) + 1);
    cells[static_cast<std::size_t>(pattern)] = *word;
}

}  // namespace

// Later rules overwrite earlier ones.
std::optional<std::string> brakeNotchWord(const Settings& words, const VehicleSpec& vehicle, std::int32_t brakeHandle,
                                          bool holding)
{
    const std::int32_t emergency = -vehicle.brakeNotches;
    const std::int32_t b = brakeHandle;
    std::optional<std::string> word;
    if (b == emergency)
        word = words.wordEmergency;
    if (b == 0)
        word = words.wordBrakeReleased;
    if (vehicle.brakeType >= 1 && b > emergency && b < 0 && !holding)
        word = "B" + std::to_string(-b);
    if (holding)
        word = words.wordHold2;
    if (vehicle.brakeType == 0) {
        // The automatic air brake's handle positions.
        switch (b) {
        case -1: word = words.wordMaintain; break;
        case -2: word = words.wordHold; break;
        case -3: word = words.wordApply; break;
        case removePosition: word = words.wordRemove; break;
        default: break;
        }
    }
    return word;
}

std::optional<std::string> powerNotchWord(const Settings& words, const VehicleSpec& vehicle, std::int32_t powerHandle,
                                          std::int32_t powerMode)
{
    if (powerHandle == 0)
        return words.wordPowerOff;
    if (powerHandle < 0 || powerHandle > vehicle.powerNotches)
        return std::nullopt;
    // The notch is counted within its power mode: mode name + position in the mode.
    const auto mode = static_cast<std::size_t>(powerMode);
    const std::string name = mode < vehicle.powerModes.size() ? vehicle.powerModes[mode].name : std::string();
    return name + std::to_string(powerHandle - groupStartOf(vehicle, powerMode).value_or(0));
}

int brakeStripPattern(const VehicleSpec& vehicle, std::int32_t brakeHandle, bool holding)
{
    if (vehicle.holdNotch != 1)
        return -brakeHandle;
    if (holding)
        return 1;
    return brakeHandle == 0 ? 0 : -brakeHandle + 1;
}

// A power notch is shown in the mode whose notches it belongs to.
NotchStripWords notchStripWords(const Settings& words, const VehicleSpec& vehicle)
{
    NotchStripWords strips;
    for (std::int32_t notch = 0; notch <= std::max(vehicle.powerNotches, 0); ++notch)
        setCell(strips.power, notch, powerNotchWord(words, vehicle, notch, notchGroupOf(vehicle, notch).value_or(0)));
    for (const BrakePosition& p : brakePositions(vehicle))
        setCell(strips.brake, brakeStripPattern(vehicle, p.handle, p.holding),
                brakeNotchWord(words, vehicle, p.handle, p.holding));
    return strips;
}

}  // namespace cabdrive
