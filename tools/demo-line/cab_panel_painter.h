// The cab panel of a vehicle: its pictures (panel with gauge faces, needles,
// lamps, indicator strips) and the vehicle-file lines that place them, made
// from one layout so that faces, needles and strips line up.
#pragma once

#include <string>
#include <vector>

#include "data_text_file.h"

namespace cabdrive::demo {

struct PanelDesign {
    std::string vehicleFolder;  // relative to the data folder, with its trailing backslash, or ""
    std::string pictureFolder;  // relative to the vehicle folder, with its trailing backslash
    std::string nameplate;
    int maxSpeedKmh = 120;             // end of the speedometer scale
    double lowSpeedDegPerKmh = 0;      // an opened-out scale below 10 km/h, or 0
    bool electric = true;              // voltmeter, ammeter and straight-air gauge
    bool ammeterAbsolute = false;      // 0 at the left end rather than a centre-zero ammeter
    std::vector<std::string> powerWords;  // power indicator text by notch, from notch 0
    std::vector<std::string> brakeWords;  // brake indicator text by position, from 0
    std::vector<std::string> gearWords;   // gear indicator by gear, from 0
    std::vector<std::string> leverWords;  // gear lever by position, from 0
    std::vector<int> cabSignalSpeeds;     // the [Lamp_signal] speed list
};

// Paints the panel's pictures under dataFolder and returns the vehicle-file
// keys from [Clock] to [Others].
DataText paintCabPanel(const std::string& dataFolder, const PanelDesign& design);

// The angle (degrees, clockwise from straight up) at which a needle with this
// offset and scale points for a value; the speedometer's opened-out scale
// below 10 km/h when lowDegPerUnit is not 0.
double needleAngle(double value, int offsetDeg, double degPerUnit, double lowDegPerUnit = 0);

}  // namespace cabdrive::demo
