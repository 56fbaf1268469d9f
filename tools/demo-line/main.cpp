// demo-line OUTPUT_FOLDER [REPORT_FILE]: generates the demo data folder
// (settings, controller map, vehicles with their cab panels, both route files,
// pictures, sounds and videos) and reports what it wrote and how long it took,
// on standard output and, when given, in REPORT_FILE.
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <future>
#include <iostream>

#include "data_text_file.h"
#include "line_model.h"
#include "route_pictures.h"
#include "route_writer.h"
#include "settings_writer.h"
#include "sound_catalogue.h"
#include "title_media.h"
#include "vehicle_writer.h"
#include "video_writer.h"

namespace {

using namespace cabdrive::demo;
namespace fs = std::filesystem;

struct DirectionPlan {
    Direction direction;
    LineGeometry line;
    FilmingRun run;
    Timetable timetable;
};

DirectionPlan plan(Direction d)
{
    LineGeometry line = lineFor(d);
    FilmingRun run = filmRun(line);
    Timetable timetable = makeTimetable(line, run, firstDepartureTicks(d));
    return {d, std::move(line), std::move(run), std::move(timetable)};
}

std::uintmax_t folderBytes(const fs::path& folder, std::size_t& files)
{
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            bytes += entry.file_size();
            ++files;
        }
    return bytes;
}

int generate(const std::string& folder, const char* reportFile)
{
    const auto started = std::chrono::steady_clock::now();
    fs::create_directories(fs::path(folder) / "video");
    const DirectionPlan down = plan(Direction::down);
    const DirectionPlan up = plan(Direction::up);

    // The videos take longest: one thread per direction, the rest meanwhile.
    const std::string videos = (fs::path(folder) / "video").string();
    auto downVideo = std::async(std::launch::async, [&] { return writeDirectionVideos(videos, down.direction, down.line, down.run); });
    auto upVideo = std::async(std::launch::async, [&] { return writeDirectionVideos(videos, up.direction, up.line, up.run); });

    SoundCatalogue sounds;
    const RouteSounds routeSounds(down.line, sounds);
    const Callouts callouts = makeCallouts(limitSignSpeeds(down.line), sounds);
    writeSettingsFiles(folder, down.line, demoVehicles());
    writeVehicles(folder, sounds);
    for (const DirectionPlan* d : {&down, &up}) {
        const RouteInput input{d->direction, &d->line, &d->run, &d->timetable, &routeSounds, &callouts};
        const char* file = d->direction == Direction::down ? "line_down.dat" : "line_up.dat";
        writeDataText(folder + "/" + file, routeFileText(input));
        writeRoutePictures(folder, d->direction, d->line, d->timetable);
    }
    writeTitleMedia(folder, down.line.name, "下り 港浜行", "上り 若葉台行");
    sounds.writeAll(folder, 1);

    const int downFrames = downVideo.get();
    const int upFrames = upVideo.get();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::size_t files = 0;
    const std::uintmax_t bytes = folderBytes(folder, files);
    char report[1024];
    std::snprintf(report, sizeof report,
                  "demo-line: wrote %s\n"
                  "  line %s: %.1f km, %zu stations; videos: down %d frames, up %d frames (with clips)\n"
                  "  %zu sound files, 3 vehicles, 2 route files\n"
                  "  %zu files, %.1f MB, in %.1f s\n",
                  folder.c_str(), down.line.name.c_str(), down.line.lengthM / 1000, down.line.stations.size(), downFrames,
                  upFrames, sounds.size(), files, static_cast<double>(bytes) / 1e6, seconds);
    std::fputs(report, stdout);
    if (reportFile != nullptr)
        writeBytes(reportFile, report);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: demo-line OUTPUT_FOLDER [REPORT_FILE]\n"
                     "Generates the demo line's data folder (settings, vehicles, routes, pictures, sounds, videos).\n";
        return 2;
    }
    // Pictures are painted with Qt; no display is needed.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    try {
        return generate(argv[1], argc == 3 ? argv[2] : nullptr);
    } catch (const std::exception& e) {
        std::cerr << "demo-line: " << e.what() << "\n";
        return 1;
    }
}
