// Benchmark: loading a route file with every table at its capacity, then
// deriving its distances (the set-up a run waits for).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

#include "data/route_distances.h"
#include "data/route_file.h"
#include "support/fake_picture_loader.h"

namespace {

namespace fs = std::filesystem;
using namespace cabdrive;

constexpr int speedUnitRows = 30000;
constexpr int framesPerUnit = 10;
constexpr int lastFrame = speedUnitRows * framesPerUnit;

// n integers: the frame-like value `frame` in column `frameColumn`, small values elsewhere.
std::string intRow(int n, int frameColumn, int frame)
{
    std::string row;
    for (int k = 1; k <= n; ++k) {
        if (k > 1)
            row += ',';
        row += std::to_string(k == frameColumn ? frame : k);
    }
    return row;
}

// `count` rows, the k-th (from 0) given by `row`, and the closing "#" line.
std::string rows(int count, const std::function<std::string(int)>& row)
{
    std::string text;
    for (int k = 0; k < count; ++k)
        text += row(k) + "\n";
    return text + "#\n";
}

std::string table(const std::string& key, int count, const std::function<std::string(int)>& row)
{
    return key + "\n" + rows(count, row);
}

// Spread `count` positions over the whole video.
int frameOf(int k, int count)
{
    return static_cast<int>(static_cast<long long>(k) * lastFrame / count);
}

std::string intTable(const std::string& key, int count, int columns, int frameColumn)
{
    return table(key, count, [=](int k) { return intRow(columns, frameColumn, frameOf(k, count)); });
}

std::string fullRouteText()
{
    std::string text = "[LineName]\nbench line\n[StartPos]\n0\n[Friction]\n0.3\n[DataName]\nbench\n"
                       "[Perspective]\n1.0\n0\n[OneMan]\n1\n[TunnelR]\n300\n";
    text += table("[StafSwitch]", 10, [](int k) { return std::to_string(k); });
    text += table("[MovieStop]", 101, [](int k) { return std::to_string(lastFrame - k); });
    text += table("[MovieSwitch]", 100, [](int k) { return "2,0,0,clip" + std::to_string(k) + ",90,1,975000,30,1"; });
    text += table("[Speed_Signal]", 12, [](int k) { return std::to_string(k * 10); });
    text += "[Pre_Train]\n0,0\n" + rows(999, [](int k) { return std::to_string(k % 501) + ",60,972000"; });
    text += table("[SoundData]", 100, [](int k) { return "wav\\s" + std::to_string(k) + ".wav"; });
    text += "[Announce]\n0\n" + rows(499, [](int k) { return intRow(4, 3, k % 501); });
    text += "[KankoSound1]\n";
    for (int k = 0; k < 22; ++k)
        text += "kanko\\k" + std::to_string(k) + ".wav\n";
    text += table("[KankoSound2]", 478, [](int k) { return "kanko\\n" + std::to_string(k) + ".wav"; });
    text += intTable("[Sound]", 501, 8, 2);
    text += intTable("[Sound2]", 501, 3, 0);
    text += intTable("[Doppler]", 501, 5, 2);
    text += intTable("[Tunnel]", 501, 3, 1);
    text += intTable("[Atten]", 501, 4, 1);
    text += table("[Station]", 501, [](int k) {
        return "station " + std::to_string(k) + "," + std::to_string(k % 3) + "," + std::to_string(frameOf(k, 501)) +
               ",200,0,1,2,972000,80,1,0,0,0,0,100";
    });
    text += table("[StopSound]", 501, [](int k) { return std::to_string(k); });
    text += intTable("[Signal]", 501, 22, 6);
    text += intTable("[TrafficSignal]", 501, 26, 1);
    text += table("[Slope]", 501, [](int k) { return "-3.5," + std::to_string(frameOf(k, 501)) + ",0"; });
    text += intTable("[Sign]", 501, 4, 2);
    text += intTable("[Anim]", 501, 4, 1);
    text += intTable("[SignalKanko]", 501, 3, 0);
    text += intTable("[StationKanko]", 501, 3, 0);
    text += intTable("[SpeedLimit]", 501, 6, 4);
    text += intTable("[SpeedCheck1]", 501, 4, 3);
    text += intTable("[SpeedCheck2]", 501, 4, 3);
    text += "[SignImageList]\n";
    for (int k = 0; k < 8; ++k)
        text += "image\\sign.bmp,32\n";
    text += "[SignalImageList]\n520,40,20,40,image\\signal.bmp\n10,10,image\\sub.bmp\n10,10,image\\sub.bmp\n"
            "10,10,image\\sub.bmp\n";
    text += table("[OtherKanko]", 1000, [](int k) { return "kanko\\o" + std::to_string(k) + ".wav"; });
    text += table("[LimitKanko]", 1000, [](int k) { return "kanko\\l" + std::to_string(k) + ".wav"; });
    text += table("[AnimImageList]", 10, [](int) { return "image\\anim.bmp"; });
    text += table("[TrafficSignalImageList]", 10, [](int) { return "image\\anim.bmp"; });
    // Ascending and gap-free: each row starts where the one before it ends.
    text += table("[SpeedUnit]", speedUnitRows, [](int k) {
        return std::to_string(k * framesPerUnit) + "," + std::to_string((k + 1) * framesPerUnit) + "," +
               std::to_string(40 + k % 50) + ".25," + std::to_string(40 + (k + 1) % 50) + ".25";
    });
    text += table("[CrossImageList]", 10, [](int) { return "image\\sign.bmp"; });
    text += intTable("[Cross]", 1000, 5, 3);
    text += intTable("[Time]", 100, 3, 1);
    text += intTable("[Switch]", 495, 2, 1);
    return text;
}

void RouteLoadAndDerive(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / ("cabdrive-route-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "line_down.dat", std::ios::binary) << fullRouteText();

    test::FakePictureLoader pictures;
    pictures.add("sign.bmp", 32, 32);
    pictures.add("signal.bmp", 80, 40);
    pictures.add("sub.bmp", 30, 10);
    pictures.add("anim.bmp", 100, 75);
    const RouteSource source{folder.string() + "/", "line_down.dat", "train.dat", 40};

    for (auto _ : state) {
        auto route = loadRoute(source, pictures);
        deriveDistances(*route);
        benchmark::DoNotOptimize(route->patternTargets.size());
        pictures.requested.clear();
    }
    state.counters["file_kB"] = static_cast<double>(fs::file_size(folder / "line_down.dat")) / 1024.0;
    fs::remove_all(folder);
}

BENCHMARK(RouteLoadAndDerive)->Unit(benchmark::kMillisecond);

}  // namespace
