// OpenAlOutput: an OpenAL Soft device and context of its own.
#include "platform/openal/openal_output.h"

#include <algorithm>

namespace cabdrive {

OpenAlOutput::OpenAlOutput(Device wanted, int monoSources, int loopbackRate)
    : m_monoSources(monoSources), m_loopbackRate(loopbackRate)
{
    if (wanted == Device::soundCard)
        openSoundCard();
    else
        openLoopback();
}

void OpenAlOutput::openSoundCard()
{
    m_device = alcOpenDevice(nullptr);
    // The sound card mixes at its own rate and format.
    if (m_device != nullptr)
        createContext({});
}

bool OpenAlOutput::createContext(const std::vector<ALCint>& attributes)
{
    std::vector<ALCint> all = attributes;
    if (m_monoSources > 0)
        all.insert(all.end(), {ALC_MONO_SOURCES, m_monoSources});
    all.push_back(0);
    m_context = alcCreateContext(m_device, all.data());
    if (m_context != nullptr)
        return true;
    alcCloseDevice(m_device);
    m_device = nullptr;
    return false;
}

void OpenAlOutput::openLoopback()
{
    if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") == ALC_FALSE)
        return;
    const auto openDevice =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    const auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (openDevice == nullptr || render == nullptr)
        return;
    m_device = openDevice(nullptr);
    if (m_device == nullptr)
        return;
    if (!createContext({ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT, ALC_FREQUENCY,
                        m_loopbackRate, ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE}))
        return;
    m_render = render;
    m_opened = std::chrono::steady_clock::now();
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

int OpenAlOutput::grantedMonoSources() const
{
    ALCint sources = 0;
    if (m_device != nullptr)
        alcGetIntegerv(m_device, ALC_MONO_SOURCES, 1, &sources);
    return sources;
}

bool OpenAlOutput::connected() const
{
    if (m_device == nullptr || alcIsExtensionPresent(m_device, "ALC_EXT_disconnect") == ALC_FALSE)
        return m_device != nullptr;
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(m_device, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

std::vector<float> OpenAlOutput::render(int frames)
{
    if (m_render == nullptr || frames <= 0)
        return {};
    std::vector<float> mix(static_cast<std::size_t>(frames) * 2);
    m_render(m_device, mix.data(), frames);
    m_renderedFrames += frames;
    return mix;
}

void OpenAlOutput::keepUp()
{
    if (m_render == nullptr)
        return;
    const auto elapsed = std::chrono::steady_clock::now() - m_opened;
    const std::int64_t due = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * m_loopbackRate / 1000000;
    // After a long stall (a debugger, a suspended machine) the device skips
    // ahead rather than mixing hours of silence: a silent device only keeps time.
    m_renderedFrames = std::max(m_renderedFrames, due - m_loopbackRate);
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
