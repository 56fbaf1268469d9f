// The handle sounds.
#include "sound/notch_sounds.h"

#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {

void playNotchChangeSounds(Run& run, std::int32_t powerHandleBefore, std::int32_t brakeHandleBefore)
{
    const VehicleSpec& v = run.vehicle;
    const ControlState& c = run.state.controls;
    if (c.brakeHandle != brakeHandleBefore)
        run.sound.restart(notchSound(v.soundBrakeBA, -c.brakeHandle), false);
    if (c.powerHandle > powerHandleBefore)
        run.sound.restart(notchSound(v.soundPowerPA, c.powerHandle), false);
    if (c.powerHandle < powerHandleBefore)
        run.sound.restart(notchSound(v.soundPowerPR, c.powerHandle), false);
}

}  // namespace cabdrive
