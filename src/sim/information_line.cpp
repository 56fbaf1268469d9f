// The information line: one line of advice to the driver, chosen every tick
// from the settings file's [InfoLabel] texts.
#include "sim/information_line.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "common/rounding.h"
#include "state/run.h"

namespace cabdrive {
namespace {

// Entries of the [InfoLabel] list.
enum InfoText : std::size_t {
    selectLeftDoors = 8,
    selectRightDoors = 9,
    waitForStationClip = 10,
    protectionBraking = 11,
    protectionStopped = 12,
    protectionAlarm = 13,
    vigilanceAlarm = 14,
    cautionSignal = 15,
    reduceSpeedSignal = 16,
    restrictedSpeedSignal = 17,
    stopAhead = 18,
    endOfVideo = 21,
};

// Every text starts with a marker character that is dropped when it is
// shown; the marker alone shows nothing.
constexpr char marker = '0';
constexpr std::string_view stallText = "0エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。";

constexpr std::int32_t vigilanceWarningTicks = 600;
constexpr std::int32_t endOfVideoFrames = 200;
constexpr long double stopAheadMargin = 125;      // m
constexpr long double stopAheadMinimum = 25000;   // cm

std::string advice(const Run& run, InfoText k)
{
    const auto& texts = run.settings.infoTexts;
    return marker + (k < texts.size() ? texts[k] : std::string());
}

bool among(std::int32_t display, std::initializer_list<std::int32_t> displays)
{
    return std::find(displays.begin(), displays.end(), display) != displays.end();
}

struct Situation {
    const Run& run;
    const RunState& s = run.state;
    std::int64_t a = roundHalfAway(s.dynamics.trainSpeed);  // km/h
    std::int32_t powerHandle = s.controls.powerHandle;
};

// One-person operation, standing at a station with the doors closed: the
// door side chosen must be the platform's (column 14: 0 left, 1 right).
void doorSideAdvice(const Situation& now, std::string& text)
{
    const Run& run = now.run;
    const auto& atStation = now.s.stations.atStation;
    if (now.s.doors.doorsOpen || now.a >= 1 || run.route.oneMan == 0)
        return;
    const std::int32_t doorSide = now.s.input.doorSide;
    for (std::size_t i = 0; i < run.route.stations.size() && i < atStation.size(); ++i) {
        const Station& station = run.route.stations[i];
        if (station.kind != 0 || !atStation[i])
            continue;
        if (station.column14 == 0 && doorSide == 1)
            text = advice(run, selectLeftDoors);
        else if (station.column14 == 1 && doorSide == 0)
            text = advice(run, selectRightDoors);
        else
            text = std::string(1, marker);
    }
}

bool atEndOfVideo(const Situation& now)
{
    const RouteData& route = now.run.route;
    if (now.a != 0 || route.movieStops.empty())
        return false;
    const std::int32_t frame = now.s.video.currentFrame;
    return route.movieStops[0] - endOfVideoFrames < frame && frame <= route.movieStops[0];
}

// The signal ahead asks for a lower speed, or the next stop comes within
// the distance the train needs to brake.
void drivingAdvice(const Situation& now, std::string& text)
{
    const Run& run = now.run;
    const std::int32_t display = now.s.signals.signalDisplay;
    if (among(display, {8, 11, 14, 19, 23, 27, 31}) && now.a > 55)
        text = advice(run, cautionSignal);
    if (among(display, {15, 24}) && now.a > 75)
        text = advice(run, reduceSpeedSignal);
    if (among(display, {18, 22}) && now.a > 25)
        text = advice(run, restrictedSpeedSignal);
    const long double v = now.s.dynamics.trainSpeed;  // km/h
    const long double toStop = now.s.dynamics.distanceToStop;  // cm
    if (toStop / 100 - stopAheadMargin < v / 5 * v / 3.6L && toStop > stopAheadMinimum) {
        const std::string stop = advice(run, stopAhead);
        text = text.empty() ? stop : text + stop.substr(1);
    }
}

// The protection, vigilance and signal advice: the first that applies.
void protectionAdvice(const Situation& now, std::string& text)
{
    const Run& run = now.run;
    const ProtectionState& p = now.s.protection;
    const bool patternBraking = p.patternState >= 2;
    if (p.protectionServiceBrake) {
        if (patternBraking)
            text = advice(run, std::llabs(now.a) > 0 ? protectionBraking : protectionStopped);
    } else if (p.protectionEmergencyBrake) {
        if ((p.alarm && std::llabs(now.a) > 0) || patternBraking)
            text = advice(run, protectionBraking);
        else if (now.a == 0)
            text = advice(run, protectionStopped);
    } else if (p.alarm && p.atsActive) {
        text = advice(run, protectionAlarm);
    } else if (now.s.protection.vigilanceCounter > vigilanceWarningTicks) {
        text = advice(run, vigilanceAlarm);
    } else {
        drivingAdvice(now, text);
    }
}

std::string buildInformation(const Run& run)
{
    const Situation now{run};
    std::string text;
    doorSideAdvice(now, text);
    if (now.s.video.videoMode == 1 && now.powerHandle > 0)
        text = advice(run, waitForStationClip);
    if (atEndOfVideo(now))
        text = advice(run, endOfVideo);
    protectionAdvice(now, text);
    // Electric trains too: one shut down with the stop key cannot take power.
    if (now.powerHandle > 0 && now.s.engine.engineRunning == 0 && now.a == 0)
        text = std::string(stallText);
    return text;
}

}  // namespace

void updateInformationLine(Run& run)
{
    EngineState& e = run.state.engine;
    std::string built = buildInformation(run);
    if (built == e.informationBuilt)
        return;
    PresentationState& shown = run.state.presentation;
    shown.informationText = built.empty() ? std::string() : built.substr(1);
    shown.messageText = shown.informationText;
    shown.informationFrame = run.state.video.currentFrame - 1;
    e.informationBuilt = std::move(built);
}

}  // namespace cabdrive
