// A driver for a headless run who reacts to what the cab shows, as a careful
// person would: power up to a cruising speed, keep under every speed limit,
// signal aspect and protection curve ahead on a gentle braking curve, stop at
// the stopping marks and short of signals at stop, wait at each station until
// the doors have closed, and recover from a protection brake. With it a
// route author sees whether a line's stations, signals and timetable fit
// together without writing a script.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "data/route_distances.h"

namespace cabdrive {

struct Run;

class CarefulDriver {
public:
    explicit CarefulDriver(Run& run);

    // Between two ticks: one notch of each handle at the most, by the keys.
    void actOnce();

private:
    struct Limit {
        std::int32_t from, to;  // cm
        std::int32_t speed;     // km/h
    };

    void followSignalAhead();
    long double stoppingPoint() const;  // m from the start of the line
    long double allowedSpeed(long double v) const;
    bool waitingAtStation() const;
    bool acknowledgeAlarm();
    void resetProtection(long double v);
    bool oneHandle() const;
    void moveHandlesTowards(int power, int brake);

    Run& m_run;
    FrameDistance m_distanceOf;
    std::vector<Limit> m_limits;  // speed limits and speed checks of the line
    std::int32_t m_signalRow = -2;
    long double m_aheadSpeed = 0;    // km/h the signal ahead allows from its transponder on
    long double m_sectionSpeed = 0;  // km/h the signal passed last allows
    long double m_aheadFrom = 0;     // cm, the transponder of the signal ahead
    long double m_signalStop = std::numeric_limits<long double>::max();  // m
    bool m_stopping = false;
};

}  // namespace cabdrive
