// The text readouts the main window's labels show in text display mode.
#pragma once

#include <optional>
#include <string>

namespace cabdrive {

struct Run;

// trainSpeed (km/h) as "%5.1f km/h".
std::string speedText(long double trainSpeed);
// distanceToStop (cm) in metres: no decimals beyond 10 m, one beyond 5 m,
// two below, then " m".
std::string distanceText(long double distanceToStop);

struct ReadoutTexts {
    std::string reverser, power, brake, gear;  // the notch texts
    std::string nextStation;                   // "次は …" or "ただいま …"
    std::string clock;                         // "hh:mm:ss"
    std::optional<std::string> oneManNotice;   // only in one-person operation
    std::string limit;
    std::string speed, distance;
    std::string currentStop, nextStop;
    std::string crossingDistance;  // to the next road traffic light
    std::string trafficLight;      // the [TC] word while a signal ahead gives its section value
};

// The readouts as the last tick left the run.
ReadoutTexts readoutTexts(const Run& run);

}  // namespace cabdrive
