// The 100 ms tick: the force balance, then every route event in a fixed order.
#pragma once

namespace cabdrive {

struct Run;

void Timer1Timer(Run& run);

}  // namespace cabdrive
