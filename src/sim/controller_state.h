// The driver's handles: the operations that move them and the delays that
// carry them into the notches in effect.
#pragma once

#include <cstdint>
#include <optional>

namespace cabdrive {

struct Run;
struct VehicleSpec;

// The power mode (notch group) power notch k belongs to; nothing for notch 0
// and for notches beyond the notch table's capacity. Rows the file did not
// give read as group 0: a diesel car has no [Notch] rows, yet its notches all
// belong to the first mode.
std::optional<std::int32_t> notchGroupOf(const VehicleSpec& vehicle, std::int32_t notch);

// The notch before the first notch of a power mode (its groupStart entry);
// nothing for a mode the notch table opens no group for.
std::optional<std::int32_t> groupStartOf(const VehicleSpec& vehicle, std::int32_t mode);

// --- handle operations; the caller runs masconupdate afterwards ---

// One handle: one step towards power (through the holding position and the
// brake notches to neutral, then the notches of the power mode).
void handleForward(Run& run);
// One handle: one step towards braking, down to the last service notch.
void handleBack(Run& run);
// Two handles: the power lever one step up or down.
void powerUp(Run& run);
void powerDown(Run& run);
// Two handles: the brake lever one step towards release or towards braking.
void brakeRelease(Run& run);
void brakeApply(Run& run);
// Emergency brake; with one handle the power handle goes to 0 as well.
void brakeEmergency(Run& run, bool oneHandle);
void allNeutral(Run& run);
void allEmergency(Run& run);
// Only at |trainSpeed| <= 1 km/h; runs masconupdate itself.
void setReverser(Run& run, std::int32_t reverser);
// Only with the power handle off: the next power mode, wrapping round.
void nextPowerMode(Run& run);
// Constant-speed control at the top notch, for vehicles whose constNotch is 1.
void engageConstantSpeed(Run& run);
// A jump or a restore puts the handles down: power off, the brake handle and
// every applied brake at `brakeNotch`, nothing pending.
void setHandlesAtRest(Run& run, std::int32_t brakeNotch);

// --- external controllers: a lever position stands for a notch ---

// The notch controller position k stands for: k > 0 the k-th notch of the
// current power mode (its last notch beyond it; 0 for a mode without
// notches), k < 0 brake position k but never beyond emergency, 0 off.
std::int32_t positionToNotch(const Run& run, std::int32_t k);
// A controller puts a handle straight onto a notch, out of the holding
// position (a lever has none); all four pending flags.
void setPowerHandle(Run& run, std::int32_t notch);
void setBrakeHandle(Run& run, std::int32_t position);

// --- the physics step carries the handles into the applied notches ---

// The power handle reaches appliedPowerNotch powerDelay steps after a change
// (a delay of 0 or less is never reached); notching back below notchBack,
// other than to off, is not followed. Applied only while the main video or a
// running clip is shown.
void applyPowerNotchDelay(Run& run);
// The brake handle reaches the brake cylinders, the straight-air pipe and the
// electric brake after their own delays; a protection brake overrides it.
void applyBrakeNotchDelays(Run& run);

}  // namespace cabdrive
