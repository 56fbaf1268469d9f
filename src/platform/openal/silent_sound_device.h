// SilentSoundDevice: 320 sound channels that mix nothing but keep time, for
// runs without a sound card or without a listener.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "ports/sound_device.h"

namespace cabdrive {

// Waves are read (a bad file is found, lengths are measured) and channels
// play them in time: a sound played once ends when its length at its pitch
// has passed, so everything that waits for a sound to end waits as long as
// with a sound card. Time moves only by advanceTo, which the run's clock
// calls; nothing is heard. A channel's place in its wave is worked out when
// it is asked for, so that time passing costs nothing.
class SilentSoundDevice final : public SoundDevice {
public:
    static constexpr std::size_t channels = 320;

    SilentSoundDevice() : m_channels(channels) {}

    // Moves every playing channel on to `time` (of the clock that calls it).
    void advanceTo(std::chrono::nanoseconds time) { m_time = time; }

    std::size_t channelCount() const override { return channels; }
    WaveFile loadWave(const std::string& path) override;
    bool load(std::size_t channel, const std::string& path) override;
    bool holdsSound(std::size_t channel) const override;
    std::string heldWave(std::size_t channel) const override;
    void releaseAll() override;
    void play(std::size_t channel, bool looping) override;
    void rewind(std::size_t channel) override;
    void stop(std::size_t channel) override;
    bool isPlaying(std::size_t channel) const override;
    bool isLooping(std::size_t channel) const override;
    void setVolume(std::size_t, int) override {}
    void setFrequencyRatio(std::size_t channel, double ratio) override;

private:
    struct Channel {
        const WaveFile* wave = nullptr;
        std::string path;
        bool playing = false;
        bool looping = false;
        double position = 0;  // frames into the wave at `since`
        std::chrono::nanoseconds since{0};
        double pitch = 1;
    };

    // The channel, its position brought up to now; null when it holds no wave.
    Channel* held(std::size_t channel);
    // Frames played since the position was last brought up to date.
    double framesSince(const Channel& c) const;

    std::map<std::string, WaveFile> m_waves;  // by path
    std::vector<Channel> m_channels;
    std::chrono::nanoseconds m_time{0};
};

}  // namespace cabdrive
