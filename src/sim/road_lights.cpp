// Road traffic lights beside the line and the distance text for them.
#include "sim/road_lights.h"

#include <string>
#include <string_view>

#include "common/rounding.h"
#include "sim/event_matching.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view lightSprite = "img_unten_traffic";
constexpr std::string_view secondLightSprite = "img_unten_traffic2";
constexpr std::int32_t phases = 6;
constexpr long double textHorizon = 9900;  // cm ahead
constexpr long double textBehind = 500;    // cm behind

// Moves the countdown on; true when a new phase has started.
bool runCycle(RoadLightCycle& cycle, const TrafficSignalRow& row)
{
    if (--cycle.countdown >= 1)
        return false;
    cycle.phase = cycle.phase % phases + 1;
    cycle.countdown = roadLightPhase(row, cycle.phase).ticks;
    return true;
}

void darken(Run& run)
{
    run.scene.setPattern(lightSprite, 0);
    run.scene.setPattern(secondLightSprite, 0);
}

std::string metresText(const std::string& prefix, long double cm)
{
    return prefix + std::to_string(roundHalfAway(cm / 100)) + "m";
}

std::string distanceText(const Run& run)
{
    const auto& rows = run.route.trafficSignals;
    const long double position = run.state.dynamics.trainPosition;
    for (const TrafficSignalRow& row : rows) {
        const long double ahead = row.secondDistance - position;
        if (0 <= ahead && ahead < textHorizon)
            return metresText(run.settings.wordStopsA, ahead);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const long double ahead = rows[i].distance - position;
        const RoadLightCycle& cycle = run.state.trackside.roadLights[i];
        if (-textBehind <= ahead && ahead < textHorizon && roadLightPhase(rows[i], cycle.phase).stop)
            return metresText(run.settings.wordStopsB, ahead);
    }
    return {};
}

}  // namespace

RoadLightPhase roadLightPhase(const TrafficSignalRow& row, std::int32_t phase)
{
    const int first = 2 + 3 * (phase - 1);
    return {row.column(first), row.column(first + 1), row.column(first + 2) != 0};
}

void startRoadLights(Run& run)
{
    TracksideState& t = run.state.trackside;
    t.roadLights.clear();
    for (const TrafficSignalRow& row : run.route.trafficSignals)
        t.roadLights.push_back({1, roadLightPhase(row, 1).ticks});
    t.roadLightShown = -1;
}

void roadLights(Run& run)
{
    TracksideState& t = run.state.trackside;
    const auto& rows = run.route.trafficSignals;
    if (t.roadLights.size() != rows.size())
        startRoadLights(run);
    const std::int32_t frame = run.state.video.currentFrame;
    std::int32_t inView = -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool newPhase = runCycle(t.roadLights[i], rows[i]);
        if (inView >= 0 || !insideVisibilityRange(rows[i].column(1), rows[i].column(22), frame))
            continue;
        inView = static_cast<std::int32_t>(i);
        const RoadLightPhase phase = roadLightPhase(rows[i], t.roadLights[i].phase);
        // A light that comes into view shows its phase at once.
        if ((newPhase || t.roadLightShown != inView) && phase.ticks != 0)
            run.scene.setPattern(lightSprite, phase.image);
        run.scene.setPattern(secondLightSprite, rows[i].column(20));
    }
    t.roadLightShown = inView;
    if (inView < 0 || pointEventDue(rows[static_cast<std::size_t>(inView)].column(22), frame))
        darken(run);
    t.crossingDistanceText = distanceText(run);
}

}  // namespace cabdrive
