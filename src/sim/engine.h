// The diesel engine and its gearbox: starting and stopping the engine with
// its key, the stall, the gear choice and gear changes, the engine speed.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick, every train: the engine key (F2 start, Shift + F2 stop) held
// for 5 s starts or stops the engine; let go sooner, nothing changes.
void engineStartStop(Run& run);

// 100 ms tick, diesel cars: the stall, the automatic gear choice and the
// gear changes, each of which takes 1 s without traction.
void runGearbox(Run& run);

// Physics step, diesel cars: the engine speed follows the gear and the notch.
void followEngineSpeed(Run& run);

}  // namespace cabdrive
