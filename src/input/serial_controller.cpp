// The serial master controller.
#include "input/serial_controller.h"

#include <algorithm>
#include <array>
#include <string>

#include "input/driver_keys.h"
#include "input/handle_operation.h"
#include "sim/controller_state.h"
#include "sim/vigilance.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::size_t codeLength = 5;
constexpr std::int32_t lastPowerSlot = 6, neutralSlot = 7, lastBrakeSlot = 16, lastReverserSlot = 19;
constexpr std::int32_t lastSlot = 23;  // slots 24 .. 26 have no meaning
constexpr std::array<std::int32_t, 3> reverserOfSlot = {1, 0, -1};  // slots 17 .. 19
constexpr std::array<char, 4> characterOfSlot = {' ', '3', '7', '1'};  // slots 20 .. 23

// Slots 1 .. 16: the lever to power position k, neutral or brake position k.
void moveLever(Run& run, std::int32_t slot)
{
    const std::int32_t power = slot <= lastPowerSlot ? positionToNotch(run, slot) : 0;
    const std::int32_t brake = slot > neutralSlot ? positionToNotch(run, -(slot - neutralSlot)) : 0;
    operateHandles(run, [&run, power, brake] {
        setPowerHandle(run, power);
        setBrakeHandle(run, brake);
    });
}

void actOnSlot(Run& run, std::int32_t slot)
{
    if (slot <= lastBrakeSlot)
        moveLever(run, slot);
    else if (slot <= lastReverserSlot)
        setReverser(run, reverserOfSlot[static_cast<std::size_t>(slot - lastBrakeSlot - 1)]);
    else
        AsciiDown(run, characterOfSlot[static_cast<std::size_t>(slot - lastReverserSlot - 1)]);
}

}  // namespace

void RxChar(Run& run, std::string_view chunk)
{
    std::string& buffer = run.state.controller.serialBuffer;
    const auto keep = [&buffer](std::string_view text) {
        buffer.append(text.substr(0, serialBufferLimit - std::min(buffer.size(), serialBufferLimit)));
    };
    keep(chunk);
    if (chunk.find('\r') == std::string_view::npos)
        return;
    const std::string message = std::move(buffer);
    buffer.clear();
    serialMessage(run, message);
}

void serialMessage(Run& run, std::string_view message)
{
    resetVigilance(run);
    run.state.controller.lastSerialMessage = std::string(message);  // the value display's caption
    const std::string_view code = message.substr(0, codeLength);
    for (std::int32_t slot = 1; slot <= lastSlot; ++slot) {
        const std::string& text = run.mascon.slot(static_cast<std::size_t>(slot));
        if (!text.empty() && text == code)
            actOnSlot(run, slot);
    }
}

}  // namespace cabdrive
