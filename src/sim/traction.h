// Traction: the tractive force of the physics step and the motor current of the tick.
#pragma once

namespace cabdrive {

struct Run;

// Adds the tractive force of the applied power notch (N) to
// dynamics.tractionForce, which the physics step has set to 0: the notch
// acceleration table, the current model or the diesel gear table, whichever
// the vehicle uses, signed by the reverser.
void tractionStage(Run& run);

// Traction (and the electric brake's current table) needs the doors closed
// on a vehicle whose doorLock is 1; doorLock 0 ignores them; any other value
// allows no traction at all.
bool doorsAllowTraction(const Run& run);

// 100 ms tick: the ammeter; for the current model also the step progression
// that sets motorCurrent, and the [Lamp_Fin] lamp.
void updateMotorCurrent(Run& run);

}  // namespace cabdrive
