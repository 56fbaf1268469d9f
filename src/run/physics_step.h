// The physics step: run every 1/30 s, it applies the handles, moves the
// pressures, the frame, the position and the timetable clock.
#pragma once

namespace cabdrive {

struct Run;

void MMTimer1Timer(Run& run);

}  // namespace cabdrive
