// The game controllers through the SDL adapter, on a virtual joystick that
// SDL moves as a real one.
#include "platform/sdl/sdl_joystick.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>

#include "input/game_controllers.h"
#include "support/built_run.h"

namespace cabdrive {
namespace {

using namespace std::chrono_literals;

// A controller with two axes and sixteen buttons, plugged in and out.
class VirtualController {
public:
    VirtualController()
    {
        const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 16, 0);
        m_handle = device >= 0 ? SDL_JoystickOpen(device) : nullptr;
    }
    ~VirtualController() { unplug(); }
    bool plugged() const { return m_handle != nullptr; }
    void move(int x, int y, std::initializer_list<int> held = {})
    {
        SDL_JoystickSetVirtualAxis(m_handle, 0, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(m_handle, 1, static_cast<Sint16>(y));
        for (int button = 0; button < 16; ++button)
            SDL_JoystickSetVirtualButton(m_handle, button, std::count(held.begin(), held.end(), button) ? 1 : 0);
    }
    void unplug()
    {
        if (!m_handle)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(m_handle);
        SDL_JoystickClose(m_handle);
        m_handle = nullptr;
        for (int device = 0; device < SDL_NumJoysticks(); ++device) {
            if (SDL_JoystickGetDeviceInstanceID(device) == id)
                SDL_JoystickDetachVirtual(device);
        }
    }

private:
    SDL_Joystick* m_handle = nullptr;
};

TEST(SdlJoystick, AVirtualControllerDrivesTheHandlesAndMayBeUnpluggedMidRun)
{
    SdlJoystick joystick;
    ASSERT_EQ(joystick.startError(), "");
    EXPECT_FALSE(joystick.poll()) << "no joystick yet";
    test::RunChoice choice;
    choice.joystick = &joystick;
    test::BuiltRun built(CABDRIVE_DEMO_FOLDER, choice);
    cabdrive::Run& run = built.run;
    ControlState& controls = run.state.controls;
    chooseControllerKind(run, 1);

    VirtualController controller;
    ASSERT_TRUE(controller.plugged()) << SDL_GetError();
    controller.move(5000, -25000);  // power 4, brake 3
    built.scheduler.advanceBy(200ms);
    EXPECT_EQ(controls.powerHandle, 4);
    EXPECT_EQ(controls.brakeHandle, -3);
    EXPECT_EQ(joystick.deviceName().empty(), false);

    controller.move(0, 0, {2});  // released, and button 2 sounds the horn with "3"
    built.scheduler.advanceBy(200ms);
    EXPECT_EQ(controls.powerHandle, 0);
    EXPECT_EQ(controls.brakeHandle, 0);
    EXPECT_EQ(run.state.controller.lastControllerSum, 4);

    controller.move(0, -6000);
    controller.unplug();
    built.scheduler.advanceBy(300ms);
    EXPECT_FALSE(joystick.poll());
    EXPECT_EQ(controls.powerHandle, 0) << "the handles stay where they were";

    VirtualController again;  // plugged in again mid-run
    again.move(0, -6000);
    built.scheduler.advanceBy(200ms);
    EXPECT_EQ(controls.powerHandle, 2);

    // The OHC-PC01's lever is a pair of button codes: (G, E) = (12, 32) is power 3.
    chooseControllerKind(run, 3);
    again.move(0, -1, {6, 7, 9});
    built.scheduler.advanceBy(200ms);
    EXPECT_EQ(controls.powerHandle, 3);
}

}  // namespace
}  // namespace cabdrive
