// Joystick: the first game controller's raw axes and buttons, polled by the
// 100 ms tick.
#pragma once

#include <cstdint>
#include <optional>

namespace cabdrive {

// One reading, in the platform's raw ranges (axes -32768 .. 32767).
struct JoystickSnapshot {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t buttons = 0;  // bit n: button n held, buttons 0 .. 15

    bool held(int button) const { return (buttons >> button & 1) != 0; }
};

class Joystick {
public:
    virtual ~Joystick() = default;
    // Nothing while no game controller is attached.
    virtual std::optional<JoystickSnapshot> poll() = 0;
};

// No game controller: for runs without one.
class NullJoystick final : public Joystick {
public:
    std::optional<JoystickSnapshot> poll() override { return std::nullopt; }
};

}  // namespace cabdrive
