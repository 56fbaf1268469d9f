// A sound device for tests: every channel holds a sound, and every command is
// recorded so a test can see what the simulation played. Channels beyond the
// 320 take no command, as on a real device.
#pragma once

#include <cstdint>
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

    static constexpr std::size_t count = 320;
    static constexpr std::int32_t waveRate = 1000;  // Hz of every wave it reads

    std::size_t channelCount() const override { return count; }
    cabdrive::WaveFile loadWave(const std::string& path) override
    {
        log.push_back("wave " + path);
        if (unreadable.count(path) != 0)
            return {"cannot read " + path, 0, 0};
        const auto found = waveSeconds.find(path);
        return {"", found == waveSeconds.end() ? 0 : static_cast<std::int64_t>(found->second * waveRate), waveRate};
    }
    bool load(std::size_t channel, const std::string& path) override
    {
        log.push_back("load " + std::to_string(channel) + " " + path);
        if (unreadable.count(path) != 0)
            return false;
        held[channel] = path;
        return true;
    }
    bool holdsSound(std::size_t channel) const override { return channel < count; }
    std::string heldWave(std::size_t channel) const override
    {
        const auto found = held.find(channel);
        return found == held.end() ? std::string() : found->second;
    }
    void releaseAll() override
    {
        channels.clear();
        held.clear();
        log.push_back("release");
    }
    void play(std::size_t channel, bool looping) override
    {
        if (channel >= count)
            return;
        Channel& c = channels[channel];
        if (!c.playing)
            ++c.starts;
        c.playing = true;
        c.looping = looping;
        log.push_back((looping ? "loop " : "play ") + std::to_string(channel));
    }
    void rewind(std::size_t channel) override
    {
        if (channel < count)
            ++channels[channel].rewinds;
    }
    void stop(std::size_t channel) override
    {
        if (channel >= count)
            return;
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
    void setVolume(std::size_t channel, int hundredths) override
    {
        if (channel < count)
            channels[channel].volume = hundredths;
    }
    void setFrequencyRatio(std::size_t channel, double ratio) override
    {
        if (channel < count)
            channels[channel].ratio = ratio;
    }

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
    std::map<std::size_t, std::string> held;  // channel: path loaded onto it
    std::set<std::string> unreadable;  // paths whose load fails
    std::map<std::string, double> waveSeconds;  // path: length of its wave (default 0)
};

}  // namespace test
