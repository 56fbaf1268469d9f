// OpenAlOutput: an OpenAL Soft device and context of its own, with a loopback
// device in place of a missing sound card.
#include "platform/openal/openal_output.h"

#include <algorithm>

namespace cabdrive {

OpenAlOutput::OpenAlOutput(Device wanted)
{
    m_opened = std::chrono::steady_clock::now();
    if (wanted == Device::soundCardOrLoopback) {
        m_device = alcOpenDevice(nullptr);
        if (m_device != nullptr) {
            m_context = alcCreateContext(m_device, nullptr);
            if (m_context != nullptr)
                return;
            alcCloseDevice(m_device);
            m_device = nullptr;
        }
    }
    openLoopback();
}

bool OpenAlOutput::openLoopback()
{
    if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") == ALC_FALSE)
        return false;
    const auto openDevice =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    const auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (openDevice == nullptr || render == nullptr)
        return false;
    m_device = openDevice(nullptr);
    if (m_device == nullptr)
        return false;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, loopbackRate, 0};
    m_context = alcCreateContext(m_device, attributes);
    if (m_context == nullptr) {
        alcCloseDevice(m_device);
        m_device = nullptr;
        return false;
    }
    m_render = render;
    m_opened = std::chrono::steady_clock::now();
    return true;
}

OpenAlOutput::~OpenAlOutput()
{
    if (m_context != nullptr) {
        if (alcGetCurrentContext() == m_context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
    }
    if (m_device != nullptr)
        alcCloseDevice(m_device);
}

std::vector<std::int16_t> OpenAlOutput::render(int frames)
{
    if (m_render == nullptr || frames <= 0)
        return {};
    std::vector<std::int16_t> mix(static_cast<std::size_t>(frames) * 2);
    m_render(m_device, mix.data(), frames);
    m_renderedFrames += frames;
    return mix;
}

void OpenAlOutput::keepUp()
{
    if (m_render == nullptr)
        return;
    const auto elapsed = std::chrono::steady_clock::now() - m_opened;
    const std::int64_t due = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * loopbackRate / 1000000;
    // After a long stall (a debugger, a suspended machine) the device skips
    // ahead rather than mixing hours of silence: a silent device only keeps time.
    m_renderedFrames = std::max(m_renderedFrames, due - loopbackRate);
    const std::int64_t frames = due - m_renderedFrames;
    if (frames > 0)
        render(static_cast<int>(frames));
}

OpenAlOutput::Current::Current(const OpenAlOutput& output) : m_previous(alcGetCurrentContext())
{
    if (output.m_context != m_previous)
        alcMakeContextCurrent(output.m_context);
}

OpenAlOutput::Current::~Current()
{
    if (alcGetCurrentContext() != m_previous)
        alcMakeContextCurrent(m_previous);
}

}  // namespace cabdrive
