// Rendering the route videos.
#include "video_writer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "avi_writer.h"
#include "route_writer.h"

namespace cabdrive::demo {

namespace {

constexpr double platformBehindM = 115;  // a platform runs back from the stopping point
constexpr double platformAheadM = 15;

using Frame = std::vector<std::uint32_t>;

// The running clip was filmed in the rain: darker, greyer, with streaks.
void rainOver(Frame& frame, int frameIndex)
{
    for (std::uint32_t& px : frame) {
        const std::uint32_t r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
        const std::uint32_t grey = (r + g + b) / 3;
        const auto dull = [grey](std::uint32_t c) { return (c + grey) * 3 / 10 + 20; };
        px = 0xFF000000u | (dull(r) << 16) | (dull(g) << 8) | dull(b);
    }
    // Streaks from a fixed sequence, moving down with the frame.
    std::uint32_t seed = 2463534242u;
    for (int drop = 0; drop < 90; ++drop) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const int x = static_cast<int>(seed % videoWidth);
        const int y0 = static_cast<int>((seed / videoWidth + static_cast<std::uint32_t>(frameIndex) * 23u) % videoHeight);
        for (int k = 0; k < 9; ++k) {
            const int y = (y0 + k) % videoHeight, xx = std::min(videoWidth - 1, x + k / 3);
            std::uint32_t& px = frame[static_cast<std::size_t>(y * videoWidth + xx)];
            px = 0xFF000000u | (std::min<std::uint32_t>(255, ((px >> 16) & 0xFF) + 60) << 16)
                 | (std::min<std::uint32_t>(255, ((px >> 8) & 0xFF) + 60) << 8) | std::min<std::uint32_t>(255, (px & 0xFF) + 60);
        }
    }
}

std::string aviPath(const std::string& folder, const std::string& name)
{
    return folder + "/" + name + ".avi";
}

}  // namespace

TrackFeatures trackFeatures(const LineGeometry& line)
{
    TrackFeatures f;
    f.lengthM = line.lengthM;
    for (const StationSite& s : line.stations)
        f.platforms.push_back({s.positionM - platformBehindM, s.positionM + platformAheadM, s.platformLeft});
    f.tunnels = line.tunnels;
    f.levelCrossings = line.levelCrossings;
    f.pointsAt = line.points;
    f.heightAt = [line](double m) { return line.heightAt(m); };
    f.curveAt = [line](double m) { return line.curvatureAt(m); };
    f.poleSpacingM = 50;
    f.electrified = true;
    return f;
}

int writeDirectionVideos(const std::string& videoFolder, Direction direction, const LineGeometry& line, const FilmingRun& run)
{
    const TrackFeatures features = trackFeatures(line);
    Frame frame(static_cast<std::size_t>(videoWidth * videoHeight));
    const auto render = [&](double cameraM) { renderTrackView(features, cameraM, videoWidth, videoHeight, frame.data()); };

    AviWriter main(aviPath(videoFolder, mainVideoName(direction)), videoWidth, videoHeight, videoFramesPerSecond, 0);
    for (int f = 0; f < run.frameCount(); ++f) {
        render(run.metresAt(f));
        main.addFrame(frame.data());
    }
    main.finish();
    int written = main.framesWritten();

    // Standing at the clip's station: the train does not move.
    AviWriter station(aviPath(videoFolder, stationClipName(direction)), videoWidth, videoHeight, videoFramesPerSecond, 0);
    render(run.metresAt(run.stationFrames().at(stationClipStation)));
    for (int f = 0; f < stationClipFrames; ++f)
        station.addFrame(frame.data());
    station.finish();
    written += station.framesWritten();

    const ClipWindow window = runningClipWindow(line, run);
    AviWriter rain(aviPath(videoFolder, runningClipName(direction)), videoWidth, videoHeight, videoFramesPerSecond, 0);
    for (int k = 0; k <= window.lastFrame - window.firstFrame + 1; ++k) {
        render(run.metresAt(window.firstFrame + k));
        rainOver(frame, k);
        rain.addFrame(frame.data());
    }
    rain.finish();
    return written + rain.framesWritten();
}

}  // namespace cabdrive::demo
