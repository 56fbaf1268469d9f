// SoundDevice: the numbered playback channels the simulation plays its sounds on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cabdrive {

// A WAV file read into the device's store of waves.
struct WaveFile {
    std::string error;            // empty when it was read; else why not, in the decoder's words
    std::int64_t frames = 0;      // sample frames of the data actually decoded
    std::int32_t sampleRate = 0;  // Hz; 0 when nothing is known of it
};

// Channels are numbered from 0; a channel holds at most one wave. Every
// operation on a channel that holds no wave (or lies beyond the device) does
// nothing, and such a channel never plays.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;

    virtual std::size_t channelCount() const = 0;
    // Reads a WAV file into the device's store, once per path; channels are
    // then loaded from the store without reading the file again.
    virtual WaveFile loadWave(const std::string& path) = 0;
    // Puts the wave of a WAV file on a channel, reading it first if the store
    // lacks it; false when it cannot be read.
    virtual bool load(std::size_t channel, const std::string& path) = 0;
    virtual bool holdsSound(std::size_t channel) const = 0;
    // The path the channel's wave was loaded from; empty when it holds none.
    virtual std::string heldWave(std::size_t channel) const = 0;
    // Stops and empties every channel and forgets every wave.
    virtual void releaseAll() = 0;

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
    void loopIfSilent(std::size_t channel)
    {
        if (!isPlaying(channel))
            play(channel, true);
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
