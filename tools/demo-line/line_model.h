// The demo line: one model of the track, its stations and features, and
// the recorded run over it, from which the route files, the [SpeedUnit] table
// and the video are all derived.
#pragma once

#include <string>
#include <vector>

#include "track_view.h"

namespace cabdrive::demo {

enum class Direction { down, up };

// "down" or "up": file names of a direction carry it.
inline const char* directionWord(Direction d)
{
    return d == Direction::down ? "down" : "up";
}

enum StationKind { stopWithDoors = 0, passing = 1, stopWithoutService = 2 };

struct StationSite {
    std::string name;
    std::string reading;  // hiragana, for the spoken announcements
    int kind = stopWithDoors;
    double positionM = 0;  // m, the stopping point: where the cab stands, near the platform's far end
    bool platformLeft = true;
};

struct Restriction {
    double startM = 0, endM = 0;  // m
    int speedKmh = 0;
};

struct GradientSection {
    double startM = 0, endM = 0;  // m
    double perMille = 0;          // positive uphill in the direction of travel
};

struct Curve {
    double startM = 0, endM = 0;  // m
    double curvature = 0;         // 1/m, positive to the right
};

// The line as seen in one direction of travel: every position in metres from
// that direction's origin, every list in the order the train meets it.
struct LineGeometry {
    std::string name;
    double lengthM = 0;
    int lineSpeedKmh = 0;
    double platformLengthM = 0;
    std::vector<StationSite> stations;
    std::vector<Restriction> restrictions;
    std::vector<GradientSection> gradients;  // cover the whole line, level sections included
    std::vector<Curve> curves;
    std::vector<Range> tunnels;
    std::vector<double> levelCrossings;  // m
    std::vector<double> points;          // m

    double heightAt(double m) const;     // m above the height at the origin
    double curvatureAt(double m) const;  // 1/m
    int restrictionAt(double m) const;   // km/h in force at m (the line speed where none)
};

// The demo line in the down direction.
LineGeometry demoLine();

// The same line seen by a train running the other way: stations reversed,
// positions mirrored, gradients and curves turned round.
LineGeometry reversedLine(const LineGeometry& line);

LineGeometry lineFor(Direction direction);

// A stretch of the recorded run over which the speed changes linearly with
// time: one [SpeedUnit] row.
struct SpeedSegment {
    int fromFrame = 0, toFrame = 0;
    double fromKmh = 0, toKmh = 0;  // filming speed, km/h, at 3 decimals
};

// The recorded run: how fast the filming train went at every frame of the
// video (30 frames a second), and where it was.
class FilmingRun {
public:
    // originM: the line position (m) of frame 0.
    FilmingRun(std::vector<SpeedSegment> segments, std::vector<int> stationFrames, double originM);

    const std::vector<SpeedSegment>& segments() const { return m_segments; }
    int frameCount() const { return m_segments.empty() ? 0 : m_segments.back().toFrame; }
    // Frame of each station's stopping point (passing stations: where the
    // train passed it), in the order of the line's stations.
    const std::vector<int>& stationFrames() const { return m_stationFrames; }

    // Line position (m) of a frame: the origin plus the distance from frame 0
    // by the same trapezoid rule the program uses to turn frames into distances.
    double metresAt(int frame) const;
    // The first frame at or beyond a line position (the last frame beyond the end).
    int frameAt(double lineM) const;
    double speedAt(int frame) const;  // km/h

private:
    std::vector<SpeedSegment> m_segments;
    std::vector<int> m_stationFrames;
    std::vector<double> m_frameMetres;  // m from frame 0, for frames 0 .. frameCount
    double m_originM = 0;
};

// The timetable of one direction, in 1/30 s since midnight (the program's
// timetable clock). Passing stations carry their passing time in both lists.
struct Timetable {
    std::vector<int> arrivalTicks;
    std::vector<int> departureTicks;

    // The scheduled time at a frame: between two stations in proportion to
    // the frames run.
    int scheduledAt(const FilmingRun& run, int frame) const;
};

// The first departure of a direction: 09:00:00 down, 09:30:00 up, in 1/30 s.
int firstDepartureTicks(Direction direction);

// Running times from the recorded run with a margin; dwell times at the stops;
// departures on the quarter minute.
Timetable makeTimetable(const LineGeometry& line, const FilmingRun& run, int firstDepartureTicks);

// Drives the filming train over the line: away from each stop at the train's
// acceleration, at the line speed or under the restrictions, braking into the
// next stop, creeping (never standing) at the stopping points.
FilmingRun filmRun(const LineGeometry& line);

// The speed and the position at each frame turned into the fewest segments
// whose linear speed stays within toleranceKmh of every frame's speed.
std::vector<SpeedSegment> segmentsFromFrameSpeeds(const std::vector<double>& kmhPerFrame, double toleranceKmh);

}  // namespace cabdrive::demo
