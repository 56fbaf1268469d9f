// The stop-approach alert.
#include "sim/stop_alert.h"

#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {

void stopApproachAlert(Run& run)
{
    const RunState& s = run.state;
    const auto channel = vehicleSound(run.vehicle.soundStop);
    const long double v = s.dynamics.trainSpeed;  // km/h
    const long double marginM = 125;
    // v/5 x v/3.6: a rule of thumb for the braking distance in m
    if (v / 5 * (v / 3.6L) > s.dynamics.distanceToStop / 100 - marginM)
        run.sound.playOnceIfSilent(channel);
    if (!run.sound.isPlaying(channel))
        return;
    if (v < 1) {
        run.sound.stop(channel);
        run.sound.setVolume(channel, 0);
        run.scene.setVisible("img_Lamp_stopalert", false);
        return;
    }
    if (s.time.tickCount % 10 == 0)
        run.scene.setVisible("img_Lamp_stopalert", true);
    else if (s.time.tickCount % 5 == 0)
        run.scene.setVisible("img_Lamp_stopalert", false);
}

}  // namespace cabdrive
