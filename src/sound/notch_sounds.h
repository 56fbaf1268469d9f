// The handle sounds: a sound when a handle is moved onto a notch.
#pragma once

#include <cstdint>

namespace cabdrive {

struct Run;

// After a handle operation, given the handles before it: [Sound_BA] of the
// brake position the brake handle moved onto, [Sound_PA] of the power notch
// the power handle was raised onto, [Sound_PR] of the one it was lowered
// onto; each once. Released and off positions have no sound.
void playNotchChangeSounds(Run& run, std::int32_t powerHandleBefore, std::int32_t brakeHandleBefore);

}  // namespace cabdrive
