// Which video the front view shows: the line's main video or a clip of it.
#pragma once

#include <string>

namespace cabdrive {

struct Run;

// The video folder followed by the name and ".avi", as data files write paths.
std::string videoPath(const Run& run, const std::string& videoName);

// What the user is told when a video cannot be opened: the message and the
// whole path tried, with slashes.
std::string videoOpenFailure(const std::string& path);

// Opens the line's main video and shows it at the train's frame (video mode
// 0). False when it cannot be opened; the frame bitmap then keeps its picture.
bool openMainVideo(Run& run);

// 100 ms tick: walks the [MovieSwitch] rows in order. A running clip (kind 0
// or 1) replaces the main video while the train passes its frame window and
// hands back at the row's return frame once the train is beyond the window
// and the clip has reached its last frame (at most 60 frames past it); a
// station clip (kind 2) plays while the train stands in the stop zone of the
// row's station after the row's clock time. Each row acts once a run.
void switchVideoClips(Run& run);

}  // namespace cabdrive
