// The route videos: the recorded run of each direction rendered frame by
// frame from the line model, and the two clips that replace it for a while.
#pragma once

#include <string>

#include "line_model.h"

namespace cabdrive::demo {

inline constexpr int videoWidth = 320, videoHeight = 240, videoFramesPerSecond = 30;

// What the renderer needs to know of the line.
TrackFeatures trackFeatures(const LineGeometry& line);

// Writes the main video of the direction and its station and running clips
// into videoFolder (a file-system folder). Returns the frames written.
int writeDirectionVideos(const std::string& videoFolder, Direction direction, const LineGeometry& line, const FilmingRun& run);

}  // namespace cabdrive::demo
