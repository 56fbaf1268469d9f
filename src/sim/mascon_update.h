// masconupdate: the refresh after every control change — lamps, notch and
// reverser texts, notch strips, constant-speed control and the gear readout.
#pragma once

namespace cabdrive {

struct Run;

void masconupdate(Run& run);

// The gear readout alone (masconupdate's last step; the key handler runs it
// again after every character).
void refreshGearText(Run& run);

}  // namespace cabdrive
