// The stop-approach alert: a sound and a blinking lamp when the train is too
// fast for the distance left to the next stop.
#pragma once

namespace cabdrive {

struct Run;

void stopApproachAlert(Run& run);  // 100 ms tick

}  // namespace cabdrive
