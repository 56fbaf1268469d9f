// The demo line "若葉線" and the recorded run over it.
#include "line_model.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace cabdrive::demo {

namespace {

// The filming train: a commuter unit driven gently, as a cab ride is recorded.
constexpr double framesPerSecond = 30;
constexpr double creepKmh = 3;            // at the stopping points: the run never stands still
constexpr double startAccelKmhS = 2.6;    // km/h/s up to the end of the constant-torque range
constexpr double constantTorqueKmh = 40;  // km/h; above it the acceleration falls as 1/v
constexpr double brakeKmhS = 2.8;         // km/h/s, service braking
constexpr double trainLengthM = 100;      // a restriction holds until the last car has left it
constexpr double belowLimitKmh = 3;       // the driver keeps this far under a limit
constexpr int leadInFrames = 30;          // the video opens a second before the first stopping point
constexpr int tailFrames = 30;            // and ends just beyond the last one, at least this long
constexpr double tailEndKmh = 1;

double accelerationAt(double kmh)
{
    return kmh < constantTorqueKmh ? startAccelKmhS : startAccelKmhS * constantTorqueKmh / kmh;
}

// Highest speed (km/h) from which the train still slows to targetKmh over distanceM.
double brakingCurve(double targetKmh, double distanceM)
{
    return std::sqrt(targetKmh * targetKmh + 7.2 * brakeKmhS * std::max(0.0, distanceM));
}

double mirror(double lengthM, double m)
{
    return lengthM - m;
}

template <typename T>
void mirrorRange(double lengthM, T& range)
{
    const double start = mirror(lengthM, range.endM);
    range.endM = mirror(lengthM, range.startM);
    range.startM = start;
}

}  // namespace

double LineGeometry::heightAt(double m) const
{
    double height = 0;
    for (const GradientSection& g : gradients) {
        const double overlap = std::clamp(m, g.startM, g.endM) - g.startM;
        height += overlap * g.perMille / 1000.0;
    }
    return height;
}

double LineGeometry::curvatureAt(double m) const
{
    for (const Curve& c : curves)
        if (m >= c.startM && m < c.endM)
            return c.curvature;
    return 0;
}

int LineGeometry::restrictionAt(double m) const
{
    int speed = lineSpeedKmh;
    for (const Restriction& r : restrictions)
        if (m >= r.startM && m < r.endM)
            speed = std::min(speed, r.speedKmh);
    return speed;
}

LineGeometry demoLine()
{
    LineGeometry line;
    line.name = "若葉線";
    line.lengthM = 6500;
    line.lineSpeedKmh = 95;
    line.platformLengthM = 110;
    line.stations = {
        {"若葉台", "わかばだい", stopWithDoors, 120, true},
        {"桜町", "さくらまち", stopWithDoors, 1300, false},
        {"川端", "かわばた", passing, 2450, true},
        {"中央公園", "ちゅうおうこうえん", stopWithDoors, 3500, false},
        {"車両基地前", "しゃりょうきちまえ", stopWithoutService, 4750, true},
        {"港浜", "みなとはま", stopWithDoors, 6350, true},
    };
    line.restrictions = {
        {1800, 2350, 75},   // curve by the river
        {5100, 5650, 65},   // the sharp curve down to the harbour
        {6100, 6500, 45},   // over the points into the terminus
    };
    line.gradients = {
        {0, 600, 0},     {600, 1150, 8},    {1150, 1450, 0},  {1450, 2300, -6},
        {2300, 2600, 0}, {2600, 3350, 4},   {3350, 3650, 0},  {3650, 4500, 12},
        {4500, 4900, 0}, {4900, 5900, -10}, {5900, 6500, 0},
    };
    line.curves = {
        {1850, 2250, 1.0 / 600},
        {5150, 5550, -1.0 / 400},
    };
    line.tunnels = {{3900, 4350}};
    line.levelCrossings = {1750};
    line.points = {4620, 6180};
    return line;
}

LineGeometry reversedLine(const LineGeometry& line)
{
    LineGeometry r = line;
    const double length = line.lengthM;
    std::reverse(r.stations.begin(), r.stations.end());
    for (StationSite& s : r.stations) {
        s.positionM = mirror(length, s.positionM);
        s.platformLeft = !s.platformLeft;
    }
    std::reverse(r.restrictions.begin(), r.restrictions.end());
    for (Restriction& x : r.restrictions)
        mirrorRange(length, x);
    std::reverse(r.gradients.begin(), r.gradients.end());
    for (GradientSection& g : r.gradients) {
        mirrorRange(length, g);
        g.perMille = -g.perMille;
    }
    std::reverse(r.curves.begin(), r.curves.end());
    for (Curve& c : r.curves) {
        mirrorRange(length, c);
        c.curvature = -c.curvature;
    }
    std::reverse(r.tunnels.begin(), r.tunnels.end());
    for (Range& t : r.tunnels)
        mirrorRange(length, t);
    for (std::vector<double>* list : {&r.levelCrossings, &r.points}) {
        for (double& m : *list)
            m = mirror(length, m);
        std::sort(list->begin(), list->end());
    }
    return r;
}

LineGeometry lineFor(Direction direction)
{
    return direction == Direction::down ? demoLine() : reversedLine(demoLine());
}

// --- the recorded run ---

FilmingRun::FilmingRun(std::vector<SpeedSegment> segments, std::vector<int> stationFrames, double originM)
    : m_segments(std::move(segments)), m_stationFrames(std::move(stationFrames)), m_originM(originM)
{
    m_frameMetres.assign(static_cast<std::size_t>(frameCount()) + 1, 0.0);
    double start = 0;
    for (const SpeedSegment& s : m_segments) {
        const double slope = (s.toKmh - s.fromKmh) / (s.toFrame - s.fromFrame);
        for (int p = s.fromFrame; p <= s.toFrame; ++p) {
            const double speed = s.fromKmh + slope * (p - s.fromFrame);
            m_frameMetres[static_cast<std::size_t>(p)] = start + (s.fromKmh + speed) / 7.2 * ((p - s.fromFrame) / framesPerSecond);
        }
        // The program adds up whole centimetres row by row; so does the camera.
        start = std::nearbyint(m_frameMetres[static_cast<std::size_t>(s.toFrame)] * 100) / 100;
    }
}

double FilmingRun::metresAt(int frame) const
{
    return m_originM + m_frameMetres.at(static_cast<std::size_t>(std::clamp(frame, 0, frameCount())));
}

int FilmingRun::frameAt(double lineM) const
{
    // A position read back from metresAt must give its own frame, whatever the rounding.
    const auto it = std::lower_bound(m_frameMetres.begin(), m_frameMetres.end(), lineM - m_originM - 1e-6);
    if (it == m_frameMetres.end())
        return frameCount();
    return static_cast<int>(it - m_frameMetres.begin());
}

double FilmingRun::speedAt(int frame) const
{
    for (const SpeedSegment& s : m_segments)
        if (frame >= s.fromFrame && frame <= s.toFrame)
            return s.fromKmh + (s.toKmh - s.fromKmh) * (frame - s.fromFrame) / (s.toFrame - s.fromFrame);
    return 0;
}

std::vector<SpeedSegment> segmentsFromFrameSpeeds(const std::vector<double>& kmhPerFrame, double toleranceKmh)
{
    std::vector<double> v(kmhPerFrame.size());
    std::transform(kmhPerFrame.begin(), kmhPerFrame.end(), v.begin(),
                   [](double kmh) { return std::round(kmh * 1000.0) / 1000.0; });
    const auto fits = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from + 1; k < to; ++k) {
            const double line = v[from] + (v[to] - v[from]) * static_cast<double>(k - from) / static_cast<double>(to - from);
            if (std::abs(line - v[k]) > toleranceKmh)
                return false;
        }
        return true;
    };
    std::vector<SpeedSegment> segments;
    for (std::size_t from = 0; from + 1 < v.size();) {
        std::size_t to = from + 1;
        while (to + 1 < v.size() && fits(from, to + 1))
            ++to;
        segments.push_back({static_cast<int>(from), static_cast<int>(to), v[from], v[to]});
        from = to;
    }
    return segments;
}

namespace {

// What the driver aims at next: the speed allowed here, and the speed of the
// constraint that sets it.
struct Allowance {
    double kmh = 0;
    double targetKmh = 0;
};

class FilmingDriver {
public:
    explicit FilmingDriver(const LineGeometry& line) : m_line(line) {}

    Allowance allowanceAt(double m, double nextStopM) const
    {
        Allowance a{m_line.lineSpeedKmh - 5.0, m_line.lineSpeedKmh - 5.0};
        const auto consider = [&a](double kmh, double target) {
            if (kmh < a.kmh)
                a = {kmh, target};
        };
        for (const Restriction& r : m_line.restrictions) {
            const double limit = r.speedKmh - belowLimitKmh;
            if (m >= r.startM && m < r.endM + trainLengthM)
                consider(limit, limit);
            else if (m < r.startM)
                consider(brakingCurve(limit, r.startM - m), limit);
        }
        if (nextStopM > m)
            consider(brakingCurve(creepKmh, nextStopM - m), creepKmh);
        return a;
    }

private:
    const LineGeometry& m_line;
};

}  // namespace

FilmingRun filmRun(const LineGeometry& line)
{
    if (line.stations.empty())
        throw std::runtime_error("a line needs stations");
    const FilmingDriver driver(line);
    const double dt = 1.0 / framesPerSecond;
    std::vector<double> speeds;
    std::vector<int> stationFrames(line.stations.size(), 0);

    const double originM = line.stations.front().positionM - creepKmh / 3.6 * leadInFrames * dt;
    double m = originM;
    double v = creepKmh;
    bool braking = false;
    std::size_t next = 0;  // the station the train runs towards
    const auto nextStopM = [&]() {
        for (std::size_t i = next; i < line.stations.size(); ++i)
            if (line.stations[i].kind != passing)
                return line.stations[i].positionM;
        return line.lengthM;
    };

    for (int frame = 0; next < line.stations.size(); ++frame) {
        speeds.push_back(v);
        double newV = v;
        if (frame >= leadInFrames) {
            const Allowance a = driver.allowanceAt(m, nextStopM());
            if (braking || v > a.kmh + 0.01) {
                braking = true;
                newV = std::max(v - brakeKmhS * dt, a.targetKmh);
                if (newV <= a.targetKmh + 0.01)
                    braking = false;
            } else if (v < a.kmh) {
                newV = std::min(v + accelerationAt(v) * dt, a.kmh);
            }
        }
        const double newM = m + (v + newV) / 7.2 * dt;
        // Stations the train reaches in this frame: it stopped (or passed) at the next frame.
        while (next < line.stations.size() && newM >= line.stations[next].positionM) {
            stationFrames[next] = frame + 1;
            if (line.stations[next].kind != passing)
                braking = false;
            ++next;
        }
        m = newM;
        v = newV;
    }
    // Past the last stopping point the recording slows to its end.
    speeds.push_back(v);
    const int tail = std::max(tailFrames, static_cast<int>(std::ceil((v - tailEndKmh) / (brakeKmhS * dt))));
    for (int k = 1; k <= tail; ++k)
        speeds.push_back(v + (tailEndKmh - v) * k / tail);
    return FilmingRun(segmentsFromFrameSpeeds(speeds, 0.05), std::move(stationFrames), originM);
}

// --- timetable ---

namespace {

constexpr int ticksPerSecond = 30;
constexpr double runningMargin = 1.1;     // the timetable allows 10 % over the recorded running time
constexpr int dwellWithDoorsS = 35;       // announcement, doors, melody
constexpr int dwellWithoutServiceS = 20;
constexpr int departureStepS = 15;        // departures on the quarter minute

int roundUpTo(int value, int step)
{
    return (value + step - 1) / step * step;
}

}  // namespace

int firstDepartureTicks(Direction direction)
{
    const int hours = 9, minutes = direction == Direction::down ? 0 : 30;
    return (hours * 3600 + minutes * 60) * ticksPerSecond;
}

Timetable makeTimetable(const LineGeometry& line, const FilmingRun& run, int firstDepartureTicks)
{
    Timetable t;
    const std::vector<int>& frames = run.stationFrames();
    for (std::size_t i = 0; i < line.stations.size(); ++i) {
        if (i == 0) {
            t.arrivalTicks.push_back(firstDepartureTicks - 60 * ticksPerSecond);
            t.departureTicks.push_back(firstDepartureTicks);
            continue;
        }
        const double runningS = (frames[i] - frames[i - 1]) / framesPerSecond * runningMargin;
        const int arrival = t.departureTicks.back() + static_cast<int>(std::lround(runningS)) * ticksPerSecond;
        t.arrivalTicks.push_back(arrival);
        const int kind = line.stations[i].kind;
        if (kind == passing) {
            t.departureTicks.push_back(arrival);
            continue;
        }
        const int dwellS = kind == stopWithoutService ? dwellWithoutServiceS : dwellWithDoorsS;
        t.departureTicks.push_back(roundUpTo(arrival + dwellS * ticksPerSecond, departureStepS * ticksPerSecond));
    }
    return t;
}

int Timetable::scheduledAt(const FilmingRun& run, int frame) const
{
    const std::vector<int>& frames = run.stationFrames();
    for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
        if (frame >= frames[i] && frame <= frames[i + 1]) {
            const double share = static_cast<double>(frame - frames[i]) / (frames[i + 1] - frames[i]);
            return departureTicks[i] + static_cast<int>(std::lround((arrivalTicks[i + 1] - departureTicks[i]) * share));
        }
    }
    return frame < frames.front() ? departureTicks.front() : arrivalTicks.back();
}

}  // namespace cabdrive::demo
