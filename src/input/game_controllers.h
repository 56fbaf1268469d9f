// The game controllers: the Windows and PlayStation "電車でGO!" controllers
// and the "三鶯重工 OHC-PC01", read as raw axes and buttons.
#pragma once

#include <cstdint>

#include "ports/joystick.h"

namespace cabdrive {

struct Run;

// The two button codes of a reading: E sums 1, 2, 4, 8 for buttons 0 .. 3 and
// 16 .. 2048 for buttons 8 .. 15; G sums 1, 2, 4, 8 for buttons 4 .. 7.
struct ButtonCodes {
    std::int32_t e = 0;
    std::int32_t g = 0;
};
ButtonCodes buttonCodes(const JoystickSnapshot& reading);

// The Controller menu's choice: 0 the keyboard and the serial controller,
// 1 .. 3 a game controller. A horn held on the controller left goes silent.
void chooseControllerKind(Run& run, std::int32_t kind);

// USBScan: one reading of the chosen kind. A reading whose X + Y + E + G
// equals the last one acted on does nothing, so a controller held still acts
// once; any other answers the vigilance device and moves the handles as the
// kind maps them.
void USBScan(Run& run, const JoystickSnapshot& reading);

// A joystick line of a script or a live client: controller kind `kind`,
// put in the position `reading` and read at once. Unlike the Controller
// menu it keeps a held horn button sounding when the kind stays the same.
void putGameController(Run& run, std::int32_t kind, const JoystickSnapshot& reading);

// The tick's poll: while a game controller kind is chosen, the run's joystick
// is read, or else the position a script line or client put it in; with
// neither nothing happens (and its horn stops).
void pollGameController(Run& run);

}  // namespace cabdrive
