// The train's life at stations.
#include "sim/stations.h"

#include <cmath>
#include <string>
#include <string_view>

#include "common/rounding.h"
#include "sim/crossings.h"
#include "sim/doors.h"
#include "sim/environment_sounds.h"
#include "sim/kanko_queue.h"
#include "sim/timetable_clock.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view stopMarker = "img_unten_teimoku";  // cell j + 1 at station j, 0 between
constexpr std::string_view monitor = "img_mon";               // cell of the station
constexpr long double stillSpeed = 0.1L;                      // km/h
constexpr std::int64_t ticksPerSecond = 30;
constexpr std::int32_t startSound = 0;  // environment sound of a start at a station with doors

bool onePerson(const Run& run)
{
    return run.route.oneMan >= 1;
}

// The speed rounds to 0 km/h.
bool standing(const RunState& s)
{
    return roundHalfAway(s.dynamics.trainSpeed) == 0;
}

bool still(const RunState& s)
{
    return std::fabs(s.dynamics.trainSpeed) < stillSpeed;
}

bool flag(const std::vector<std::uint8_t>& flags, std::size_t j)
{
    return j < flags.size() && flags[j] != 0;
}

void setFlag(std::vector<std::uint8_t>& flags, std::size_t j, bool value)
{
    if (j < flags.size())
        flags[j] = value ? 1 : 0;
}

std::int64_t soundTicks(const Run& run, std::int32_t sound)
{
    return environmentSoundLength(run, sound) * ticksPerSecond;
}

bool insideStopZone(const Station& station, long double position)
{
    return station.zoneStart <= position && position <= station.zoneEnd;
}

// The word after the next station's name: how the train meets it.
std::string kindWord(const Settings& words, std::int32_t kind)
{
    switch (kind) {
    case 0: return words.wordStop;
    case 1: return words.wordPass;
    case 2: return words.wordStop2;
    case 3: return words.infoTexts.empty() ? std::string() : words.infoTexts[0];
    default: return {};
    }
}

// The route's [Sound2] row when it has exactly one: a sound that runs between
// two stations (column 1 the sound, 2 the first station, 3 the station where
// it ends).
const Sound2Row* singleSound2(const RouteData& route)
{
    return route.sound2s.size() == 1 ? &route.sound2s[0] : nullptr;
}

// Between station j and the next: the next-station text.
void approachNextStation(Run& run, std::size_t j)
{
    const StationTable& stations = run.route.stations;
    const long double p = run.state.dynamics.trainPosition;
    const bool last = j + 1 == stations.size();
    if (!(stations[j].zoneEnd < p && (last || p < stations[j + 1].zoneStart)))
        return;
    StationState& s = run.state.stations;
    run.scene.showPatternIfPresent(stopMarker, 0);
    setFlag(s.atStation, j, false);
    if (last)
        return;  // beyond the last station there is no next one to name
    const Station& next = stations[j + 1];
    run.state.stations.nextStationText = "次は " + next.name + kindWord(run.settings, next.kind);
    setFlag(s.atStation, j + 1, false);
    run.scene.showPatternIfPresent(monitor, static_cast<int>(j + 1));
}

// In the stop zone of a station that is not passed: the now-at text, and on
// the first tick the stop marker and the door-sound draw.
void arriveAtStation(Run& run, std::size_t j)
{
    RunState& s = run.state;
    const Station& station = run.route.stations[j];
    if (!flag(s.stations.atStation, j)) {
        run.scene.showPatternIfPresent(stopMarker, static_cast<int>(j + 1));
        s.doors.doorSoundChance = station.doorSoundChance;
        s.doors.doorSoundDraw = s.random.below(100);
    }
    s.stations.nextStationText = "ただいま " + station.name;
    s.stations.currentStation = static_cast<std::int32_t>(j);
    setFlag(s.stations.atStation, j, true);
    run.scene.showPatternIfPresent(monitor, static_cast<int>(j));
}

// One-person operation: once the arrival sound has ended with the doors open
// the driver is reminded of the doors.
void showOnePersonNotice(Run& run, std::size_t j)
{
    RunState& s = run.state;
    const Station& station = run.route.stations[j];
    if (onePerson(run) && flag(s.stations.arrivalRegistered, j) && s.doors.doorOpenCommand
        && !environmentSoundPlaying(run, station.arrivalSound)) {
        const std::vector<std::string>& info = run.settings.infoTexts;
        s.stations.carsText = info.size() > 1 ? info[1] : std::string();
    }
}

void registerArrival(Run& run, std::size_t j)
{
    RunState& s = run.state;
    setFlag(s.stations.arrivalRegistered, j, true);
    s.stations.arrivalClock = s.time.clockTicks;
    s.controls.departureCalloutPending = true;
}


void startStationArrival(Run& run, std::size_t j)
{
    const RunState& s = run.state;
    const bool startStation = s.stations.currentStation == 0 || s.stations.currentStation == s.stations.startStation;
    if (run.route.stations[j].kind == 0 && startStation && standing(s) && !flag(s.stations.arrivalRegistered, j)) {
        playEnvironmentSoundOnce(run, startSound);
        registerArrival(run, j);
    }
}

void onePersonStop(Run& run, std::size_t j)
{
    StationState& s = run.state.stations;
    if (run.route.stations[j].kind == 0 && onePerson(run) && !run.state.doors.doorsOpen && standing(run.state)
        && !flag(s.onePersonCalloutDone, j)) {
        stationCallouts(run, stopMoment::stopped);
        setFlag(s.onePersonCalloutDone, j, true);
    }
}

// Under a conductor the doors open as soon as the train stands.
void conductorStop(Run& run, std::size_t j)
{
    const Station& station = run.route.stations[j];
    if (station.kind != 0 || onePerson(run) || run.state.doors.doorsOpen || !still(run.state))
        return;
    stationCallouts(run, stopMoment::stopped);
    Door_operate(run);
    playEnvironmentSoundOnce(run, station.arrivalSound);
    registerArrival(run, j);
    stationCallouts(run, stopMoment::doorsOpen);
    if (const Sound2Row* between = singleSound2(run.route); between && static_cast<std::int64_t>(j) == between->column(3))
        stopEnvironmentSound(run, between->column(1));
}

// The driver has opened the doors. False when no stop follows.
bool onePersonArrival(Run& run, std::size_t j)
{
    const Station& station = run.route.stations[j];
    const RunState& s = run.state;
    if (station.kind != 0 || !onePerson(run) || !s.doors.doorsOpen || flag(s.stations.arrivalRegistered, j)
        || !standing(s))
        return true;
    playEnvironmentSoundOnce(run, station.arrivalSound);
    registerArrival(run, j);
    stationCallouts(run, stopMoment::doorsOpen);
    return chooseNextStop(run, j);
}

void stopWithoutDoors(Run& run, std::size_t j)
{
    const Station& station = run.route.stations[j];
    if (station.kind == 2 && !flag(run.state.stations.arrivalRegistered, j) && standing(run.state)) {
        playEnvironmentSoundOnce(run, station.arrivalSound);
        registerArrival(run, j);
    }
}

// The melody is due once the arrival sound has run out and no more than the
// melody's length is left to the departure time — at once after the arrival
// sound when the train is late.
bool melodyDue(const Run& run, std::size_t j)
{
    const RunState& s = run.state;
    const Station& station = run.route.stations[j];
    const std::int64_t clock = s.time.clockTicks;
    if (s.video.videoMode == 1 || flag(s.stations.melodyStarted, j))
        return false;
    if (clock <= station.departureTime - soundTicks(run, station.departureSound)
        || clock - s.stations.arrivalClock <= soundTicks(run, station.arrivalSound))
        return false;
    if (station.kind >= 2)
        return s.dynamics.trainSpeed < stillSpeed;
    return station.kind == 0 && s.doors.doorsOpen;
}

// At the last stop there is nothing to depart for: no melody plays there, so
// the stop can go on to the end of the run.
void departureMelody(Run& run, std::size_t j)
{
    if (!melodyDue(run, j) || !chooseNextStop(run, j))
        return;
    RunState& s = run.state;
    const Station& station = run.route.stations[j];
    playEnvironmentSoundOnce(run, station.departureSound);
    setFlag(s.stations.melodyStarted, j, true);
    putOutCrossingIndicator(run);
    s.stations.arrivalClock = s.time.clockTicks;
    stationCallouts(run, stopMoment::melody);
    if (station.kind == 2)
        run.sound.play(vehicleSound(run.vehicle.soundDepart), false);
}

// Under a conductor the doors close once the departure time has come and the
// melody has run out.
void conductorDoorClosing(Run& run, std::size_t j)
{
    RunState& s = run.state;
    const Station& station = run.route.stations[j];
    const StationState& st = s.stations;
    if (onePerson(run) || s.video.videoMode == 1)
        return;
    const std::int64_t clock = s.time.clockTicks;
    if (clock <= station.departureTime || !s.doors.doorsOpen || !flag(st.melodyStarted, j)
        || !flag(st.arrivalRegistered, j) || flag(st.departed, j)
        || clock - st.arrivalClock <= soundTicks(run, station.departureSound))
        return;
    Door_operate(run);
    setFlag(s.stations.departed, j, true);
    stopEnvironmentSound(run, station.arrivalSound);
    stationCallouts(run, stopMoment::doorsClosing);
    const auto station64 = static_cast<std::int64_t>(j);
    if (const Sound2Row* between = singleSound2(run.route);
        between && between->column(2) <= station64 && station64 < between->column(3))
        loopEnvironmentSoundIfSilent(run, between->column(1));
}

// The stop's steps in order; false when one looked for the next stop and
// found none.
bool stationDuties(Run& run, std::size_t j)
{
    startStationArrival(run, j);
    onePersonStop(run, j);
    conductorStop(run, j);
    if (!onePersonArrival(run, j))
        return false;
    stopWithoutDoors(run, j);
    departureMelody(run, j);
    conductorDoorClosing(run, j);
    return true;
}

// Standing at the last station, or at the crew-change station with the doors
// open, once the arrival sound has ended.
void endRunOrChangeCrew(Run& run, std::size_t j)
{
    RunState& s = run.state;
    const Station& station = run.route.stations[j];
    if (!standing(s) || s.stations.runEnded || environmentSoundPlaying(run, station.arrivalSound))
        return;
    const bool last = j + 1 == run.route.stations.size();
    if (last && ((station.kind == 0 && s.doors.doorsOpen) || station.kind >= 2)) {
        run.shell.requestReturnToTitle();
        s.stations.runEnded = true;
    } else if (station.kind == 0 && static_cast<std::int64_t>(j) == s.stations.crewChangeStation && s.doors.doorsOpen) {
        run.shell.showCrewChangeDialog();
        s.stations.runEnded = true;
    }
}

void stopAmbiences(Run& run)
{
    for (const Station& station : run.route.stations) {
        if (station.ambienceSound != 0 && environmentSoundPlaying(run, station.ambienceSound))
            stopEnvironmentSound(run, station.ambienceSound);
    }
}

}  // namespace

bool isStop(const Station& station)
{
    return station.kind == 0 || station.kind >= 2;
}

bool stationLoop(Run& run)
{
    const StationTable& stations = run.route.stations;
    const long double p = run.state.dynamics.trainPosition;
    bool insideAnyZone = false;
    for (std::size_t j = 0; j < stations.size(); ++j) {
        const Station& station = stations[j];
        approachNextStation(run, j);
        if (!insideStopZone(station, p))
            continue;
        insideAnyZone = true;
        const bool passing = station.kind == 1;
        if (!passing)
            arriveAtStation(run, j);
        if (station.ambienceSound != 0)
            loopEnvironmentSoundIfSilent(run, station.ambienceSound);
        if (passing)
            continue;
        showOnePersonNotice(run, j);
        if (flag(run.state.stations.departed, j))
            continue;
        if (!stationDuties(run, j))
            return false;
        endRunOrChangeCrew(run, j);
    }
    if (!insideAnyZone)
        stopAmbiences(run);
    return true;
}

void startStations(Run& run)
{
    clearStationFlags(run);
    RunState& s = run.state;
    if (run.route.stations.empty())
        return;
    const auto start = static_cast<std::size_t>(s.stations.startStation);
    s.stations.currentStation = s.stations.startStation;
    s.time.clockTicks = startClock(run, start);
    if (chooseNextStop(run, start))
        s.dynamics.distanceToStop = s.dynamics.nextStopPosition - s.dynamics.trainPosition;
    if (run.route.stations[start].kind == 0) {
        s.doors.doorOpenCommand = true;
        s.doors.doorsOpen = true;
    }
    refreshDoorStatus(s);
}

bool chooseNextStop(Run& run, std::size_t j)
{
    const StationTable& stations = run.route.stations;
    for (std::size_t k = j + 1; k < stations.size(); ++k) {
        if (!isStop(stations[k]))
            continue;
        RunState& s = run.state;
        s.dynamics.nextStopPosition = stations[k].stopDistance;
        s.stations.nextStopStation = static_cast<std::int32_t>(k);
        s.stations.currentStopName = stations[j].name;
        s.stations.nextStopName = stations[k].name;
        return true;
    }
    return false;
}

void clearStationFlags(Run& run)
{
    StationState& s = run.state.stations;
    const std::size_t count = run.route.stations.size();
    for (std::vector<std::uint8_t>* flags : {&s.atStation, &s.arrivalRegistered, &s.melodyStarted, &s.departed, &s.onePersonCalloutDone})
        flags->assign(count, 0);
    s.timeSpoken.assign(run.route.times.size(), 0);
    SoundState& sound = run.state.sound;
    sound.tracksidePlayed.assign(run.route.sounds.size(), 0);
    sound.switchPlayed.assign(run.route.switches.size(), 0);
    sound.announcePlayed.assign(run.route.announces.size(), 0);
}

}  // namespace cabdrive
