// The route file of one direction ("line_down.dat" or "line_up.dat"),
// derived from the line model and the recorded run.
#pragma once

#include <string>
#include <vector>

#include "line_model.h"
#include "route_pictures.h"
#include "sound_catalogue.h"

namespace cabdrive::demo {

inline constexpr const char* defaultTrainFile = "train_E231_5B.dat";

struct RouteInput {
    Direction direction = Direction::down;
    const LineGeometry* line = nullptr;
    const FilmingRun* run = nullptr;
    const Timetable* timetable = nullptr;
    const RouteSounds* sounds = nullptr;
    const Callouts* callouts = nullptr;
};

// Names of the videos of a direction, without folder and ".avi".
std::string mainVideoName(Direction direction);
std::string stationClipName(Direction direction);
std::string runningClipName(Direction direction);

// Where the running clip replaces the main video: main video frames
// [first, last]; the clip has last - first + 2 frames.
struct ClipWindow {
    int firstFrame = 0;
    int lastFrame = 0;
};
ClipWindow runningClipWindow(const LineGeometry& line, const FilmingRun& run);
inline constexpr int stationClipFrames = 150;
inline constexpr int stationClipStation = 1;  // the clip shows the stop at the second station

// A signal of the route, in the order the train meets them.
struct SignalSite {
    double positionM = 0;
    int headType = 0;   // 0 a repeater
    int plate = 0;      // SignalPlate
    int callout = 0;    // NamedCallout of its name
    int station = -1;   // the station a departure or home signal belongs to
    bool departure = false;
};
std::vector<SignalSite> signalSites(const LineGeometry& line);

std::string routeFileText(const RouteInput& in);

}  // namespace cabdrive::demo
