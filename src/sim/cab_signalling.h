// Cab signalling: the signal ahead is a speed limit enforced continuously.
#pragma once

namespace cabdrive {

struct Run;

void cabSignalling(Run& run);  // 100 ms tick, step 16

}  // namespace cabdrive
