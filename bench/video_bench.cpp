// Benchmark: frame access on the demo line's video, frame after frame as the
// train runs and at random as after a jump.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "demo_folder.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"

namespace {

using cabdrive::FfmpegVideoReader;

// The frames come at the video's own size (argument 0) or stretched to a
// view of that width with a 4:3 picture, as the cab surface asks.
void openDemoVideo(FfmpegVideoReader& reader, benchmark::State& state)
{
    reader.setFrameSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(0) * 3 / 4));
    if (!reader.open(cabdrive::bench::demoFolder() + "video/line_down.avi"))
        state.SkipWithError("the demo video cannot be opened");
}

void BM_SequentialFrame(benchmark::State& state)
{
    FfmpegVideoReader reader;
    openDemoVideo(reader, state);
    std::int32_t frame = 0;
    for (auto _ : state) {
        if (frame == reader.frameCount()) {
            // Back to the start without timing the seek there.
            state.PauseTiming();
            frame = 0;
            reader.decodeFrame(frame++);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(reader.decodeFrame(frame++));
    }
}
BENCHMARK(BM_SequentialFrame)->Unit(benchmark::kMicrosecond)->Arg(0)->Arg(800);

void BM_RandomFrame(benchmark::State& state)
{
    FfmpegVideoReader reader;
    openDemoVideo(reader, state);
    std::mt19937 generator(7);
    std::uniform_int_distribution<std::int32_t> anyFrame(0, std::max(0, reader.frameCount() - 1));
    std::vector<std::int32_t> frames(4096);
    for (std::int32_t& frame : frames)
        frame = anyFrame(generator);
    std::size_t next = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.decodeFrame(frames[next++ % frames.size()]));
}
BENCHMARK(BM_RandomFrame)->Unit(benchmark::kMicrosecond)->Arg(0)->Arg(800);

}  // namespace
