// The call-out voice queue and the rules that fill it: the driver's spoken
// call-outs wait in a small first-in-first-out queue (kanko_queue_play plays them).
#pragma once

#include <cstdint>

#include "state/run_state.h"

namespace cabdrive {

struct Run;

// Voice numbers of the fixed call-outs ([KankoSound1]) that the code names.
inline constexpr std::int32_t kankoDoorsClosed = 19;
inline constexpr std::int32_t kankoDeparture = 20;

// Queues voice `voice` of the route's call-out table (0..21 the fixed voices,
// 22 + k the k-th numbered voice). A voice offered to a full queue is dropped.
void kanko_queue_add(Run& run, std::int32_t voice);
// The same for a voice of any of the three voice tables.
void kankoQueueAddVoice(Run& run, CalloutState::Voice voice);

// Once per tick: a speed-limit call-out is not repeated while it stays due;
// once none is due, the next one may be called again even with the same voice.
void forgetPassedLimitCallout(Run& run);

// The time call-out for clockTicks against `target` (1/30 s since midnight):
// on time, or how many seconds late or early in 15 s bands up to 120 s;
// `form` 0 or 1 picks the wording.
void Timekanko(Run& run, std::int32_t target, std::int32_t form);

// The [SignalKanko] voices of the signal ahead: kind 1 those of moment 0,
// kind 2 those of moments 2 and 1.
void kanko_add(Run& run, std::int32_t kind);

// The [StationKanko] rows of the current station for one moment of a stop:
// 0 stopped, 1 doors open, 2 departure melody, 3 doors closed, 4 first power
// notch after the doors closed, 5 doors closing.
void stationCallouts(Run& run, std::int32_t moment);

// The call-out key (Enter), in this order of preference, one call-out group
// a press: a sign or timetable marker in view (once), a speed limit due
// (once, while the train moves, with no sign in view), a crossing ahead
// (while the train moves and the crossing indicator is dark; the crossing
// queue moves on), else the signal ahead. Station call-out rows with code
// 999 run it too.
void callOutKey(Run& run);

}  // namespace cabdrive
