// OpenAlOutput: an OpenAL Soft device and context of its own: the sound card,
// or a loopback device that mixes only when asked.
#pragma once

#include <AL/alc.h>
#include <AL/alext.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace cabdrive {

// With no sound card alcOpenDevice(NULL) fails, and the output has no
// context. A loopback device mixes only when rendered: keepUp() renders it,
// into nothing, up to the time that has passed, so that its sources play and
// finish in real time, silently, in place of a missing sound card. When an
// output cannot be opened there is no context and every user of the output
// goes on without sound.
class OpenAlOutput {
public:
    enum class Device { soundCard, loopback };
    // Hz; the loopback mix is stereo in floats, full scale at +-1, through the
    // library's limiter (as a sound card's is), without dither: silence is 0.
    static constexpr int defaultLoopbackRate = 44100;

    // monoSources: how many mono sources to ask the context for (0: the
    // library's default, 255 or so); the context may grant fewer.
    explicit OpenAlOutput(Device wanted, int monoSources = 0, int loopbackRate = defaultLoopbackRate);
    ~OpenAlOutput();
    OpenAlOutput(const OpenAlOutput&) = delete;
    OpenAlOutput& operator=(const OpenAlOutput&) = delete;

    bool available() const { return m_context != nullptr; }
    bool isLoopback() const { return m_render != nullptr; }
    int loopbackRate() const { return m_loopbackRate; }
    int grantedMonoSources() const;
    // False once a sound card has gone (unplugged, its server stopped): its
    // sources have stopped and play no more.
    bool connected() const;

    // Loopback only: mixes the next `frames` sample frames and returns them
    // (interleaved left, right); empty for a sound card.
    std::vector<float> render(int frames);
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
    void openSoundCard();
    void openLoopback();
    bool createContext(const std::vector<ALCint>& attributes);

    ALCdevice* m_device = nullptr;
    ALCcontext* m_context = nullptr;
    LPALCRENDERSAMPLESSOFT m_render = nullptr;  // set for a loopback device
    int m_monoSources;
    int m_loopbackRate;
    std::chrono::steady_clock::time_point m_opened;
    std::int64_t m_renderedFrames = 0;
};

}  // namespace cabdrive
