// The sounds placed along the line: [Sound] rows, the points ([Switch]),
// the announcements ([Announce]) and the Doppler sources ([Doppler]).
#pragma once

namespace cabdrive {

struct Run;

// [Sound] rows, started when the train comes within 15 frames of their start
// frame (once, looped until the end frame, or below their speed with
// trigger 1), their pitch and volume following the speed while inside.
void tracksideSounds(Run& run);

// [Switch] rows: within 15 frames, the first [SwitchSound] row of the switch
// for a speed above the train's plays once.
void switchSounds(Run& run);

// Under a conductor: the header sound once per door closing when the train
// stands past its stop away from stations; each [Announce] row once in its
// window before (kind 0) or after (kind 1) its station's stop.
void routeAnnouncements(Run& run);

// [Doppler] rows: a source loops while the train is within its range, its
// pitch shifted by the speed towards or away from it, louder when nearer.
void dopplerSources(Run& run);

}  // namespace cabdrive
