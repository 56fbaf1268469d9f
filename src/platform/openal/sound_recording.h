// SoundRecording: a loopback output's mix written to a WAV file as a run's
// virtual time passes.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/openal/openal_output.h"

struct sf_private_tag;

namespace cabdrive {

class SoundRecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// 16-bit stereo PCM at the output's loopback rate. Sounds start and end in
// the recording when the virtual clock says, however fast the run goes.
// A WAV file counts its bytes in 32 bits, so it holds a few hours of sound
// (at 48 kHz a little over 6 h 12 min); a recording that reaches that length
// ends there, its header true, rather than write sizes that wrap.
class SoundRecording {
public:
    // The longest recording at `rate` Hz, in whole seconds.
    static std::int64_t longestSeconds(int rate);

    // Throws SoundRecordingError when the file cannot be written or the
    // output is no loopback device.
    SoundRecording(OpenAlOutput& loopback, const std::string& wavFile);
    ~SoundRecording();
    SoundRecording(const SoundRecording&) = delete;
    SoundRecording& operator=(const SoundRecording&) = delete;

    // Mixes and writes everything up to `time` since the recording began;
    // throws SoundRecordingError when that is past the longest recording.
    void renderUpTo(std::chrono::nanoseconds time);
    std::int64_t framesWritten() const { return m_frames; }

private:
    OpenAlOutput& m_output;
    sf_private_tag* m_file = nullptr;
    std::int64_t m_frames = 0;
};

}  // namespace cabdrive
