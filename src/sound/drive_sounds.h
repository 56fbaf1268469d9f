// The sounds of the train under way: the wheels' running sound in speed
// bands and the motor or engine sounds.
#pragma once

namespace cabdrive {

struct Run;

// The [DriveSound] bands, 10 km/h each: the two bands about the speed loop,
// cross-fading across each band; from 120 km/h the top band alone is
// started. A band the vehicle does not have is no sound.
void runningSoundBands(Run& run);

// The [EngineSound1] rows: pitch and volume follow the speed (electric) or
// the engine speed (diesel), each row fading with its activity (powering,
// braking, always) and all with the master level of the controls.
void motorSounds(Run& run);

}  // namespace cabdrive
