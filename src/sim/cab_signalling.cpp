// Cab signalling. Displays 22 to 29 carry the speeds of [Speed_Signal]
// entries 0 to 7; above the speed less 0.4 km/h the brake comes on (the
// emergency brake at display 22, whose speed is the stop aspect's), and it
// releases once the train is down again.
#include "sim/cab_signalling.h"

#include <optional>

#include "sim/protection_brakes.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int32_t firstLimitDisplay = 22;
constexpr std::int32_t lastLimitDisplay = 29;
constexpr long double brakeMargin = 0.4L;  // km/h below the limit

std::optional<long double> cabSignalLimit(const Run& run)
{
    const std::int32_t display = run.state.signals.signalDisplay;
    if (display < firstLimitDisplay || display > lastLimitDisplay)
        return std::nullopt;
    // A route with fewer [Speed_Signal] rows gives the missing displays no limit.
    const auto entry = static_cast<std::size_t>(display - firstLimitDisplay);
    if (entry >= run.route.speedSignals.size())
        return std::nullopt;
    return run.route.speedSignals[entry];
}

}  // namespace

void cabSignalling(Run& run)
{
    if (run.vehicle.atsType != 2)
        return;
    ProtectionState& p = run.state.protection;
    const std::optional<long double> limit = cabSignalLimit(run);
    const bool overLimit = limit && run.state.dynamics.trainSpeed > *limit - brakeMargin;
    if (overLimit && !p.cabSignalBrake) {
        if (run.state.signals.signalDisplay == firstLimitDisplay)
            applyProtectionEmergencyBrake(run);
        else
            setProtectionServiceBrake(run, true);
        p.cabSignalBrake = true;
    } else if (!overLimit && p.cabSignalBrake) {
        // An emergency brake stays until the driver resets protection.
        setProtectionServiceBrake(run, false);
        p.cabSignalBrake = false;
    }
}

}  // namespace cabdrive
