// Speed limits and speed checks.
#include "sim/speed_limits.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "common/rounding.h"
#include "sim/event_matching.h"
#include "sim/pattern_protection.h"
#include "sim/spot_protection.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view limitSign = "img_unten_limit";
constexpr std::string_view cabSignalPicture = "img_cabsignal";
constexpr std::size_t limitSlots = 3;       // upcomingLimits 0 .. 2
constexpr std::size_t firstCheckSlot = 3;   // upcomingLimits 3 and 4
constexpr std::int32_t releaseSignFrames = 200;  // the release sign stays in view this long
constexpr std::int32_t noCheck = ProtectionState::noCheck;

std::vector<std::uint8_t>& speedCheckPassed(Run& run)
{
    std::vector<std::uint8_t>& passed = run.state.signals.speedCheckPassed;
    passed.resize(run.route.speedChecks1.size(), 0);
    return passed;
}

// A check linked to a signal (column 4 > 0) acts only while it shows stop.
bool checkActive(const Run& run, const SpeedCheck1Row& row)
{
    const std::int32_t link = row.column(4);
    if (link <= 0)
        return true;
    const std::vector<std::int32_t>& aspects = run.state.signals.aspects;
    return static_cast<std::size_t>(link) < aspects.size() && aspects[static_cast<std::size_t>(link)] == 0;
}

// cm to come down from v to the limit: (limit + v)(v - limit) / 21.6 + v
// metres; with no need to slow down, 2 m per km/h.
std::int64_t brakingDistance(std::int32_t limit, long double v)
{
    if (limit < v)
        return roundHalfAway((limit + v) * (v - limit) / 21.6L + v) * 100;
    return roundHalfAway(v) * 200;
}

UpcomingLimit upcoming(const Run& run, std::size_t row, std::int32_t limit, std::int32_t distance)
{
    const DynamicsState& d = run.state.dynamics;
    return {static_cast<std::int32_t>(row), limit, brakingDistance(limit, d.trainSpeed),
            roundHalfAway(static_cast<long double>(distance) - d.trainPosition)};
}

bool withinBrakingDistance(const UpcomingLimit& slot)
{
    return slot.row >= 0 && slot.distance < slot.brakingDistance;
}

void findUpcomingLimits(Run& run)
{
    SignalState& sig = run.state.signals;
    const long double position = run.state.dynamics.trainPosition;
    sig.upcomingLimits.fill(UpcomingLimit{});
    std::size_t slot = 0;
    const SpeedLimitTable& limits = run.route.speedLimits;
    for (std::size_t i = 0; i < limits.size() && slot < limitSlots; ++i) {
        if (limits[i].distance > position)
            sig.upcomingLimits[slot++] = upcoming(run, i, limits[i].column(1), limits[i].distance);
    }
    slot = firstCheckSlot;
    const auto& checks = run.route.speedChecks1;
    for (std::size_t i = 0; i < checks.size() && slot < sig.upcomingLimits.size(); ++i) {
        if (checks[i].distance > position && checkActive(run, checks[i]))
            sig.upcomingLimits[slot++] = upcoming(run, i, checks[i].column(1), checks[i].distance);
    }
    sig.limitWarning = withinBrakingDistance(sig.upcomingLimits[0]);
}

// Visible on multiples of 10 ticks, hidden on the other multiples of 5.
void blinkLimitSign(Run& run)
{
    const std::int32_t tick = run.state.time.tickCount;
    if (tick % 10 == 0)
        run.scene.setVisible(limitSign, true);
    else if (tick % 5 == 0)
        run.scene.setVisible(limitSign, false);
}

void showLimitSignImage(Run& run, std::int32_t image)
{
    run.scene.setVisible(limitSign, true);
    run.scene.showPatternIfPresent(limitSign, image);
}

// Inside a limit (columns 4 to 5) the sign shows the limit; for 200 frames
// after it a row with a release image (column 6) shows that, and its
// call-out is due.
void followLimitRanges(Run& run)
{
    const std::int32_t frame = run.state.video.currentFrame;
    bool shown = false;
    for (const SpeedLimitRow& row : run.route.speedLimits) {
        if (insideVisibilityRange(row.column(4), row.column(5), frame)) {
            showLimitSignImage(run, row.column(2));
            shown = true;
        }
    }
    for (const SpeedLimitRow& row : run.route.speedLimits) {
        if (row.column(6) != 0 && insideRange(row.column(5), row.column(5) + releaseSignFrames, frame)) {
            showLimitSignImage(run, row.column(6));
            run.state.signals.pendingLimitCallout = row.column(6);
            shown = true;
        }
    }
    if (!shown)
        run.scene.setPattern(limitSign, 0);
}

void showLimitSign(Run& run)
{
    SignalState& sig = run.state.signals;
    sig.pendingLimitCallout = -1;
    if (!sig.limitWarning) {
        followLimitRanges(run);
        return;
    }
    const std::int32_t image = run.route.speedLimits[static_cast<std::size_t>(sig.upcomingLimits[0].row)].column(2);
    run.scene.showPatternIfPresent(limitSign, image);
    blinkLimitSign(run);
    sig.pendingLimitCallout = image;
}

void passSpeedChecks(Run& run)
{
    std::vector<std::uint8_t>& passed = speedCheckPassed(run);
    const auto& checks = run.route.speedChecks1;
    const DynamicsState& d = run.state.dynamics;
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const SpeedCheck1Row& row = checks[i];
        if (passed[i] || d.trainPosition <= row.distance || !checkActive(run, row))
            continue;
        if (row.column(2) < d.trainSpeed)
            startSpeedCheckAlarm(run);
        passed[i] = 1;
    }
}

// The cab signal picture shows the entry of [Lamp_signal] that lists the speed.
bool showCabSignalSpeed(Run& run, std::int32_t speed)
{
    const auto& codes = run.vehicle.cabSignalCodes;
    const auto found = std::find(codes.begin(), codes.end(), speed);
    if (found == codes.end())
        return false;
    run.scene.showPatternIfPresent(cabSignalPicture, static_cast<int>(found - codes.begin()));
    run.scene.setVisible(cabSignalPicture, true);
    return true;
}

// Inside a supervised stretch below the check in force the stretch's speed
// is shown and checked; otherwise the check in force is shown. With nothing
// to show the check lapses.
void superviseStretches(Run& run)
{
    ProtectionState& p = run.state.protection;
    const std::int32_t frame = run.state.video.currentFrame;
    bool inStretch = false;
    bool shown = false;
    for (const SpeedCheck2Row& row : run.route.speedChecks2) {
        if (!insideRange(row.column(3), row.column(4), frame) || row.column(1) >= p.atsCheckSpeed)
            continue;
        inStretch = true;
        shown = showCabSignalSpeed(run, row.column(1)) || shown;
        if (row.column(1) < run.state.dynamics.trainSpeed)
            startSpeedCheckAlarm(run);
    }
    if (!inStretch && p.atsCheckSpeed < noCheck)
        shown = showCabSignalSpeed(run, p.atsCheckSpeed);
    if (!shown) {
        run.scene.setVisible(cabSignalPicture, false);
        p.atsCheckSpeed = noCheck;
    }
}

std::string metres(std::int64_t cm)
{
    return std::to_string(roundHalfAway(static_cast<long double>(cm) / 100)) + "m";
}

// An [InfoLabel] line; a settings file with fewer lines gives an empty word.
std::string infoText(const Run& run, std::size_t line)
{
    const std::vector<std::string>& texts = run.settings.infoTexts;
    return line < texts.size() ? texts[line] : std::string();
}

// The second line names the limit after the first when it too lies within
// its braking distance; `ending` is the [InfoLabel] line that closes it.
void secondLimitText(Run& run, const UpcomingLimit& slot, std::size_t ending)
{
    if (withinBrakingDistance(slot))
        run.state.signals.limitText2 = infoText(run, 5) + std::to_string(slot.limit) + "km/h " + infoText(run, ending) + ")";
}

}  // namespace

void speedLimitsAndChecks(Run& run)
{
    findUpcomingLimits(run);
    showLimitSign(run);
    if (!run.state.protection.atsActive)
        return;
    passSpeedChecks(run);
    superviseStretches(run);
}

void upcomingLimitTexts(Run& run)
{
    SignalState& sig = run.state.signals;
    const ProtectionState& p = run.state.protection;
    const long double speed = run.state.dynamics.trainSpeed;
    const long double toTarget = p.patternTarget - run.state.dynamics.trainPosition;
    const std::array<UpcomingLimit, 5>& slots = sig.upcomingLimits;
    sig.limitText1.clear();
    sig.limitText2.clear();
    if (p.patternCode == 1 && speed > p.patternCode && toTarget > 0) {
        sig.limitText1 = infoText(run, 2);
    } else if (static_cast<long double>(p.patternSpeedA) - speed < 30 && p.patternCode == stopPatternCode && speed > 10
               && toTarget > 0) {
        sig.limitText1 = std::to_string(p.patternCode) + "km/h " + infoText(run, 3)
                       + std::to_string(roundHalfAway((toTarget - 2000) / 100)) + "m";
    } else if (withinBrakingDistance(slots[0])) {
        sig.limitText1 = std::to_string(slots[0].limit) + "km/h " + infoText(run, 4) + metres(slots[0].distance);
        secondLimitText(run, slots[1], 7);
    } else if (withinBrakingDistance(slots[firstCheckSlot])) {
        const UpcomingLimit& check = slots[firstCheckSlot];
        sig.limitText1 = std::to_string(check.limit) + "km/h 照査まで" + metres(check.distance);
        secondLimitText(run, slots[firstCheckSlot + 1], 6);
    }
}

void markSpeedChecksBehind(Run& run)
{
    std::vector<std::uint8_t>& passed = speedCheckPassed(run);
    const auto& checks = run.route.speedChecks1;
    for (std::size_t i = 0; i < checks.size(); ++i)
        passed[i] = checks[i].distance < run.state.dynamics.trainPosition ? 1 : 0;
}

}  // namespace cabdrive
