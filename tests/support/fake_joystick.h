// A joystick for tests: each poll reads what the test set, nothing while
// it is unplugged.
#pragma once

#include "ports/joystick.h"

namespace test {

class FakeJoystick final : public cabdrive::Joystick {
public:
    std::optional<cabdrive::JoystickSnapshot> poll() override
    {
        ++polls;
        return reading;
    }

    std::optional<cabdrive::JoystickSnapshot> reading;
    int polls = 0;
};

}  // namespace test
