// Silencing the sounds of a paused run and starting them again on resume.
#include "sound/sound_pause.h"

namespace cabdrive {

void SoundResume::pauseSounds(SoundDevice& sound)
{
    m_soundResume.assign(sound.channelCount(), Silent);
    for (std::size_t channel = 0; channel < m_soundResume.size(); ++channel) {
        if (!sound.holdsSound(channel) || !sound.isPlaying(channel))
            continue;
        m_soundResume[channel] = sound.isLooping(channel) ? Looping : PlayingOnce;
        sound.stop(channel);
    }
}

void SoundResume::resumeSounds(SoundDevice& sound)
{
    for (std::size_t channel = 0; channel < m_soundResume.size(); ++channel) {
        if (m_soundResume[channel] != Silent)
            sound.restart(channel, m_soundResume[channel] == Looping);
    }
    m_soundResume.clear();
}

}  // namespace cabdrive
