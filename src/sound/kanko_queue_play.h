// The call-out voice queue's player: the queued voices play one after another
// on the call-out channel.
#pragma once

namespace cabdrive {

struct Run;

// Once per tick: when the call-out channel has fallen silent, the head that
// played is removed and the next one is loaded and played.
void kanko_queue_play(Run& run);

}  // namespace cabdrive
