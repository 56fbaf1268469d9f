// The journey log of a headless run.
#include "journey_log.h"

#include <cmath>
#include <cstdio>

#include "common/clock_text.h"
#include "state/run.h"

namespace cabdrive {
namespace {

bool flagSet(const std::vector<std::uint8_t>& flags, std::size_t i)
{
    return i < flags.size() && flags[i] != 0;
}

// Whole seconds the clock is behind (positive) or ahead of the time.
long secondsLate(std::int32_t clock, std::int32_t time)
{
    return std::lround((clock - time) / 30.0);
}

}  // namespace

void JourneyLog::afterTick(const Run& run, const HeadlessShell& shell, std::chrono::nanoseconds runningTime)
{
    const double seconds = static_cast<double>(runningTime.count()) / 1e9;
    noteDeparture(run);
    noteArrivals(run, seconds);
    noteInterventions(run, seconds);
    if (m_endSeconds < 0 && (run.state.stations.runEnded || shell.returnRequested)) {
        m_endSeconds = seconds;
        m_endClock = run.state.time.clockTicks;
    }
}

void JourneyLog::noteArrivals(const Run& run, double seconds)
{
    const auto& stations = run.route.stations;
    m_arrived.resize(stations.size());
    for (std::size_t j = 0; j < stations.size(); ++j) {
        if (m_arrived[j] || !flagSet(run.state.stations.arrivalRegistered, j))
            continue;
        m_arrived[j] = 1;
        const Station& station = stations[j];
        const long double position = run.state.dynamics.trainPosition;
        m_stops.push_back({static_cast<std::int32_t>(j), seconds, run.state.time.clockTicks, station.departureTime,
                           position - station.stopDistance, station.zoneStart <= position && position <= station.zoneEnd, -1});
    }
}

// The stations count a train as standing while its speed rounds to 0; it may
// still creep when the stop is registered.
void JourneyLog::noteDeparture(const Run& run)
{
    if (!m_stops.empty() && m_stops.back().departureClock < 0 && std::fabs(run.state.dynamics.trainSpeed) >= 0.5L)
        m_stops.back().departureClock = run.state.time.clockTicks;
}

void JourneyLog::noteInterventions(const Run& run, double seconds)
{
    const ProtectionState& p = run.state.protection;
    const DynamicsState& d = run.state.dynamics;
    if (p.protectionEmergencyBrake && !m_emergency)
        m_interventions.push_back({seconds, run.state.time.clockTicks, d.trainPosition, d.trainSpeed, true});
    else if (p.protectionServiceBrake && !m_service && !p.protectionEmergencyBrake)
        m_interventions.push_back({seconds, run.state.time.clockTicks, d.trainPosition, d.trainSpeed, false});
    m_emergency = p.protectionEmergencyBrake;
    m_service = p.protectionServiceBrake;
}

void JourneyLog::print(std::ostream& out, const Run& run, const HeadlessShell& shell) const
{
    char line[512];
    out << "stops:\n";
    if (m_stops.empty())
        out << "  none\n";
    for (const Stop& stop : m_stops) {
        const Station& station = run.route.stations[static_cast<std::size_t>(stop.station)];
        std::snprintf(line, sizeof line, "  %s: arrived %s (at %.1f s), stopped %+.0f cm from the mark, %s the stop zone",
                      station.name.c_str(), clockText(stop.arrivalClock).c_str(), stop.arrivalSeconds,
                      static_cast<double>(stop.stopError), stop.withinZone ? "within" : "outside");
        out << line;
        if (stop.departureTime > 0) {
            std::snprintf(line, sizeof line, "; timetable departure %s, %ld s to spare",
                          clockText(stop.departureTime).c_str(), -secondsLate(stop.arrivalClock, stop.departureTime));
            out << line;
        }
        if (stop.departureClock >= 0) {
            out << "; moved off " << clockText(stop.departureClock);
            if (stop.departureTime > 0)
                out << " (" << secondsLate(stop.departureClock, stop.departureTime) << " s late)";
        }
        out << "\n";
    }
    out << "protection brake interventions:\n";
    if (m_interventions.empty())
        out << "  none\n";
    for (const Intervention& i : m_interventions) {
        std::snprintf(line, sizeof line, "  %s brake at %.1f s (%s), %.1f m, %.1f km/h\n", i.emergency ? "emergency" : "service",
                      i.seconds, clockText(i.clock).c_str(), static_cast<double>(i.position / 100), static_cast<double>(i.speed));
        out << line;
    }
    for (const std::string& message : shell.messages)
        out << "message: " << message << "\n";
    if (shell.crewChangeRequested)
        out << "crew change requested\n";
    if (m_endSeconds >= 0) {
        std::snprintf(line, sizeof line, "end of the run at %.1f s (%s)\n", m_endSeconds, clockText(m_endClock).c_str());
        out << line;
    } else {
        out << "the run has not ended\n";
    }
}

}  // namespace cabdrive
