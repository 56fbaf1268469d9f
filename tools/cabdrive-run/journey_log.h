// The journey log of a headless run: each station stop against the
// timetable, the protection's brake interventions, the requests to the
// program and the end of the run, as a route author reads them.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ports/shell_requests.h"

namespace cabdrive {

struct Run;

// Records what the core asks of the program; the end of the run stops it.
class HeadlessShell final : public ShellRequests {
public:
    void showMessage(const std::string& text) override
    {
        messages.push_back(text);
        if (messageShown)
            messageShown(text);
    }
    void requestReturnToTitle() override { returnRequested = true; }
    void showCrewChangeDialog() override { crewChangeRequested = true; }

    std::vector<std::string> messages;
    std::function<void(const std::string&)> messageShown;  // told of each message as it comes: the live stream
    bool returnRequested = false;
    bool crewChangeRequested = false;
};

class JourneyLog {
public:
    struct Stop {
        std::int32_t station = 0;
        double arrivalSeconds = 0;       // running time
        std::int32_t arrivalClock = 0;   // 1/30 s
        std::int32_t departureTime = 0;  // timetable, 1/30 s; 0 none
        long double stopError = 0;       // cm past the stopping point (negative: short of it)
        bool withinZone = false;
        std::int32_t departureClock = -1;  // when it moved off again; -1 not yet
    };
    struct Intervention {
        double seconds = 0;
        std::int32_t clock = 0;
        long double position = 0;  // cm
        long double speed = 0;     // km/h
        bool emergency = false;    // else the service brake
    };

    void afterTick(const Run& run, const HeadlessShell& shell, std::chrono::nanoseconds runningTime);
    void print(std::ostream& out, const Run& run, const HeadlessShell& shell) const;

    const std::vector<Stop>& stops() const { return m_stops; }
    const std::vector<Intervention>& interventions() const { return m_interventions; }
    bool ended() const { return m_endSeconds >= 0; }

private:
    void noteArrivals(const Run& run, double seconds);
    void noteDeparture(const Run& run);
    void noteInterventions(const Run& run, double seconds);

    std::vector<std::uint8_t> m_arrived;  // per station
    std::vector<Stop> m_stops;
    std::vector<Intervention> m_interventions;
    bool m_emergency = false;
    bool m_service = false;
    double m_endSeconds = -1;
    std::int32_t m_endClock = 0;
};

}  // namespace cabdrive
