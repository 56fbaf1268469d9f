// The route's environment sounds addressed by their number.
#include "sim/environment_sounds.h"

#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {

std::optional<std::size_t> environmentSoundChannel(const Run& run, std::int32_t sound)
{
    if (sound < 0 || static_cast<std::size_t>(sound) >= run.route.soundData.size())
        return std::nullopt;
    return environmentChannel(run.vehicle, sound);
}

std::int32_t environmentSoundLength(const Run& run, std::int32_t sound)
{
    const std::vector<std::int32_t>& seconds = run.state.sound.environmentSoundSeconds;
    if (sound < 0 || static_cast<std::size_t>(sound) >= seconds.size())
        return 0;
    return seconds[static_cast<std::size_t>(sound)];
}

void playEnvironmentSoundOnce(Run& run, std::int32_t sound)
{
    if (const auto channel = environmentSoundChannel(run, sound))
        run.sound.play(*channel, false);
}

void restartEnvironmentSound(Run& run, std::int32_t sound)
{
    if (const auto channel = environmentSoundChannel(run, sound))
        run.sound.restart(*channel, false);
}

void loopEnvironmentSoundIfSilent(Run& run, std::int32_t sound)
{
    if (const auto channel = environmentSoundChannel(run, sound); channel && !run.sound.isPlaying(*channel))
        run.sound.play(*channel, true);
}

void stopEnvironmentSound(Run& run, std::int32_t sound)
{
    if (const auto channel = environmentSoundChannel(run, sound))
        run.sound.stop(*channel);
}

bool environmentSoundPlaying(const Run& run, std::int32_t sound)
{
    const auto channel = environmentSoundChannel(run, sound);
    return channel && run.sound.isPlaying(*channel);
}

}  // namespace cabdrive
