// OpenAlOutput: an OpenAL Soft device and context of its own, with a loopback
// device in place of a missing sound card.
#pragma once

#include <AL/alc.h>
#include <AL/alext.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace cabdrive {

// With no sound card alcOpenDevice(NULL) fails. The output then opens a
// loopback device, which mixes only when rendered: keepUp() renders it, into
// nothing, up to the time that has passed, so its sources play and finish in
// real time, silently. When even that is impossible there is no context and
// every user of the output goes on without sound.
class OpenAlOutput {
public:
    enum class Device { soundCardOrLoopback, loopback };
    static constexpr int loopbackRate = 44100;  // Hz; the loopback mix is 16-bit stereo

    explicit OpenAlOutput(Device wanted = Device::soundCardOrLoopback);
    ~OpenAlOutput();
    OpenAlOutput(const OpenAlOutput&) = delete;
    OpenAlOutput& operator=(const OpenAlOutput&) = delete;

    bool available() const { return m_context != nullptr; }
    bool isLoopback() const { return m_render != nullptr; }

    // Loopback only: mixes the next `frames` sample frames and returns them
    // (interleaved left, right); empty for a sound card.
    std::vector<std::int16_t> render(int frames);
    // Loopback only: renders up to the time since the output was opened.
    void keepUp();

    // Makes the output's context current for the AL calls of one scope and
    // restores whatever context was current before, so that another part of
    // the program may keep a context of its own.
    class Current {
    public:
        explicit Current(const OpenAlOutput& output);
        ~Current();
        Current(const Current&) = delete;
        Current& operator=(const Current&) = delete;

    private:
        ALCcontext* m_previous;
    };

private:
    bool openLoopback();

    ALCdevice* m_device = nullptr;
    ALCcontext* m_context = nullptr;
    LPALCRENDERSAMPLESSOFT m_render = nullptr;  // set for a loopback device
    std::chrono::steady_clock::time_point m_opened;
    std::int64_t m_renderedFrames = 0;
};

}  // namespace cabdrive
