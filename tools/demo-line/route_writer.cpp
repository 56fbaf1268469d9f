// Writing a route file from the line model.
#include "route_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "data_text_file.h"
#include "track_view.h"

namespace cabdrive::demo {

namespace {

constexpr double homeSignalBeforeM = 350;   // home signal before the stopping point
constexpr double departureSignalAfterM = 45;
constexpr double longestBlockM = 800;
constexpr double repeaterBeforeM = 250;
constexpr double signalSightM = 400;
constexpr double alarmTransponderBeforeM = 600;
constexpr double stopTransponderBeforeM = 30;
constexpr int stopToleranceCm = 200;
constexpr int ticksPerSecond = 30;

bool overlaps(double a0, double a1, double b0, double b1)
{
    return a0 < b1 && b0 < a1;
}

// A stretch ahead of a signal where the driver cannot see it early enough.
bool sightObstructed(const LineGeometry& line, double from, double to)
{
    for (const Range& t : line.tunnels)
        if (overlaps(from, to, t.startM, t.endM))
            return true;
    for (const Curve& c : line.curves)
        if (overlaps(from, to, c.startM, c.endM))
            return true;
    return false;
}

}  // namespace

std::string mainVideoName(Direction direction)
{
    return std::string("line_") + directionWord(direction);
}

std::string stationClipName(Direction direction)
{
    return std::string("station_") + directionWord(direction);
}

std::string runningClipName(Direction direction)
{
    return std::string("rain_") + directionWord(direction);
}

ClipWindow runningClipWindow(const LineGeometry& line, const FilmingRun& run)
{
    const double crossing = line.levelCrossings.at(0);
    return {run.frameAt(crossing - 300), run.frameAt(crossing + 100)};
}

std::vector<SignalSite> signalSites(const LineGeometry& line)
{
    std::vector<SignalSite> sites;
    const std::size_t last = line.stations.size() - 1;
    for (std::size_t i = 0; i <= last; ++i) {
        const StationSite& s = line.stations[i];
        const bool passes = s.kind == passing;
        const int station = static_cast<int>(i);
        if (i > 0)
            sites.push_back({s.positionM - homeSignalBeforeM, passes ? 4 : 3, homePlate,
                             static_cast<int>(NamedCallout::homeSignal), station, false});
        if (i < last)
            sites.push_back({s.positionM + departureSignalAfterM, passes ? 4 : 2, departurePlate,
                             static_cast<int>(NamedCallout::departureSignal), station, !passes});
    }
    // Block signals split the long gaps; their head types vary along the line.
    static constexpr int blockHeads[] = {5, 4, 6};
    std::vector<SignalSite> withBlocks;
    int blockCount = 0;
    for (std::size_t k = 0; k < sites.size(); ++k) {
        if (k > 0) {
            const double gap = sites[k].positionM - sites[k - 1].positionM;
            const int blocks = static_cast<int>(std::ceil(gap / longestBlockM)) - 1;
            for (int b = 1; b <= blocks; ++b)
                withBlocks.push_back({sites[k - 1].positionM + gap * b / (blocks + 1), blockHeads[blockCount++ % 3],
                                      blockPlate, static_cast<int>(NamedCallout::blockSignal), -1, false});
        }
        // A home signal hidden by a tunnel or a curve gets a repeater.
        const SignalSite& site = sites[k];
        if (site.plate == homePlate
            && sightObstructed(line, site.positionM - repeaterBeforeM - 200, site.positionM - 50))
            withBlocks.push_back({site.positionM - repeaterBeforeM, 0, repeaterPlate,
                                  static_cast<int>(NamedCallout::repeaterSignal), -1, false});
        withBlocks.push_back(site);
    }
    std::stable_sort(withBlocks.begin(), withBlocks.end(),
                     [](const SignalSite& a, const SignalSite& b) { return a.positionM < b.positionM; });
    return withBlocks;
}

namespace {

class RouteText {
public:
    explicit RouteText(const RouteInput& in)
        : m_in(in), m_line(*in.line), m_run(*in.run), m_times(*in.timetable), m_sounds(*in.sounds),
          m_files(routePictureFiles(in.direction)), m_signals(signalSites(m_line))
    {
    }

    std::string text();

private:
    int frameAt(double m) const { return m_run.frameAt(m); }
    int stationFrame(std::size_t i) const { return m_run.stationFrames().at(i); }
    int signalIndexOf(int station, int plate) const;
    int lastStopIndex() const { return static_cast<int>(m_line.stations.size()) - 1; }

    void header();
    void video();
    void sounds();
    void stations();
    void signals();
    void trackside();
    void callouts();
    void pictures();

    const RouteInput& m_in;
    const LineGeometry& m_line;
    const FilmingRun& m_run;
    const Timetable& m_times;
    const RouteSounds& m_sounds;
    RoutePictureFiles m_files;
    std::vector<SignalSite> m_signals;
    DataText m_out;
};

int RouteText::signalIndexOf(int station, int plate) const
{
    for (std::size_t k = 0; k < m_signals.size(); ++k)
        if (m_signals[k].station == station && m_signals[k].plate == plate)
            return static_cast<int>(k);
    throw std::logic_error("no such signal");
}

void RouteText::header()
{
    const bool down = m_in.direction == Direction::down;
    m_out.line("; " + m_line.name + (down ? " 下り" : " 上り") + ": generated by demo-line; do not edit, run it again.")
        .line("; Positions are frames of the line's video; [SpeedUnit] turns them into distances.")
        .line("[LineName]").line(m_line.name)
        .line("[LineName2]").line(down ? "下り 普通 港浜行" : "上り 普通 若葉台行")
        .line("[StartPos]").row(stationFrame(0))
        .line("[FrameRate]").row(30)
        .line("[Staf]").line(m_files.stafCard).line(m_files.opening).line(m_files.subDisplay)
        .line("[Friction]").line("0.28")
        .line("[OneMan]").row(0)
        .line("[Monitor]").line(defaultTrainFile).row(10).row(10).row(monitorWidth).row(monitorHeight).line(m_files.monitor);
    m_out.line("; the staff card turns at each stop").line("[StafSwitch]").row(0);
    for (std::size_t i = 1; i < m_line.stations.size(); ++i)
        if (m_line.stations[i].kind != passing)
            m_out.row(stationFrame(i));
    m_out.line("#");
}

void RouteText::video()
{
    const int end = m_run.frameCount();
    m_out.line("[DataName]").line(mainVideoName(m_in.direction))
        .line("; the end of the video; on the down line the driver may change ends here")
        .line("[MovieStop]").row(end).line("#");
    const ClipWindow w = runningClipWindow(m_line, m_run);
    const std::size_t clipStation = stationClipStation;
    m_out.line("; kind, window from, to, clip, last clip frame, return frame / station, clock, sound frame, sound")
        .line("[MovieSwitch]")
        .row(0, w.firstFrame, w.lastFrame, runningClipName(m_in.direction), w.lastFrame - w.firstFrame + 1, w.lastFrame + 2, 0, 0, 0)
        .row(2, 0, 0, stationClipName(m_in.direction), stationClipFrames - 1, static_cast<int>(clipStation),
             m_times.arrivalTicks.at(clipStation), 60, m_sounds.index(EnvSound::stationClipAnnouncement))
        .line("#");
    // The stop-position lines lie on the video's ground: d m ahead at row
    // horizon + factor x 1000 / d of the view, as the camera draws it.
    const double groundFactor = viewWidth * cameraFocalShare * cameraEyeHeightM / 1000;
    m_out.line("; the view's ground: factor, horizon row").line("[Perspective]").line(decimal(groundFactor, 4))
        .row(static_cast<int>(std::lround(viewHeight * cameraEyeRowShare)));
    m_out.line("; from frame, to frame, filming km/h at the first, at the last").line("[SpeedUnit]");
    for (const SpeedSegment& s : m_run.segments())
        m_out.row(s.fromFrame, s.toFrame, decimal(s.fromKmh), decimal(s.toKmh));
    m_out.line("#");
}

void RouteText::sounds()
{
    m_out.line("[SoundData]");
    for (const std::string& file : m_sounds.soundData())
        m_out.line(file);
    m_out.line("#");
    const auto env = [this](EnvSound s) { return m_sounds.index(s); };
    const Range& tunnel = m_line.tunnels.at(0);
    const double crossing = m_line.levelCrossings.at(0);
    m_out.line("[Sound]")
        .line("; sound, start, stop, reference km/h, looped, pitch follows, volume follows, trigger")
        .row(env(EnvSound::tunnelRoar), frameAt(tunnel.startM), frameAt(tunnel.endM), 60, 1, 1, 1, 0)
        .line("; a train on the other track sounds its horn")
        .row(env(EnvSound::oncomingHorn), frameAt(crossing + 400), 0, 60, 0, 0, 0, 0)
        .line("#");
    m_out.line("; the air conditioning hum while running between the first two stations")
        .line("[Sound2]").row(env(EnvSound::hum), 0, 1).line("#");
    std::size_t passingStation = 0;
    for (std::size_t i = 0; i < m_line.stations.size(); ++i)
        if (m_line.stations[i].kind == passing)
            passingStation = i;
    m_out.line("; sound, source frame, range cm, no Doppler shift, route flag")
        .line("[Doppler]")
        .row(env(EnvSound::crossingBell), frameAt(crossing), 30000, 0, 0)
        .row(env(EnvSound::passingAnnouncement), stationFrame(passingStation), 25000, 1, 0)
        .line("#");
    m_out.line("[Tunnel]").row(frameAt(tunnel.startM), frameAt(tunnel.endM), 0).line("#");
    m_out.line("; the station sounds are quieter in the tunnel").line("[Atten]")
        .row(frameAt(tunnel.startM), frameAt(tunnel.endM), 0, 60).line("#");
    // The physics adds TunnelR / 10 000 x v^2 (km/h) kgf per tonne in the
    // tunnel: 6 gives about 2 kgf/t at 60 km/h, a single-track bore.
    m_out.line("[TunnelR]").row(6);
    m_out.line("; switch number 1: the vehicle's [SwitchSound] rows choose the clack").line("[Switch]");
    for (const double p : m_line.points)
        m_out.row(frameAt(p), 1);
    m_out.line("#");
    // The header is what is said after an unscheduled stop; then for each
    // stop "next is" after leaving the one before, and "arriving at" before it.
    m_out.line("; sound, kind (0 after leaving, 1 before arriving), station, metres").line("[Announce]")
        .row(env(EnvSound::unscheduledStop));
    int previousStop = 0;
    for (std::size_t i = 1; i < m_line.stations.size(); ++i) {
        const StationSite& s = m_line.stations[i];
        if (s.kind == passing)
            continue;
        m_out.row(m_sounds.nextStopAnnouncement(s.name), 0, previousStop, 200)
            .row(m_sounds.approachAnnouncement(s.name), 1, static_cast<int>(i), 400);
        previousStop = static_cast<int>(i);
    }
    m_out.line("#");
}

void RouteText::stations()
{
    m_out.line("; name, kind, stop frame, tolerance cm, arrival, melody, ambience, departure 1/30 s, line km/h,")
        .line("; pattern beacon, door side, passenger events, -, door side, door sound chance")
        .line("[Station]");
    for (std::size_t i = 0; i < m_line.stations.size(); ++i) {
        const StationSite& s = m_line.stations[i];
        const int k = static_cast<int>(i);
        const int doorSide = s.platformLeft ? 0 : 1;
        int arrival = 0, melody = 0, ambience = 0, departure = 0;
        if (s.kind == stopWithDoors) {
            arrival = m_sounds.arrivalAnnouncement(s.name);
            melody = m_sounds.index(static_cast<EnvSound>(static_cast<int>(EnvSound::melody0) + k % 4));
            ambience = m_sounds.index(k % 2 == 0 ? EnvSound::ambience0 : EnvSound::ambience1);
            departure = m_times.departureTicks[i];
        } else if (s.kind == stopWithoutService) {
            arrival = m_sounds.arrivalAnnouncement(s.name);
            melody = m_sounds.index(EnvSound::departureTone);
            departure = m_times.departureTicks[i];
        }
        m_out.row(s.name, s.kind, stationFrame(i), stopToleranceCm, arrival, melody, ambience, departure,
                  m_line.lineSpeedKmh, s.kind == stopWithDoors ? 1 : 0, doorSide, 0, 0, doorSide, 100);
    }
    m_out.line("#");
    m_out.line("[StopSound]").row(0).line("#");
    // The preceding train leaves each stop two and a half minutes before us
    // and runs into the sidings after the second-to-last stop.
    std::vector<int> stops;
    for (std::size_t i = 1; i + 1 < m_line.stations.size(); ++i)
        if (m_line.stations[i].kind != passing)
            stops.push_back(static_cast<int>(i));
    m_out.line("; start frame, frame where it leaves the line; then station, km/h, departure")
        .line("[Pre_Train]")
        .row(stationFrame(static_cast<std::size_t>(stops.front())), stationFrame(static_cast<std::size_t>(stops.back())) + 90);
    for (const int i : stops)
        m_out.row(i, 70, m_times.departureTicks[static_cast<std::size_t>(i)] - 150 * ticksPerSecond);
    m_out.line("#");
}

void RouteText::signals()
{
    m_out.line("; km/h of each aspect, stop to clear").line("[Speed_Signal]");
    for (const int kmh : {0, 25, 45, 65, 85, 110})
        m_out.row(kmh);
    m_out.line("#");
    m_out.line("; control, plate, name call-out, head type, shown from, signal frame, alarm and stop transponders,")
        .line("; fixed aspect, clock limit, route flag, x, y, left image, x, y, right image, x, y, plate x, y, fourth image")
        .line("[Signal]");
    double previous = m_run.metresAt(0);
    for (const SignalSite& s : m_signals) {
        // A departure signal stays at stop until 20 s before the departure.
        const bool timed = s.departure;
        const int clockLimit = timed ? m_times.departureTicks.at(static_cast<std::size_t>(s.station)) - 20 * ticksPerSecond : 0;
        const int leftImage = s.plate == homePlate && m_line.stations.at(static_cast<std::size_t>(s.station)).kind == stopWithoutService ? 1 : 0;
        m_out.row(timed ? 1 : 0, s.plate, s.callout, s.headType, frameAt(std::max(previous, s.positionM - signalSightM)),
                  frameAt(s.positionM), frameAt(std::max(m_run.metresAt(0), s.positionM - alarmTransponderBeforeM)),
                  frameAt(s.positionM - stopTransponderBeforeM), 0, clockLimit, 0, 0, 0, leftImage, -subSignalSize, 10, 0,
                  signalWidth, 10, 5, signalHeight, 0);
        previous = s.positionM;
    }
    m_out.line("#");
    // Restrictions: signs at their start, a release sign after the last car has left them.
    const std::vector<int> limitSpeeds = limitSignSpeeds(m_line);
    const int releaseImage = static_cast<int>(limitSpeeds.size()) + 1;
    m_out.line("; km/h, sign image, pattern kind, from frame, to frame, release sign image").line("[SpeedLimit]");
    for (const Restriction& r : m_line.restrictions) {
        const int image = static_cast<int>(std::find(limitSpeeds.begin(), limitSpeeds.end(), r.speedKmh) - limitSpeeds.begin()) + 1;
        m_out.row(r.speedKmh, image, 1, frameAt(r.startM), frameAt(std::min(r.endM + 100, m_line.lengthM)), releaseImage);
    }
    m_out.line("#");
    // The terminus: a stop check before its home signal, a supervised approach.
    const int terminal = lastStopIndex();
    const int homeSignal = signalIndexOf(terminal, homePlate);
    const double home = m_signals[static_cast<std::size_t>(homeSignal)].positionM;
    m_out.line("; -, alarm km/h, check frame, signal").line("[SpeedCheck1]")
        .row(0, 45, frameAt(home - 150), homeSignal).line("#");
    const double terminalM = m_line.stations.back().positionM;
    m_out.line("; km/h, -, from frame, to frame").line("[SpeedCheck2]")
        .row(45, 0, frameAt(home), frameAt(terminalM - 50))
        .row(25, 0, frameAt(terminalM - 50), stationFrame(static_cast<std::size_t>(terminal)))
        .line("#");
}

void RouteText::trackside()
{
    m_out.line("; gradient per mille, from frame, to frame").line("[Slope]");
    for (const GradientSection& g : m_line.gradients)
        m_out.row(decimal(g.perMille, 1), frameAt(g.startM), frameAt(g.endM));
    m_out.line("#");
    const double crossing = m_line.levelCrossings.at(0);
    const Range& tunnel = m_line.tunnels.at(0);
    m_out.line("; image, from frame, to frame, switch time").line("[Sign]")
        .row(static_cast<int>(whistleSign), frameAt(crossing - 350), frameAt(crossing - 150), 0)
        .row(static_cast<int>(whistleSign), frameAt(tunnel.startM - 350), frameAt(tunnel.startM - 150), 0);
    for (std::size_t i = 1; i < m_line.stations.size(); ++i)
        if (m_line.stations[i].kind != passing)
            m_out.row(static_cast<int>(stationApproachSign), frameAt(m_line.stations[i].positionM - 700),
                      frameAt(m_line.stations[i].positionM - 500), 0);
    m_out.line("#");
    // A windmill turns by the river at the passing station.
    double passingM = 0;
    for (const StationSite& s : m_line.stations)
        if (s.kind == passing)
            passingM = s.positionM;
    m_out.line("; from frame, to frame, ticks per phase, first image").line("[Anim]")
        .row(frameAt(passingM - 300), frameAt(passingM + 100), 2, 1).line("#");
    m_out.line("; image, call-out, enter frame, leave frame, route flag").line("[Cross]")
        .row(1, Callouts::voice(NamedCallout::crossingGood), frameAt(crossing - 500), frameAt(crossing + 20), 0).line("#");
    // The road light by the crossing: six phases of image, ticks and stop flag.
    m_out.line("; frame, six phases of (image, ticks, stop), second image, -, second frame, -, -, -, -")
        .line("[TrafficSignal]")
        .row(frameAt(crossing - 300), static_cast<int>(roadGreen), 150, 0, static_cast<int>(roadYellow), 30, 1,
             static_cast<int>(roadRed), 90, 1, static_cast<int>(roadRedArrow), 40, 1, static_cast<int>(roadRed), 20, 1,
             static_cast<int>(roadGreen), 60, 0, static_cast<int>(roadPedestrian), 0, frameAt(crossing), 0, 0, 0, 0)
        .line("#");
    // Time check points half way between stops.
    m_out.line("; from frame, to frame, scheduled time").line("[Time]");
    const std::vector<int>& frames = m_run.stationFrames();
    for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
        const int middle = (frames[i] + frames[i + 1]) / 2;
        m_out.row(middle - 90, middle + 90, m_times.scheduledAt(m_run, middle));
    }
    m_out.line("#");
}

void RouteText::callouts()
{
    const Callouts& c = *m_in.callouts;
    m_out.line("[KankoSound1]");
    for (const std::string& f : c.fixed)
        m_out.line(f);
    m_out.line("[KankoSound2]");
    for (const std::string& f : c.numbered)
        m_out.line(f);
    m_out.line("#");
    m_out.line("; signal, moment, code: the departure signals call the time").line("[SignalKanko]");
    for (std::size_t k = 0; k < m_signals.size(); ++k)
        if (m_signals[k].departure)
            m_out.row(static_cast<int>(k), 1, m_times.departureTicks.at(static_cast<std::size_t>(m_signals[k].station)));
    m_out.line("#");
    // Stopped: "stop position good"; melody: the time; first notch: the signal.
    m_out.line("; station, moment, code").line("[StationKanko]");
    for (std::size_t i = 0; i < m_line.stations.size(); ++i) {
        if (m_line.stations[i].kind != stopWithDoors)
            continue;
        const int k = static_cast<int>(i);
        m_out.row(k, 4, Callouts::voice(NamedCallout::stopPositionGood));
        if (k != lastStopIndex())
            m_out.row(k, 1, m_times.departureTicks[i]).row(k, 3, 999);
    }
    m_out.line("#");
    m_out.line("[OtherKanko]");
    for (const std::string& f : c.signs)
        m_out.line(f);
    m_out.line("#").line("[LimitKanko]");
    for (const std::string& f : c.limits)
        m_out.line(f);
    m_out.line("#");
}

void RouteText::pictures()
{
    m_out.line("; picture, size: stop marker, stop lines S M E, slope, limit, remaining distance, other")
        .line("[SignImageList]")
        .row(m_files.stopMarker, stopMarkerSize)
        .row(m_files.stopLineS, stopLineSize)
        .row(m_files.stopLineM, stopLineSize)
        .row(m_files.stopLineE, stopLineSize)
        .row(m_files.slope, slopeSignSize)
        .row(m_files.limit, limitSignSize)
        .row(m_files.remain, remainSize)
        .row(m_files.other, otherSignSize);
    m_out.line("[SignalImageList]")
        .row(signalX, signalY, signalWidth, signalHeight, m_files.signal)
        .row(subSignalSize, subSignalSize, m_files.subSignalS)
        .row(subSignalSize, subSignalSize, m_files.subSignalL)
        .row(subSignalSize, subSignalSize, m_files.subSignalR);
    m_out.line("[AnimImageList]");
    for (const std::string& f : m_files.animation)
        m_out.line(f);
    m_out.line("#").line("[TrafficSignalImageList]");
    for (const std::string& f : m_files.roadLights)
        m_out.line(f);
    m_out.line("#").line("[CrossImageList]");
    for (const std::string& f : m_files.crossings)
        m_out.line(f);
    m_out.line("#");
}

std::string RouteText::text()
{
    header();
    video();
    sounds();
    stations();
    signals();
    trackside();
    callouts();
    pictures();
    return m_out.text();
}

}  // namespace

std::string routeFileText(const RouteInput& in)
{
    return RouteText(in).text();
}

}  // namespace cabdrive::demo
