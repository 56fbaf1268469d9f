// Bad media: a route video, a picture or a sound that is cut short, empty or
// garbage gives the program's message for that file, or the run goes on
// without it, in cabdrive-check, cabdrive-run and the program alike; never a
// crash, a hang or a run that eats memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "data_folder_check.h"
#include "headless_run.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/qt/qimage_picture_loader.h"
#include "ports/memory_key_value_store.h"
#include "shell/main_window_fixture.h"

namespace cabdrive::test {
namespace {

namespace fs = std::filesystem;

const fs::path demoVideo = fs::path(CABDRIVE_DEMO_FOLDER) / "video" / "line_down.avi";
constexpr const char* panelPicture = "panel/e231/panel.bmp";  // [Panel] of the default train
constexpr const char* notchStrip = "panel/e231/notchimagep.bmp";
constexpr const char* signalPicture = "image/signal/signal.bmp";
constexpr const char* firstMelody = "sound/line/melody0.wav";  // the first station's departure melody

std::string garbage(std::size_t size)
{
    std::mt19937 random(17);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

std::string fileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A 24-bit BMP header for width x height px, then one pixel: whole for 1 x 1,
// a promise of gigabytes the file does not keep for 20 000 x 20 000.
std::string bitmap(std::uint32_t width, std::uint32_t height)
{
    std::string bytes(58, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
    };
    bytes.replace(0, 2, "BM");
    put(2, 58);       // file size
    put(10, 54);      // where the pixels start
    put(14, 40);      // header size
    put(18, width);
    put(22, height);
    put(26, 1 | 24 << 16);  // one plane, 24 bits per pixel
    return bytes;
}

// The demo line with some files replaced; everything else is a symbolic link
// into the generated folder, so that no video is copied.
class BrokenDemo {
public:
    explicit BrokenDemo(std::map<std::string, std::string> replaced) : m_replaced(std::move(replaced))
    {
        mirror(CABDRIVE_DEMO_FOLDER, m_temp.path(), "");
        for (const auto& [path, bytes] : m_replaced)
            m_temp.write(path, bytes);
    }
    std::string folder() const { return m_temp.folder(); }

private:
    void mirror(const fs::path& from, const fs::path& to, const std::string& prefix)
    {
        for (const auto& entry : fs::directory_iterator(from)) {
            const std::string path = prefix + entry.path().filename().string();
            if (m_replaced.contains(path))
                continue;
            const bool holdsReplaced = std::any_of(m_replaced.begin(), m_replaced.end(),
                                                   [&](const auto& r) { return r.first.starts_with(path + "/"); });
            if (holdsReplaced) {
                fs::create_directory(to / entry.path().filename());
                mirror(entry.path(), to / entry.path().filename(), path + "/");
            } else {
                fs::create_symlink(entry.path(), to / entry.path().filename());
            }
        }
    }

    std::map<std::string, std::string> m_replaced;
    TempFolder m_temp;
};

struct Outcome {
    int status = 0;
    std::string out, err;
};

Outcome checkFolder(const std::string& folder)
{
    QImagePictureLoader pictures;
    FfmpegVideoReader video;
    std::ostringstream out, err;
    const int status = checkDataFolder({folder, "", false}, pictures, video, out, err);
    return {status, out.str(), err.str()};
}

// A minute of the careful driver, who leaves the first station.
Outcome runFolder(const std::string& folder)
{
    HeadlessRunOptions options;
    options.dataFolder = folder;
    options.drive = true;
    options.seconds = 60;
    QImagePictureLoader pictures;
    FfmpegVideoReader video;
    std::ostringstream out, err;
    MemoryKeyValueStore store;
    const int status = runHeadless(options, pictures, video, store, out, err);
    return {status, out.str(), err.str()};
}

std::string videoMessage(const std::string& folder)
{
    return "映像ファイルを開けません" + folder + "video/line_down.avi";
}

class BadMedia : public MainWindowTest {
protected:
    // cabdrive-check, cabdrive-run and the program all stop with the message
    // of the broken file, which starts so.
    void expectRefusedEverywhere(const BrokenDemo& demo, const std::string& message)
    {
        const Outcome check = checkFolder(demo.folder());
        EXPECT_EQ(check.status, 1);
        EXPECT_TRUE(check.err.starts_with(message)) << check.err;
        const Outcome headless = runFolder(demo.folder());
        EXPECT_EQ(headless.status, 1);
        EXPECT_TRUE(headless.err.starts_with(message)) << headless.err;
        MainWindow& w = open(startup(demo.folder()));
        EXPECT_FALSE(w.loaded());
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_TRUE(messages.texts[0].toStdString().starts_with(message)) << messages.texts[0].toStdString();
        messages.texts.clear();
        window.reset();
    }
};

TEST_F(BadMedia, AnEmptyOrGarbageVideoIsReportedAndTheRunGoesOnWithoutPictures)
{
    for (const std::string& bytes : {std::string(), garbage(200000)}) {
        const BrokenDemo demo({{"video/line_down.avi", bytes}});
        const Outcome check = checkFolder(demo.folder());
        EXPECT_EQ(check.status, 0) << check.err;
        EXPECT_NE(check.out.find("warning: line_down.dat: the video " + demo.folder() + "video/line_down.avi cannot be opened"),
                  std::string::npos)
            << check.out;
        const Outcome headless = runFolder(demo.folder());
        EXPECT_EQ(headless.status, 0) << headless.err;
        EXPECT_NE(headless.out.find("message: " + videoMessage(demo.folder())), std::string::npos) << headless.out;

        MainWindow& w = open(startup(demo.folder()));
        EXPECT_TRUE(w.loaded());
        EXPECT_EQ(messages.texts, (std::vector<QString>{QString::fromStdString(videoMessage(demo.folder()))}));
        messages.texts.clear();
        window.reset();
    }
}

// The header still counts every frame; the pictures stop half way.
TEST_F(BadMedia, AVideoCutInHalfIsWarnedOfAndItsLostFramesLeaveTheLastPicture)
{
    const BrokenDemo demo({{"video/line_down.avi", fileBytes(demoVideo).substr(0, fs::file_size(demoVideo) / 2)}});
    const Outcome check = checkFolder(demo.folder());
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_NE(check.out.find("cannot be decoded: the view stops changing there"), std::string::npos) << check.out;
    const Outcome headless = runFolder(demo.folder());
    EXPECT_EQ(headless.status, 0) << headless.err;
    EXPECT_EQ(headless.out.find("message:"), std::string::npos) << headless.out;

    MainWindow& w = open(startup(demo.folder()));
    ASSERT_TRUE(w.loaded());
    EXPECT_TRUE(messages.texts.empty());
    // Frames beyond the cut are asked for and fail; drawing goes on.
    for (const std::int32_t frame : {12000, 11000, 100}) {
        run().state.video.currentFrame = frame;
        EXPECT_TRUE(runEventsUntil([&] { return run().state.presentation.lastDecodedFrame == frame; })) << frame;
    }
}

// A third of the file overwritten: FFmpeg hides the damage in the picture.
TEST_F(BadMedia, AVideoDamagedInsideIsWarnedOfAndStillRuns)
{
    std::string bytes = fileBytes(demoVideo);
    const std::string noise = garbage(bytes.size() / 3);
    bytes.replace(bytes.size() / 3, noise.size(), noise);
    const BrokenDemo demo({{"video/line_down.avi", bytes}});
    const Outcome check = checkFolder(demo.folder());
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_NE(check.out.find("warning: line_down.dat: the video " + demo.folder() + "video/line_down.avi is damaged"),
              std::string::npos)
        << check.out;
    EXPECT_EQ(runFolder(demo.folder()).status, 0);
    MainWindow& w = open(startup(demo.folder()));
    ASSERT_TRUE(w.loaded());
    run().state.video.currentFrame = 6000;
    EXPECT_TRUE(runEventsUntil([&] { return run().state.presentation.lastDecodedFrame == 6000; }));
}

// A picture the program cannot make stops it with that picture's message: a
// garbage file, and one whose header promises more pixels than any panel
// needs (refused before anything is allocated).
TEST_F(BadMedia, AGarbageOrHugePanelPictureStopsCheckRunAndProgramAlike)
{
    for (const std::string& bytes : {garbage(5000), bitmap(20000, 20000)})
        expectRefusedEverywhere(BrokenDemo({{panelPicture, bytes}}), "panel\\e231\\panel.bmpの生成エラー");
}

// One pixel loads, but shows no notch and no signal: the check says so.
TEST_F(BadMedia, OnePixelStripsAndSignalsLoadAndAreWarnedOf)
{
    const BrokenDemo demo({{notchStrip, bitmap(1, 1)}, {signalPicture, bitmap(1, 1)}});
    const Outcome check = checkFolder(demo.folder());
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_NE(check.out.find("warning: train_E231_5B.dat: [NotchImageP] picture panel\\e231\\notchimagep.bmp is 1 x 1 px"),
              std::string::npos)
        << check.out;
    EXPECT_NE(check.out.find("warning: line_down.dat: [SignalImageList] signal picture image\\signal\\signal.bmp is 1 x 1 px"),
              std::string::npos)
        << check.out;
    EXPECT_EQ(runFolder(demo.folder()).status, 0);
    EXPECT_TRUE(open(startup(demo.folder())).loaded());
}

// A sound that is empty or no WAV at all is refused with its path.
TEST_F(BadMedia, AnEmptyOrGarbageSoundStopsCheckRunAndProgramAlike)
{
    for (const std::string& bytes : {std::string(), garbage(30000)}) {
        const BrokenDemo demo({{firstMelody, bytes}});
        expectRefusedEverywhere(demo, demo.folder() + "sound\\line\\melody0.wav: ");
    }
}

// A WAV written as a stream declares 0xFFFFFFFF bytes in its RIFF and data
// sizes, more than a day of sound. The melody lasts what the file holds: the run starts at the
// clock the intact melody gives, and the train leaves on time.
TEST_F(BadMedia, AMelodyWhoseHeaderDeclaresMoreThanItHoldsLastsWhatItHolds)
{
    std::string bytes = fileBytes(fs::path(CABDRIVE_DEMO_FOLDER) / firstMelody);
    const std::size_t data = bytes.find("data");
    ASSERT_TRUE(bytes.starts_with("RIFF") && data != std::string::npos);
    for (const std::size_t size : {std::size_t{4}, data + 4})
        bytes.replace(size, 4, "\xFF\xFF\xFF\xFF");
    const BrokenDemo demo({{firstMelody, bytes}});
    const Outcome check = checkFolder(demo.folder());
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.err, "");

    const Outcome streamed = runFolder(demo.folder());
    ASSERT_EQ(streamed.status, 0) << streamed.err;
    EXPECT_EQ(streamed.out, runFolder(CABDRIVE_DEMO_FOLDER).out);
    EXPECT_EQ(streamed.out.find("top speed 0.0 km/h"), std::string::npos) << streamed.out;
}

}  // namespace
}  // namespace cabdrive::test
