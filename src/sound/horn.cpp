// The horn and the buzzer.
#include "sound/horn.h"

#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

void nextHornPart(Run& run, std::size_t part)
{
    run.state.sound.hornPartStart = run.state.time.clockTicks;
    run.sound.restart(part, false);
}

void soundHornParts(Run& run, bool active)
{
    const VehicleSpec& v = run.vehicle;
    SoundDevice& sound = run.sound;
    const auto opening = vehicleSound(v.soundHorn4a);
    const auto middleB = vehicleSound(v.soundHorn4b);
    const auto middleC = vehicleSound(v.soundHorn4c);
    const auto closing = vehicleSound(v.soundHorn4d);
    // soundHorn4e: how long (1/30 s) a part sounds before the next one starts over it
    const bool partOver = run.state.time.clockTicks - run.state.sound.hornPartStart > v.soundHorn4e;
    const bool a = sound.isPlaying(opening), b = sound.isPlaying(middleB), c = sound.isPlaying(middleC);
    if (active) {
        if (!a && !b && !c)
            nextHornPart(run, opening);
        else if (a && !b && partOver)
            nextHornPart(run, middleB);
        else if (b && !c && partOver)
            nextHornPart(run, middleC);
        else if (c && !b && partOver)
            nextHornPart(run, middleB);
        return;
    }
    for (const bool playing : {a, b, c}) {
        if (playing && !sound.isPlaying(closing) && partOver)
            sound.restart(closing, false);
    }
}

void soundBuzzer(Run& run, bool active)
{
    const auto buzzer = vehicleSound(run.vehicle.soundBuzzer);
    if (active) {
        if (!run.sound.isPlaying(buzzer))
            run.sound.play(buzzer, true);
    } else {
        run.sound.stopIfPlaying(buzzer);
    }
}

}  // namespace

void soundHornAndBuzzer(Run& run)
{
    RunState& s = run.state;
    // A key press sounds for at least one tick even when the key was
    // released before the tick looked at it.
    const bool horn = s.input.hornKeyHeld || s.input.hornButtonHeld || s.input.hornSequence;
    const bool buzzer = s.input.buzzerKeyHeld || s.input.buzzer;
    s.input.hornSequence = s.input.buzzer = false;
    s.sound.hornSounding = horn;
    if (run.vehicle.soundHorn4a != 0)
        soundHornParts(run, horn);
    soundBuzzer(run, buzzer);
}

}  // namespace cabdrive
