// OpenAlSoundDevice: the run's 320 sound channels on OpenAL Soft, one source
// per channel, with waves read by libsndfile.
#pragma once

#include <AL/al.h>

#include <map>
#include <string>
#include <vector>

#include "platform/openal/openal_output.h"
#include "ports/sound_device.h"

namespace cabdrive {

// A wave is read once into one OpenAL buffer, which every channel loaded
// from the same file shares. Volume in hundredths of a decibel becomes the
// gain 10^(v/2000), -10 000 and below silence; the frequency ratio becomes
// the pitch. Positions are not used: every source plays unattenuated in the
// middle.
// On an output without a context the waves are still read and held, and
// nothing plays.
class OpenAlSoundDevice final : public SoundDevice {
public:
    static constexpr std::size_t channels = 320;

    // The output must outlive the device.
    explicit OpenAlSoundDevice(OpenAlOutput& output);
    ~OpenAlSoundDevice() override;
    OpenAlSoundDevice(const OpenAlSoundDevice&) = delete;
    OpenAlSoundDevice& operator=(const OpenAlSoundDevice&) = delete;

    // Channels with a source of their own: fewer than 320 only when the
    // context grants fewer sources (the others hold waves but stay silent).
    std::size_t sourcedChannels() const;

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
    void setVolume(std::size_t channel, int hundredthsOfDecibel) override;
    void setFrequencyRatio(std::size_t channel, double ratio) override;

private:
    struct Wave {
        WaveFile file;
        ALuint buffer = 0;  // 0 without a context
    };
    struct Channel {
        ALuint source = 0;  // 0: no source was granted
        const Wave* wave = nullptr;
        std::string path;   // the wave's, as loaded
        bool looping = false;
    };

    // The channel's source when it holds a wave and has one; 0 otherwise.
    ALuint sourceOf(std::size_t channel) const;
    const Wave& wave(const std::string& path);

    OpenAlOutput& m_output;
    std::map<std::string, Wave> m_waves;  // by path
    std::vector<Channel> m_channels;
};

}  // namespace cabdrive

namespace cabdrive {

// The sound of one run: an output with a source for every channel, and the
// channels on it.
struct RunSoundOutput {
    explicit RunSoundOutput(OpenAlOutput::Device device, int loopbackRate = OpenAlOutput::defaultLoopbackRate)
        : output(device, static_cast<int>(OpenAlSoundDevice::channels), loopbackRate)
    {
    }

    OpenAlOutput output;
    OpenAlSoundDevice channels{output};
};

}  // namespace cabdrive
