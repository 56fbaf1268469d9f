// The sound set-up: which wave goes onto which channel, the lengths of the
// environment sounds, and a wave that cannot be read.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/load_error.h"
#include "sound/sound_setup.h"
#include "state/channel_layout.h"
#include "support/run_fixture.h"

namespace {

struct SoundSetup : ::testing::Test {
    SoundSetup()
    {
        f.route->programFolder = "/line/";
        for (const char* band : {"run0.wav", "run1.wav"})
            (void)f.vehicle.driveSounds.add(band);
        for (const char* row : {"motor.wav", "gear.wav"})
            (void)f.vehicle.engineSound1.add({row});
        (void)f.vehicle.engineSound3.add({"idle.wav"});
    }
    // Stages 1 to 5, in their order.
    std::vector<std::int32_t> setUp()
    {
        cabdrive::loadRunningSounds(f.run(), "/train/");
        const std::vector<std::int32_t> seconds = cabdrive::loadEnvironmentSounds(f.run());
        cabdrive::loadCalloutsAndEngineSounds(f.run(), "/train/");
        cabdrive::assignSoundChannels(f.run(), "/train/");
        return seconds;
    }
    std::vector<std::string> held(std::size_t channels)
    {
        std::vector<std::string> paths;
        for (std::size_t c = 0; c < channels; ++c)
            paths.push_back(f.sound.heldWave(c));
        return paths;
    }

    test::RunFixture f;
};

TEST_F(SoundSetup, BandsThenRouteSoundsThenEngineRowsAndAnEmptyNameKeepsItsChannel)
{
    for (const char* sound : {"sound\\chime.wav", "", "sound\\melody.wav"})
        (void)f.route->soundData.add(sound);
    setUp();
    EXPECT_EQ(held(9), (std::vector<std::string>{"/train/run0.wav", "/train/run1.wav", "/line/sound\\chime.wav", "",
                                                 "/line/sound\\melody.wav", "/train/motor.wav", "/train/gear.wav",
                                                 "/train/idle.wav", ""}));
    EXPECT_EQ(cabdrive::environmentChannel(f.vehicle, 2), 4u);
    EXPECT_EQ(cabdrive::calloutChannel(f.vehicle, *f.route), 8u);
}

TEST_F(SoundSetup, WithoutRouteSoundsTheEngineRowsFollowTheBands)
{
    setUp();
    EXPECT_EQ(held(6), (std::vector<std::string>{"/train/run0.wav", "/train/run1.wav", "/train/motor.wav",
                                                 "/train/gear.wav", "/train/idle.wav", ""}));
}

TEST_F(SoundSetup, EnvironmentSoundsMeasureTheirDecodedLengthRoundedToEven)
{
    for (const char* sound : {"a.wav", "", "b.wav", "c.wav"})
        (void)f.route->soundData.add(sound);
    f.sound.waveSeconds = {{"/line/a.wav", 2.5}, {"/line/b.wav", 3.5}, {"/line/c.wav", 0.4}};
    EXPECT_EQ(setUp(), (std::vector<std::int32_t>{2, 0, 4, 0}));
}

// Call-outs play one by one later, but a missing voice stops the loading as
// any other wave does.
TEST_F(SoundSetup, EveryCalloutVoiceIsReadAtSetUpAndAWaveThatCannotBeReadNamesItself)
{
    f.route->kankoVoices[0].file = "k\\aspect.wav";
    f.route->kankoVoices[22].file = "k\\name.wav";
    f.route->kankoSound2Count = 1;
    (void)f.route->otherKankos.add("k\\sign.wav");
    (void)f.route->limitKankos.add("k\\limit.wav");
    setUp();
    for (const char* voice : {"/line/k\\aspect.wav", "/line/k\\name.wav", "/line/k\\sign.wav", "/line/k\\limit.wav"})
        EXPECT_NE(std::find(f.sound.log.begin(), f.sound.log.end(), std::string("wave ") + voice), f.sound.log.end()) << voice;

    f.sound.unreadable = {"/line/k\\sign.wav"};
    try {
        cabdrive::loadCalloutsAndEngineSounds(f.run(), "/train/");
        FAIL() << "the loading went on";
    } catch (const cabdrive::LoadError& e) {
        EXPECT_STREQ(e.what(), "/line/k\\sign.wav: cannot read /line/k\\sign.wav");
    }
}

}  // namespace
