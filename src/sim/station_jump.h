// The jump to a station chosen from the Move menu.
#pragma once

#include <cstdint>

namespace cabdrive {

struct Run;

// Jumps to station n (the menu entry "Sta" + n): the main video back, every
// station and time flag and every sound from channel 1 up stopped, the doors
// shut, the train standing at the station's stop with the handles at the
// last service notch, and the clock set so that the arrival sound and the
// melody end at the departure time. Under a conductor the arrival counts as
// registered, so the doors open at once. A number outside the station table
// does nothing. The window caption is the program's.
void StationClick(Run& run, std::int32_t n);

}  // namespace cabdrive
