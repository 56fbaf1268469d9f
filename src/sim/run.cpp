// The driving state a run starts with.
#include "sim/run.h"

#include <algorithm>

#include "input/mascon_update.h"

namespace cabdrive {
namespace {

constexpr long double noStopAhead = 1e15L;  // cm: further than any line

void startControls(ControlState& controls, const VehicleSpec& vehicle)
{
    controls = ControlState{};
    // The train stands with the emergency brake applied.
    controls.brakeHandle = -vehicle.brakeNotches;
    controls.appliedBrakeNotch = -vehicle.brakeNotches;
    controls.sapBrakeNotch = -vehicle.brakeNotches;
}

void startAir(AirState& air, const VehicleSpec& vehicle)
{
    air = AirState{};
    air.bcTrailerCar = fixed4::fromInt(vehicle.ebPress);
    air.mrPressure = fixed4::fromInt(vehicle.highAirPress);
}

// The next station after the start that the train must stop at.
long double firstStopAfter(const RouteData& route, std::int32_t startStation)
{
    for (std::size_t i = static_cast<std::size_t>(startStation) + 1; i < route.stations.size(); ++i) {
        if (route.stations[i].kind != 1)
            return route.stations[i].stopDistance;
    }
    return noStopAhead;
}

void placeAtStartStation(Run& run, std::int32_t startStation)
{
    RunState& s = run.state;
    s.video.currentFrame = run.route.startPos;
    if (run.route.stations.empty())
        return;
    const Station& station = run.route.stations[static_cast<std::size_t>(startStation)];
    if (startStation > 0)
        s.video.currentFrame = station.stopFrame;
    s.dynamics.trainPosition = station.stopDistance;
    s.dynamics.nextStopPosition = firstStopAfter(run.route, startStation);
    s.dynamics.distanceToStop = s.dynamics.nextStopPosition - s.dynamics.trainPosition;
    s.clockTicks = station.departureTime;
    s.nextStationText = "ただいま " + station.name;
}

}  // namespace

void startRun(Run& run, std::int32_t startStation)
{
    const VehicleSpec& vehicle = run.vehicle;
    RunState& s = run.state;
    s = RunState{};
    if (startStation < 0 || static_cast<std::size_t>(startStation) >= run.route.stations.size())
        startStation = 0;
    s.startStation = startStation;

    startControls(s.controls, vehicle);
    startAir(s.air, vehicle);
    s.dynamics.lineVoltageTarget = fixed4::fromInt(1500);
    s.dynamics.carGradients.assign(static_cast<std::size_t>(std::max(vehicle.cars, 0)), 0);
    s.dynamics.tunnelResistance = run.route.tunnelR;
    s.dynamics.precedingFrame = run.route.preTrainStartFrame;
    s.dynamics.nextStopPosition = noStopAhead;
    s.dynamics.distanceToStop = noStopAhead;
    s.video.movieSwitchDone.assign(run.route.movieSwitches.size(), 0);
    if (run.route.oneMan == 0)
        s.carsText = std::to_string(vehicle.cars) + run.settings.wordCars;
    placeAtStartStation(run, startStation);
    masconupdate(run);
}

}  // namespace cabdrive
