// The OpenAL sound channels, heard through the loopback device: what the
// simulation asks of a channel is measured on the rendered samples.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/openal/openal_sound_device.h"
#include "platform/openal/silent_sound_device.h"
#include "sound/sound_pause.h"
#include "sound/sound_setup.h"
#include "support/run_fixture.h"
#include "support/temp_folder.h"

namespace cabdrive::test {
namespace {

constexpr int mixRate = 48000;   // Hz
constexpr int waveRate = 22050;  // Hz

void putLittleEndian(std::string& bytes, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

// A mono 16-bit sine at half of full scale. declaredBytes: what the header
// claims the data holds (a streamed file leaves 0xFFFFFFFF there).
std::string toneWave(double hz, double seconds, std::uint32_t declaredBytes = 0)
{
    const auto frames = static_cast<std::uint32_t>(seconds * waveRate);
    std::string bytes = "RIFF";
    putLittleEndian(bytes, declaredBytes == 0 ? 36 + frames * 2 : 0xFFFFFFFFu, 4);
    bytes += "WAVEfmt ";
    for (const auto& [value, size] : {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {std::uint32_t{waveRate}, 4},
                                      {std::uint32_t{waveRate * 2}, 4}, {2u, 2}, {16u, 2}})
        putLittleEndian(bytes, value, size);
    bytes += "data";
    putLittleEndian(bytes, declaredBytes == 0 ? frames * 2 : declaredBytes, 4);
    for (std::uint32_t i = 0; i < frames; ++i)
        putLittleEndian(bytes, static_cast<std::uint16_t>(std::lround(16384 * std::sin(2 * M_PI * hz * i / waveRate))), 2);
    return bytes;
}

// The left channel of the mix, in 16-bit steps.
std::vector<double> left(const std::vector<float>& mix)
{
    std::vector<double> samples;
    for (std::size_t i = 0; i < mix.size(); i += 2)
        samples.push_back(mix[i] * 32768.0);
    return samples;
}

double rms(const std::vector<double>& samples)
{
    double sum = 0;
    for (const double s : samples)
        sum += s * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

// Hz, from the zero crossings.
double frequency(const std::vector<double>& samples)
{
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings / 2.0 / (static_cast<double>(samples.size()) / mixRate);
}

bool silent(const std::vector<float>& mix)
{
    return std::all_of(mix.begin(), mix.end(), [](float s) { return s == 0; });
}

struct LoopbackChannels : ::testing::Test {
    LoopbackChannels()
    {
        folder.write("a440.wav", toneWave(440, 1));
        folder.write("blip.wav", toneWave(1000, 0.1));
    }
    std::string path(const char* name) const { return folder.folder() + name; }
    std::vector<double> renderSeconds(double seconds)
    {
        return left(sound.output.render(static_cast<int>(seconds * mixRate)));
    }
    // A new volume glides in over the first few milliseconds mixed.
    double rmsAfterSettling()
    {
        renderSeconds(0.05);
        return rms(renderSeconds(0.5));
    }

    TempFolder folder;
    RunSoundOutput sound{OpenAlOutput::Device::loopback, mixRate};
    OpenAlSoundDevice& channels = sound.channels;
};

TEST_F(LoopbackChannels, EveryOneOfThe320ChannelsHasASourceOfItsOwn)
{
    EXPECT_GE(sound.output.grantedMonoSources(), 320);
    EXPECT_EQ(channels.sourcedChannels(), 320u);
}

TEST_F(LoopbackChannels, TheFrequencyRatioIsThePitch)
{
    ASSERT_TRUE(channels.load(319, path("a440.wav")));
    channels.play(319, true);
    EXPECT_NEAR(frequency(renderSeconds(1)), 440, 3);
    channels.setFrequencyRatio(319, 2.0);
    EXPECT_NEAR(frequency(renderSeconds(1)), 880, 5);  // an octave higher
    channels.setFrequencyRatio(319, 0.5);
    EXPECT_NEAR(frequency(renderSeconds(1)), 220, 2);
}

TEST_F(LoopbackChannels, VolumeIsInHundredthsOfADecibelWithMinus10000Silent)
{
    ASSERT_TRUE(channels.load(0, path("a440.wav")));
    channels.play(0, true);
    const double full = rmsAfterSettling();
    EXPECT_GT(full, 1000);
    channels.setVolume(0, -600);
    EXPECT_NEAR(rmsAfterSettling() / full, std::pow(10.0, -0.3), 0.002);  // about half
    channels.setVolume(0, -2000);
    EXPECT_NEAR(rmsAfterSettling() / full, 0.1, 0.001);
    channels.setVolume(0, -10000);
    renderSeconds(0.05);
    EXPECT_TRUE(silent(sound.output.render(mixRate / 2)));
}

TEST_F(LoopbackChannels, ASoundPlayedOnceEndsWhenItsLengthHasBeenMixed)
{
    ASSERT_TRUE(channels.load(5, path("blip.wav")));
    channels.play(5, false);
    EXPECT_TRUE(channels.isPlaying(5));
    EXPECT_FALSE(channels.isLooping(5));
    renderSeconds(0.09);
    EXPECT_TRUE(channels.isPlaying(5));
    renderSeconds(0.02);
    EXPECT_FALSE(channels.isPlaying(5));
    channels.play(5, false);  // once more, from the top
    EXPECT_TRUE(channels.isPlaying(5));
}

TEST_F(LoopbackChannels, PauseRendersSilenceAndResumeStartsTheLoopsAgainButNotWhatHadEnded)
{
    ASSERT_TRUE(channels.load(2, path("a440.wav")));
    ASSERT_TRUE(channels.load(40, path("blip.wav")));
    channels.play(2, true);
    channels.play(40, false);
    renderSeconds(0.5);  // the blip has ended

    SoundResume resume;
    resume.pauseSounds(channels);
    renderSeconds(0.05);  // the sound fades out within a few milliseconds
    EXPECT_TRUE(silent(sound.output.render(mixRate / 2)));

    resume.resumeSounds(channels);
    EXPECT_TRUE(channels.isLooping(2));
    EXPECT_FALSE(channels.isPlaying(40));
    EXPECT_NEAR(frequency(renderSeconds(1)), 440, 3);
}

TEST_F(LoopbackChannels, ChannelsShareAWaveAndTellWhichTheyHoldUntilReleased)
{
    ASSERT_TRUE(channels.load(3, path("a440.wav")));
    ASSERT_TRUE(channels.load(4, path("a440.wav")));
    EXPECT_EQ(channels.heldWave(4), path("a440.wav"));
    EXPECT_EQ(channels.heldWave(5), "");
    EXPECT_FALSE(channels.holdsSound(5));
    EXPECT_FALSE(channels.load(6, path("missing.wav")));
    EXPECT_NE(channels.loadWave(path("missing.wav")).error, "");

    channels.play(3, true);
    renderSeconds(0.05);
    channels.releaseAll();
    renderSeconds(0.05);
    EXPECT_FALSE(channels.holdsSound(3));
    EXPECT_FALSE(channels.isPlaying(3));
    EXPECT_TRUE(silent(sound.output.render(mixRate / 10)));
}

TEST(SilentChannels, KeepTheTimeOfTheirSoundsAtTheirPitch)
{
    using namespace std::chrono_literals;
    TempFolder folder;
    folder.write("a440.wav", toneWave(440, 1));
    SilentSoundDevice sound;
    const WaveFile wave = sound.loadWave(folder.folder() + "a440.wav");
    EXPECT_EQ(wave.error, "");
    EXPECT_EQ(wave.frames, waveRate);
    ASSERT_TRUE(sound.load(7, folder.folder() + "a440.wav"));
    ASSERT_TRUE(sound.load(8, folder.folder() + "a440.wav"));
    EXPECT_EQ(sound.heldWave(8), folder.folder() + "a440.wav");
    sound.play(7, false);
    sound.play(8, true);
    sound.setFrequencyRatio(8, 2.0);
    sound.advanceTo(900ms);
    EXPECT_TRUE(sound.isPlaying(7));
    sound.stop(7);  // holds its place
    sound.advanceTo(1500ms);
    sound.play(7, false);
    sound.advanceTo(1550ms);
    EXPECT_TRUE(sound.isPlaying(7));
    sound.advanceTo(1650ms);
    EXPECT_FALSE(sound.isPlaying(7));  // 0.9 s + 0.1 s played
    EXPECT_TRUE(sound.isLooping(8));   // twice round and on
}

// A streamed WAV declares 0xFFFFFFFF bytes of data; its length is what the
// file holds, not the day and more the header would give.
TEST(EnvironmentSoundLengths, AreTheDecodedLengthWhateverTheHeaderDeclares)
{
    TempFolder folder;
    folder.write("streamed.wav", toneWave(440, 2.5, 0xFFFFFFFFu));
    folder.write("canonical.wav", toneWave(440, 3));
    ::test::RunFixture f;
    f.route->programFolder = folder.folder();
    for (const char* name : {"streamed.wav", "", "canonical.wav"})
        (void)f.route->soundData.add(name);
    SilentSoundDevice sound;
    cabdrive::Run run{f.settings, f.vehicle, *f.route, f.mascon, f.scene, sound, f.video, f.shell, f.joystick, f.store, {}, {}, {}};
    // 2.5 s rounds to the even 2.
    EXPECT_EQ(loadEnvironmentSounds(run), (std::vector<std::int32_t>{2, 0, 3}));
}

}  // namespace
}  // namespace cabdrive::test
