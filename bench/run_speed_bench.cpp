// Benchmark: simulated seconds per wall-clock second for a run in which the
// driver powers and brakes again and again on the fixture line.
#include <benchmark/benchmark.h>

#include <chrono>

#include "input/driver_keys.h"
#include "platform/openal/silent_sound_device.h"
#include "platform/qt/qimage_picture_loader.h"
#include "ports/memory_key_value_store.h"
#include "ports/shell_requests.h"
#include "ports/video_reader.h"
#include "run/run_builder.h"
#include "run/scheduler.h"

namespace {

using namespace std::chrono_literals;
using namespace cabdrive;

void BM_SimulatedSecondsPerSecond(benchmark::State& state)
{
    QImagePictureLoader pictures;
    NullVideoReader video;
    NullShellRequests shell;
    MemoryKeyValueStore store;
    const DataFolder folder = locateDataFolder(std::string(CABDRIVE_TEST_DATA) + "/check", "");

    constexpr int cycleSeconds = 40;  // 20 s of power, then the brake until the next cycle
    std::int64_t simulatedSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SilentSoundDevice sound;  // its clock starts with the run's
        const auto loaded = loadRun(folder, {}, {pictures, sound, video, shell, store});
        Run& run = *loaded->run;
        state.ResumeTiming();
        Scheduler scheduler(run);
        scheduler.beforeTick = [&] { sound.advanceTo(scheduler.simulatedTime()); };
        scheduler.start();
        for (int second = 0; second < 3600; ++second) {
            switch (second % cycleSeconds) {
            case 0:
                AsciiDown(run, '5');
                for (int notch = 0; notch < 4; ++notch)
                    AsciiDown(run, 'z');
                break;
            case cycleSeconds / 2:
                AsciiDown(run, '5');
                for (int notch = 0; notch < 5; ++notch)
                    AsciiDown(run, '.');
                break;
            default:
                break;
            }
            scheduler.advanceBy(1s);
        }
        simulatedSeconds += 3600;
        benchmark::DoNotOptimize(run.state.dynamics.trainPosition);
    }
    state.counters["simulated_s_per_s"] = benchmark::Counter(static_cast<double>(simulatedSeconds), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulatedSecondsPerSecond)->Unit(benchmark::kMillisecond);

}  // namespace
