// Saved driving states: the three slots of the per-user store ("Save1" ..
// "Save3" with their captions "Save1Title" .. "Save3Title"), saving the run
// into one and putting the run back to one.
#pragma once

#include <string>

namespace cabdrive {

class KeyValueStore;
struct Run;

inline constexpr int savedStateSlots = 3;

// The caption kept with slot 1 .. 3; empty when the slot holds no state.
std::string savedStateTitle(KeyValueStore& store, int slot);

// [LineName2]（the station the train is at or has passed last～the next one）.
std::string drivingStateCaption(const Run& run);

// Writes the slot's record and caption together and tells the driver
// "運転状態を保存しました"; when the store cannot keep them the driver is
// told so, and the slot keeps what it held. False for no such slot.
bool saveDrivingState(Run& run, int slot);

// Puts the run back to the state saved in the slot: the train at the saved
// frame, position and speed with the clock and the preceding train as they
// were, every one-shot flag cleared, the main video, the handles released
// for a moving train or at the last service notch for a standing one.
// A slot without a state, a state saved on the other direction and a record
// that does not fit the line are refused with a message to the driver, and
// the run is left as it was. The clocks must not run meanwhile; the window
// caption becomes the [LineName].
bool restoreDrivingState(Run& run, int slot);

}  // namespace cabdrive
