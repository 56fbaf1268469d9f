// The stop-position lines over the track.
#include "view/stop_lines.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/rounding.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::array<std::string_view, 3> lines = {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"};
constexpr long double shownWithin = 10000;   // cm to the stop
constexpr long double nearLine = 2000;       // cm: nearer lines are drawn thicker
constexpr long double groundScale = 100000;  // px x cm per unit of the perspective factor

void moveAboveView(Run& run, std::string_view line)
{
    const Sprite* sprite = run.scene.sprite(line);
    if (sprite)
        run.scene.setPosition(line, 0, -static_cast<double>(sprite->height) - 1);
}

int patternAt(const Run& run, std::string_view line, long double d)
{
    const int pattern = d < nearLine ? saturateInt32(roundHalfAway(d / 100 * -0.15L + 4)) : 0;
    return std::clamp(pattern, 0, std::max(run.scene.patternCount(line) - 1, 0));
}

void placeLine(Run& run, std::string_view line, long double d)
{
    const Sprite* sprite = run.scene.sprite(line);
    if (!sprite)
        return;
    const long double y = d > 0 ? stopLineY(run.route.perspectiveOffset, run.route.perspectiveFactor, d) : 0;
    if (d <= 0 || y + sprite->height > run.settings.viewHeight) {
        moveAboveView(run, line);
        return;
    }
    run.scene.setPosition(line, 0, static_cast<double>(y));
    run.scene.setPattern(line, patternAt(run, line, d));
}

}  // namespace

long double stopLineY(long double horizon, long double factor, long double d)
{
    return horizon + factor * groundScale / d;
}

void placeStopLines(Run& run)
{
    const RunState& s = run.state;
    const auto station = static_cast<std::size_t>(s.stations.nextStopStation);
    const bool near = s.dynamics.distanceToStop < shownWithin && run.route.perspectiveFactor != 0
                   && s.stations.nextStopStation >= 0 && station < run.route.stations.size();
    if (!near) {
        for (std::string_view line : lines)
            moveAboveView(run, line);
        return;
    }
    const long double tolerance = run.route.stations[station].stopTolerance;
    const std::array<long double, 3> offsets = {-tolerance, 0, tolerance};
    for (std::size_t k = 0; k < lines.size(); ++k)
        placeLine(run, lines[k], s.dynamics.distanceToStop + offsets[k]);
}

}  // namespace cabdrive
