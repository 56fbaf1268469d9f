#include "careful_driver.h"

#include <algorithm>
#include <cmath>

#include "input/driver_keys.h"
#include "sim/pattern_protection.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double cruise = 65;                  // km/h
constexpr long double deceleration = 0.45L;         // m/s² of the driver's braking curves
constexpr long double startBrakingAt = 0.5L;        // m/s² needed to stop at the point
constexpr long double keepBrakingAbove = 0.2L;      // m/s², once braking to a stop
constexpr long double decelerationPerNotch = 0.13L; // m/s², roughly, of a service notch
constexpr long double reactionSeconds = 3;          // the brake takes this long to bite
constexpr long double markTolerance = 1.0L;         // m either side of a stopping point
constexpr long double beforeTransponder = 15;       // m short of a stop signal's transponder
constexpr long double standing = 0.1L;              // km/h
constexpr std::int32_t stationPatternKind = 3;
constexpr std::int32_t vigilanceTicks = 300;       // 30 s without a key

// km/h from which the driver's curve comes down to `speed` over `metres`.
long double curve(long double speed, long double metres)
{
    const long double ms = speed / 3.6L;
    return 3.6L * std::sqrt(ms * ms + 2 * deceleration * std::max<long double>(metres, 0));
}

}  // namespace

CarefulDriver::CarefulDriver(Run& run)
    : m_run(run), m_distanceOf(run.speedUnits()), m_aheadSpeed(cruise), m_sectionSpeed(cruise)
{
    const RouteData& route = run.route;
    for (const SpeedLimitRow& limit : route.speedLimits)
        m_limits.push_back({limit.distance, m_distanceOf(limit.column(5)), limit.column(1)});
    for (const SpeedCheck2Row& check : route.speedChecks2)
        m_limits.push_back({check.distance, m_distanceOf(check.column(4)), check.column(1)});
    for (const SpeedCheck1Row& check : route.speedChecks1)
        m_limits.push_back({check.distance, check.distance + 100, check.column(2)});
}

void CarefulDriver::actOnce()
{
    const RunState& s = m_run.state;
    const long double v = std::fabs(s.dynamics.trainSpeed);
    followSignalAhead();
    // Cruising with the handles still, the driver answers the vigilance
    // device with a key of no other meaning long before it would ring.
    if (s.protection.vigilanceCounter > vigilanceTicks)
        AsciiDown(m_run, 'm');
    if (s.protection.alarm && !s.protection.protectionEmergencyBrake && !acknowledgeAlarm())
        return;
    if (s.protection.protectionEmergencyBrake || (s.protection.protectionServiceBrake && v < standing)) {
        resetProtection(v);
        return;
    }
    if (s.protection.protectionServiceBrake || waitingAtStation()) {
        moveHandlesTowards(0, 4);
        return;
    }
    const long double metresToStop = stoppingPoint() - s.dynamics.trainPosition / 100;
    const long double ms = v / 3.6L;
    const long double needed = ms * ms / (2 * std::max<long double>(metresToStop, 0.05L));  // m/s²
    // At the mark the train is brought to a stand at once: a station clip may
    // start at walking pace, and nothing slows the train while it plays.
    const bool atTheMark = std::fabs(metresToStop) <= markTolerance;
    m_stopping = v >= standing && needed >= (m_stopping ? keepBrakingAbove : startBrakingAt);
    if (m_stopping || atTheMark) {
        const int notch = m_stopping ? static_cast<int>(std::ceil(needed / decelerationPerNotch)) : 0;
        moveHandlesTowards(0, std::clamp(notch, atTheMark ? 4 : 1, 7));
        return;
    }
    const long double target = std::min(allowedSpeed(v), curve(0, metresToStop - 1 - ms * reactionSeconds));
    const bool shortOfTheMark = v < standing && metresToStop > markTolerance;
    if (v < target - 4 || shortOfTheMark)
        moveHandlesTowards(v < 15 && metresToStop < 30 ? 1 : 4, 0);  // creeping up the last metres in notch 1
    else if (v > target + 0.5L)
        moveHandlesTowards(0, std::clamp(static_cast<int>((v - target) / 2) + 1, 1, 5));
    else
        moveHandlesTowards(0, 0);
}

// Remembers the aspect of the signal ahead, which holds once it is passed.
void CarefulDriver::followSignalAhead()
{
    const SignalState& signals = m_run.state.signals;
    if (signals.signalAheadRow != m_signalRow) {
        m_sectionSpeed = m_aheadSpeed;
        m_signalRow = signals.signalAheadRow;
    }
    m_aheadSpeed = cruise;
    m_signalStop = std::numeric_limits<long double>::max();
    const auto row = static_cast<std::size_t>(m_signalRow);
    if (m_signalRow < 0 || row >= signals.aspects.size() || row >= m_run.route.signals.size())
        return;
    const SignalRow& signal = m_run.route.signals[row];
    const std::int32_t aspect = signals.aspects[row];
    const std::int32_t transponder = signal.column(8) > 0 ? m_distanceOf(signal.column(8)) : signal.distance;
    if (aspect == 0)
        m_signalStop = static_cast<long double>(transponder) / 100 - beforeTransponder;
    else if (aspect > 0 && static_cast<std::size_t>(aspect) < m_run.route.speedSignals.size())
        m_aheadSpeed = m_run.route.speedSignals[static_cast<std::size_t>(aspect)];
    m_aheadFrom = transponder;
}

// The next stopping mark or the point short of a signal at stop, whichever comes first.
long double CarefulDriver::stoppingPoint() const
{
    const DynamicsState& d = m_run.state.dynamics;
    return std::min(m_signalStop, (d.trainPosition + d.distanceToStop) / 100);
}

long double CarefulDriver::allowedSpeed(long double v) const
{
    const RunState& s = m_run.state;
    const long double position = s.dynamics.trainPosition;
    const long double lead = v / 3.6L * reactionSeconds;
    long double allowed = std::min<long double>({cruise, s.signals.lineSpeed - 5.0L, m_sectionSpeed - 3});
    const auto keepUnder = [&](long double from, long double to, long double speed) {
        if (from - 500 <= position && position < to)
            allowed = std::min(allowed, speed - 3);
        else if (position < from)
            allowed = std::min(allowed, curve(speed - 3, (from - position) / 100 - 5 - lead));
    };
    for (const Limit& limit : m_limits)
        keepUnder(limit.from, limit.to, limit.speed);
    keepUnder(m_aheadFrom, std::numeric_limits<long double>::max(), m_aheadSpeed);
    const ProtectionState& p = s.protection;
    if (p.patternCode != ProtectionState::noPattern && p.patternKind != stationPatternKind)
        allowed = std::min<long double>(allowed, static_cast<long double>(p.patternSpeedA) - 6);
    if (p.atsCheckSpeed < 998)
        allowed = std::min<long double>(allowed, p.atsCheckSpeed - 5.0L);
    return allowed;
}

// Standing in the zone of a stop until the doors have closed after the
// melody (or, without doors, the melody has started).
bool CarefulDriver::waitingAtStation() const
{
    const RunState& s = m_run.state;
    if (s.doors.doorsOpen)
        return true;
    const StationTable& stations = m_run.route.stations;
    const long double position = s.dynamics.trainPosition;
    for (std::size_t j = 0; j < stations.size() && j < s.stations.melodyStarted.size(); ++j) {
        const Station& station = stations[j];
        if (station.kind != 1 && station.zoneStart <= position && position <= station.zoneEnd
            && std::fabs(s.dynamics.trainSpeed) < standing)
            return s.stations.melodyStarted[j] == 0;
    }
    return false;
}

// The bell is acknowledged with the brake applied, two notches deep (an
// automatic brake's first notch does not count); false while the brake is
// still being applied.
bool CarefulDriver::acknowledgeAlarm()
{
    constexpr int acknowledgingNotch = 2;
    if (m_run.state.controls.brakeHandle > -acknowledgingNotch) {
        moveHandlesTowards(0, acknowledgingNotch);
        return false;
    }
    AsciiDown(m_run, ' ');
    return true;
}

// The brake handle to emergency, then the reset once the train stands.
void CarefulDriver::resetProtection(long double v)
{
    if (m_run.state.controls.brakeHandle != -m_run.vehicle.brakeNotches)
        AsciiDown(m_run, oneHandle() ? 'q' : '/');
    else if (v < standing)
        AsciiDown(m_run, 'r');
}

bool CarefulDriver::oneHandle() const
{
    return m_run.vehicle.handleType == 0;
}

// One notch towards the wanted positions; a single handle runs from the
// brake notches through neutral to the power notches.
void CarefulDriver::moveHandlesTowards(int power, int brake)
{
    const ControlState& c = m_run.state.controls;
    if (oneHandle()) {
        const int wanted = brake > 0 ? -brake : power;
        const int now = c.brakeHandle < 0 ? c.brakeHandle : c.powerHandle;
        if (now != wanted)
            AsciiDown(m_run, now < wanted ? 'z' : 'a');
        return;
    }
    if (c.brakeHandle > -brake)
        AsciiDown(m_run, '.');
    else if (c.brakeHandle < -brake)
        AsciiDown(m_run, ',');
    if (c.powerHandle < power && c.brakeHandle == 0)
        AsciiDown(m_run, 'z');
    else if (c.powerHandle > power || (brake > 0 && c.powerHandle > 0))
        AsciiDown(m_run, 'a');
}

}  // namespace cabdrive
