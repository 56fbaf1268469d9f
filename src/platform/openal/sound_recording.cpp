// SoundRecording: a loopback output's mix written to a WAV file.
#include "platform/openal/sound_recording.h"

#include <sndfile.h>

#include <algorithm>
#include <string>
#include <vector>

namespace cabdrive {
namespace {

constexpr std::int64_t blockFrames = 4800;  // mixed at a time
constexpr std::int64_t frameBytes = 2 * 2;  // 16-bit stereo
// The RIFF sizes are 32-bit; the header's chunks take well under 4 KiB of it.
constexpr std::int64_t riffLimit = 0xFFFFFFFF;
constexpr std::int64_t headerRoom = 4096;
constexpr std::int64_t longestFrames = (riffLimit - headerRoom) / frameBytes;

}  // namespace

std::int64_t SoundRecording::longestSeconds(int rate)
{
    return rate > 0 ? longestFrames / rate : 0;
}

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
    const int rate = m_output.loopbackRate();
    const std::int64_t due = time.count() * rate / 1'000'000'000;
    const std::int64_t end = std::min(due, longestSeconds(rate) * rate);
    while (m_frames < end) {
        const auto frames = static_cast<int>(std::min(blockFrames, end - m_frames));
        const std::vector<float> mix = m_output.render(frames);
        if (sf_writef_float(m_file, mix.data(), frames) != frames)
            throw SoundRecordingError(std::string("cannot write the sound: ") + sf_strerror(m_file));
        m_frames += frames;
    }
    if (due > end)
        throw SoundRecordingError("the WAV file is full: it holds at most " + std::to_string(longestSeconds(rate))
                                  + " s of sound");
}

}  // namespace cabdrive
