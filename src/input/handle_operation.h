// One operation of the handles, by whichever device the driver uses.
#pragma once

#include <cstdint>

#include "sim/mascon_update.h"
#include "sound/notch_sounds.h"
#include "state/run.h"

namespace cabdrive {

// Every handle move goes through here, from the keys, the wheel, the easy
// panel, the serial master controller or a game controller: `move` sets the
// handles, the controller update follows, and the notch each handle moved
// onto sounds once ([Sound_BA], [Sound_PA], [Sound_PR]).
template <typename Move>
void operateHandles(Run& run, Move&& move)
{
    const std::int32_t powerBefore = run.state.controls.powerHandle;
    const std::int32_t brakeBefore = run.state.controls.brakeHandle;
    move();
    masconupdate(run);
    playNotchChangeSounds(run, powerBefore, brakeBefore);
}

}  // namespace cabdrive
