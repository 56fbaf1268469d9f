// Pausing a run silences its sounds; resuming starts them again from the top.
#include <gtest/gtest.h>

#include "sound/sound_pause.h"
#include "support/recording_sound_device.h"

namespace cabdrive {
namespace {

TEST(SoundResume, PauseStopsWhatPlaysAndResumeRestartsItOnceOrLooping)
{
    test::RecordingSoundDevice sound;
    constexpr std::size_t horn = 40, running = 2, finished = 7;
    sound.play(horn, false);
    sound.play(running, true);
    sound.play(finished, false);
    sound.finish(finished);

    SoundResume resume;
    resume.pauseSounds(sound);
    EXPECT_FALSE(sound.isPlaying(horn));
    EXPECT_FALSE(sound.isPlaying(running));
    sound.log.clear();

    resume.resumeSounds(sound);
    EXPECT_TRUE(sound.isPlaying(horn));
    EXPECT_FALSE(sound.isLooping(horn));
    EXPECT_TRUE(sound.isLooping(running));
    EXPECT_FALSE(sound.isPlaying(finished));  // it had ended before the pause
    EXPECT_EQ(sound.channels[horn].rewinds, 1);  // from its beginning
    EXPECT_EQ(sound.channels[running].rewinds, 1);
    EXPECT_EQ(sound.log, (std::vector<std::string>{"loop 2", "play 40"}));

    // The record is used up: a second resume starts nothing.
    sound.stop(horn);
    resume.resumeSounds(sound);
    EXPECT_FALSE(sound.isPlaying(horn));
}

}  // namespace
}  // namespace cabdrive
