// The force balance of the 100 ms tick and the gradient history it uses.
#pragma once

namespace cabdrive {

struct Run;

// Turns traction, brake-cylinder pressures, electric brake, adhesion,
// gradient, tunnel, starting and running resistance into the new trainSpeed.
void forceBalance(Run& run);

// Every 20 m of movement: shifts the per-car gradient history one car back,
// enters the front gradient and averages it into effectiveGradient.
void sampleGradient(Run& run);

// A jump or a restore forgets the gradient history: level track until the
// next sample, 20 m from where the train now stands.
void levelGradient(Run& run);

}  // namespace cabdrive
