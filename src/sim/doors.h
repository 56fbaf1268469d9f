// The passenger doors: opening and closing them, the end of a closing, the
// safety close on moving off and the door side chosen by the driver.
#pragma once

#include <cstdint>

namespace cabdrive {

struct Run;
struct RunState;

// Toggles the doors: opens them when they are closed and the train stands
// (|v| < 0.1 km/h), starts closing them when they are open. In one-person
// operation the door sounds play only when the number drawn at the station
// is within its door-sound chance, and the one-person notice is cleared.
void Door_operate(Run& run);

// Tick: once a closing's door sounds have ended the doors are shut — the
// closed lamp, the departure signal, call-out 19 and the doors-closed
// call-outs. While open, the closed lamp is dark and the station's door-side
// indicator lit until the closing starts.
void completeDoorClosing(Run& run);

// Tick: open doors close once the train moves faster than 5 km/h.
void doorSafety(Run& run);

// Page Up (side 0) and Page Down (side 1), only with the doors closed: the
// door-side word and the door-side lamp, lit for side 1.
void chooseDoorSide(Run& run, std::int32_t side);

// The doors shut at once and their pictures put back, as a station jump does.
void shutDoors(Run& run);

// The easy panel's status bar text for the doors.
void refreshDoorStatus(RunState& state);

}  // namespace cabdrive
