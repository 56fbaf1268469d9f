// The next-station announcements the driver plays in one-person operation.
#pragma once

namespace cabdrive {

struct Run;

// "c" / "1": the announcement of the current [Announce] row, restarted from
// its beginning unless it already plays (the one before it stopped), and the
// index moves on. Only with [OneMan] 1.
void nextAnnouncement(Run& run);

// "-": the announcement played last is stopped and the index moved back to it.
void previousAnnouncement(Run& run);

}  // namespace cabdrive
