// Demo line media: WAV files, synthesised sounds, the AVI writer, the track view and the title media.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "avi_writer.h"
#include "sound_synth.h"
#include "support/temp_folder.h"
#include "title_media.h"
#include "track_view.h"
#include "wave_file.h"

namespace cabdrive::demo {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t littleEndian(const std::string& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// What a WAV file holds, read from its canonical 44-byte header.
struct WaveHeader {
    std::uint32_t format, channels, rate, bytesPerSecond, bits, dataBytes;
};

WaveHeader readWaveHeader(const std::string& bytes)
{
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(littleEndian(bytes, 4, 4), bytes.size() - 8);
    return {littleEndian(bytes, 20, 2), littleEndian(bytes, 22, 2), littleEndian(bytes, 24, 4),
            littleEndian(bytes, 28, 4), littleEndian(bytes, 34, 2), littleEndian(bytes, 40, 4)};
}

double seconds(const Wave& wave)
{
    return static_cast<double>(wave.samples.size()) / wave.sampleRate;
}

int peakOf(const Wave& wave)
{
    int peak = 0;
    for (const std::int16_t s : wave.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

double meanLevel(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += std::abs(static_cast<double>(samples[i]));
    return sum / static_cast<double>(to - from);
}

// What an AVI file holds, decoded with FFmpeg.
struct DecodedVideo {
    int width = 0, height = 0;
    AVCodecID codec = AV_CODEC_ID_NONE;
    std::vector<int> keyframes;
    std::vector<AVPictureType> types;
    std::vector<std::vector<std::uint8_t>> firstPixelYuv;  // Y, U, V of the top-left pixel per frame
    std::vector<std::int16_t> audio;
    int audioRate = 0;
};

DecodedVideo decode(const fs::path& file)
{
    DecodedVideo result;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) {
        ADD_FAILURE() << "cannot open " << file;
        return result;
    }
    avformat_find_stream_info(format, nullptr);
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    const AVCodecParameters* par = format->streams[video]->codecpar;
    result.codec = par->codec_id;
    if (audio >= 0)
        result.audioRate = format->streams[audio]->codecpar->sample_rate;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, par);
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder, frame) == 0) {
            result.width = frame->width;
            result.height = frame->height;
            if (frame->key_frame)
                result.keyframes.push_back(static_cast<int>(result.types.size()));
            result.types.push_back(frame->pict_type);
            result.firstPixelYuv.push_back({frame->data[0][0], frame->data[1][0], frame->data[2][0]});
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == video) {
            avcodec_send_packet(decoder, packet);
            drain();
        } else if (packet->stream_index == audio) {
            for (int i = 0; i + 1 < packet->size; i += 2)
                result.audio.push_back(static_cast<std::int16_t>(packet->data[i] | packet->data[i + 1] << 8));
        }
        av_packet_unref(packet);
    }
    avcodec_send_packet(decoder, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return result;
}

std::vector<std::uint32_t> solidFrame(int width, int height, std::uint32_t argb)
{
    return std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), argb);
}

// Writes `frames` frames alternating pure red and pure blue, and optionally a ramp of sound.
void writeTestVideo(const fs::path& file, int frames, int audioRate)
{
    const auto red = solidFrame(320, 240, 0xFFFF0000u), blue = solidFrame(320, 240, 0xFF0000FFu);
    AviWriter writer(file.string(), 320, 240, 30, audioRate);
    std::vector<std::int16_t> sound(static_cast<std::size_t>(audioRate));
    for (std::size_t i = 0; i < sound.size(); ++i)
        sound[i] = static_cast<std::int16_t>(static_cast<int>(i % 2000) * 16 - 16000);
    // Sound arrives in uneven pieces between the frames.
    std::size_t sent = 0;
    for (int f = 0; f < frames; ++f) {
        writer.addFrame((f % 2 == 0 ? red : blue).data());
        const std::size_t piece = std::min<std::size_t>(sound.size() - sent, 517);
        if (audioRate > 0 && piece > 0) {
            writer.addAudio(sound.data() + sent, piece);
            sent += piece;
        }
    }
    if (audioRate > 0 && sent < sound.size())
        writer.addAudio(sound.data() + sent, sound.size() - sent);
    writer.finish();
    EXPECT_EQ(writer.framesWritten(), frames);
}

TEST(DemoMediaWave, WaveFilesRoundTripRateLengthAndSamplesByteForByte)
{
    const test::TempFolder temp;
    Wave wave;
    wave.sampleRate = 11025;
    for (int i = 0; i < 1001; ++i)
        wave.samples.push_back(static_cast<std::int16_t>(i * 97 - 32768));
    const fs::path first = temp.path() / "new" / "folder" / "a.wav";
    const fs::path second = temp.path() / "b.wav";
    writeWave(first.string(), wave);
    writeWave(second.string(), wave);

    const std::string bytes = readBytes(first);
    const WaveHeader header = readWaveHeader(bytes);
    EXPECT_EQ(header.format, 1u);
    EXPECT_EQ(header.channels, 1u);
    EXPECT_EQ(header.rate, 11025u);
    EXPECT_EQ(header.bytesPerSecond, 22050u);
    EXPECT_EQ(header.bits, 16u);
    EXPECT_EQ(header.dataBytes, 2002u);
    ASSERT_EQ(bytes.size(), 44u + 2002u);
    for (std::size_t i = 0; i < wave.samples.size(); ++i)
        ASSERT_EQ(static_cast<std::int16_t>(littleEndian(bytes, 44 + 2 * i, 2)), wave.samples[i]) << "sample " << i;
    EXPECT_EQ(readBytes(second), bytes);
}

TEST(DemoMediaSound, LoopsHaveTheirLengthAndJoinWithoutClickOrGap)
{
    const std::map<std::string, std::pair<std::function<Wave()>, double>> loops = {
        {"running band", {[] { return runningBand(6, 13); }, 2.0}},
        {"motor at an odd pitch", {[] { return motorWhine(183.7); }, 1.0}},
        {"diesel", {[] { return dieselEngine(27.3); }, 1.0}},
        {"squeal", {[] { return brakeSqueal(); }, 1.0}},
        {"compressor", {[] { return compressorRun(); }, 2.0}},
        {"horn sustain", {[] { return hornPart(1); }, 0.5}},
        {"buzzer", {[] { return buzzer(); }, 1.0}},
        {"bell", {[] { return bell(); }, 1.0}},
        {"ambience", {[] { return stationAmbience(1); }, 3.0}},
        {"crossing bell", {[] { return crossingBell(); }, 1.0}},
        {"tunnel", {[] { return tunnelRoar(); }, 2.0}},
    };
    for (const auto& [name, loop] : loops) {
        const Wave wave = loop.first();
        const std::vector<std::int16_t>& s = wave.samples;
        EXPECT_EQ(wave.sampleRate, 22050) << name;
        ASSERT_EQ(s.size(), static_cast<std::size_t>(std::lround(loop.second * 22050))) << name;
        // The step from the last sample back to the first is no larger than any step inside.
        int largestStep = 0;
        for (std::size_t i = 1; i < s.size(); ++i)
            largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
        EXPECT_LE(std::abs(s.front() - s.back()), largestStep) << name;
        // No fade at either end: a loop must not dip every time round.
        const std::size_t edge = 220;  // 10 ms
        const double overall = meanLevel(s, 0, s.size());
        EXPECT_GT(meanLevel(s, 0, edge), 0.3 * overall) << name;
        EXPECT_GT(meanLevel(s, s.size() - edge, s.size()), 0.3 * overall) << name;
    }
}

TEST(DemoMediaSound, EverySoundPeaksBelowFullScaleAndIsRepeatable)
{
    const std::map<std::string, std::function<Wave()>> sounds = {
        {"exhaust", [] { return airExhaust(1.2); }},    {"apply", [] { return airApply(0.3); }},
        {"compressor start", [] { return compressorStart(); }}, {"compressor end", [] { return compressorEnd(); }},
        {"horn attack", [] { return hornPart(0); }},    {"horn release", [] { return hornPart(2); }},
        {"second horn", [] { return hornPart(3); }},    {"whistle", [] { return whistle(); }},
        {"chime", [] { return chime(); }},              {"tone", [] { return tone(440, 0.5); }},
        {"door open", [] { return doorOpen(); }},       {"door close", [] { return doorClose(); }},
        {"notch", [] { return notchClick(false); }},    {"brake notch", [] { return notchClick(true); }},
        {"arrival", [] { return arrivalChime(); }},     {"points", [] { return pointsClack(); }},
        {"title jingle", [] { return titleJingle(); }}, {"top running band", [] { return runningBand(12, 13); }},
    };
    for (const auto& [name, make] : sounds) {
        const Wave wave = make();
        ASSERT_FALSE(wave.samples.empty()) << name;
        const double peakDb = 20 * std::log10(peakOf(wave) / 32768.0);
        EXPECT_LE(peakDb, -2.9) << name;
        EXPECT_GE(peakDb, -12.0) << name;
        EXPECT_EQ(make().samples, wave.samples) << name;
    }
    EXPECT_NEAR(seconds(airExhaust(1.2)), 1.2, 0.001);
    EXPECT_NEAR(seconds(tone(440, 0.5)), 0.5, 0.001);
}

TEST(DemoMediaSound, RunningBandsGrowLouderWithSpeedAndMelodiesDiffer)
{
    double lastLevel = 0;
    for (const int band : {0, 4, 8, 12}) {
        const Wave wave = runningBand(band, 13);
        const double level = meanLevel(wave.samples, 0, wave.samples.size());
        EXPECT_GT(level, lastLevel) << "band " << band;
        lastLevel = level;
    }
    std::vector<std::vector<std::int16_t>> melodies;
    for (int variant = 0; variant < 4; ++variant) {
        const Wave melody = departureMelody(variant);
        EXPECT_GE(seconds(melody), 4.0) << variant;
        EXPECT_LE(seconds(melody), 8.0) << variant;
        for (const auto& other : melodies)
            EXPECT_NE(melody.samples, other) << variant;
        melodies.push_back(melody.samples);
    }
    EXPECT_NE(stationAmbience(0).samples, stationAmbience(1).samples);
}

TEST(DemoMediaSound, SpeechDiffersByTextAndFallsBackToTonesWithoutTheEngine)
{
    const Wave proceed = speech("出発進行", 0), stop = speech("停車", 0);
    EXPECT_EQ(proceed.sampleRate, 22050);
    EXPECT_GT(seconds(proceed), 0.3);
    EXPECT_NE(proceed.samples, stop.samples);
    EXPECT_EQ(speech("出発進行", 0).samples, proceed.samples);
    EXPECT_NE(speech("出発進行", 1).samples, proceed.samples);  // another voice

    // With no speech engine on the path: still a sound, still distinct per text.
    const char* path = std::getenv("PATH");
    const std::string savedPath = path != nullptr ? path : "";
    setenv("PATH", "/nonexistent", 1);
    const Wave toneProceed = speech("出発進行", 0), toneStop = speech("停車", 0), empty = speech("", 0);
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_GT(seconds(toneProceed), 0.3);
    EXPECT_NE(toneProceed.samples, toneStop.samples);
    EXPECT_NE(toneProceed.samples, proceed.samples);
    EXPECT_FALSE(empty.samples.empty());
}

TEST(DemoMediaSound, MixedLayersStartLoopAndFadeWhereTheySay)
{
    Wave blip;
    blip.samples.assign(2205, 10000);  // 0.1 s of a constant level
    const Wave mixed = mixLayers({{&blip, 0.5, 1.0, false}, {&blip, 1.0, 0.5, true, 1.5, 2.0}}, 2.5);
    ASSERT_EQ(mixed.samples.size(), 2u * 22050u + 11025u);
    const auto at = [&](double seconds) { return mixed.samples[static_cast<std::size_t>(seconds * 22050)]; };
    EXPECT_EQ(at(0.25), 0);                        // nothing before the first layer starts
    EXPECT_NEAR(at(0.55) / 32767.0, 0.708, 0.01);  // the loudest moment peaks at -3 dBFS
    EXPECT_EQ(at(0.75), 0);                        // a one-shot layer plays once
    EXPECT_NEAR(at(1.25), at(0.55) / 2, 2);        // the looped layer repeats at half the gain
    EXPECT_NEAR(at(1.75), at(0.55) / 4, 2);        // half way through its fade
    EXPECT_EQ(at(2.25), 0);                        // silent once faded out
}

TEST(DemoMediaAvi, VideoDecodesFrameForFrameWithKeyframesEvery30AndNoBFrames)
{
    const test::TempFolder temp;
    const fs::path file = temp.path() / "clip.avi";
    writeTestVideo(file, 65, 0);
    const DecodedVideo video = decode(file);
    EXPECT_EQ(video.codec, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(video.width, 320);
    EXPECT_EQ(video.height, 240);
    ASSERT_EQ(video.types.size(), 65u);
    EXPECT_EQ(video.keyframes, (std::vector<int>{0, 30, 60}));
    EXPECT_EQ(std::count(video.types.begin(), video.types.end(), AV_PICTURE_TYPE_B), 0);
    // Red frames decode red and blue ones blue (the channel order is right).
    EXPECT_GT(video.firstPixelYuv[0][2], 200);  // V of red
    EXPECT_LT(video.firstPixelYuv[0][1], 110);  // U of red
    EXPECT_GT(video.firstPixelYuv[1][1], 200);  // U of blue
    EXPECT_LT(video.firstPixelYuv[1][2], 140);  // V of blue
}

TEST(DemoMediaAvi, SoundTrackKeepsEverySampleAndEqualInputGivesEqualFiles)
{
    const test::TempFolder temp;
    writeTestVideo(temp.path() / "a.avi", 40, 22050);
    writeTestVideo(temp.path() / "b.avi", 40, 22050);
    EXPECT_EQ(readBytes(temp.path() / "a.avi"), readBytes(temp.path() / "b.avi"));
    const DecodedVideo video = decode(temp.path() / "a.avi");
    EXPECT_EQ(video.types.size(), 40u);
    EXPECT_EQ(video.audioRate, 22050);
    ASSERT_EQ(video.audio.size(), 22050u);
    for (std::size_t i = 0; i < video.audio.size(); ++i)
        ASSERT_EQ(video.audio[i], static_cast<std::int16_t>(static_cast<int>(i % 2000) * 16 - 16000)) << i;
}

TEST(DemoMediaAvi, AWriterLeftUnfinishedStillCompletesItsFile)
{
    const test::TempFolder temp;
    const auto frame = solidFrame(320, 240, 0xFF336699u);
    {
        AviWriter writer((temp.path() / "unfinished.avi").string(), 320, 240, 30, 0);
        for (int f = 0; f < 12; ++f)
            writer.addFrame(frame.data());
    }
    EXPECT_EQ(decode(temp.path() / "unfinished.avi").types.size(), 12u);
}

TEST(DemoMediaAvi, BadUseGivesAClearError)
{
    const test::TempFolder temp;
    const std::string missingFolder = (temp.path() / "no" / "such" / "x.avi").string();
    try {
        AviWriter writer(missingFolder, 320, 240, 30, 0);
        FAIL() << "a file in a missing folder was opened";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missingFolder), std::string::npos) << e.what();
    }
    EXPECT_THROW(AviWriter((temp.path() / "odd.avi").string(), 321, 240, 30, 0), std::runtime_error);
    AviWriter silent((temp.path() / "silent.avi").string(), 320, 240, 30, 0);
    const std::int16_t sample = 0;
    EXPECT_THROW(silent.addAudio(&sample, 1), std::runtime_error);
    silent.finish();
    const auto frame = solidFrame(320, 240, 0xFF000000u);
    EXPECT_THROW(silent.addFrame(frame.data()), std::runtime_error);
}

constexpr int viewWidth = 320, viewHeight = 240;

std::vector<std::uint32_t> render(const TrackFeatures& line, double cameraM)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(viewWidth * viewHeight));
    renderTrackView(line, cameraM, viewWidth, viewHeight, pixels.data());
    return pixels;
}

TrackFeatures plainLine()
{
    TrackFeatures line;
    line.lengthM = 5000;
    line.heightAt = [](double) { return 0.0; };
    line.curveAt = [](double) { return 0.0; };
    return line;
}

int differingPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int fromX, int toX)
{
    int count = 0;
    for (int y = 0; y < viewHeight; ++y)
        for (int x = fromX; x < toX; ++x)
            count += a[static_cast<std::size_t>(y * viewWidth + x)] != b[static_cast<std::size_t>(y * viewWidth + x)];
    return count;
}

// The track bed's warm greys: ballast, sleepers and cess, not walls, rails or sky.
bool isBallast(std::uint32_t p)
{
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r > 85 && r < 176 && r - g >= 0 && r - g < 14 && g - b >= 2 && g - b < 17;
}

double ballastCentre(const std::vector<std::uint32_t>& pixels, int y)
{
    double sum = 0;
    int count = 0;
    for (int x = 0; x < viewWidth; ++x)
        if (isBallast(pixels[static_cast<std::size_t>(y * viewWidth + x)])) {
            sum += x;
            ++count;
        }
    return count > 0 ? sum / count : -1;
}

TEST(DemoMediaTrackView, PictureIsAFunctionOfThePositionAndMovesWithIt)
{
    const TrackFeatures line = plainLine();
    const auto here = render(line, 1000.0);
    EXPECT_EQ(render(line, 1000.0), here);
    for (const std::uint32_t p : here)
        ASSERT_EQ(p >> 24, 0xFFu);
    // Sleepers 0.6 m apart: half a pitch further on, the near track looks different.
    const auto moved = render(line, 1000.3);
    int nearTrackChanges = 0;
    for (int y = viewHeight * 3 / 4; y < viewHeight; ++y)
        for (int x = 120; x < 200; ++x)
            nearTrackChanges += here[static_cast<std::size_t>(y * viewWidth + x)] != moved[static_cast<std::size_t>(y * viewWidth + x)];
    EXPECT_GT(nearTrackChanges, 500);
    // A whole pitch on, the sleepers are back where they were.
    EXPECT_LT(differingPixels(here, render(line, 1000.6), 120, 200), nearTrackChanges / 4);
}

TEST(DemoMediaTrackView, PlatformsShowOnTheirSide)
{
    const TrackFeatures plain = plainLine();
    TrackFeatures left = plain, right = plain;
    left.platforms = {{1030, 1200, true}};
    right.platforms = {{1030, 1200, false}};
    const auto none = render(plain, 1000), withLeft = render(left, 1000), withRight = render(right, 1000);
    const int half = viewWidth / 2;
    EXPECT_GT(differingPixels(none, withLeft, 0, half), 1000);
    EXPECT_GT(differingPixels(none, withLeft, 0, half), 5 * differingPixels(none, withLeft, half, viewWidth));
    EXPECT_GT(differingPixels(none, withRight, half, viewWidth), 5 * differingPixels(none, withRight, 0, half));
}

TEST(DemoMediaTrackView, CurvesBendAndGradientsLiftTheTrackAhead)
{
    TrackFeatures straight = plainLine();
    straight.electrified = false;  // the wires run right over the track's far end
    TrackFeatures rightCurve = straight, leftCurve = straight, climb = straight;
    rightCurve.curveAt = [](double) { return 1.0 / 400; };
    leftCurve.curveAt = [](double) { return -1.0 / 400; };
    climb.heightAt = [](double m) { return m > 1100 ? (m - 1100) * 0.025 : 0.0; };
    const int farRow = static_cast<int>(viewHeight * 0.42) + 12;
    const double centre = ballastCentre(render(straight, 1000), farRow);
    EXPECT_NEAR(centre, viewWidth / 2.0, 3);
    EXPECT_GT(ballastCentre(render(rightCurve, 1000), farRow), centre + 15);
    EXPECT_LT(ballastCentre(render(leftCurve, 1000), farRow), centre - 15);

    // The highest row showing track rises when the line climbs ahead.
    const auto topOfTrack = [](const std::vector<std::uint32_t>& pixels) {
        for (int y = 0; y < viewHeight; ++y)
            for (int x = viewWidth / 2 - 3; x <= viewWidth / 2 + 3; ++x)
                if (isBallast(pixels[static_cast<std::size_t>(y * viewWidth + x)]))
                    return y;
        return viewHeight;
    };
    EXPECT_LT(topOfTrack(render(climb, 1000)), topOfTrack(render(straight, 1000)) - 3);
}

double brightness(const std::vector<std::uint32_t>& pixels)
{
    double sum = 0;
    for (const std::uint32_t p : pixels)
        sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    return sum / (3.0 * static_cast<double>(pixels.size()));
}

TEST(DemoMediaTrackView, TunnelsCrossingsAndTurnoutsChangeTheView)
{
    const TrackFeatures plain = plainLine();
    TrackFeatures tunnel = plain, crossing = plain, turnout = plain, bare = plain;
    tunnel.tunnels = {{900, 1400}};
    crossing.levelCrossings = {1020};
    turnout.pointsAt = {1015};
    bare.electrified = false;
    const auto open = render(plain, 1000);
    EXPECT_LT(brightness(render(tunnel, 1000)), 0.5 * brightness(open));
    EXPECT_GT(differingPixels(open, render(crossing, 1000), 0, viewWidth), 3000);
    EXPECT_GT(differingPixels(open, render(turnout, 1000), 0, viewWidth), 500);
    // Poles and wires come with the catenary only.
    EXPECT_GT(differingPixels(open, render(bare, 1000), 0, viewWidth), 300);
}

TEST(DemoMediaTrackView, ACrestHidesWhatLiesBeyondItAndAPortalIsDark)
{
    TrackFeatures hump = plainLine();
    hump.heightAt = [](double m) { return std::max(0.0, 15.0 - std::abs(m - 1150.0) * 0.15); };
    TrackFeatures hiddenCrossing = hump;
    hiddenCrossing.levelCrossings = {1300};
    EXPECT_EQ(render(hiddenCrossing, 1000), render(hump, 1000));

    // Just short of a tunnel the opening ahead is dark where the sky was.
    TrackFeatures tunnel = plainLine();
    tunnel.tunnels = {{1040, 1800}};
    const auto pixelAboveVanishingPoint = [](const std::vector<std::uint32_t>& pixels) {
        const std::uint32_t p = pixels[static_cast<std::size_t>(viewHeight * 0.42 - 8) * viewWidth + viewWidth / 2 + 10];
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    };
    const unsigned open = pixelAboveVanishingPoint(render(plainLine(), 1000));
    EXPECT_GT(open, 300u);
    EXPECT_LT(pixelAboveVanishingPoint(render(tunnel, 1000)), open / 2);
}

TEST(DemoMediaTitle, WritesEveryTitlePictureSoundAndTheOpeningMovie)
{
    const test::TempFolder temp;
    writeTitleMedia(temp.path().string(), "みなと線", "下り 港浜行", "上り 若葉台行");
    const fs::path title = temp.path() / "image" / "title";
    for (const char* name : {"title01.jpg", "title02.jpg", "title2.jpg"}) {
        const QImage picture(QString::fromStdString((title / name).string()));
        EXPECT_EQ(picture.size(), QSize(800, 600)) << name;
    }
    EXPECT_EQ(readBytes(title / "title01.jpg").substr(0, 2), "\xFF\xD8");
    for (const char* name : {"line01.bmp", "line02.bmp", "train1.bmp", "cursor.bmp"}) {
        EXPECT_EQ(readBytes(title / name).substr(0, 2), "BM") << name;
        EXPECT_FALSE(QImage(QString::fromStdString((title / name).string())).isNull()) << name;
    }
    // Line entries stand 60 px apart; the cursor fits in the 32 px left of them.
    EXPECT_LE(QImage(QString::fromStdString((title / "line01.bmp").string())).height(), 60);
    EXPECT_LE(QImage(QString::fromStdString((title / "cursor.bmp").string())).width(), 32);
    // The train at (570, 500) clears the buttons along y 571.
    EXPECT_LE(QImage(QString::fromStdString((title / "train1.bmp").string())).height(), 71);
    EXPECT_NE(readBytes(title / "line01.bmp"), readBytes(title / "line02.bmp"));
    for (const char* name : {"34109.wav", "start.wav"}) {
        const std::string bytes = readBytes(temp.path() / "sound" / name);
        const WaveHeader header = readWaveHeader(bytes);
        EXPECT_EQ(header.rate, 22050u) << name;
        EXPECT_GT(header.dataBytes, 22050u) << name;  // more than half a second
    }
    const DecodedVideo movie = decode(temp.path() / "move" / "opening.avi");
    EXPECT_EQ(movie.width, 640);
    EXPECT_EQ(movie.height, 360);
    EXPECT_EQ(movie.types.size(), 180u);
    EXPECT_EQ(movie.audioRate, 22050);
    EXPECT_EQ(movie.audio.size(), 6u * 22050u);

    // The same names give the same files, byte for byte.
    const test::TempFolder again;
    writeTitleMedia(again.path().string(), "みなと線", "下り 港浜行", "上り 若葉台行");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(temp.path())) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        EXPECT_EQ(readBytes(entry.path()), readBytes(again.path() / fs::relative(entry.path(), temp.path())))
            << entry.path();
    }
    EXPECT_EQ(files, 10);
}

}  // namespace
}  // namespace cabdrive::demo
