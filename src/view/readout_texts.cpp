// Formatting the text readouts.
#include "view/readout_texts.h"

#include <cmath>
#include <cstdio>

#include "state/run.h"

namespace cabdrive {
namespace {

template <typename... Values>
std::string formatted(const char* format, Values... values)
{
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

std::string speedText(long double trainSpeed)
{
    return formatted("%5.1Lf km/h", trainSpeed);
}

std::string distanceText(long double distanceToStop)
{
    const long double metres = distanceToStop / 100;
    const long double away = std::fabs(distanceToStop);  // cm
    if (away > 1000)
        return formatted("%5.0Lf m", metres);
    if (away > 500)
        return formatted("%5.1Lf m", metres);
    return formatted("%5.2Lf m", metres);
}

ReadoutTexts readoutTexts(const Run& run)
{
    const RunState& s = run.state;
    ReadoutTexts texts;
    texts.reverser = s.controls.reverserText;
    texts.power = s.controls.powerText;
    texts.brake = s.controls.brakeText;
    texts.gear = s.controls.gearText;
    texts.nextStation = s.stations.nextStationText;
    texts.clock = s.stations.clockText;
    if (run.route.oneMan >= 1)
        texts.oneManNotice = s.stations.carsText;
    texts.limit = s.signals.limitText1;
    texts.speed = speedText(s.dynamics.trainSpeed);
    texts.distance = distanceText(s.dynamics.distanceToStop);
    texts.currentStop = s.stations.currentStopName;
    texts.nextStop = s.stations.nextStopName;
    texts.crossingDistance = s.trackside.crossingDistanceText;
    if (s.signals.signalName != SignalState::noName)
        texts.trafficLight = run.settings.wordSection;
    return texts;
}

}  // namespace cabdrive
