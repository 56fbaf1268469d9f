// The information line: one line of advice to the driver, chosen every tick
// from the settings file's [InfoLabel] texts.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick: builds the advice for the present situation (the last rule
// that applies wins) and takes it over into engine.informationText when it
// differs from the one built in the previous tick.
void updateInformationLine(Run& run);

}  // namespace cabdrive
