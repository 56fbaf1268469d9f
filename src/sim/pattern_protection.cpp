// Pattern-type protection. Beacons lie in bands before every target (a
// signal at stop, a stopping station, a speed check); passing one loads or
// erases the pattern. Two curves fall towards the target: above the warning
// curve the approach lamp lights, above the brake curve the service brake
// comes on, and below the code it releases again.
#include "sim/pattern_protection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "common/rounding.h"
#include "sim/mascon_update.h"
#include "sim/protection_brakes.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr long double beaconHorizon = 60000;  // cm: nearer targets are looked at
constexpr std::array<std::pair<long double, long double>, 7> beaconBands{{
    {59000, 60000}, {27000, 28000}, {17000, 18000}, {12000, 13000}, {7500, 8500}, {4000, 5000}, {1500, 2000},
}};
constexpr long double eraseBeforeTarget = 200;  // cm: a station or check pattern ends here
constexpr long double brakeCurveMargin = 2000;  // cm before the target the brake curve reaches the code
constexpr long double warningCurveMargin = 7000;  // cm, the same for the warning curve

constexpr std::int32_t speedCheckKind = 1;
constexpr std::int32_t signalKind = 2;
constexpr std::int32_t stationKind = 3;
constexpr std::int32_t speedCheckCodeOffset = 10;  // km/h added to a speed check's speed
constexpr std::int32_t stopPatternLimit = 15;  // km/h: codes up to it brake to a stop
constexpr std::int32_t brakeMargin = 10;   // km/h the brake curve may lie above the line speed
constexpr std::int32_t warningMargin = 5;  // km/h, the same for the warning curve

bool insideBeaconBand(long double d)
{
    return std::any_of(beaconBands.begin(), beaconBands.end(),
                       [d](const auto& band) { return band.first < d && d < band.second; });
}

std::string metresText(long double cm)
{
    return std::to_string(roundHalfAway(cm / 100)) + "m";
}

void loadPattern(Run& run, const PatternTarget& target, std::int32_t code)
{
    ProtectionState& p = run.state.protection;
    p.patternCode = code;
    p.patternTarget = static_cast<long double>(target.target);
    p.patternKind = target.kind;
}

void erasePatternWithText(Run& run, std::string text)
{
    erasePattern(run.state.protection);
    run.state.signals.protectionText1 = std::move(text);
}

// Whether the scan over the target list goes on past a beacon.
enum class Scan { PassOver, End };

std::int32_t aspectOf(const Run& run, std::int32_t signal)
{
    const std::vector<std::int32_t>& aspects = run.state.signals.aspects;
    return static_cast<std::size_t>(signal) < aspects.size() ? aspects[static_cast<std::size_t>(signal)] : -1;
}

Scan signalBeacon(Run& run, const PatternTarget& target, long double d)
{
    const SignalTable& signals = run.route.signals;
    if (target.signal < 0 || static_cast<std::size_t>(target.signal) >= signals.size()
        || signals[static_cast<std::size_t>(target.signal)].column(4) == 0)
        return Scan::PassOver;
    if (aspectOf(run, target.signal) == 0) {
        if (insideBeaconBand(d)) {
            loadPattern(run, target, target.code);
            run.state.signals.protectionText1 = "停止信号まで" + metresText(d);
        }
        return Scan::End;
    }
    if (run.state.protection.patternCode != stopPatternCode)
        return Scan::PassOver;
    if (insideBeaconBand(d))
        erasePatternWithText(run, "パターン消去: 信号まで" + metresText(d));
    return Scan::End;
}

// A station's beacons act while the train runs towards it, until its
// departure melody has started.
bool stationAhead(const Run& run, std::int32_t station)
{
    const std::vector<std::uint8_t>& departed = run.state.stations.melodyStarted;
    const bool hasDeparted = station >= 0 && static_cast<std::size_t>(station) < departed.size()
                          && departed[static_cast<std::size_t>(station)] != 0;
    return run.state.dynamics.trainSpeed > 0 && !hasDeparted;
}

Scan stationBeacon(Run& run, const PatternTarget& target, long double d)
{
    if (!stationAhead(run, target.station))
        return Scan::PassOver;
    if (insideBeaconBand(d)) {
        loadPattern(run, target, target.code);
        run.state.signals.protectionText1 = "停車駅まで" + metresText(d);
    } else if (d < eraseBeforeTarget) {
        erasePatternWithText(run, "停車駅パターン消去");
    }
    return Scan::End;
}

Scan speedCheckBeacon(Run& run, const PatternTarget& target, long double d)
{
    if (insideBeaconBand(d)) {
        const std::int32_t code = target.code + speedCheckCodeOffset;
        loadPattern(run, target, code);
        run.state.signals.protectionText1 = std::to_string(code) + "km/h照査まで" + metresText(d);
    } else if (d < eraseBeforeTarget) {
        erasePatternWithText(run, "速度照査パターン消去");
    }
    return Scan::End;
}

void readBeacons(Run& run)
{
    const long double position = run.state.dynamics.trainPosition;
    for (const PatternTarget& target : run.route.patternTargets) {
        const long double d = static_cast<long double>(target.target) - position;
        if (!(0 < d && d < beaconHorizon))
            continue;
        Scan scan = Scan::PassOver;
        if (target.kind == signalKind)
            scan = signalBeacon(run, target, d);
        else if (target.kind == stationKind)
            scan = stationBeacon(run, target, d);
        else if (target.kind == speedCheckKind)
            scan = speedCheckBeacon(run, target, d);
        if (scan == Scan::End)
            return;
    }
}

// km/h from which the vehicle's braking rate (D, km/h/s x 10 000, at 70 %)
// comes down to `code` over `cm`: v^2 = code^2 + 7.2 x a x s.
std::int64_t curveSpeed(std::int64_t brakeRateRaw, long double cm, std::int32_t code)
{
    const long double square =
        (static_cast<long double>(brakeRateRaw) * 0.7L * (cm / 100) * 7.2L + static_cast<long double>(code) * code * 10000) / 10000;
    return roundHalfAway(std::sqrt(std::max<long double>(square, 0)));
}

void formCurves(Run& run)
{
    ProtectionState& p = run.state.protection;
    const std::int64_t lineSpeed = run.state.signals.lineSpeed;
    if (p.patternCode == ProtectionState::noPattern) {
        p.patternSpeedA = lineSpeed + brakeMargin;
        p.patternSpeedB = lineSpeed + warningMargin;
        return;
    }
    const long double d = p.patternTarget - run.state.dynamics.trainPosition;
    if (d <= 0)
        return;  // beyond the target the curves keep their last values
    const std::int64_t rate = run.vehicle.brakeRateA.raw;
    const std::int32_t code = p.patternCode;
    std::int64_t a = d > brakeCurveMargin ? curveSpeed(rate, d - brakeCurveMargin, code) : code;
    const std::int64_t b = d > warningCurveMargin ? curveSpeed(rate, d - warningCurveMargin, code) : code - 10;
    if (p.patternKind == signalKind)
        a = std::max<std::int64_t>(a, 10);
    if (p.patternKind == stationKind)
        a = std::max<std::int64_t>(a, 1);
    p.patternSpeedA = std::min(a, lineSpeed + brakeMargin);
    p.patternSpeedB = std::min(b, lineSpeed + warningMargin);
}

std::string brakeText(const Run& run, const char* what)
{
    const ProtectionState& p = run.state.protection;
    return std::to_string(p.patternCode) + what + std::to_string(roundHalfAway(run.state.dynamics.trainSpeed))
         + " パターン" + std::to_string(p.patternSpeedA);
}

std::int32_t nextPatternState(Run& run)
{
    const ProtectionState& p = run.state.protection;
    const long double speed = run.state.dynamics.trainSpeed;
    const std::int32_t code = p.patternCode;
    const bool overCurve = speed > code && speed > static_cast<long double>(p.patternSpeedA);
    if (code <= stopPatternLimit && overCurve) {
        run.state.signals.protectionText2 = brakeText(run, "km/h照査によって停止ブレーキ 速度");
        return 3;
    }
    if (code > stopPatternLimit && overCurve) {
        run.state.signals.protectionText2 = brakeText(run, "km/h照査によってブレーキ 速度");
        return 2;
    }
    if (!p.protectionServiceBrake && speed >= static_cast<long double>(p.patternSpeedB) - 0.5L)
        return 1;
    if (p.patternState == 2 && code >= stopPatternLimit && roundHalfAway(speed) < code - 10)
        return 0;
    if (!p.protectionServiceBrake)
        return 0;
    return p.patternState;  // a brake holds until the speed is down
}

void enterPatternState(Run& run, std::int32_t from, std::int32_t to)
{
    Scene& scene = run.scene;
    if (to == 1) {
        ringAtcBell(run);
        scene.setVisible("img_Lamp_Atsp1", true);
        scene.setVisible("img_Lamp_Atsp2", false);
        masconupdate(run);
    } else if (to >= 2 && from < 2) {
        ringAtcBell(run);
        scene.setVisible("img_Lamp_Atsp1", true);
        scene.setVisible("img_Lamp_Atsp2", true);
        setProtectionServiceBrake(run, true);
    } else if (to == 0) {
        ringAtcBell(run);
        scene.setVisible("img_Lamp_Atsp1", false);
        scene.setVisible("img_Lamp_Atsp2", false);
        setProtectionServiceBrake(run, false);
    } else {
        masconupdate(run);
    }
}

void checkPattern(Run& run)
{
    ProtectionState& p = run.state.protection;
    p.patternState = nextPatternState(run);
    if (p.patternState != p.patternStatePrevious) {
        enterPatternState(run, p.patternStatePrevious, p.patternState);
        p.patternStatePrevious = p.patternState;
    }
}

}  // namespace

void currentLineSpeed(Run& run)
{
    const StationTable& stations = run.route.stations;
    const long double position = run.state.dynamics.trainPosition;
    for (std::size_t i = 0; i + 1 < stations.size(); ++i) {
        if (stations[i].stopDistance <= position && position < stations[i + 1].stopDistance) {
            run.state.signals.lineSpeed = stations[i].lineSpeed;
            return;
        }
    }
}

void erasePattern(ProtectionState& protection)
{
    protection.patternState = 0;
    protection.patternCode = ProtectionState::noPattern;
    protection.patternTarget = 0;
}

void patternProtection(Run& run)
{
    const ProtectionState& p = run.state.protection;
    if (run.vehicle.atsType != 1 || !p.atsActive || run.state.controls.reverser != 1)
        return;
    readBeacons(run);
    formCurves(run);
    checkPattern(run);
    // The immediate transponder of a stop signal stops the train whatever the pattern.
    if (p.atsCheckSpeed == 0 && !p.protectionEmergencyBrake) {
        ringAtcBell(run);
        applyProtectionEmergencyBrake(run);
    }
}

}  // namespace cabdrive
