// How the video frame follows the train.
#include "sim/frame_advance.h"

#include <algorithm>
#include <cstdlib>

#include "common/rounding.h"
#include "data/route_distances.h"
#include "state/run.h"

namespace cabdrive {
namespace {

bool holds(const SpeedUnit& row, std::int32_t frame)
{
    return row.fromFrame <= frame && frame < row.toFrame;
}

std::int32_t interpolatedSpeed(const SpeedUnit& row, std::int32_t frame)
{
    const long double slope = (row.toSpeed - row.fromSpeed) / static_cast<long double>(row.toFrame - row.fromFrame);
    return saturateInt32(roundHalfAway(row.fromSpeed + slope * static_cast<long double>(frame - row.fromFrame)));
}

// Where the train stands once the frame has moved from row `from` into row
// `to`: on the boundary it crossed.
long double positionAtRowBoundary(const SpeedUnitTable& rows, std::int32_t from, std::int32_t to)
{
    if (to == 0)
        return 0;
    if (to > from)
        return rows[static_cast<std::size_t>(to - 1)].endDistance;
    return rows[static_cast<std::size_t>(to)].endDistance;
}

// Channels stopped when the train halts at the end of the video: all but the
// first running sound, up to the call-out channels.
std::size_t endOfVideoChannels(const Run& run)
{
    return run.vehicle.driveSounds.size() + run.route.soundData.size() + 22 + run.route.kankoSound2Count;
}

void stopDeadAt(Run& run, std::int32_t frame)
{
    RunState& s = run.state;
    s.video.currentFrame = frame;
    // A driver who keeps the power on bumps against the end tick after tick;
    // the position stays with the frame instead of creeping on past it.
    if (speedUnitRowByScan(run.speedUnits(), frame))
        s.dynamics.trainPosition = FrameDistance(run.speedUnits())(frame);
    s.dynamics.trainSpeed = 0;
    s.video.frameAccumulator = 0;
    s.controls.appliedPowerNotch = 0;
    const std::size_t last = std::min(endOfVideoChannels(run), run.sound.channelCount() - 1);
    for (std::size_t channel = 1; channel <= last; ++channel)
        run.sound.stopIfPlaying(channel);
}

}  // namespace

std::optional<FilmingSpeed> filmingSpeedAt(const SpeedUnitTable& rows, std::int32_t frame)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (holds(rows[i], frame))
            return FilmingSpeed{static_cast<std::int32_t>(i), interpolatedSpeed(rows[i], frame)};
    }
    return std::nullopt;
}

void advanceFrame(Run& run)
{
    VideoState& video = run.state.video;
    const long double speed = run.state.dynamics.trainSpeed;
    // In 64 bits, saturated on the way back: however absurd the speed a
    // data file makes, the frame never wraps round.
    const std::int64_t collected = std::int64_t{video.frameAccumulator} + std::abs(std::int64_t{saturateInt32(roundHalfAway(speed))});
    if (collected < video.filmingSpeed) {
        video.frameAccumulator = static_cast<std::int32_t>(collected);
    } else {
        std::int64_t frames;
        if (video.filmingSpeed == 0) {
            // No filming speed to divide by: the frame jumps by twice what was collected.
            frames = 2 * collected;
            video.frameAccumulator = 0;
        } else {
            frames = collected / video.filmingSpeed;
            video.frameAccumulator = static_cast<std::int32_t>(collected - frames * video.filmingSpeed);
        }
        if (speed > 0)
            video.currentFrame = saturateInt32(video.currentFrame + frames);
        else if (speed < 0)
            video.currentFrame = saturateInt32(video.currentFrame - frames);
    }
    followFilmingSpeed(run);
}

void followFilmingSpeed(Run& run)
{
    VideoState& video = run.state.video;
    const auto here = filmingSpeedAt(run.speedUnits(), video.currentFrame);
    if (!here)
        return;  // outside every row the last filming speed stays
    video.filmingSpeed = here->speed;
    if (here->row != video.speedUnitRow && video.speedUnitRow != -1)
        run.state.dynamics.trainPosition = positionAtRowBoundary(run.speedUnits(), video.speedUnitRow, here->row);
    video.speedUnitRow = here->row;
}

void stopAtEndOfVideo(Run& run)
{
    const VideoState& video = run.state.video;
    const long double speed = run.state.dynamics.trainSpeed;
    if (video.videoMode == 0 && inEndOfVideoWindow(run)) {
        // Before the switch-back the train halts on the last frame, after it
        // on the first frame of the footage beyond.
        stopDeadAt(run, run.route.movieStops[0] + video.reversed);
    } else if (speed < 0 && video.currentFrame < 0) {
        // Nothing was filmed before the first frame: reversing away from the
        // first station would otherwise run on for kilometres of nothing.
        stopDeadAt(run, 0);
    } else if (speed > 0 && video.highestFrame > 0 && video.currentFrame > video.highestFrame) {
        // Past the last frame of the main video, for a line without a
        // [MovieStop], after a switch-back with no footage beyond it, or
        // creeping out of a station clip.
        stopDeadAt(run, video.highestFrame);
    }
}

bool inEndOfVideoWindow(const Run& run)
{
    if (run.route.movieStops.empty())
        return false;
    const std::int32_t end = run.route.movieStops[0];
    const std::int32_t frame = run.state.video.currentFrame;
    const long double speed = run.state.dynamics.trainSpeed;
    if (run.state.video.reversed == 0)
        return speed > 0 && end < frame && frame < end + 500;
    return speed < 0 && end - 500 < frame && frame < end;
}

}  // namespace cabdrive
