// The vigilance device: a driver who touches nothing for a minute at speed
// hears a warning, and five seconds later the emergency brake comes on.
#pragma once

namespace cabdrive {

struct Run;

void vigilanceDevice(Run& run);  // 100 ms tick
// Every key press and wheel step: the count starts again.
void resetVigilance(Run& run);

}  // namespace cabdrive
