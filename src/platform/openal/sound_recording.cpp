// SoundRecording: a loopback output's mix written to a WAV file.
#include "platform/openal/sound_recording.h"

#include <sndfile.h>

#include <algorithm>

namespace cabdrive {
namespace {

constexpr std::int64_t blockFrames = 4800;  // mixed at a time

}  // namespace

SoundRecording::SoundRecording(OpenAlOutput& loopback, const std::string& wavFile) : m_output(loopback)
{
    if (!m_output.isLoopback())
        throw SoundRecordingError("no loopback sound device to record from");
    SF_INFO info{};
    info.samplerate = m_output.loopbackRate();
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    m_file = sf_open(wavFile.c_str(), SFM_WRITE, &info);
    if (m_file == nullptr)
        throw SoundRecordingError("cannot write " + wavFile + ": " + sf_strerror(nullptr));
    sf_command(m_file, SFC_SET_CLIPPING, nullptr, SF_TRUE);  // a peak beyond full scale clips, never wraps
}

SoundRecording::~SoundRecording()
{
    sf_close(m_file);
}

void SoundRecording::renderUpTo(std::chrono::nanoseconds time)
{
    const std::int64_t due = time.count() * m_output.loopbackRate() / 1'000'000'000;
    while (m_frames < due) {
        const auto frames = static_cast<int>(std::min(blockFrames, due - m_frames));
        const std::vector<float> mix = m_output.render(frames);
        if (sf_writef_float(m_file, mix.data(), frames) != frames)
            throw SoundRecordingError(std::string("cannot write the sound: ") + sf_strerror(m_file));
        m_frames += frames;
    }
}

}  // namespace cabdrive
