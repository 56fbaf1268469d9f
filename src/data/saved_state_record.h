// The driving state record a save keeps in one slot of the per-user store:
// seven fields separated by commas, the route file name first, then whole
// numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace cabdrive {

struct SavedStateRecord {
    std::string routeFileName;        // "line_down.dat" or "line_up.dat"
    std::int32_t station = 0;         // [Station] row the train is at or has passed last
    std::int32_t speed = 0;           // km/h, rounded
    std::int32_t frame = 0;           // currentFrame
    std::int32_t clockTicks = 0;      // 1/30 s since midnight
    std::int32_t position = 0;        // cm, rounded
    std::int32_t precedingFrame = 0;  // the preceding train's frame; 0 none
};

// "line_down.dat,2,45,1520,1086000,81234,1800"
std::string formatRecord(const SavedStateRecord& record);

// What a record may hold on the line it is restored on.
struct RecordLimits {
    std::size_t stations = 0;      // rows of [Station]
    std::int32_t lastFrame = 0;    // the highest frame the line's video shows
    std::int32_t topSpeed = 999;   // km/h, either way
    std::int64_t lastPosition = std::numeric_limits<std::int64_t>::max();  // cm
};

// The clock a record may hold, either way of midnight: two days in ticks of
// 1/30 s. A run starts within its timetable's day and runs a day at most;
// beyond that a record is made up, and the tick counter would overflow.
inline constexpr std::int32_t recordClockLimit = 2 * 86400 * 30;

// A record read back, or why it cannot be: a record edited by hand or
// written by another program may have any number of fields and any text in
// them, and must change nothing.
struct RecordReading {
    std::optional<SavedStateRecord> record;
    std::string fault;  // the user's words, when there is no record
};

RecordReading readRecord(std::string_view text, const RecordLimits& limits);

}  // namespace cabdrive
