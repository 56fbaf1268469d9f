// SoundDevice: the numbered playback channels the simulation plays its sounds on.
#pragma once

#include <cstddef>
#include <string>

namespace cabdrive {

// Channels are numbered from 0; a channel holds at most one wave. Every
// operation on a channel that holds no wave (or lies beyond the device) does
// nothing, and such a channel never plays.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;

    virtual std::size_t channelCount() const = 0;
    // Puts the wave of a WAV file on a channel; false when it cannot be read.
    virtual bool load(std::size_t channel, const std::string& path) = 0;
    virtual bool holdsSound(std::size_t channel) const = 0;

    // Plays from where the channel stands (a stopped sound resumes there).
    virtual void play(std::size_t channel, bool looping) = 0;
    virtual void rewind(std::size_t channel) = 0;  // back to the first sample
    virtual void stop(std::size_t channel) = 0;    // keeps the position
    virtual bool isPlaying(std::size_t channel) const = 0;
    virtual bool isLooping(std::size_t channel) const = 0;

    virtual void setVolume(std::size_t channel, int hundredthsOfDecibel) = 0;  // 0 full, -10000 silent
    virtual void setFrequencyRatio(std::size_t channel, double ratio) = 0;     // of the wave's own rate

    // The commands the simulation uses most.
    void restart(std::size_t channel, bool looping)
    {
        rewind(channel);
        play(channel, looping);
    }
    void playOnceIfSilent(std::size_t channel)
    {
        if (!isPlaying(channel))
            play(channel, false);
    }
    void stopIfPlaying(std::size_t channel)
    {
        if (isPlaying(channel))
            stop(channel);
    }
    // Every channel from `first` up falls silent.
    void stopChannelsFrom(std::size_t first)
    {
        for (std::size_t channel = first; channel < channelCount(); ++channel)
            stopIfPlaying(channel);
    }
};

}  // namespace cabdrive
