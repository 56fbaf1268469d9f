// A sound device without sound: the program and the tools run with no sound card.
#pragma once

#include "ports/sound_device.h"

namespace cabdrive {

// Holds no waves, so nothing ever plays; every file reads as an empty wave.
class NullSoundDevice final : public SoundDevice {
public:
    std::size_t channelCount() const override { return 320; }
    WaveFile loadWave(const std::string&) override { return {}; }
    bool load(std::size_t, const std::string&) override { return true; }
    bool holdsSound(std::size_t) const override { return false; }
    std::string heldWave(std::size_t) const override { return {}; }
    void releaseAll() override {}
    void play(std::size_t, bool) override {}
    void rewind(std::size_t) override {}
    void stop(std::size_t) override {}
    bool isPlaying(std::size_t) const override { return false; }
    bool isLooping(std::size_t) const override { return false; }
    void setVolume(std::size_t, int) override {}
    void setFrequencyRatio(std::size_t, double) override {}
};

}  // namespace cabdrive
