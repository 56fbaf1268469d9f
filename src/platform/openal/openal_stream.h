// OpenAlStream: one OpenAL source fed block by block, for a sound track that
// is decoded while it plays.
#pragma once

#include <AL/al.h>

#include <cstdint>
#include <vector>

#include "platform/openal/openal_output.h"

namespace cabdrive {

class OpenAlStream {
public:
    // Samples are 16-bit, interleaved in `channels` (1 or 2) channels.
    OpenAlStream(OpenAlOutput& output, int sampleRate, int channels);
    ~OpenAlStream();
    OpenAlStream(const OpenAlStream&) = delete;
    OpenAlStream& operator=(const OpenAlStream&) = delete;

    // Blocks queued and not yet played through; the feeder keeps a few ahead.
    int pendingBlocks() const;
    // Appends a block; once play() was called, a source that ran dry plays on.
    void queue(const std::vector<std::int16_t>& samples);
    void play();
    // Stops and drops whatever is queued.
    void stop();
    // The source is playing (it stops by itself when it runs out of blocks).
    bool isSounding() const;

private:
    void recycleProcessed();

    OpenAlOutput& m_output;
    ALuint m_source = 0;
    ALenum m_format;
    ALsizei m_sampleRate;
    std::vector<ALuint> m_spareBuffers;
    std::vector<ALuint> m_allBuffers;
    bool m_playRequested = false;
};

}  // namespace cabdrive
