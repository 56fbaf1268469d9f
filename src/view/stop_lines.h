// The three stop-position lines laid over the track as the train closes in
// on its stop.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick, step 27. Within 100 m of the stop, on a route with a
// [Perspective] factor, the lines S, M and E mark the stop position less the
// stop tolerance (the next stop's column 4), the stop position and the stop
// position plus the tolerance. A line d cm ahead lies on the ground at
// y = horizon + factor x 100000 / d (px; [Perspective] gives the factor and
// the horizon), and shows pattern round(d/100 x -0.15 + 4) within 20 m, 0
// further away (a picture with fewer cells shows its last). A line not
// ahead, below the view or out of range is moved above the view; the menu
// hides them through their visibility, which this leaves alone.
void placeStopLines(Run& run);

// px from the top of the view of a line d cm ahead.
long double stopLineY(long double horizon, long double factor, long double d);

}  // namespace cabdrive
