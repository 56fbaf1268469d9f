// Which video the front view shows: the line's main video or a clip of it.
#include "sim/video_switch.h"

#include "sim/run.h"

namespace cabdrive {

std::string videoPath(const Run& run, const std::string& videoName)
{
    return run.settings.videoFolder + videoName + ".avi";
}

bool openMainVideo(Run& run)
{
    VideoState& v = run.state.video;
    const bool opened = run.video.open(videoPath(run, run.route.dataName));
    v.highestFrame = run.video.frameCount() * run.settings.videoFrameFactor;
    v.videoMode = 0;
    v.playbackFrame = 0;
    v.lastDecodedFrame = -1;
    return opened;
}

}  // namespace cabdrive
