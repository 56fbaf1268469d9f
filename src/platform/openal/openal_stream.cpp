// OpenAlStream: one OpenAL source fed block by block, for a sound track that
// is decoded while it plays.
#include "platform/openal/openal_stream.h"

namespace cabdrive {

OpenAlStream::OpenAlStream(OpenAlOutput& output, int sampleRate, int channels)
    : m_output(output), m_format(channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16), m_sampleRate(sampleRate)
{
    if (!m_output.available())
        return;
    const OpenAlOutput::Current current(m_output);
    alGetError();
    alGenSources(1, &m_source);
    if (alGetError() != AL_NO_ERROR)
        m_source = 0;
}

OpenAlStream::~OpenAlStream()
{
    if (m_source == 0)
        return;
    stop();
    const OpenAlOutput::Current current(m_output);
    alDeleteSources(1, &m_source);
    if (!m_allBuffers.empty())
        alDeleteBuffers(static_cast<ALsizei>(m_allBuffers.size()), m_allBuffers.data());
}

void OpenAlStream::recycleProcessed()
{
    ALint processed = 0;
    alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(m_source, 1, &buffer);
        m_spareBuffers.push_back(buffer);
    }
}

int OpenAlStream::pendingBlocks() const
{
    if (m_source == 0)
        return 0;
    const OpenAlOutput::Current current(m_output);
    ALint queued = 0, processed = 0;
    alGetSourcei(m_source, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
    return queued - processed;
}

void OpenAlStream::queue(const std::vector<std::int16_t>& samples)
{
    if (m_source == 0 || samples.empty())
        return;
    const OpenAlOutput::Current current(m_output);
    recycleProcessed();
    if (m_spareBuffers.empty()) {
        ALuint buffer = 0;
        alGetError();
        alGenBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR)
            return;
        m_allBuffers.push_back(buffer);
        m_spareBuffers.push_back(buffer);
    }
    const ALuint buffer = m_spareBuffers.back();
    m_spareBuffers.pop_back();
    alBufferData(buffer, m_format, samples.data(), static_cast<ALsizei>(samples.size() * sizeof(std::int16_t)),
                 m_sampleRate);
    alSourceQueueBuffers(m_source, 1, &buffer);
    if (m_playRequested && !isSounding())
        alSourcePlay(m_source);
}

void OpenAlStream::play()
{
    m_playRequested = true;
    if (m_source == 0)
        return;
    const OpenAlOutput::Current current(m_output);
    alSourcePlay(m_source);
}

void OpenAlStream::stop()
{
    m_playRequested = false;
    if (m_source == 0)
        return;
    const OpenAlOutput::Current current(m_output);
    alSourceStop(m_source);
    recycleProcessed();  // a stopped source counts every queued block as processed
}

bool OpenAlStream::isSounding() const
{
    if (m_source == 0)
        return false;
    const OpenAlOutput::Current current(m_output);
    ALint state = AL_STOPPED;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

}  // namespace cabdrive
