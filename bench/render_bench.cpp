// Benchmark: one pass of the render loop at the main window's size on the
// demo line (video frame, texts, every cab sprite, needles, clock), offscreen.
// CPU time is the whole process's: Qt scales large images on helper threads.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

#include <memory>

#include "demo_folder.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/openal/silent_sound_device.h"
#include "platform/qt/qimage_picture_loader.h"
#include "platform/qt/scene_renderer.h"
#include "ports/memory_key_value_store.h"
#include "ports/shell_requests.h"
#include "run/run_builder.h"
#include "sim/timetable_clock.h"
#include "view/render_pass.h"
#include "view/view_snapshot.h"

namespace {

using namespace cabdrive;

constexpr int surfaceWidth = 800, surfaceHeight = 760;  // the cab surface

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "cabdrive_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// The demo train on the down line, its panel built and its video open, with
// every text of the view filled in.
struct DemoView {
    DemoView()
    {
        video.setFrameSize(800, 600);  // the demo's view, as the cab surface asks
        loaded = loadRun(locateDataFolder(bench::demoFolder(), ""), {}, {pictures, sound, video, shell, store});
        run = &*loaded->run;
        timecalc(*run, 10 * 108000 + 1234);
        run->options.Information = 0;
        run->state.presentation.messageText = "停止位置を修正してください";
        run->state.signals.limitText1 = "45km/h 制限まで 350m";
        run->state.signals.protectionText1 = "ATS-P 常用ブレーキ";
        run->state.video.currentFrame = 300;
        run->state.presentation.targetCurrent = 250;
    }

    QImagePictureLoader pictures;
    SilentSoundDevice sound;
    FfmpegVideoReader video;
    NullShellRequests shell;
    MemoryKeyValueStore store;
    std::unique_ptr<LoadedRun> loaded;
    Run* run = nullptr;
};

// The frame stays: what a pass costs while the train stands.
void BM_ComposePass(benchmark::State& state)
{
    ensureGuiApplication();
    DemoView demo;
    if (!demo.loaded->mainVideoOpened)
        state.SkipWithError("the demo video cannot be opened");
    SceneRenderer renderer(surfaceWidth, surfaceHeight);
    for (auto _ : state) {
        beginRenderPass(*demo.run);
        renderer.compose(*demo.run, demo.video.frame());
    }
    benchmark::DoNotOptimize(renderer.backBuffer().constBits());
}
BENCHMARK(BM_ComposePass)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// A new frame every pass: what a pass costs while the train runs.
void BM_ComposePassWithNextFrame(benchmark::State& state)
{
    ensureGuiApplication();
    DemoView demo;
    if (!demo.loaded->mainVideoOpened)
        state.SkipWithError("the demo video cannot be opened");
    SceneRenderer renderer(surfaceWidth, surfaceHeight);
    VideoState& video = demo.run->state.video;
    for (auto _ : state) {
        if (++video.currentFrame >= video.highestFrame)
            video.currentFrame = 0;
        beginRenderPass(*demo.run);
        renderer.compose(*demo.run, demo.video.frame());
    }
    benchmark::DoNotOptimize(renderer.backBuffer().constBits());
}
BENCHMARK(BM_ComposePassWithNextFrame)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// Nothing changed since the pass before: the pass takes its snapshot of the
// view, finds it equal to the one shown, and composes nothing.
void BM_UnchangedPass(benchmark::State& state)
{
    ensureGuiApplication();
    DemoView demo;
    beginRenderPass(*demo.run);
    const ViewSnapshot shown = snapshotView(*demo.run, demo.video.frame().revision, 0);
    for (auto _ : state) {
        beginRenderPass(*demo.run);
        const bool same = snapshotView(*demo.run, demo.video.frame().revision, 0) == shown;
        benchmark::DoNotOptimize(same);
    }
}
BENCHMARK(BM_UnchangedPass)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// Showing a composed picture on a 1920 x 1080 screen in full screen: the cab
// scaled smoothly to 1.39 times its size (the window's menu bar above it).
void BM_ShowScaledFullScreen(benchmark::State& state)
{
    ensureGuiApplication();
    DemoView demo;
    SceneRenderer renderer(surfaceWidth, surfaceHeight);
    beginRenderPass(*demo.run);
    renderer.compose(*demo.run, demo.video.frame());
    QImage screen(1112, 1056, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(screen.rect(), renderer.backBuffer());
    }
    benchmark::DoNotOptimize(screen.constBits());
}
BENCHMARK(BM_ShowScaledFullScreen)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace
