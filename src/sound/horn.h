// The horn in parts (opening, two alternating middle parts, closing) and the
// buzzer, sounded while their keys are held.
#pragma once

namespace cabdrive {

struct Run;

void soundHornAndBuzzer(Run& run);  // 100 ms tick

}  // namespace cabdrive
