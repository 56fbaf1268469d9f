// The route's pictures: trackside signs and signals, the staff card, the
// opening picture, the route map, animations, crossings, road lights and the
// cab's train information monitor. Paths are relative to the data folder.
#pragma once

#include <string>
#include <vector>

#include "line_model.h"

namespace cabdrive::demo {

// Sizes in pixels of the view (800 x 600) and of the pictures' cells.
inline constexpr int viewWidth = 800;
inline constexpr int viewHeight = 600;
inline constexpr int stopMarkerSize = 64;
inline constexpr int stopLineSize = 8;
inline constexpr int slopeSignSize = 64;
inline constexpr int limitSignSize = 64;
inline constexpr int remainSize = 32;
// px of the view the remaining-distance ruler spans: below the stop marker,
// above the limit texts.
inline constexpr int remainRulerTop = stopMarkerSize + 16;
inline constexpr int remainRulerBottom = 400;
inline constexpr int otherSignSize = 64;
inline constexpr int signalX = 640, signalY = 150;        // where signals stand in the view
inline constexpr int signalWidth = 40, signalHeight = 100;
inline constexpr int subSignalSize = 30;
inline constexpr int monitorWidth = 200, monitorHeight = 60;
inline constexpr int windowCellWidth = 100, windowCellHeight = 75;  // animation and road light cells
inline constexpr int animationPhases = 14;

// Cells of the other-sign picture, by image number.
enum OtherSign { timeMarkerSign = 0, whistleSign = 1, stationApproachSign = 2, otherSignCount };
// Cells of the sub-signal plate picture: the kind of signal.
enum SignalPlate { noPlate = 0, departurePlate = 1, homePlate = 2, blockPlate = 3, repeaterPlate = 4, plateCount };
// Pictures of the road traffic light list.
enum RoadLight { roadDark = 0, roadGreen, roadYellow, roadRed, roadRedArrow, roadPedestrian, roadLightCount };

struct RoutePictureFiles {
    std::string stopMarker, stopLineS, stopLineM, stopLineE, slope, limit, remain, other;
    std::string signal, subSignalS, subSignalL, subSignalR;
    std::string stafCard, opening, subDisplay, monitor;
    std::vector<std::string> animation;  // phase 0 is blank, then the 14 phases
    std::vector<std::string> roadLights;  // by RoadLight
    std::vector<std::string> crossings;   // 0 nothing, 1 the crossing indicator
};

RoutePictureFiles routePictureFiles(Direction direction);

// The limit speeds in the order of their sign pictures (from 1); the
// release sign follows them.
std::vector<int> limitSignSpeeds(const LineGeometry& line);

// Paints every route picture of one direction into dataFolder.
void writeRoutePictures(const std::string& dataFolder, Direction direction, const LineGeometry& line,
                        const Timetable& timetable);

}  // namespace cabdrive::demo
