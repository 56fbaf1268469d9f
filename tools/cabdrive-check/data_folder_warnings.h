// cabdrive-check's warnings: data that loads but cannot work as its author
// meant (a train that never moves, a notch table shifted by one, a video that
// ends early).
#pragma once

#include <string>
#include <vector>

#include "run/run_builder.h"

namespace cabdrive {

class PictureLoader;
class VideoReader;

// One warning per line, without the "warning: " the check puts before it.
using Warnings = std::vector<std::string>;

// The title screen's files under `folder` that the program goes on without:
// a menu picture (a caption takes its place), a title sound, the Help text.
void warnOfTitle(const std::string& folder, PictureLoader& pictures, Warnings& warnings);

// The settings file's screen and step values.
void warnOfSettings(const Settings& settings, Warnings& warnings);

// The vehicle file (named `vehicleName` in the warnings): masses, notches,
// speed and picture strips.
void warnOfVehicle(const std::string& vehicleName, const LoadedRun& loaded, Warnings& warnings);

// One route file as a run loaded it: adhesion, [SpeedUnit] rows, objects
// beyond the filming speeds or the video, pictures, and the main
// video, which `video` holds open when the run could open it. Decodes a few
// frames spread over the video to find a file that breaks off early.
void warnOfRoute(const std::string& routeFileName, const LoadedRun& loaded, VideoReader& video, Warnings& warnings);

}  // namespace cabdrive
