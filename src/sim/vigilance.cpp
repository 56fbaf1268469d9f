// The vigilance device.
#include "sim/vigilance.h"

#include "sim/mascon_update.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr int warningAfterTicks = 600;  // 60 s
constexpr int brakeAfterTicks = 650;    // 5 s of warning

void applyVigilanceBrake(Run& run)
{
    RunState& s = run.state;
    run.sound.stopIfPlaying(vehicleSound(run.vehicle.soundEbRing));
    s.protection.vigilanceCounter = 0;
    s.protection.protectionEmergencyBrake = true;
    masconupdate(run);
    ControlState& c = s.controls;
    c.powerChangePending = c.brakeChangePending = c.sapChangePending = c.eBrakeChangePending = true;
}

}  // namespace

void vigilanceDevice(Run& run)
{
    RunState& s = run.state;
    // Either debug switch disarms the device for the rest of the run.
    if (s.input.debugFreeze || s.input.resistanceDebug)
        s.protection.vigilanceDisarmed = true;
    if (run.vehicle.ebFlag != 1 || s.protection.vigilanceDisarmed || s.dynamics.trainSpeed <= 1)
        return;
    ++s.protection.vigilanceCounter;
    if (s.protection.vigilanceCounter > warningAfterTicks) {
        run.sound.playOnceIfSilent(vehicleSound(run.vehicle.soundEbRing));
        run.scene.setVisible("img_Lamp_EB", true);
    }
    if (s.protection.vigilanceCounter > brakeAfterTicks)
        applyVigilanceBrake(run);
}

void resetVigilance(Run& run)
{
    run.state.protection.vigilanceCounter = 0;
    run.sound.stopIfPlaying(vehicleSound(run.vehicle.soundEbRing));
    run.scene.setVisible("img_Lamp_EB", false);
}

}  // namespace cabdrive
