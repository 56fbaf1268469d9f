// Synthesised sounds of the demo line: running, motor, air, horn, station and voice.
// Every function is deterministic (noise comes from a fixed-seed generator) and
// returns 22050 Hz mono. "Loopable" sounds start and end on matching samples.
#pragma once

#include <string>
#include <vector>

#include "wave_file.h"

namespace cabdrive::demo {

Wave runningBand(int band, int bandCount);  // wheel-on-rail rumble and joint clicks; loopable, 2 s
Wave motorWhine(double pitchHz);            // traction motor tone; loopable, 1 s
Wave airConditioningHum();                  // quiet, under the running sounds; loopable, 2 s
Wave dieselEngine(double firingHz);         // diesel engine; loopable, 1 s
Wave airExhaust(double seconds);            // brake-cylinder exhaust hiss dying away
Wave airApply(double seconds);              // short puff of an application
Wave brakeSqueal();                         // loopable, 1 s
Wave compressorStart();
Wave compressorRun();  // loopable
Wave compressorEnd();
Wave hornPart(int part);  // 0 attack, 1 sustain (loopable, 0.5 s), 2 release, 3 a short second horn
Wave whistle();           // a lighter second horn
Wave buzzer();            // loopable
Wave bell();              // protection alarm bell; loopable
Wave chime();             // protection chime
Wave tone(double hz, double seconds);
Wave doorOpen();
Wave doorClose();
Wave notchClick(bool brakeHandle);  // a handle detent
Wave departureMelody(int variant);  // 4-8 s platform melody; variants 0..3 differ
Wave arrivalChime();
Wave stationAmbience(int variant);  // platform murmur; loopable, 3 s
Wave crossingBell();                // level-crossing bell; loopable
Wave pointsClack();                 // wheels over a turnout
Wave tunnelRoar();                  // loopable
// Spoken with espeak-ng's Japanese voice when it is installed; otherwise a
// tone sequence derived from the text, so different texts stay distinct.
// Never fails.
Wave speech(const std::string& utf8Text, int voice);

Wave titleJingle();  // a short bright fanfare for the title screen

// One sound placed in a mix: from startSeconds, scaled by gain, repeated when
// looped; faded to silence between fadeFromSeconds and fadeToSeconds when
// fadeToSeconds > fadeFromSeconds (times measured in the mix).
struct SoundLayer {
    const Wave* wave = nullptr;
    double startSeconds = 0;
    double gain = 1;
    bool looped = false;
    double fadeFromSeconds = 0, fadeToSeconds = 0;
};
// Mixes the layers into `seconds` of sound with its peak at -3 dBFS.
Wave mixLayers(const std::vector<SoundLayer>& layers, double seconds);

}  // namespace cabdrive::demo
