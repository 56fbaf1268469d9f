// Starting and resetting the signal and protection state.
#include "sim/signal_reset.h"

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

}  // namespace cabdrive
