// The preceding train: a train ahead on the same video that runs by its own timetable.
#pragma once

namespace cabdrive {

struct Run;

// Physics step: moves the preceding train's frame while it is still ahead
// of the driven train.
void movePrecedingTrain(Run& run);

}  // namespace cabdrive
