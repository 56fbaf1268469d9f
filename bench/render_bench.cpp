// Benchmark: one pass of the render loop at the main window's size on the
// demo line (video frame, texts, every cab sprite, needles, clock), offscreen.
// CPU time is the whole process's: Qt scales large images on helper threads.
// The core headers come before any Qt header: Qt's "signals" keyword would
// otherwise rename the run's and the route's signal tables.
#include "sim/run.h"

namespace {
// Written here, before Qt's keyword can rename it.
cabdrive::SignalState& signalLines(cabdrive::RunState& state)
{
    return state.signals;
}
}  // namespace

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <filesystem>
#include <memory>
#include <optional>

#include "data/data_folder.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "demo_folder.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/qt/qimage_picture_loader.h"
#include "platform/qt/scene_renderer.h"
#include "sim/shell_requests.h"
#include "sim/timetable_clock.h"
#include "sim/video_switch.h"
#include "sound/null_sound_device.h"
#include "view/cab_panel_build.h"
#include "view/render_pass.h"

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
        : folder(locateDataFolder(bench::demoFolder(), "")),
          settings(loadSettings(folder.programFolder)),
          vehicle(loadVehicle(folder.vehicleFolder, folder.trainFileName, pictures)),
          route(loadRouteFor(folder, "line_down.dat", vehicle, pictures))
    {
        checkVehicleAfterLoading(vehicle);
        buildCabPanel(scene, vehicle, *route, settings, folder, pictures);
        run.emplace(Run{settings, vehicle, *route, scene, sound, video, shell, {}, {}});
        startRun(*run, 0);
        // The video folder is relative to the data folder, the program's current directory.
        std::filesystem::current_path(folder.programFolder);
        video.setFrameSize(settings.viewWidth, settings.viewHeight);  // as the cab surface asks
        videoOpen = openMainVideo(*run);
        timecalc(*run, 10 * 108000 + 1234);
        run->options.Information = 0;
        run->state.messageText = "停止位置を修正してください";
        signalLines(run->state).limitText1 = "45km/h 制限まで 350m";
        signalLines(run->state).protectionText1 = "ATS-P 常用ブレーキ";
        run->state.video.currentFrame = 300;
        run->state.video.targetCurrent = 250;
    }

    QImagePictureLoader pictures;
    DataFolder folder;
    Settings settings;
    VehicleSpec vehicle;
    std::unique_ptr<RouteData> route;
    Scene scene;
    NullSoundDevice sound;
    FfmpegVideoReader video;
    NullShellRequests shell;
    std::optional<Run> run;
    bool videoOpen = false;
};

// The frame stays: what a pass costs while the train stands.
void BM_ComposePass(benchmark::State& state)
{
    ensureGuiApplication();
    DemoView demo;
    if (!demo.videoOpen)
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
    if (!demo.videoOpen)
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

}  // namespace
