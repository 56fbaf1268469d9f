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
// A restore, once the train stands at its restored frame: no check in
// force; the signal ahead drawn afresh when it comes into view, and with no
// signal in view its pictures put back.
void resetSignalsForRestore(Run& run);

}  // namespace cabdrive
