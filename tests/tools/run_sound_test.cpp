// cabdrive-run --wav on the demo line: the run's sound mixed in virtual time,
// measured on the samples written.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "headless_run.h"
#include "platform/qt/qimage_picture_loader.h"
#include "ports/memory_key_value_store.h"
#include "ports/video_reader.h"
#include "support/temp_folder.h"

namespace {

struct Recorded {
    int rate = 0;
    std::vector<float> left;  // the left channel
    std::vector<double> speeds;  // km/h after every tick, when traced
};

Recorded record(const std::string& script, bool drive, double seconds)
{
    cabdrive::test::TempFolder temp;
    cabdrive::HeadlessRunOptions options;
    options.dataFolder = CABDRIVE_DEMO_FOLDER;
    options.drive = drive;
    if (!drive)
        options.scriptFile = temp.write("script.txt", script).string();
    options.seconds = seconds;
    options.wavFile = temp.folder() + "run.wav";
    options.traceFile = temp.folder() + "trace.csv";
    cabdrive::QImagePictureLoader pictures;
    cabdrive::NullVideoReader video;
    cabdrive::MemoryKeyValueStore store;
    std::ostringstream out, err;
    Recorded recorded;
    EXPECT_EQ(cabdrive::runHeadless(options, pictures, video, store, out, err), 0) << err.str();

    SF_INFO info{};
    SNDFILE* file = sf_open(options.wavFile.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr);
    if (file == nullptr)
        return recorded;
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * 2);
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    recorded.rate = info.samplerate;
    for (std::size_t i = 0; i < frames.size(); i += 2)
        recorded.left.push_back(frames[i]);

    std::ifstream trace(options.traceFile);
    std::string line;
    std::getline(trace, line);
    while (std::getline(trace, line)) {
        std::istringstream fields(line);
        std::string time, clock, speed;
        std::getline(fields, time, ',');
        std::getline(fields, clock, ',');
        std::getline(fields, speed, ',');
        recorded.speeds.push_back(std::stod(speed));
    }
    return recorded;
}

// The loudest difference between two recordings over [from, to) s.
double largestDifference(const Recorded& a, const Recorded& b, double from, double to)
{
    double largest = 0;
    for (auto i = static_cast<std::size_t>(from * a.rate); i < static_cast<std::size_t>(to * a.rate); ++i)
        largest = std::max(largest, static_cast<double>(std::fabs(a.left[i] - b.left[i])));
    return largest;
}

// Zero crossings per second over the second after tick `tick`: the higher
// the pitch of the mix, the more.
double crossingsAfterTick(const Recorded& r, std::size_t tick)
{
    const auto from = static_cast<std::size_t>(r.rate) * (tick + 1) / 10;
    int crossings = 0;
    for (std::size_t i = from + 1; i < from + static_cast<std::size_t>(r.rate); ++i)
        crossings += (r.left[i - 1] < 0) != (r.left[i] < 0);
    return crossings;
}

TEST(RunSound, AWaveFileAsLongAsTheRunWithTheHornHeardWhenItIsPressedAndNotBefore)
{
    // Standing at the first station; the horn key at 5 s, or never.
    const Recorded horn = record("5 3\n", false, 8);
    const Recorded quiet = record("", false, 8);
    ASSERT_EQ(horn.rate, 48000);
    EXPECT_EQ(horn.left.size(), 8u * 48000);
    EXPECT_EQ(largestDifference(horn, quiet, 0, 5.0), 0.0) << "the same run until the key";
    // The tick after the key starts the horn's opening part.
    EXPECT_GT(largestDifference(horn, quiet, 5.0, 5.5), 0.1);
}

TEST(RunSound, TheSoundRisesInPitchWithTheSpeed)
{
    const Recorded run = record("", true, 60);
    ASSERT_FALSE(run.speeds.empty());
    double slow = 0, fast = 0;
    int slowSeconds = 0, fastSeconds = 0;
    for (std::size_t tick = 0; tick + 12 < run.speeds.size(); tick += 10) {
        if (run.speeds[tick] > 12 && run.speeds[tick] < 22) {
            slow += crossingsAfterTick(run, tick);
            ++slowSeconds;
        }
        if (run.speeds[tick] > 50 && run.speeds[tick] < 62) {
            fast += crossingsAfterTick(run, tick);
            ++fastSeconds;
        }
    }
    ASSERT_GT(slowSeconds, 0);
    ASSERT_GT(fastSeconds, 0);
    EXPECT_GT(fast / fastSeconds, 1.5 * slow / slowSeconds);
}

}  // namespace
