// The game controllers on SDL2's joystick API: the first joystick's raw X and
// Y axes and buttons 0 .. 15. The train controllers are not in SDL's
// game-controller mapping database, so nothing is remapped.
#pragma once

#include <string>

#include "ports/joystick.h"

struct _SDL_Joystick;

namespace cabdrive {

class SdlJoystick final : public Joystick {
public:
    // Starts SDL's joystick subsystem, reading joysticks while another window
    // has the focus (a cockpit often shows other windows) and leaving the
    // process's signals alone. Without it every poll reads nothing.
    SdlJoystick();
    ~SdlJoystick() override;
    SdlJoystick(const SdlJoystick&) = delete;
    SdlJoystick& operator=(const SdlJoystick&) = delete;

    // Joysticks plugged in or out since the last poll are taken up or let go
    // of; with none attached, nothing.
    std::optional<JoystickSnapshot> poll() override;

    // Why the subsystem did not start; empty when it did.
    const std::string& startError() const { return m_startError; }
    // The joystick being read; empty with none.
    std::string deviceName() const;

private:
    void followPlugging();

    bool m_started = false;
    std::string m_startError;
    _SDL_Joystick* m_joystick = nullptr;
    bool m_lookAgain = true;  // a device came or went since the last look
};

}  // namespace cabdrive
