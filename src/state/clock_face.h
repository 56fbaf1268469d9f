// ClockFace: the cab's analog clock as three hands on a 50 × 50 face, kept by
// the timetable clock and drawn by the renderer.
#pragma once

#include <array>
#include <cstdint>

namespace cabdrive {

struct ClockHand {
    long double degrees = 0;  // clockwise from twelve o'clock
    std::int32_t length = 0;  // px from the centre
};

struct ClockFace {
    static constexpr std::int32_t size = 50;    // px, square
    static constexpr std::int32_t centre = 25;  // px, both axes
    bool shown = false;          // the vehicle has an analog clock and it has been drawn
    std::int32_t seconds = -1;   // seconds of the day last drawn; the face changes only with them
    std::uint32_t revision = 0;  // counts redraws, so a renderer can cache the face
    std::array<ClockHand, 3> hands;  // hour, minute, second
};

}  // namespace cabdrive
