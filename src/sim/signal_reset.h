// What the signals and train protection start a run with, and what a jump to
// a station resets.
#pragma once

namespace cabdrive {

struct Run;

// The start of a run, once the train stands at its start station.
void startSignals(Run& run);
// A jump to a station, once the train stands at its new position: no signal
// ahead, no check in force, no pattern, the displays cleared, the speed
// checks behind the train passed.
void resetSignalsForJump(Run& run);

}  // namespace cabdrive
