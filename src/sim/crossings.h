// Level crossings ahead: the queue of crossings the train approaches, the
// crossing sprite, the crossing indicator and the crossing call-out.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick, step 23. A [Cross] row (image, call-out voice, enter frame,
// leave frame, route flag) joins the queue of 11 slots when the frame comes
// into its enter window (enter <= frame < enter + 20), once while it stays
// queued; in its leave window it moves the queue on by one, once. Outside
// every enter window a new head is shown: its image on the crossing sprite,
// and the indicator lit while its route flag names a station (>= 1) whose
// departure melody has not started. An empty queue shows image 0, unlit.
void crossings(Run& run);

// The crossing indicator (a station's departure melody puts it out).
bool crossingIndicatorLit(const Run& run);
void putOutCrossingIndicator(Run& run);

// The call-out key: a crossing is queued ahead.
bool crossingCalloutPending(const Run& run);
// Queues the head crossing's voice and moves the queue on by one.
void callOutCrossing(Run& run);

// The start of a run and a station jump: no crossing ahead.
void forgetCrossings(Run& run);
// A restored state: the queue holds the crossings whose range (enter frame to
// leave frame) holds the train's frame, in row order.
void requeueCrossingsInRange(Run& run);

}  // namespace cabdrive
