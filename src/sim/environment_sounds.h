// The route's environment sounds ([SoundData]) addressed by their number, as
// stations and route rows name them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace cabdrive {

struct Run;

// The channel of route sound `sound`; nothing for a number the [SoundData]
// list does not hold, so a station naming a missing sound plays nothing and
// never reaches the engine or call-out channels behind the list.
std::optional<std::size_t> environmentSoundChannel(const Run& run, std::int32_t sound);

// s, as measured when the sounds were loaded; 0 for a sound not measured.
std::int32_t environmentSoundLength(const Run& run, std::int32_t sound);

void playEnvironmentSoundOnce(Run& run, std::int32_t sound);
void restartEnvironmentSound(Run& run, std::int32_t sound);  // once, from its beginning
void loopEnvironmentSoundIfSilent(Run& run, std::int32_t sound);
void stopEnvironmentSound(Run& run, std::int32_t sound);
bool environmentSoundPlaying(const Run& run, std::int32_t sound);

}  // namespace cabdrive
