// Speed limits and speed checks: the limits ahead and their warning, the
// speed-limit sign, the two kinds of speed check and the limit lines.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick, step 19: the limits ahead, the limit sign, then the checks.
void speedLimitsAndChecks(Run& run);
// 100 ms tick, step 26: the two limit lines.
void upcomingLimitTexts(Run& run);

// Every [SpeedCheck1] row behind the train counts as passed and every row
// ahead of it is armed (the start of a run and a station jump).
void markSpeedChecksBehind(Run& run);

}  // namespace cabdrive
