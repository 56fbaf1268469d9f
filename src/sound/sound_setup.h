// The sound set-up of a run, in the stages of the main window's creation:
// every wave the run plays is read into the sound device, then the running,
// environment and engine sounds get their channels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cabdrive {

struct Run;

// Each loading stage throws LoadError with "<file>: <the decoder's reason>"
// for the first WAV file that cannot be read. Vehicle sounds are read from
// the vehicle folder, route sounds and call-outs from the program folder.

// The [DriveSound] bands.
void loadRunningSounds(Run& run, const std::string& vehicleFolder);
// The [SoundData] sounds; returns their lengths in s, frames over rate
// rounded to the nearest with ties to even (an empty entry measures 0).
std::vector<std::int32_t> loadEnvironmentSounds(Run& run);
// The call-out voices ([KankoSound1], [KankoSound2], [OtherKanko],
// [LimitKanko]), then the [EngineSound1] and [EngineSound3] rows.
void loadCalloutsAndEngineSounds(Run& run, const std::string& vehicleFolder);
// Channels 0 .. D - 1 the bands, then the environment sounds and the engine
// sound rows; an empty entry leaves its channel empty and keeps the numbering.
void assignSoundChannels(Run& run, const std::string& vehicleFolder);
// Every loaded channel stopped, the emergency-brake lamp hidden.
void resetSounds(Run& run);

}  // namespace cabdrive
