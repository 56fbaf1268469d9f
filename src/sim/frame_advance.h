// How the video frame follows the train: the frame advance of the physics
// step, the filming speed of a frame, the end-of-video stop and the switch-back.
#pragma once

#include <cstdint>
#include <optional>

#include "data/route_data.h"

namespace cabdrive {

struct Run;

struct FilmingSpeed {
    std::int32_t row = 0;    // [SpeedUnit] row holding the frame
    std::int32_t speed = 0;  // km/h, interpolated and rounded half away from zero
};

// The first [SpeedUnit] row with fromFrame <= frame < toFrame; nothing when
// no row holds the frame.
std::optional<FilmingSpeed> filmingSpeedAt(const SpeedUnitTable& rows, std::int32_t frame);

// Physics step: collects the speed towards the next frame, moves the frame,
// looks up the filming speed there and puts the position back on the
// boundary of a [SpeedUnit] row the frame has crossed.
void advanceFrame(Run& run);

// The filming speed at currentFrame; when the frame has moved into another
// [SpeedUnit] row since the last look, the position goes to the boundary
// crossed (not after a restore or the start, whose row is -1).
void followFilmingSpeed(Run& run);

// 100 ms tick: a train that runs past the end of the video (the first
// [MovieStop] frame) stops dead there, before the switch-back or after it.
void stopAtEndOfVideo(Run& run);

// True while the train is in one of the two frame windows past the end of
// the video, in which nothing is drawn.
bool inEndOfVideoWindow(const Run& run);

}  // namespace cabdrive
