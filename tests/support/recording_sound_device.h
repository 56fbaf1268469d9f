// A sound device for tests: every channel holds a sound, and every command is
// recorded so a test can see what the simulation played.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ports/sound_device.h"

namespace test {

class RecordingSoundDevice final : public cabdrive::SoundDevice {
public:
    struct Channel {
        bool playing = false;
        bool looping = false;
        int volume = 0;       // 1/100 dB
        double ratio = 1.0;
        int starts = 0;       // play commands that started it
        int rewinds = 0;
    };

    std::size_t channelCount() const override { return 320; }
    bool load(std::size_t channel, const std::string& path) override
    {
        log.push_back("load " + std::to_string(channel) + " " + path);
        return unreadable.count(path) == 0;
    }
    bool holdsSound(std::size_t channel) const override { return channel < 320; }
    void play(std::size_t channel, bool looping) override
    {
        Channel& c = channels[channel];
        if (!c.playing)
            ++c.starts;
        c.playing = true;
        c.looping = looping;
        log.push_back((looping ? "loop " : "play ") + std::to_string(channel));
    }
    void rewind(std::size_t channel) override { ++channels[channel].rewinds; }
    void stop(std::size_t channel) override
    {
        channels[channel].playing = false;
        channels[channel].looping = false;
        log.push_back("stop " + std::to_string(channel));
    }
    bool isPlaying(std::size_t channel) const override
    {
        const auto found = channels.find(channel);
        return found != channels.end() && found->second.playing;
    }
    bool isLooping(std::size_t channel) const override
    {
        const auto found = channels.find(channel);
        return found != channels.end() && found->second.looping;
    }
    void setVolume(std::size_t channel, int hundredths) override { channels[channel].volume = hundredths; }
    void setFrequencyRatio(std::size_t channel, double ratio) override { channels[channel].ratio = ratio; }

    // A sound played once has come to its end.
    void finish(std::size_t channel)
    {
        channels[channel].playing = false;
        channels[channel].looping = false;
    }
    int starts(std::size_t channel) const
    {
        const auto found = channels.find(channel);
        return found == channels.end() ? 0 : found->second.starts;
    }

    std::map<std::size_t, Channel> channels;
    std::vector<std::string> log;
    std::set<std::string> unreadable;  // paths whose load fails
};

}  // namespace test
