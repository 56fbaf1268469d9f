// Distances along the line: video frames converted to cm with the filming
// speeds of [SpeedUnit], and the tables' distances derived from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "data/route_data.h"

namespace cabdrive {

// The last row whose frames (both ends included) hold `frame`, by a scan of
// every row. Works on any table.
std::optional<std::size_t> speedUnitRowByScan(const SpeedUnitTable& rows, std::int32_t frame);

// The same row found by binary search; valid only on a searchable table.
std::optional<std::size_t> speedUnitRowBySearch(const SpeedUnitTable& rows, std::int32_t frame);

// True when every row runs forwards and starts at or after the end of the
// row before it, so that the search finds what the scan finds.
bool speedUnitsSearchable(const SpeedUnitTable& rows);

// Converts frames to cm along the line. Needs the rows' end distances
// (deriveDistances fills them) and checks the rows' order once.
class FrameDistance {
public:
    explicit FrameDistance(const SpeedUnitTable& rows);

    // cm from the first frame; 0 for a frame that lies in no row.
    std::int32_t operator()(std::int32_t frame) const;

private:
    const SpeedUnitTable& m_rows;
    bool m_searchable;
};

// The end distance of every [SpeedUnit] row: where the rows before it and
// the row itself end, in cm from the first frame.
void deriveSpeedUnitDistances(SpeedUnitTable& units);

// The environment set-up: the [SpeedUnit] end distances, then the distances
// of signals, speed limits, speed checks, stations (stop and zone), traffic
// signals, Doppler sources and tunnels, and the pattern target list sorted by
// target. Running it again gives the same result.
void deriveDistances(RouteData& route);

}  // namespace cabdrive
