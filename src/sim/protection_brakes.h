// How train protection brakes the train: it sets its brake flags, marks
// every notch change pending and lets masconupdate fold the flags in.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cabdrive {

struct Run;

// The emergency brake stays applied until the driver resets protection.
void applyProtectionEmergencyBrake(Run& run);
void setProtectionServiceBrake(Run& run, bool applied);
// The cab-signal and pattern bell, once from its start.
void ringAtcBell(Run& run);

// More than 7 km/h against the reverser brings the emergency brake on
// (vehicles with [Back] 1).
void rollBackProtection(Run& run);

}  // namespace cabdrive
