// The jump to a station chosen from the Move menu.
#include "sim/station_jump.h"

#include "sim/controller_state.h"
#include "sim/crossings.h"
#include "sim/doors.h"
#include "sim/force_balance.h"
#include "sim/mascon_update.h"
#include "sim/signal_reset.h"
#include "sim/slope_posts.h"
#include "sim/stations.h"
#include "sim/timetable_clock.h"
#include "sim/trackside_signs.h"
#include "sim/video_switch.h"
#include "state/run.h"

namespace cabdrive {
namespace {

// The [Pre_Train] row whose time span — from its departure time to the next
// row's, the last row's without end — holds the clock puts the preceding
// train at its station; before the first row's time there is none.
void placePrecedingTrain(Run& run)
{
    const RouteData& route = run.route;
    DynamicsState& d = run.state.dynamics;
    const std::int32_t clock = run.state.time.clockTicks;
    d.precedingFrame = 0;
    d.precedingSpeed = 0;
    d.precedingAccumulator = 0;
    for (std::size_t i = 0; i < route.preTrains.size(); ++i) {
        const Pre_Train& row = route.preTrains[i];
        const bool last = i + 1 == route.preTrains.size();
        if (clock < row.departureTime || (!last && clock >= route.preTrains[i + 1].departureTime))
            continue;
        if (row.stationIndex >= 0 && static_cast<std::size_t>(row.stationIndex) < route.stations.size())
            d.precedingFrame = route.stations[static_cast<std::size_t>(row.stationIndex)].stopFrame;
        return;
    }
}

// Standing at the stop of station n, on the level until the next gradient
// sample.
void standAtStop(Run& run, std::size_t n)
{
    DynamicsState& d = run.state.dynamics;
    const Station& station = run.route.stations[n];
    d.trainSpeed = 0;
    d.trainPosition = station.stopDistance;
    d.nextStopPosition = station.stopDistance;
    d.distanceToStop = 0;
    levelGradient(run);
    levelSlopePosts(run);
    run.state.video.currentFrame = station.stopFrame;
    run.state.stations.currentStation = static_cast<std::int32_t>(n);
    run.state.stations.nextStopStation = static_cast<std::int32_t>(n);
}

}  // namespace

void StationClick(Run& run, std::int32_t n)
{
    if (n < 0 || static_cast<std::size_t>(n) >= run.route.stations.size())
        return;
    const auto station = static_cast<std::size_t>(n);
    RunState& s = run.state;
    if (s.video.videoMode > 0)
        openMainVideo(run);
    clearStationFlags(run);
    run.sound.stopChannelsFrom(1);  // channel 0, the lowest running-sound band, keeps playing
    shutDoors(run);
    standAtStop(run, station);
    s.stations.nextStationText = "ただいま " + run.route.stations[station].name;
    s.time.clockTicks = jumpClock(run, station);
    if (run.route.oneMan == 0)
        s.stations.arrivalRegistered[station] = 1;
    placePrecedingTrain(run);
    resetSignalsForJump(run);
    forgetSigns(run);
    forgetCrossings(run);
    // The handles as a stop leaves them: power off, the last service notch.
    setHandlesAtRest(run, 1 - run.vehicle.brakeNotches);
    masconupdate(run);
}

}  // namespace cabdrive
