// The sound libraries' own messages on standard error.
#pragma once

namespace cabdrive {

// Keeps OpenAL Soft and ALSA from printing while the sound card is probed.
// Without a sound card, opening the device makes ALSA print some ten lines
// of configuration errors and OpenAL Soft one more, all before the program
// can say in one line of its own that the runs are silent. A user who sets
// ALSOFT_LOGLEVEL asks for the libraries' diagnostics and gets both as
// before. Call it first thing in main, while no other thread runs: it sets
// an environment variable.
void quietSoundLibraries();

}  // namespace cabdrive
