// Which video the front view shows: the line's main video or a clip of it.
#pragma once

#include <string>

namespace cabdrive {

struct Run;

// The video folder followed by the name and ".avi", as data files write paths.
std::string videoPath(const Run& run, const std::string& videoName);

// Opens the line's main video and shows it at the train's frame (video mode
// 0). False when it cannot be opened; the frame bitmap then keeps its picture.
bool openMainVideo(Run& run);

}  // namespace cabdrive
