// Benchmark: the cost of the run's sound. The mixing of all 320 channels
// through the loopback device, and a whole careful drive on the demo line
// silent and with its sound written to a WAV file, as shares of one core.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string_view>

#include "careful_driver.h"
#include "demo_folder.h"
#include "headless_run.h"
#include "platform/openal/openal_sound_device.h"
#include "platform/openal/silent_sound_device.h"
#include "platform/qt/qimage_picture_loader.h"
#include "ports/memory_key_value_store.h"
#include "ports/shell_requests.h"
#include "ports/video_reader.h"
#include "run/run_builder.h"
#include "run/scheduler.h"
#include "state/run.h"
#include "support/temp_folder.h"

namespace {

using namespace cabdrive;

constexpr int mixRate = 48000;  // Hz, stereo, as cabdrive-run --wav mixes

// 1 s of a 440 Hz tone, mono 16-bit at 22 050 Hz.
std::string toneWave()
{
    constexpr std::uint32_t rate = 22050, bytes = rate * 2;
    std::string wave = "RIFF";
    const auto put = [&wave](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            wave.push_back(static_cast<char>(value >> (8 * i) & 0xff));
    };
    put(36 + bytes, 4);
    wave += "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    wave += "data";
    put(bytes, 4);
    for (std::uint32_t i = 0; i < rate; ++i)
        put(static_cast<std::uint16_t>(std::lround(12000 * std::sin(2 * M_PI * 440 * i / rate))), 2);
    return wave;
}

// Every channel loops at a pitch of 0.5 to 2 and a volume of -30 to 0 dB;
// one iteration mixes one second.
void BM_MixingOf320LoopedChannels(benchmark::State& state)
{
    test::TempFolder folder;
    folder.write("tone.wav", toneWave());
    RunSoundOutput sound(OpenAlOutput::Device::loopback, mixRate);
    std::mt19937 random(13);
    std::uniform_real_distribution<double> pitch(0.5, 2.0);
    std::uniform_int_distribution<int> volume(-3000, 0);
    for (std::size_t channel = 0; channel < OpenAlSoundDevice::channels; ++channel) {
        sound.channels.load(channel, folder.folder() + "tone.wav");
        sound.channels.setFrequencyRatio(channel, pitch(random));
        sound.channels.setVolume(channel, volume(random));
        sound.channels.play(channel, true);
    }
    if (sound.channels.sourcedChannels() < OpenAlSoundDevice::channels)
        state.SkipWithError("fewer sources than channels");
    for (auto _ : state)
        benchmark::DoNotOptimize(sound.output.render(mixRate).data());
    // CPU seconds per second of sound: the share of one core.
    state.counters["core_share"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixingOf320LoopedChannels)->Unit(benchmark::kMillisecond);

// The careful driver from the first station to the last on the down line,
// loading included; argument 1 writes the sound to a WAV file.
void BM_DemoDrive(benchmark::State& state)
{
    test::TempFolder folder;
    HeadlessRunOptions options;
    options.dataFolder = bench::demoFolder();
    options.drive = true;
    if (state.range(0) == 1)
        options.wavFile = folder.folder() + "run.wav";
    QImagePictureLoader pictures;
    NullVideoReader video;
    double simulated = 0;  // s
    for (auto _ : state) {
        MemoryKeyValueStore store;
        std::ostringstream out, err;
        if (runHeadless(options, pictures, video, store, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
        simulated += std::stod(out.str().substr(std::string_view("ran ").size()));  // "ran 590.2 s: ..."
    }
    state.counters["simulated_s_per_s"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
    state.counters["core_share"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DemoDrive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same drive without its loading, silent: how fast cabdrive-run
// simulates with the sound control in every tick.
void BM_DemoDriveSimulation(benchmark::State& state)
{
    QImagePictureLoader pictures;
    NullVideoReader video;
    NullShellRequests shell;
    MemoryKeyValueStore store;
    const DataFolder folder = locateDataFolder(bench::demoFolder(), "");
    double simulated = 0;  // s
    for (auto _ : state) {
        state.PauseTiming();
        SilentSoundDevice sound;
        const auto loaded = loadRun(folder, {}, {pictures, sound, video, shell, store});
        Run& run = *loaded->run;
        Scheduler scheduler(run);
        scheduler.beforeTick = [&] { sound.advanceTo(scheduler.simulatedTime()); };
        scheduler.afterTick = [&] {
            if (run.state.stations.runEnded)
                scheduler.pause();
        };
        CarefulDriver driver(run);
        state.ResumeTiming();
        scheduler.start();
        while (scheduler.running()) {
            driver.actOnce();
            scheduler.advanceBy(std::chrono::milliseconds(100));
        }
        simulated += std::chrono::duration<double>(scheduler.runningTime()).count();
    }
    state.counters["simulated_s_per_s"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DemoDriveSimulation)->Unit(benchmark::kMillisecond);

}  // namespace
