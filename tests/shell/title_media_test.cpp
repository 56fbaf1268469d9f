// The title screen's media: the sound track decoder, the sound output without a
// sound card and the media player on the demo line's opening movie and sounds.
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/ffmpeg/ffmpeg_audio_decoder.h"
#include "platform/openal/openal_output.h"
#include "platform/openal/openal_stream.h"
#include "shell/media_player.h"
#include "support/qt_application.h"
#include "support/temp_folder.h"

namespace cabdrive {
namespace {

const std::string demoFolder = std::string(CABDRIVE_DEMO_FOLDER) + "/";
const std::string openingMovie = demoFolder + "move\\opening.avi";

int peakOf(const std::vector<std::int16_t>& samples)
{
    int peak = 0;
    for (const std::int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

// Of a mix: in 16-bit steps.
int peakOf(const std::vector<float>& mix)
{
    float peak = 0;
    for (const float s : mix)
        peak = std::max(peak, std::abs(s));
    return static_cast<int>(std::lround(peak * 32768));
}

// A mono 16-bit WAV of `seconds` of a 440 Hz tone at 22050 Hz.
std::string toneWave(double seconds)
{
    const int rate = 22050;
    const auto count = static_cast<std::uint32_t>(seconds * rate);
    std::string bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    bytes += "RIFF";
    put(36 + count * 2, 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    bytes += "data";
    put(count * 2, 4);
    for (std::uint32_t i = 0; i < count; ++i)
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 2 * M_PI * 440 / rate))), 2);
    return bytes;
}

struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

FramePtr audioFrame(AVSampleFormat format, int channels, int samples)
{
    FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->nb_samples = samples;
    av_channel_layout_default(&frame->ch_layout, channels);
    EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    return frame;
}

TEST(TitleMediaSound, DemoOpeningMovieSoundTrackDecodesToSixAudibleSecondsOfMono)
{
    FfmpegAudioDecoder decoder;
    ASSERT_TRUE(decoder.open(demoFolder + "move/opening.avi"));
    EXPECT_EQ(decoder.sampleRate(), 22050);
    EXPECT_EQ(decoder.channels(), 1);
    EXPECT_NEAR(decoder.length().count() / 1e6, 6.0, 0.05);

    std::vector<std::int16_t> samples;
    while (decoder.decodeMore(samples)) {
    }
    EXPECT_NEAR(static_cast<double>(samples.size()) / 22050, 6.0, 0.05);
    EXPECT_GT(peakOf(samples), 3000);  // the horn and the running sound, not silence

    EXPECT_FALSE(decoder.open(demoFolder + "image/title/title01.jpg"));  // a picture has no sound
    EXPECT_FALSE(decoder.isOpen());
    EXPECT_FALSE(decoder.decodeMore(samples));
}

TEST(TitleMediaSound, EverySampleFormatBecomesInterleaved16BitWithSurroundFoldedToStereo)
{
    std::vector<std::int16_t> out;

    const FramePtr planarFloat = audioFrame(AV_SAMPLE_FMT_FLTP, 2, 3);
    const float left[3] = {0.5f, -1.0f, 2.0f};  // 2.0 clips
    const float right[3] = {-0.25f, 1.0f, -3.0f};
    std::memcpy(planarFloat->extended_data[0], left, sizeof left);
    std::memcpy(planarFloat->extended_data[1], right, sizeof right);
    ASSERT_TRUE(appendAsS16(*planarFloat, 2, out));
    EXPECT_EQ(out, (std::vector<std::int16_t>{16384, -8192, -32767, 32767, 32767, -32768}));

    out.assign({7});  // appends after what is there
    const FramePtr unsigned8 = audioFrame(AV_SAMPLE_FMT_U8, 1, 3);
    const std::uint8_t bytes[3] = {128, 255, 0};
    std::memcpy(unsigned8->extended_data[0], bytes, sizeof bytes);
    ASSERT_TRUE(appendAsS16(*unsigned8, 1, out));
    EXPECT_EQ(out, (std::vector<std::int16_t>{7, 0, 127 * 256, -128 * 256}));

    // Six channels of 32-bit: fronts, centre, LFE, surrounds (packed).
    out.clear();
    const FramePtr surround = audioFrame(AV_SAMPLE_FMT_S32, 6, 1);
    const std::int32_t six[6] = {300 << 16, 600 << 16, 900 << 16, 0, -300 << 16, 0};
    std::memcpy(surround->extended_data[0], six, sizeof six);
    ASSERT_TRUE(appendAsS16(*surround, 2, out));
    EXPECT_EQ(out, (std::vector<std::int16_t>{300, 200}));  // (300 + 900 - 300) / 3, (600 + 0 + 0) / 3
    out.clear();
    ASSERT_TRUE(appendAsS16(*surround, 1, out));
    EXPECT_EQ(out, (std::vector<std::int16_t>{250}));

    const FramePtr planarDouble = audioFrame(AV_SAMPLE_FMT_DBLP, 1, 1);
    const double half = -0.5;
    std::memcpy(planarDouble->extended_data[0], &half, sizeof half);
    out.clear();
    ASSERT_TRUE(appendAsS16(*planarDouble, 1, out));
    EXPECT_EQ(out, (std::vector<std::int16_t>{-16384}));
}

TEST(TitleMediaSound, WithoutASoundCardALoopbackMixesTheStreamAudiblyUntilItRunsOut)
{
    FfmpegAudioDecoder decoder;
    ASSERT_TRUE(decoder.open(demoFolder + "sound/start.wav"));
    std::vector<std::int16_t> wave;
    while (decoder.decodeMore(wave)) {
    }
    const double seconds = static_cast<double>(wave.size()) / decoder.sampleRate();
    ASSERT_GT(seconds, 1.0);

    OpenAlOutput output(OpenAlOutput::Device::loopback);
    ASSERT_TRUE(output.available());
    ASSERT_TRUE(output.isLoopback());
    OpenAlStream stream(output, decoder.sampleRate(), decoder.channels());
    // Two blocks, the second queued after playing began.
    const auto middle = wave.begin() + static_cast<std::ptrdiff_t>(wave.size() / 2);
    stream.queue(std::vector<std::int16_t>(wave.begin(), middle));
    stream.play();
    stream.queue(std::vector<std::int16_t>(middle, wave.end()));
    EXPECT_EQ(stream.pendingBlocks(), 2);
    EXPECT_TRUE(stream.isSounding());

    const int tenth = OpenAlOutput::defaultLoopbackRate / 10;
    EXPECT_GT(peakOf(output.render(tenth)), 1000);
    std::vector<float> later;
    for (double t = 0.1; t < seconds - 0.2; t += 0.1) {
        const auto mix = output.render(tenth);
        later.insert(later.end(), mix.begin(), mix.end());
    }
    EXPECT_GT(peakOf(later), 1000);
    EXPECT_EQ(stream.pendingBlocks(), 1);  // into the second block
    output.render(OpenAlOutput::defaultLoopbackRate / 2);
    EXPECT_FALSE(stream.isSounding());
    EXPECT_EQ(stream.pendingBlocks(), 0);
    EXPECT_EQ(peakOf(output.render(tenth)), 0);

    stream.queue(wave);  // a dry source plays on when fed
    EXPECT_TRUE(stream.isSounding());
    stream.stop();
    EXPECT_FALSE(stream.isSounding());
    EXPECT_EQ(stream.pendingBlocks(), 0);
    EXPECT_EQ(peakOf(output.render(tenth)), 0);
}

TEST(TitleMediaPlayer, PlaysTheDemoOpeningMovieAtItsOwnFrameRate)
{
    test::qtApplication();
    MovieSurface surface;
    surface.resize(640, 360);
    MediaPlayer player(surface);
    player.setFileName(openingMovie);
    ASSERT_TRUE(player.open());
    EXPECT_EQ(player.frameCount(), 180);
    EXPECT_DOUBLE_EQ(player.framesPerSecond(), 30.0);
    EXPECT_NEAR(player.length().count() / 1e6, 6.0, 0.05);
    EXPECT_FALSE(player.isPlaying());

    ASSERT_TRUE(player.play());
    EXPECT_TRUE(player.isPlaying());
    EXPECT_EQ(player.shownFrame(), 0);
    QElapsedTimer clock;
    clock.start();
    test::runEventsFor(800);
    const double expected = clock.elapsed() / 1000.0 * 30;
    EXPECT_NEAR(player.shownFrame(), expected, 9);  // a few frames' slack for a busy machine

    const QImage& frame = surface.picture();
    ASSERT_EQ(frame.size(), QSize(640, 360));
    int lit = 0;
    for (int y = 0; y < frame.height(); y += 8)
        for (int x = 0; x < frame.width(); x += 8)
            lit += qGray(frame.pixel(x, y)) > 40 ? 1 : 0;
    EXPECT_GT(lit, 500);  // of 3600 samples: a picture, not a black screen

    player.stop();
    EXPECT_FALSE(player.isPlaying());
    const std::int32_t stoppedAt = player.shownFrame();
    test::runEventsFor(100);
    EXPECT_EQ(player.shownFrame(), stoppedAt);
}

TEST(TitleMediaPlayer, ASoundPlaysForItsLengthAndAnUnreadableFileKeepsItsNameButDoesNotOpen)
{
    test::qtApplication();
    test::TempFolder folder;
    folder.write("sound/tone.wav", toneWave(0.3));
    folder.write("move/broken.avi", "RIFF not really a movie");
    MovieSurface surface;
    MediaPlayer player(surface);

    player.setFileName(folder.folder() + "SOUND\\Tone.wav");  // as data files write it
    ASSERT_TRUE(player.open());
    EXPECT_EQ(player.frameCount(), 0);
    EXPECT_NEAR(player.length().count() / 1e6, 0.3, 0.01);
    ASSERT_TRUE(player.play());
    EXPECT_EQ(player.shownFrame(), -1);
    test::runEventsFor(150);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(test::runEventsUntil([&] { return !player.isPlaying(); }, 1000));
    ASSERT_TRUE(player.play());  // again from the start
    test::runEventsFor(150);
    EXPECT_TRUE(player.isPlaying());
    player.close();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.play());

    player.setFileName(folder.folder() + "move\\broken.avi");
    EXPECT_FALSE(player.open());
    EXPECT_EQ(player.fileName(), folder.folder() + "move\\broken.avi");
    EXPECT_FALSE(player.play());
    player.setFileName(folder.folder() + "move\\missing.avi");
    EXPECT_FALSE(player.open());
}

}  // namespace
}  // namespace cabdrive
