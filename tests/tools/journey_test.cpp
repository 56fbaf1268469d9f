// A whole journey on the demo line, from its first station to its last, behind
// the preceding train: a driver who reacts to what the cab shows drives it
// through the signals and stops, and the journey log reports the stops, the
// protection's interventions and the end of the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <sstream>

#include "data/route_distances.h"
#include "input/driver_keys.h"
#include "journey_log.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "sim/pattern_protection.h"
#include "sim/video_switch.h"
#include "support/loaded_run.h"

namespace {

// The demo line with the program's own video reader, so that the clips
// really open, and a journey log.
struct DemoJourney {
    DemoJourney()
    {
        // The program works in its data folder; the test names the videos in full.
        d.settings.videoFolder = d.folder.programFolder + d.settings.videoFolder;
        mainVideoOpened = cabdrive::openMainVideo(d.run);
        d.scheduler.afterTick = [this] { log.afterTick(d.run, shell, d.scheduler.simulatedTime()); };
    }

    cabdrive::FfmpegVideoReader video;
    cabdrive::HeadlessShell shell;
    test::LoadedRun d{CABDRIVE_DEMO_FOLDER, &video, &shell};
    cabdrive::JourneyLog log;
    bool mainVideoOpened = false;
};

// Works the two handles with the keys, one notch per tick, as a careful
// driver would: power up to a cruising speed, keep under every limit, signal
// aspect and protection curve ahead with a gentle braking curve, stop at the
// marks and at signals showing stop, and wait at each station until the
// doors have closed again.
class CarefulDriver {
public:
    explicit CarefulDriver(cabdrive::Run& run) : m_run(run), m_distanceOf(run.route.speedUnits)
    {
        const cabdrive::RouteData& route = run.route;
        for (const auto& limit : route.speedLimits)
            m_limits.push_back({limit.distance, m_distanceOf(limit.column(5)), limit.column(1)});
        for (const auto& check : route.speedChecks2)
            m_limits.push_back({check.distance, m_distanceOf(check.column(4)), check.column(1)});
        for (const auto& check : route.speedChecks1)
            m_limits.push_back({check.distance, check.distance + 100, check.column(2)});
    }

    void actOnce()
    {
        const cabdrive::RunState& s = m_run.state;
        const long double v = std::fabs(s.dynamics.trainSpeed);
        followSignalAhead();
        if (s.protection.alarm)
            cabdrive::AsciiDown(m_run, ' ');
        if (s.protection.protectionEmergencyBrake || (s.protection.protectionServiceBrake && v < 0.1L)) {
            resetProtection(v);
            return;
        }
        if (s.protection.protectionServiceBrake || waitingAtStation()) {
            moveHandlesTowards(0, 4);
            return;
        }
        const long double metresToStop = stoppingPoint() - s.dynamics.trainPosition / 100;
        const long double ms = v / 3.6L;
        const long double required = ms * ms / (2 * std::max<long double>(metresToStop, 0.05L));  // m/s²
        m_stopping = v >= 0.1L && required >= (m_stopping ? 0.2L : startBrakingAt);
        if (m_stopping) {
            moveHandlesTowards(0, std::clamp(static_cast<int>(std::ceil(required / decelerationPerNotch)), 1, 7));
            return;
        }
        if (v < 0.1L && std::fabs(metresToStop) <= atTheMark) {
            moveHandlesTowards(0, 4);  // standing at the mark or before a signal at stop
            return;
        }
        const long double target = std::min(allowedSpeed(v), curve(0, metresToStop - 1 - ms * reactionSeconds));
        if (v < target - 4)
            moveHandlesTowards(v < 15 && metresToStop < 30 ? 1 : 4, 0);
        else if (v > target + 0.5L)
            moveHandlesTowards(0, std::clamp(static_cast<int>((v - target) / 2) + 1, 1, 5));
        else
            moveHandlesTowards(0, 0);
    }

private:
    struct Limit {
        std::int32_t from, to;  // cm
        std::int32_t speed;     // km/h
    };
    static constexpr long double cruise = 65;               // km/h
    static constexpr long double deceleration = 0.45L;      // m/s² of the driver's braking curves
    static constexpr long double startBrakingAt = 0.5L;     // m/s² needed to stop at the point
    static constexpr long double decelerationPerNotch = 0.13L;  // m/s²
    static constexpr long double reactionSeconds = 3;       // the brake takes this long to bite
    static constexpr long double atTheMark = 1.5L;          // m
    static constexpr long double beforeTransponder = 15;    // m short of a stop signal's transponder

    // km/h from which the driver's curve comes down to `speed` over `metres`.
    static long double curve(long double speed, long double metres)
    {
        const long double ms = speed / 3.6L;
        return 3.6L * std::sqrt(ms * ms + 2 * deceleration * std::max<long double>(metres, 0));
    }

    // Remembers the aspect of the signal ahead, which holds once it is passed.
    void followSignalAhead()
    {
        const cabdrive::SignalState& signals = m_run.state.signals;
        if (signals.signalAheadRow != m_signalRow) {
            m_sectionSpeed = m_aheadSpeed;
            m_signalRow = signals.signalAheadRow;
        }
        m_aheadSpeed = cruise;
        m_signalStop = std::numeric_limits<long double>::max();
        if (m_signalRow < 0 || static_cast<std::size_t>(m_signalRow) >= signals.aspects.size())
            return;
        const auto& row = m_run.route.signals[static_cast<std::size_t>(m_signalRow)];
        const std::int32_t aspect = signals.aspects[static_cast<std::size_t>(m_signalRow)];
        const std::int32_t transponder = row.column(8) > 0 ? m_distanceOf(row.column(8)) : row.distance;
        if (aspect == 0)
            m_signalStop = static_cast<long double>(transponder) / 100 - beforeTransponder;
        else if (static_cast<std::size_t>(aspect) < m_run.route.speedSignals.size())
            m_aheadSpeed = m_run.route.speedSignals[static_cast<std::size_t>(aspect)];
        m_aheadFrom = transponder;
    }

    // m from the start of the line: the next stopping mark or a signal at stop.
    long double stoppingPoint() const
    {
        const cabdrive::DynamicsState& d = m_run.state.dynamics;
        return std::min(m_signalStop, (d.trainPosition + d.distanceToStop) / 100);
    }

    long double allowedSpeed(long double v) const
    {
        const cabdrive::RunState& s = m_run.state;
        const long double position = s.dynamics.trainPosition;
        const long double lead = v / 3.6L * reactionSeconds;
        long double allowed = std::min<long double>({cruise, s.signals.lineSpeed - 5.0L, m_sectionSpeed - 3});
        auto keepUnder = [&](long double from, long double to, long double speed) {
            if (from - 500 <= position && position < to)
                allowed = std::min(allowed, speed - 3);
            else if (position < from)
                allowed = std::min(allowed, curve(speed - 3, (from - position) / 100 - 5 - lead));
        };
        for (const Limit& limit : m_limits)
            keepUnder(limit.from, limit.to, limit.speed);
        keepUnder(m_aheadFrom, std::numeric_limits<long double>::max(), m_aheadSpeed);
        const cabdrive::ProtectionState& p = s.protection;
        if (p.patternCode != cabdrive::noPatternCode && p.patternKind != stationPatternKind)
            allowed = std::min<long double>(allowed, static_cast<long double>(p.patternSpeedA) - 6);
        if (p.atsCheckSpeed < 998)
            allowed = std::min<long double>(allowed, p.atsCheckSpeed - 5.0L);
        return allowed;
    }

    // Standing in the zone of a stop until the doors have closed after the
    // melody (or, without doors, the melody has started).
    bool waitingAtStation() const
    {
        const cabdrive::RunState& s = m_run.state;
        if (s.doors.doorsOpen)
            return true;
        const cabdrive::StationTable& stations = m_run.route.stations;
        for (std::size_t j = 0; j < stations.size(); ++j) {
            const cabdrive::Station& station = stations[j];
            if (station.kind != 1 && station.zoneStart <= s.dynamics.trainPosition
                && s.dynamics.trainPosition <= station.zoneEnd && std::fabs(s.dynamics.trainSpeed) < 0.1L)
                return s.stations.melodyStarted[j] == 0;
        }
        return false;
    }

    // Stop, the brake handle in emergency, then reset.
    void resetProtection(long double v)
    {
        if (m_run.state.controls.brakeHandle != -m_run.vehicle.brakeNotches)
            cabdrive::AsciiDown(m_run, '/');
        else if (v < 0.1L)
            cabdrive::AsciiDown(m_run, 'r');
    }

    void moveHandlesTowards(int power, int brake)
    {
        const cabdrive::ControlState& c = m_run.state.controls;
        if (c.brakeHandle > -brake)
            cabdrive::AsciiDown(m_run, '.');
        else if (c.brakeHandle < -brake)
            cabdrive::AsciiDown(m_run, ',');
        if (c.powerHandle < power && c.brakeHandle == 0)
            cabdrive::AsciiDown(m_run, 'z');
        else if (c.powerHandle > power || (brake > 0 && c.powerHandle > 0))
            cabdrive::AsciiDown(m_run, 'a');
    }

    static constexpr std::int32_t stationPatternKind = 3;

    cabdrive::Run& m_run;
    cabdrive::FrameDistance m_distanceOf;
    std::vector<Limit> m_limits;
    std::int32_t m_signalRow = -2;
    long double m_aheadSpeed = cruise, m_sectionSpeed = cruise;
    long double m_aheadFrom = 0;  // cm, the transponder of the signal ahead
    long double m_signalStop = 0;  // m
    bool m_stopping = false;
};

TEST(DemoJourney, DrivesFromTheFirstStationToTheLastThroughSignalsAndStops)
{
    DemoJourney j;
    ASSERT_TRUE(j.mainVideoOpened);
    CarefulDriver driver(j.d.run);
    std::set<std::int32_t> aspectsAhead;
    constexpr int maxTicks = 20 * 60 * 10;  // twenty minutes
    for (int tick = 0; tick < maxTicks && !j.shell.returnRequested; ++tick) {
        driver.actOnce();
        j.d.scheduler.advanceBy(std::chrono::milliseconds(100));
        const cabdrive::SignalState& signals = j.d.run.state.signals;
        if (signals.signalAheadRow >= 0)
            aspectsAhead.insert(signals.aspects[static_cast<std::size_t>(signals.signalAheadRow)]);
    }
    std::ostringstream report;
    j.log.print(report, j.d.run, j.shell);
    SCOPED_TRACE(report.str());

    ASSERT_TRUE(j.shell.returnRequested) << "the run ends at the last station";
    EXPECT_TRUE(j.d.run.state.runEnded);
    EXPECT_TRUE(j.log.ended());

    // Every stopping station of the line, in order, each within its stop zone.
    std::vector<std::int32_t> expected;
    for (std::size_t i = 0; i < j.d.route->stations.size(); ++i) {
        if (j.d.route->stations[i].kind != 1)
            expected.push_back(static_cast<std::int32_t>(i));
    }
    std::vector<std::int32_t> stopped;
    for (const auto& stop : j.log.stops()) {
        stopped.push_back(stop.station);
        EXPECT_TRUE(stop.withinZone) << j.d.route->stations[static_cast<std::size_t>(stop.station)].name;
    }
    EXPECT_EQ(stopped, expected);

    // Behind the preceding train a signal ahead showed stop and the driver
    // braked for it; beyond the train's reach the line showed clear.
    EXPECT_TRUE(aspectsAhead.count(0));
    EXPECT_TRUE(aspectsAhead.count(static_cast<std::int32_t>(j.d.route->speedSignals.size()) - 1));
    EXPECT_NE(report.str().find("end of the run"), std::string::npos);
    // The station and weather clips opened; nothing went wrong on the way.
    EXPECT_TRUE(j.shell.messages.empty());
    EXPECT_TRUE(j.log.interventions().empty());
}

}  // namespace
