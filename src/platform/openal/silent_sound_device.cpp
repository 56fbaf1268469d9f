// SilentSoundDevice: sound channels that keep time without mixing.
#include "platform/openal/silent_sound_device.h"

#include <cmath>

#include "platform/openal/channel_pitch.h"
#include "platform/openal/wave_decoder.h"

namespace cabdrive {

double SilentSoundDevice::framesSince(const Channel& c) const
{
    return std::chrono::duration<double>(m_time - c.since).count() * c.wave->sampleRate * c.pitch;
}

SilentSoundDevice::Channel* SilentSoundDevice::held(std::size_t channel)
{
    if (!holdsSound(channel))
        return nullptr;
    Channel& c = m_channels[channel];
    if (c.playing) {
        const auto frames = static_cast<double>(c.wave->frames);
        c.position += framesSince(c);
        if (c.looping && frames > 0) {
            c.position = std::fmod(c.position, frames);
        } else if (c.position >= frames) {
            c.playing = false;  // at its end: played again, it starts from the top
            c.position = 0;
        }
    }
    c.since = m_time;
    return &c;
}

WaveFile SilentSoundDevice::loadWave(const std::string& path)
{
    const auto found = m_waves.find(path);
    if (found != m_waves.end())
        return found->second;
    return m_waves[path] = decodeWave(path).file;
}

bool SilentSoundDevice::load(std::size_t channel, const std::string& path)
{
    if (!loadWave(path).error.empty())
        return false;
    if (channel < channels)
        m_channels[channel] = Channel{&m_waves[path], path};
    return true;
}

bool SilentSoundDevice::holdsSound(std::size_t channel) const
{
    return channel < channels && m_channels[channel].wave != nullptr;
}

std::string SilentSoundDevice::heldWave(std::size_t channel) const
{
    return holdsSound(channel) ? m_channels[channel].path : std::string();
}

void SilentSoundDevice::releaseAll()
{
    m_channels.assign(channels, Channel{});
    m_waves.clear();
}

void SilentSoundDevice::play(std::size_t channel, bool looping)
{
    if (Channel* c = held(channel)) {
        c->playing = true;
        c->looping = looping;
    }
}

void SilentSoundDevice::rewind(std::size_t channel)
{
    if (Channel* c = held(channel))
        c->position = 0;
}

void SilentSoundDevice::stop(std::size_t channel)
{
    if (Channel* c = held(channel))
        c->playing = false;
}

bool SilentSoundDevice::isPlaying(std::size_t channel) const
{
    if (!holdsSound(channel) || !m_channels[channel].playing)
        return false;
    const Channel& c = m_channels[channel];
    return c.looping || c.position + framesSince(c) < static_cast<double>(c.wave->frames);
}

bool SilentSoundDevice::isLooping(std::size_t channel) const
{
    return isPlaying(channel) && m_channels[channel].looping;
}

void SilentSoundDevice::setFrequencyRatio(std::size_t channel, double ratio)
{
    if (Channel* c = held(channel); c && std::isfinite(ratio))
        c->pitch = channelPitch(ratio, c->wave->sampleRate);
}

}  // namespace cabdrive
