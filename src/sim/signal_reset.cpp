// Starting and resetting the signal and protection state.
#include "sim/signal_reset.h"

#include <algorithm>

#include "sim/event_matching.h"
#include "sim/pattern_protection.h"
#include "sim/signal_display.h"
#include "sim/speed_limits.h"
#include "state/run.h"

namespace cabdrive {

void startSignals(Run& run)
{
    // The stored option ATS 1 switches protection off for the run.
    run.state.protection.atsActive = run.options.ATS != 1;
    markSpeedChecksBehind(run);
}

void resetSignalsForJump(Run& run)
{
    SignalState& sig = run.state.signals;
    ProtectionState& p = run.state.protection;
    clearSignalAhead(sig);
    sig.signalAheadRow = -1;
    sig.limitText1.clear();
    sig.limitText2.clear();
    sig.protectionText1.clear();
    sig.protectionText2.clear();
    p.atsCheckSpeed = ProtectionState::noCheck;
    erasePattern(p);
    resetSignalPictures(run);
    run.scene.setVisible("img_cabsignal", false);
    markSpeedChecksBehind(run);
}

void resetSignalsForRestore(Run& run)
{
    SignalState& sig = run.state.signals;
    run.state.protection.atsCheckSpeed = ProtectionState::noCheck;
    sig.signalDisplay = SignalState::redrawDisplay;
    sig.signalDisplayPrevious = SignalState::redrawDisplay;
    const std::int32_t frame = run.state.video.currentFrame;
    const SignalTable& signals = run.route.signals;
    const bool signalInView = std::any_of(signals.begin(), signals.end(), [frame](const SignalRow& row) {
        return insideVisibilityRange(row.column(5), row.column(6), frame);
    });
    // A road light's view runs from its column 1 to its stop line, column 22.
    const auto& lights = run.route.trafficSignals;
    const bool roadLightInView = std::any_of(lights.begin(), lights.end(), [frame](const auto& row) {
        return insideVisibilityRange(row.column(1), row.column(22), frame);
    });
    if (!signalInView && !roadLightInView) {
        resetSignalPictures(run);
        clearSignalAhead(sig);
    }
}

}  // namespace cabdrive
