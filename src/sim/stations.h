// The train's life at stations: next-station and now-at texts, arrival, the
// doors under a conductor or the driver, the departure melody against the
// timetable, the crew change and the end of the run at the last station.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cabdrive {

struct Run;
struct Station;

// The moments of a stop that the station call-outs ([StationKanko]) are
// tied to; moment 4, the first power notch after the doors closed, belongs
// to the controller.
namespace stopMoment {
inline constexpr std::int32_t stopped = 0;
inline constexpr std::int32_t doorsOpen = 1;
inline constexpr std::int32_t melody = 2;
inline constexpr std::int32_t doorsClosed = 3;
inline constexpr std::int32_t doorsClosing = 5;
}  // namespace stopMoment

// Kinds 0 (doors) and 2 or more (no passenger service, special) stop; kind 1
// passes.
bool isStop(const Station& station);

// Tick step 20. False when a step looked for the next stop and found none:
// the tick ends there and its later steps wait for the next tick.
bool stationLoop(Run& run);

// The start of a run, once the train stands at the start station: the
// per-station flags, the next stop, the clock, and at a station with doors
// the doors open.
void startStations(Run& run);

// Every per-station flag and the one-shot flags of the [Time], [Sound],
// [Switch] and [Announce] rows cleared, one per row.
void clearStationFlags(Run& run);

// The first station after station j that the train stops at (passing
// stations skipped) becomes the next stop: its position and number, with
// j's and its name for the readouts. False when none follows.
bool chooseNextStop(Run& run, std::size_t j);

}  // namespace cabdrive
