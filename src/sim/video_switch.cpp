// Which video the front view shows: the line's main video or a clip of it.
#include "sim/video_switch.h"

#include "common/paths.h"
#include "common/rounding.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

// A running clip may hand back until the clip is this many frames past its end.
constexpr std::int32_t handBackFrames = 60;
// The station clip's sound starts within this many frames after its frame.
constexpr std::int32_t soundFrames = 10;

bool rowDone(const VideoState& v, std::size_t row)
{
    return row < v.movieSwitchDone.size() && v.movieSwitchDone[row] != 0;
}

void markDone(VideoState& v, std::size_t row)
{
    if (row < v.movieSwitchDone.size())
        v.movieSwitchDone[row] = 1;
}

const Station* stationOf(const Run& run, const MovieSwitch& row)
{
    if (row.returnFrame < 0 || static_cast<std::size_t>(row.returnFrame) >= run.route.stations.size())
        return nullptr;
    return &run.route.stations[static_cast<std::size_t>(row.returnFrame)];
}

bool inStopZone(const Run& run, const Station& station)
{
    const long double p = run.state.dynamics.trainPosition;
    return station.zoneStart <= p && p <= station.zoneEnd;
}

// The clip is opened in place of the main video. A clip that cannot be
// opened is reported once and the main video comes back, so that the view
// does not freeze on a missing clip.
bool openClip(Run& run, std::size_t i)
{
    const MovieSwitch& row = run.route.movieSwitches[i];
    VideoState& v = run.state.video;
    const std::string path = videoPath(run, row.clipName);
    if (!run.video.open(path)) {
        run.shell.showMessage(videoOpenFailure(path));
        openMainVideo(run);
        markDone(v, i);
        return false;
    }
    v.clipEndFrame = row.clipLastFrame;
    v.clipRow = static_cast<std::int32_t>(i);
    run.state.presentation.lastDecodedFrame = -1;
    return true;
}

void handBackToMainVideo(Run& run, std::size_t i)
{
    openMainVideo(run);
    markDone(run.state.video, i);
}

// The physics step runs on the same thread as the tick, so no step can see
// the video half switched; the in-between mode 9 is not needed.
void runningClip(Run& run, std::size_t i)
{
    const MovieSwitch& row = run.route.movieSwitches[i];
    VideoState& v = run.state.video;
    if (row.firstFrame <= v.currentFrame && v.currentFrame <= row.lastFrame) {
        if (v.videoMode != 0 || rowDone(v, i))
            return;
        v.playbackFrame = v.currentFrame - row.firstFrame;
        v.frameOffset = row.firstFrame;
        if (!openClip(run, i))
            return;
        run.video.decodeFrame(1);
        v.videoMode = 2;
        return;
    }
    // Only the row whose clip is shown hands it back: another row's return
    // frame would throw the train to that row's place on the line.
    if (v.videoMode == 2 && v.clipRow == static_cast<std::int32_t>(i) && v.playbackFrame >= v.clipEndFrame
        && v.playbackFrame <= v.clipEndFrame + handBackFrames && v.currentFrame < row.returnFrame) {
        handBackToMainVideo(run, i);
        v.currentFrame = row.returnFrame;
    }
}

void stationClip(Run& run, std::size_t i)
{
    const MovieSwitch& row = run.route.movieSwitches[i];
    const Station* station = stationOf(run, row);
    RunState& s = run.state;
    VideoState& v = s.video;
    if (!station || !inStopZone(run, *station) || s.time.clockTicks <= row.startClock)
        return;
    if (v.videoMode == 0 && !rowDone(v, i)) {
        if (!openClip(run, i))
            return;
        v.videoMode = 1;
        v.currentFrame = station->stopFrame;
        s.dynamics.trainPosition = station->stopDistance;
        v.playbackFrame = 0;
        v.frameOffset = v.currentFrame;
    } else if (v.videoMode == 1 && v.clipRow == static_cast<std::int32_t>(i) && v.playbackFrame >= v.clipEndFrame) {
        handBackToMainVideo(run, i);
    }
}

// A station clip shows the train standing: when the train moves off before
// the clip has ended, the main video comes back rather than the clip's last
// picture staying for the rest of the run.
void leaveStationClip(Run& run, std::size_t i)
{
    const VideoState& v = run.state.video;
    if (v.videoMode == 1 && v.clipRow == static_cast<std::int32_t>(i))
        handBackToMainVideo(run, i);
}

void stationClipSound(Run& run, std::size_t i)
{
    const MovieSwitch& row = run.route.movieSwitches[i];
    const VideoState& v = run.state.video;
    const Station* station = stationOf(run, row);
    if (v.videoMode != 1 || v.clipRow != static_cast<std::int32_t>(i) || !station || !inStopZone(run, *station))
        return;
    if (row.soundFrame < v.playbackFrame && v.playbackFrame < row.soundFrame + soundFrames)
        run.sound.playOnceIfSilent(environmentChannel(run.vehicle, row.sound));
}

}  // namespace

std::string videoPath(const Run& run, const std::string& videoName)
{
    return run.settings.videoFolder + videoName + ".avi";
}

// The path the reader tried, not the one the data files wrote.
std::string videoOpenFailure(const std::string& path)
{
    return "映像ファイルを開けません" + triedPath(path);
}

bool openMainVideo(Run& run)
{
    VideoState& v = run.state.video;
    const bool opened = run.video.open(videoPath(run, run.route.dataName));
    v.highestFrame = run.video.frameCount() * run.settings.videoFrameFactor;
    v.videoMode = 0;
    v.playbackFrame = 0;
    run.state.presentation.lastDecodedFrame = -1;
    v.clipRow = -1;
    return opened;
}

void switchVideoClips(Run& run)
{
    const bool standing = roundHalfAway(run.state.dynamics.trainSpeed) == 0;
    for (std::size_t i = 0; i < run.route.movieSwitches.size(); ++i) {
        if (run.route.movieSwitches[i].kind < 2)
            runningClip(run, i);
        else if (standing)
            stationClip(run, i);
        else
            leaveStationClip(run, i);
        stationClipSound(run, i);
    }
}

}  // namespace cabdrive
