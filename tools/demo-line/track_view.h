// The driver's view of the track ahead, drawn for each frame of the route video.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace cabdrive::demo {

// The camera: level ground d m ahead is drawn at row
// cameraEyeRowShare x height + cameraFocalShare x width x cameraEyeHeightM / d.
inline constexpr double cameraFocalShare = 0.866;  // px per m at 1 m, of the picture's width: 60 degrees across
inline constexpr double cameraEyeRowShare = 0.42;  // row of the camera axis, of the picture's height
inline constexpr double cameraEyeHeightM = 3.0;    // camera above the rail head

struct Platform {
    double startM = 0, endM = 0;  // m along the line
    bool leftSide = true;
};

struct Range {
    double startM = 0, endM = 0;  // m along the line
};

struct TrackFeatures {
    double lengthM = 0;
    std::vector<Platform> platforms;
    std::vector<Range> tunnels;
    std::vector<double> levelCrossings;      // m
    std::vector<double> pointsAt;            // m, where a turnout lies
    std::function<double(double)> heightAt;  // m above datum at a position
    std::function<double(double)> curveAt;   // 1/m at a position, positive to the right
    double poleSpacingM = 50;                // catenary poles
    bool electrified = true;
};

// Draws the view from cameraM into argbOut (width x height, 0xAARRGGBB).
void renderTrackView(const TrackFeatures& line, double cameraM, int width, int height, std::uint32_t* argbOut);

}  // namespace cabdrive::demo
