// SoundResume: the sounds a paused run silenced, so that resuming the run
// starts them again.
#pragma once

#include <cstdint>
#include <vector>

#include "ports/sound_device.h"

namespace cabdrive {

class SoundResume {
public:
    // For every channel that holds a sound: remembers whether it was playing
    // once or looping, and stops it if it was playing.
    void pauseSounds(SoundDevice& sound);
    // Starts every remembered sound again from its first sample, once or
    // looping as it was; the record is then used up.
    void resumeSounds(SoundDevice& sound);

private:
    enum : std::uint8_t { Silent = 0, PlayingOnce = 1, Looping = 2 };
    std::vector<std::uint8_t> m_soundResume;  // one per channel
};

}  // namespace cabdrive
