// The signal ahead on the cab view and the spot-type transponders in the track.
#include "sim/signal_display.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "sim/event_matching.h"
#include "sim/pattern_protection.h"
#include "sim/protection_brakes.h"
#include "sim/signal_aspects.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view mainPicture = "img_unten_signal";
constexpr std::string_view subPictureS = "img_unten_signal_S";
constexpr std::string_view subPictureL = "img_unten_signal_L";
constexpr std::string_view subPictureR = "img_unten_signal_R";
constexpr std::array<std::string_view, 4> signalPictures{mainPicture, subPictureS, subPictureL, subPictureR};
constexpr std::string_view cabSignalPicture = "img_cabsignal";

constexpr std::int32_t noDisplay = SignalState::noDisplay;
constexpr std::int32_t noCheck = ProtectionState::noCheck;
constexpr std::int32_t clearDisplay = 12;  // a signal out of view that is not at stop
constexpr std::int32_t firstCabDisplay = 35;  // head type 9: the cab signal's displays
constexpr std::int32_t skipFrames = 10;  // Shift + F3 stops this far before the signal

// The stop displays of every head type; the immediate transponder leaves out
// the repeater's (1) and head type 1's (4).
constexpr std::array<std::int32_t, 10> alarmDisplays{1, 4, 7, 10, 13, 17, 21, 26, 30, 35};
constexpr std::array<std::int32_t, 8> stopDisplays{7, 10, 13, 17, 21, 26, 30, 35};
constexpr std::array<std::int32_t, 10> clearDisplays{9, 12, 16, 20, 25, 28, 29, 33, 34, 40};
constexpr std::array<std::int32_t, 2> uncheckedDisplays{26, 32};

template <std::size_t N>
bool among(const std::array<std::int32_t, N>& displays, std::int32_t display)
{
    return std::find(displays.begin(), displays.end(), display) != displays.end();
}

// The speed-check variant: the [Speed_Signal] entry a display checks.
std::optional<std::size_t> checkedEntry(std::int32_t display)
{
    switch (display) {
    case 18: case 22:
        return 1;
    case 8: case 11: case 14: case 19: case 23: case 27: case 31:
        return 2;
    case 15: case 24: case 32:
        return 3;
    case 9: case 12: case 16: case 20: case 25: case 28: case 29: case 33: case 34:
        return 4;
    default:
        return std::nullopt;
    }
}

// The spot and pattern types read wayside signals; cab signalling has its own.
bool waysideSignalling(const Run& run)
{
    return run.vehicle.atsType == 0 || run.vehicle.atsType == 1;
}

// The row's columns are offsets from the signal picture's base position.
void placeSignalPictures(Run& run, const SignalRow& row)
{
    double baseX = 0, baseY = 0;
    if (run.route.signalPictures) {
        baseX = (*run.route.signalPictures)[0].x;
        baseY = (*run.route.signalPictures)[0].y;
    }
    Scene& scene = run.scene;
    scene.setPosition(mainPicture, baseX + row.column(12), baseY + row.column(13));
    scene.setPosition(subPictureL, baseX + row.column(15), baseY + row.column(16));
    scene.setPosition(subPictureR, baseX + row.column(18), baseY + row.column(19));
    scene.setPosition(subPictureS, baseX + row.column(20), baseY + row.column(21));
}

// Sub-pictures L and R show their image only when the row gives one (>= 1).
void showSubPicture(Scene& scene, std::string_view name, std::int32_t image)
{
    if (image >= 1)
        scene.showPatternIfPresent(name, image);
}

void showWaysideSignal(Run& run, const SignalRow& row, std::int32_t display)
{
    if (row.column(4) >= 9)
        return;
    Scene& scene = run.scene;
    scene.showPatternIfPresent(mainPicture, display);
    scene.showPatternIfPresent(subPictureS, row.column(2));
    showSubPicture(scene, subPictureL, row.column(14));
    showSubPicture(scene, subPictureR, row.column(17));
}

void showCabSignal(Run& run, const SignalRow& row, std::int32_t display)
{
    Scene& scene = run.scene;
    if (row.column(4) == 9)
        scene.showPatternIfPresent(mainPicture, display);
    scene.showPatternIfPresent(subPictureS, row.column(2));
    if (display >= firstCabDisplay) {
        scene.showPatternIfPresent(cabSignalPicture, display - firstCabDisplay);
        scene.setVisible(cabSignalPicture, true);
    } else {
        scene.setVisible(cabSignalPicture, false);
    }
}

void showSignalPictures(Run& run, const SignalRow& row, std::int32_t display)
{
    const bool cabSignalling = run.vehicle.atsType == 2;
    if (cabSignalling)
        ringAtcBell(run);
    resetSignalPictures(run);
    placeSignalPictures(run, row);
    if (cabSignalling)
        showCabSignal(run, row, display);
    else if (waysideSignalling(run))
        showWaysideSignal(run, row, display);
}

// Every row gets a display; the row in view becomes the signal ahead, and
// its pictures change when its display does.
void showSignalAhead(Run& run)
{
    const SignalTable& signals = run.route.signals;
    SignalState& sig = run.state.signals;
    sig.displays.assign(signals.size(), 0);
    for (std::size_t i = 0; i < signals.size(); ++i) {
        const SignalRow& row = signals[i];
        const std::int32_t aspect = sig.aspects[i];
        std::int32_t display = aspect != 0 ? clearDisplay : 0;
        if (insideVisibilityRange(row.column(5), row.column(6), run.state.video.currentFrame)) {
            display = displayIndex(row.column(4), aspect, run.vehicle.maxSpeed);
            sig.signalDisplay = display;
            sig.signalAheadRow = static_cast<std::int32_t>(i);
            sig.signalName = row.column(3);
            if (display != sig.signalDisplayPrevious) {
                showSignalPictures(run, row, display);
                sig.signalDisplayPrevious = display;
            }
        }
        sig.displays[i] = display;
    }
}

// The long-range transponder warns of a stop signal; under the
// speed-check variant it lifts the check at a clear one.
void longRangeTransponder(Run& run, const SignalRow& row, std::int32_t rowDisplay)
{
    const VehicleSpec& v = run.vehicle;
    std::int32_t& check = run.state.protection.atsCheckSpeed;
    if (v.atsType == 0 && v.atsAlert == 0 && row.column(4) >= 1 && among(alarmDisplays, rowDisplay))
        check = ProtectionState::alarmAtStopSignal;
    if (v.atsAlert == 1 && among(clearDisplays, run.state.signals.signalDisplay))
        check = noCheck;
}

// The immediate transponder stops the train at a stop signal; under the
// speed-check variant it sets the speed the signal allows.
void immediateTransponder(Run& run)
{
    ProtectionState& p = run.state.protection;
    SignalState& sig = run.state.signals;
    const std::int32_t display = sig.signalDisplay;
    if (among(stopDisplays, display))
        p.atsCheckSpeed = 0;
    if (run.vehicle.atsAlert == 1) {
        const std::optional<std::size_t> entry = checkedEntry(display);
        if (entry && *entry < run.route.speedSignals.size())
            p.atsCheckSpeed = run.route.speedSignals[*entry];
        if (among(uncheckedDisplays, display))
            p.atsCheckSpeed = noCheck;
    }
    clearSignalAhead(sig);
    if (p.atsCheckSpeed != 0 && p.patternCode == stopPatternCode)
        erasePattern(p);
}

void readTransponders(Run& run)
{
    const SignalTable& signals = run.route.signals;
    const std::int32_t frame = run.state.video.currentFrame;
    for (std::size_t i = 0; i < signals.size(); ++i) {
        if (pointEventDue(signals[i].column(7), frame))
            longRangeTransponder(run, signals[i], run.state.signals.displays[i]);
        if (pointEventDue(signals[i].column(8), frame))
            immediateTransponder(run);
    }
}

void passSignals(Run& run)
{
    for (const SignalRow& row : run.route.signals) {
        if (!pointEventDue(row.column(6), run.state.video.currentFrame))
            continue;
        run.state.protection.acknowledgedAtSignal = false;
        resetSignalPictures(run);
        if (waysideSignalling(run))
            clearSignalAhead(run.state.signals);
    }
}

}  // namespace

void clearSignalAhead(SignalState& signals)
{
    signals.signalDisplay = noDisplay;
    signals.signalDisplayPrevious = noDisplay;
    signals.signalName = noDisplay;
}

void resetSignalPictures(Run& run)
{
    for (std::string_view name : signalPictures)
        run.scene.setPattern(name, 0);
}

void updateSignals(Run& run)
{
    if (run.route.signals.empty())
        return;
    run.state.signals.aspects = signalAspects(run);
    showSignalAhead(run);
    if (run.state.protection.atsActive && waysideSignalling(run))
        readTransponders(run);
    passSignals(run);
}

void jumpToNextSignal(Run& run)
{
    const SignalTable& signals = run.route.signals;
    std::int32_t& frame = run.state.video.currentFrame;
    for (std::size_t i = 0; i + 1 < signals.size(); ++i) {
        if (signals[i].column(6) <= frame && frame < signals[i + 1].column(6)) {
            clearSignalAhead(run.state.signals);
            frame = signals[i + 1].column(6) - skipFrames;
            return;
        }
    }
}

}  // namespace cabdrive
