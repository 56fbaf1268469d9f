// The cab lamps the tick lights from the controls: power, generator,
// electric brake, air brake, constant speed, and the pattern-type indicator.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick, step 7.
// - Power: dark below notch 1; lit from notch 1 while the doors permit power,
//   otherwise left as it is.
// - Generator: lit while the electric brake carries current with a service
//   brake notch applied, or while a retarding notch (one whose [Notch] row
//   starts negative) gives a negative force with the power handle up.
// - Electric: while the doors permit power, lit with power applied or with
//   a service brake carrying electric-brake current.
// - Air: lit while a service brake notch is applied.
// - Constant speed: lit while constant-speed control is on.
void cabLamps(Run& run);

// 100 ms tick, step 26: the pattern-type indicator is lit exactly while the
// vehicle's protection is the pattern type.
void patternTypeIndicator(Run& run);

}  // namespace cabdrive
