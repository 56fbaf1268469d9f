// Signs and timetable markers, and the animations over the view.
#pragma once

namespace cabdrive {

struct Run;

// 100 ms tick, step 23. A [Sign] row in view (start <= frame < end) shows its
// image on the sign sprite and makes it the pending call-out; a row whose
// switch time has come (ticks since the sign appeared, or from 1000 on a
// clock time) takes over, so overlapping rows show one after another. A
// [Time] row (col 1 < frame < col 2) shows the timetable marker while the
// train runs faster than 1 km/h more than 100 m from its stop. With none in
// view the sprite hides and nothing is pending.
void signsAndTimeMarkers(Run& run);

// 100 ms tick, step 23: an [Anim] row in view steps through its 14 phases,
// one step after more than its ticks per step; none in view shows frame 0.
void animations(Run& run);

enum class SignCallout {
    None,           // no sign or marker in view
    Called,         // this press called it
    AlreadyCalled,  // pending, but called by an earlier press
};

// The call-out key: a pending sign or marker is called on the first press
// (the marker speaks the time against the timetable, a sign its
// [OtherKanko] voice) and not again while it stays in view.
SignCallout callOutSign(Run& run);

// Once per tick: a sign once called may be called again after it has gone.
void forgetPassedSignCallout(Run& run);

// A station jump: nothing pending, the sign counter back to 0.
void forgetSigns(Run& run);

}  // namespace cabdrive
