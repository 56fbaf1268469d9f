// The sounds of the brakes and the air: notch sounds, the emergency brake,
// the automatic brake's air and the brake squeal.
#pragma once

namespace cabdrive {

struct Run;

// Notched brakes while protection does not brake: [Sound_BK] once when the
// handle is released with pressure left in the cylinders, [Sound_BR] once
// while the cylinders lag behind a handle moved further on.
void brakeNotchSounds(Run& run);

// [Sound_EB] once per emergency application: for the air brakes while the
// brake pipe holds pressure, for the electric-command brake when the
// cylinders pass [MAXPress] above the sound's speed.
void emergencyBrakeSound(Run& run);

// The automatic brake's [Sound_Apply] pair: the application exhaust in the
// service position, the pipe charging while it fills from the reservoir.
void automaticBrakeAirSounds(Run& run);

// [Sound_squeak]: loops while the air brake alone holds a moving train,
// louder as the speed falls and the pressure rises; dies away when released
// or stopped. Running backwards it squeals as running forwards.
void brakeSqueal(Run& run);

}  // namespace cabdrive
