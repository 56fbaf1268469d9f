// The driving state a run starts with.
#include "sim/run_start.h"

#include <algorithm>
#include <utility>

#include "sim/crossings.h"
#include "sim/mascon_update.h"
#include "sim/road_lights.h"
#include "sim/signal_reset.h"
#include "sim/stations.h"
#include "state/run.h"

namespace cabdrive {
namespace {

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
    s.stations.nextStationText = "ただいま " + station.name;
}

}  // namespace

void startRun(Run& run, const RunStart& start)
{
    const VehicleSpec& vehicle = run.vehicle;
    RunState& s = run.state;
    s = RunState{};
    s.video.highestFrame = start.highestFrame;
    s.sound.environmentSoundSeconds = start.environmentSoundSeconds;
    s.stations.crewChangeStation = start.crewChangeStation;
    std::int32_t startStation = start.startStation;
    if (startStation < 0 || static_cast<std::size_t>(startStation) >= run.route.stations.size())
        startStation = 0;
    s.stations.startStation = startStation;

    startControls(s.controls, vehicle);
    startAir(s.air, vehicle);
    s.dynamics.lineVoltageTarget = fixed4::fromInt(1500);
    s.dynamics.carGradients.assign(static_cast<std::size_t>(std::max(vehicle.cars, 0)), 0);
    s.dynamics.tunnelResistance = run.route.tunnelR;
    s.dynamics.precedingFrame = run.route.preTrainStartFrame;
    s.dynamics.nextStopPosition = DynamicsState::noStopAhead;
    s.dynamics.distanceToStop = DynamicsState::noStopAhead;
    s.video.movieSwitchDone.assign(run.route.movieSwitches.size(), 0);
    // Every engine sound row starts faded out, its factors at 1.
    s.sound.motorFade.assign(vehicle.engineSound1.size(), 0);
    s.sound.motorTarget.assign(vehicle.engineSound1.size(), 1.0L);
    s.sound.motorRatio.assign(vehicle.engineSound1.size(), 1.0L);
    if (run.route.oneMan == 0)
        s.stations.carsText = std::to_string(vehicle.cars) + run.settings.wordCars;
    placeAtStartStation(run, startStation);
    startStations(run);
    startSignals(run);
    startRoadLights(run);
    forgetCrossings(run);
    masconupdate(run);
}

}  // namespace cabdrive
