// The game controllers.
#include "input/game_controllers.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <string>

#include "input/driver_keys.h"
#include "input/handle_operation.h"
#include "sim/controller_state.h"
#include "sim/vigilance.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int32_t windowsController = 1, playStationController = 2, ohcPc01 = 3;

void setPower(Run& run, std::int32_t position)
{
    operateHandles(run, [&run, position] { setPowerHandle(run, positionToNotch(run, position)); });
}

void setBrake(Run& run, std::int32_t position)
{
    operateHandles(run, [&run, position] { setBrakeHandle(run, positionToNotch(run, position)); });
}

// A button that types a character (or the call-out key) while held.
struct ButtonKey {
    int button;
    char character;  // 0: the Enter key-down
};

void pressButtons(Run& run, const JoystickSnapshot& reading, std::initializer_list<ButtonKey> keys)
{
    for (const ButtonKey& key : keys) {
        if (!reading.held(key.button))
            continue;
        if (key.character == 0)
            keydowns(run, Key::Enter, {});
        else
            AsciiDown(run, key.character);
    }
}

// The band an axis value lies in: at or below the first edge 0, strictly
// between two edges their position, beyond the last edge the last position;
// exactly on a later edge nothing, and the handle stays.
template <std::size_t N>
std::optional<std::int32_t> band(std::int32_t value, const std::array<std::int32_t, N>& edges)
{
    if (value <= edges[0])
        return 0;
    for (std::size_t i = 1; i < N; ++i) {
        if (value < edges[i])
            return value > edges[i - 1] ? std::optional<std::int32_t>(static_cast<std::int32_t>(i)) : std::nullopt;
    }
    return value > edges[N - 1] ? std::optional<std::int32_t>(static_cast<std::int32_t>(N)) : std::nullopt;
}

// Kind 1: the power lever on Y (pushed forward is negative), the brake lever
// on X.
void mapWindowsController(Run& run, const JoystickSnapshot& reading)
{
    constexpr std::array<std::int32_t, 5> powerEdges = {0, 5000, 12000, 20000, 30000};  // of -Y
    constexpr std::array<std::int32_t, 9> brakeEdges = {0, 1000, 4000, 6000, 8000, 9500, 11000, 12000, 13000};
    if (const auto power = band(-reading.y, powerEdges))
        setPower(run, *power);
    if (const auto brake = band(reading.x, brakeEdges))
        setBrake(run, -*brake);
    pressButtons(run, reading, {{0, '9'}, {1, '1'}, {2, '3'}, {3, '7'}, {4, 0}, {5, 's'}});
}

// Kind 2: positions are recognised by the codes the calibration stored.
void mapPlayStationController(Run& run, const JoystickSnapshot& reading, const ButtonCodes& codes)
{
    const ControllerCodes& stored = run.controllerCodes;
    const std::int32_t lever = reading.x + reading.y + codes.e;
    for (std::int32_t k = 0; k <= 5; ++k) {
        if (lever == stored.power(k))
            setPower(run, k);
    }
    for (std::int32_t k = 0; k <= 8; ++k) {
        if (codes.g == stored.brake(k))
            setBrake(run, -k);
    }
    if (codes.g == stored.emergency())
        setBrake(run, -9);
    pressButtons(run, reading, {{9, '1'}, {1, '3'}, {2, '7'}, {3, '9'}, {8, 'r'}});
}

// Kind 3: the lever's position is a pair of button codes (G, E).
struct LeverPosition {
    std::int32_t g, e;
    std::optional<std::int32_t> power, brake;
};

constexpr std::array<LeverPosition, 15> ohcPositions = {{
    {4, 16, 0, 0},
    {4, 48, 1, {}},
    {12, 0, 2, {}},
    {12, 32, 3, {}},
    {12, 16, 4, {}},
    {12, 48, 5, {}},
    {4, 32, {}, -1},
    {4, 0, {}, -2},
    {8, 48, {}, -3},
    {8, 16, {}, -4},
    {8, 32, {}, -5},
    {8, 0, {}, -6},
    {0, 48, {}, -7},
    {0, 16, {}, -8},
    {0, 32, {}, -9},
}};

void mapOhcPc01(Run& run, const JoystickSnapshot& reading, const ButtonCodes& codes)
{
    for (const LeverPosition& position : ohcPositions) {
        if (position.g != codes.g || position.e != codes.e)
            continue;
        if (position.power)
            setPower(run, *position.power);
        if (position.brake)
            setBrake(run, *position.brake);
    }
    run.state.input.hornButtonHeld = reading.held(0);
    pressButtons(run, reading, {{2, '7'}});
    AsciiDown(run, reading.y < 0 ? 'f' : reading.y == 0 ? 'n' : 'b');
}

}  // namespace

ButtonCodes buttonCodes(const JoystickSnapshot& reading)
{
    ButtonCodes codes;
    for (int button = 0; button < 4; ++button) {
        if (reading.held(button))
            codes.e += 1 << button;
        if (reading.held(button + 4))
            codes.g += 1 << button;
    }
    for (int button = 8; button < 16; ++button) {
        if (reading.held(button))
            codes.e += 1 << (button - 4);
    }
    return codes;
}

void chooseControllerKind(Run& run, std::int32_t kind)
{
    run.state.controller.controllerKind = kind;
    run.state.input.hornButtonHeld = false;
}

void putGameController(Run& run, std::int32_t kind, const JoystickSnapshot& reading)
{
    if (kind != run.state.controller.controllerKind)
        chooseControllerKind(run, kind);
    run.state.controller.typedReading = reading;
    USBScan(run, reading);
}

void USBScan(Run& run, const JoystickSnapshot& reading)
{
    ControllerState& controller = run.state.controller;
    const ButtonCodes codes = buttonCodes(reading);
    const std::int32_t sum = reading.x + reading.y + codes.e + codes.g;
    if (sum == controller.lastControllerSum)
        return;
    // The whole answer, lamp and warning sound with the count, as a key
    // press gives it: the driver has just acted.
    resetVigilance(run);
    switch (controller.controllerKind) {
    case windowsController: mapWindowsController(run, reading); break;
    case playStationController: mapPlayStationController(run, reading, codes); break;
    case ohcPc01: mapOhcPc01(run, reading, codes); break;
    default: break;
    }
    if (controller.debugCaption)
        controller.axesCaption = "X:" + std::to_string(reading.x) + " Y:" + std::to_string(reading.y);
    controller.lastControllerSum = sum;
}

void pollGameController(Run& run)
{
    if (run.state.controller.controllerKind < windowsController)
        return;
    std::optional<JoystickSnapshot> reading = run.joystick.poll();
    if (!reading)
        reading = run.state.controller.typedReading;
    if (!reading) {
        run.state.input.hornButtonHeld = false;
        return;
    }
    USBScan(run, *reading);
}

}  // namespace cabdrive
