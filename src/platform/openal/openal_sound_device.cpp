// OpenAlSoundDevice: the run's sound channels on OpenAL Soft.
#include "platform/openal/openal_sound_device.h"

#include <algorithm>
#include <cmath>

#include "platform/openal/channel_pitch.h"
#include "platform/openal/wave_decoder.h"

namespace cabdrive {
namespace {

constexpr int silentVolume = -10000;  // 1/100 dB

ALint sourceState(ALuint source)
{
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

}  // namespace

OpenAlSoundDevice::OpenAlSoundDevice(OpenAlOutput& output) : m_output(output), m_channels(channels)
{
    if (!m_output.available())
        return;
    const OpenAlOutput::Current current(m_output);
    alDistanceModel(AL_NONE);
    // One by one: a context that grants fewer sources still gives the first ones.
    for (Channel& channel : m_channels) {
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR)
            break;
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        channel.source = source;
    }
}

OpenAlSoundDevice::~OpenAlSoundDevice()
{
    releaseAll();
    if (!m_output.available())
        return;
    const OpenAlOutput::Current current(m_output);
    for (const Channel& channel : m_channels) {
        if (channel.source != 0)
            alDeleteSources(1, &channel.source);
    }
}

std::size_t OpenAlSoundDevice::sourcedChannels() const
{
    return static_cast<std::size_t>(
        std::count_if(m_channels.begin(), m_channels.end(), [](const Channel& c) { return c.source != 0; }));
}

const OpenAlSoundDevice::Wave& OpenAlSoundDevice::wave(const std::string& path)
{
    if (const auto found = m_waves.find(path); found != m_waves.end())
        return found->second;
    DecodedWave decoded = decodeWave(path);
    Wave& wave = m_waves[path];
    wave.file = std::move(decoded.file);
    if (!wave.file.error.empty() || !m_output.available())
        return wave;
    const OpenAlOutput::Current current(m_output);
    alGetError();
    alGenBuffers(1, &wave.buffer);
    if (alGetError() != AL_NO_ERROR) {
        wave.buffer = 0;
        return wave;  // no buffer left: the wave stays silent
    }
    alBufferData(wave.buffer, AL_FORMAT_MONO16, decoded.samples.data(),
                 static_cast<ALsizei>(decoded.samples.size() * sizeof(std::int16_t)), wave.file.sampleRate);
    return wave;
}

WaveFile OpenAlSoundDevice::loadWave(const std::string& path)
{
    return wave(path).file;
}

bool OpenAlSoundDevice::load(std::size_t channel, const std::string& path)
{
    const Wave& loaded = wave(path);
    if (!loaded.file.error.empty())
        return false;
    if (channel >= channels)
        return true;
    Channel& c = m_channels[channel];
    c.wave = &loaded;
    c.path = path;
    c.looping = false;
    if (c.source == 0)
        return true;
    // A freshly loaded channel plays at full volume and the wave's own rate.
    const OpenAlOutput::Current current(m_output);
    alSourceStop(c.source);
    alSourcei(c.source, AL_BUFFER, static_cast<ALint>(loaded.buffer));
    alSourcef(c.source, AL_GAIN, 1.0f);
    alSourcef(c.source, AL_PITCH, 1.0f);
    alSourcei(c.source, AL_LOOPING, AL_FALSE);
    return true;
}

bool OpenAlSoundDevice::holdsSound(std::size_t channel) const
{
    return channel < channels && m_channels[channel].wave != nullptr;
}

std::string OpenAlSoundDevice::heldWave(std::size_t channel) const
{
    return holdsSound(channel) ? m_channels[channel].path : std::string();
}

void OpenAlSoundDevice::releaseAll()
{
    const OpenAlOutput::Current current(m_output);
    for (Channel& channel : m_channels) {
        if (channel.source != 0) {
            alSourceStop(channel.source);
            alSourcei(channel.source, AL_BUFFER, 0);
        }
        channel.wave = nullptr;
        channel.path.clear();
        channel.looping = false;
    }
    for (const auto& [path, wave] : m_waves) {
        if (wave.buffer != 0)
            alDeleteBuffers(1, &wave.buffer);
    }
    m_waves.clear();
}

ALuint OpenAlSoundDevice::sourceOf(std::size_t channel) const
{
    return holdsSound(channel) && m_channels[channel].wave->buffer != 0 ? m_channels[channel].source : 0;
}

void OpenAlSoundDevice::play(std::size_t channel, bool looping)
{
    const ALuint source = sourceOf(channel);
    if (source == 0)
        return;
    m_channels[channel].looping = looping;
    const OpenAlOutput::Current current(m_output);
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    // Playing a playing source would start it again from the top; a paused
    // one resumes where it stood, one that played to its end starts again.
    if (sourceState(source) != AL_PLAYING)
        alSourcePlay(source);
}

void OpenAlSoundDevice::rewind(std::size_t channel)
{
    const ALuint source = sourceOf(channel);
    if (source == 0)
        return;
    const OpenAlOutput::Current current(m_output);
    // A playing sound plays on from its first sample.
    if (sourceState(source) == AL_PLAYING)
        alSourcei(source, AL_SAMPLE_OFFSET, 0);
    else
        alSourceRewind(source);
}

void OpenAlSoundDevice::stop(std::size_t channel)
{
    const ALuint source = sourceOf(channel);
    if (source == 0)
        return;
    const OpenAlOutput::Current current(m_output);
    if (sourceState(source) == AL_PLAYING)
        alSourcePause(source);  // keeps the position, as the port's stop does
}

bool OpenAlSoundDevice::isPlaying(std::size_t channel) const
{
    const ALuint source = sourceOf(channel);
    if (source == 0)
        return false;
    const OpenAlOutput::Current current(m_output);
    return sourceState(source) == AL_PLAYING;
}

bool OpenAlSoundDevice::isLooping(std::size_t channel) const
{
    return isPlaying(channel) && m_channels[channel].looping;
}

void OpenAlSoundDevice::setVolume(std::size_t channel, int hundredthsOfDecibel)
{
    const ALuint source = sourceOf(channel);
    if (source == 0)
        return;
    const int volume = std::min(hundredthsOfDecibel, 0);
    const double gain = volume <= silentVolume ? 0.0 : std::pow(10.0, volume / 2000.0);
    const OpenAlOutput::Current current(m_output);
    alSourcef(source, AL_GAIN, static_cast<ALfloat>(gain));
}

void OpenAlSoundDevice::setFrequencyRatio(std::size_t channel, double ratio)
{
    const ALuint source = sourceOf(channel);
    if (source == 0 || !std::isfinite(ratio))
        return;
    const double pitch = channelPitch(ratio, m_channels[channel].wave->file.sampleRate);
    const OpenAlOutput::Current current(m_output);
    alSourcef(source, AL_PITCH, static_cast<ALfloat>(pitch));
}

}  // namespace cabdrive
