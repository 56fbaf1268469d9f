// The four ways the tick decides that the train has reached a route event,
// and the one-shot flags of the events that fire once.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace cabdrive {

// A point event in frames is due within 15 frames either side (not at 15).
inline bool pointEventDue(std::int32_t eventFrame, std::int32_t currentFrame)
{
    return std::abs(static_cast<std::int64_t>(eventFrame) - currentFrame) < 15;
}

// The end of a range sound is matched more tightly: within 10 frames.
inline bool stopPointDue(std::int32_t eventFrame, std::int32_t currentFrame)
{
    return std::abs(static_cast<std::int64_t>(eventFrame) - currentFrame) < 10;
}

// A range in frames, both ends excluded.
inline bool insideRange(std::int32_t start, std::int32_t end, std::int32_t currentFrame)
{
    return start < currentFrame && currentFrame < end;
}

// A visibility range (signals, signs): the start frame included.
inline bool insideVisibilityRange(std::int32_t start, std::int32_t end, std::int32_t currentFrame)
{
    return start <= currentFrame && currentFrame < end;
}

// A 5 m window that starts `offsetCm` from a station's stopping position.
inline bool insideStationWindow(long double stopCm, long double offsetCm, long double trainPosition)
{
    const long double from = stopCm + offsetCm;
    return from < trainPosition && trainPosition < from + 500;
}

// One flag per row of a table whose events fire once; cleared by a station
// jump, a restore and a new run.
class OneShotFlags {
public:
    explicit OneShotFlags(std::size_t rows = 0) : m_fired(rows, 0) {}

    // True the first time it is asked for a row while the event is due.
    bool fireOnce(std::size_t row, bool due)
    {
        if (!due || row >= m_fired.size() || m_fired[row])
            return false;
        m_fired[row] = 1;
        return true;
    }
    bool fired(std::size_t row) const { return row < m_fired.size() && m_fired[row]; }
    void clear() { m_fired.assign(m_fired.size(), 0); }
    void resize(std::size_t rows) { m_fired.assign(rows, 0); }

private:
    std::vector<std::uint8_t> m_fired;
};

}  // namespace cabdrive
