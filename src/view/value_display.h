// The value display: the run's inner values as text for the tool window that
// F3 shows, its sound channel grid and what its three buttons do.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace cabdrive {

struct Run;

struct ValueDisplayTexts {
    // Speeds and forces.
    std::string speed;             // trainSpeed, " km/h"
    std::string acceleration;      // of the net force, " km/h/s"
    std::string traction;          // tractionForce, " N"
    std::string resistance;        // resistanceForce, " N"
    std::string gradient;          // effectiveGradient, " Permil"
    std::string slopePost;         // the slope posts' gradient text
    std::string adhesion;          // slip, adhesion coefficient and limit, "N"
    std::string notches;           // "P step handle applied B step handle applied sap electric"
    std::string gear;              // "Gn current Gp lever"
    std::string current;           // motorCurrent, " A"
    std::string electricBrake;     // electricBrakeCurrent, "A"
    std::string engineSpeed;
    // Air, kPa.
    std::string bcMotorCar, bcTrailerCar;  // "k"
    std::string sap, er, bp, mr;           // " kPa"
    // Position, video and timetable.
    std::string frame;             // currentFrame
    std::string filmingSpeed;      // at currentFrame, " km/h"
    std::string playbackFrame;
    std::string videoMode;
    std::string distanceToStop;    // " cm"
    std::string distanceRun;       // trainPosition, " m"
    std::string nextStop;          // stop position " m " current station number
    std::string precedingTrain;    // "(" station before it "～" next station ")"
    std::string precedingFrame;
    std::string informationFrame;
    std::string drawingRate;       // passes of the render loop per second
    // Protection and signals.
    std::string patternDistance;   // m to the pattern target
    std::string patternCode;
    std::string patternLine;       // m / km/h / brake curve / warning curve
    std::string limitLine;         // m / km/h / braking distance m of the next limit
    std::string checkLine;         // m / km/h / braking distance m of the next speed check at stop
    std::string signalLine;        // "Signal now:… now2:… lim_now:…"
    std::array<std::string, 5> signals;  // aspect and display of the signal ahead and the four after it
    std::array<int, 5> signalRows{};      // their [Signal] rows; -1 none
    std::string protection1, protection2;
    // Sound.
    std::string signCallout;       // the sign call-out due (its image; 900 the timetable marker; 999 none)
    std::string soundGroups;       // "Sound D:… L:… M:… K:1"
    // Bars: the two brake cylinders (kPa) and the electric brake current (A),
    // each with the top of its scale.
    int barMotorCar = 0, barTrailerCar = 0, barElectricBrake = 0;
    int barPressureTop = 0, barCurrentTop = 0;
};

// The texts of the refresh the tick makes while the window is shown.
// `drawingRate`: the render loop's passes per second.
ValueDisplayTexts valueDisplayTexts(const Run& run, int drawingRate);

// The 10 x 10 grid: cell (column c, row r) is sound channel 10 r + c.
inline constexpr int soundGridSide = 10;
struct SoundGridCell {
    bool playing = false;  // holds a sound and plays it: drawn cyan with its number
    std::string text;      // the channel number while playing, else empty
};
std::array<SoundGridCell, soundGridSide * soundGridSide> soundGrid(const Run& run);
// A click on a cell stops its channel; a silent channel is left alone.
void stopGridChannel(Run& run, int column, int row);

// "SU再読込": the [SpeedUnit] table read again from the route file replaces
// the run's; false (and no change) when the file cannot be read.
bool reloadSpeedUnits(Run& run);
// "jump": currentFrame becomes the whole number in `text`; false (and no
// change) when the text is not one.
bool jumpToFrame(Run& run, const std::string& text);
// "抵抗解除": the speed update leaves the resistance out while it is on; true
// when it is now on.
bool toggleResistance(Run& run);

}  // namespace cabdrive
