// Spot-type protection: the bell of an alarm, the driver's acknowledgement
// and the chime, the reset after a protection brake; and the timer that
// brakes an unacknowledged speed-check alarm under the other types.
#pragma once

namespace cabdrive {

struct Run;

void spotProtectionAlarm(Run& run);  // 100 ms tick, step 17

// A speed check found the train too fast: the alarm rings, and under the
// pattern and cab-signal types the brake follows on the next tick.
void startSpeedCheckAlarm(Run& run);

enum class Acknowledgement { Taken, Refused };
// The acknowledge key (spot type). Refused when the automatic brake's
// handle stands at its first position, which is not a brake application.
Acknowledgement acknowledgeProtection(Run& run);
// The reset key: only at a stand with the handle at emergency.
void resetProtection(Run& run);

}  // namespace cabdrive
