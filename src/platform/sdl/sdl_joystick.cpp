// The game controllers on SDL2's joystick API.
#include "platform/sdl/sdl_joystick.h"

#include <SDL.h>

namespace cabdrive {
namespace {

constexpr int buttonCount = 16;
constexpr int xAxis = 0, yAxis = 1;

// Device events are the only events the program takes from SDL; axis and
// button events would pile up unread in SDL's queue, as the tick reads the
// joystick's state instead.
void ignoreInputEvents()
{
    for (const Uint32 type : {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN,
                              SDL_JOYBUTTONUP, SDL_JOYBATTERYUPDATED})
        SDL_EventState(type, SDL_IGNORE);
}

}  // namespace

SdlJoystick::SdlJoystick()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        m_startError = SDL_GetError();
        return;
    }
    m_started = true;
    ignoreInputEvents();
}

SdlJoystick::~SdlJoystick()
{
    if (!m_started)
        return;
    if (m_joystick)
        SDL_JoystickClose(m_joystick);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// A device added or removed is the moment to look again: a joystick is let
// go of when it goes, and the first one that opens is taken up when none is
// held. Between such events nothing is tried again, so a device the user may
// not open is not retried ten times a second.
void SdlJoystick::followPlugging()
{
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_JOYDEVICEADDED, SDL_JOYDEVICEREMOVED) > 0)
        m_lookAgain = true;
    if (m_joystick && !SDL_JoystickGetAttached(m_joystick)) {
        SDL_JoystickClose(m_joystick);
        m_joystick = nullptr;
        m_lookAgain = true;
    }
    if (m_joystick || !m_lookAgain)
        return;
    m_lookAgain = false;
    for (int device = 0; device < SDL_NumJoysticks() && !m_joystick; ++device)
        m_joystick = SDL_JoystickOpen(device);
}

std::optional<JoystickSnapshot> SdlJoystick::poll()
{
    if (!m_started)
        return std::nullopt;
    SDL_PumpEvents();
    SDL_JoystickUpdate();
    followPlugging();
    if (!m_joystick)
        return std::nullopt;
    JoystickSnapshot reading;
    reading.x = SDL_JoystickGetAxis(m_joystick, xAxis);
    reading.y = SDL_JoystickGetAxis(m_joystick, yAxis);
    for (int button = 0; button < buttonCount; ++button) {
        if (SDL_JoystickGetButton(m_joystick, button) != 0)
            reading.buttons = static_cast<std::uint16_t>(reading.buttons | 1u << button);
    }
    return reading;
}

std::string SdlJoystick::deviceName() const
{
    const char* name = m_joystick ? SDL_JoystickName(m_joystick) : nullptr;
    return name ? name : "";
}

}  // namespace cabdrive
