// The timetable clock: its readouts, the time call-outs of the [Time] rows,
// and the clock a run or a station jump starts with.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cabdrive {

struct Run;

// Tick: the "hh:mm:ss" readout of `ticks` (1/30 s since midnight) and, on a
// vehicle with an analog clock, its hands, redrawn only when the second
// changes.
void timecalc(Run& run, std::int32_t ticks);

// The time call-out of every [Time] row whose frame window holds the current
// frame and that has not spoken yet, in wording `form` (0 or 1).
void Timecheck(Run& run, std::int32_t form);

// The clock at the start of a run: the start station's departure time less
// the melody's length, and less the arrival sound's too unless the run starts
// at the first station.
std::int32_t startClock(const Run& run, std::size_t startStation);

// The clock after a jump to station n: its departure time (or one
// interpolated by frame between the nearest stations that have one) less
// the lengths of its melody and arrival sound.
std::int32_t jumpClock(const Run& run, std::size_t n);

}  // namespace cabdrive
