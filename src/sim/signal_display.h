// The signals step of the tick: aspects, the display of the signal ahead and
// its pictures, the spot-type transponders and passing a signal.
#pragma once

namespace cabdrive {

struct Run;
struct SignalState;

void updateSignals(Run& run);  // 100 ms tick

// Shift + F3: the train moves to 10 frames before the next signal.
void jumpToNextSignal(Run& run);

// No signal ahead is shown: its display, the display the pictures show and
// its name become 999.
void clearSignalAhead(SignalState& signals);
// Every signal picture back to frame 0.
void resetSignalPictures(Run& run);

}  // namespace cabdrive
