// The information line: one line of advice to the driver, chosen every tick
// from the settings file's [InfoLabel] texts.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick: builds the advice for the present situation (the last rule
// that applies wins) and, when it differs from the one built in the previous
// tick, shows it: the message line over the view takes it, and the frame
// before the current one is noted.
void updateInformationLine(Run& run);

}  // namespace cabdrive
