// The passenger doors.
#include "sim/doors.h"

#include <array>
#include <cmath>
#include <string_view>

#include "sim/kanko_queue.h"
#include "sim/stations.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view doorsClosedLamp = "img_Lamp_Door";
// The first two [Others] pictures after the protection badge; a station's
// column 11 of 1 lights the second. The second is also the door-side lamp of
// Page Up / Page Down.
constexpr std::array<std::string_view, 2> doorSideIndicators = {"img_other1", "img_other2"};
constexpr long double standingSpeed = 0.1L;  // km/h: the doors open only below it
constexpr long double safetySpeed = 5;       // km/h: open doors close above it

bool onePersonOperation(const Run& run)
{
    return run.route.oneMan >= 1;
}

// Door sounds in one-person operation are a chance the station sets.
void playDoorSound(Run& run, std::int32_t sound)
{
    const DoorState& d = run.state.doors;
    if (onePersonOperation(run) && d.doorSoundDraw > d.doorSoundChance)
        return;
    run.sound.play(vehicleSound(sound), false);
}

bool doorSoundPlaying(const Run& run)
{
    const VehicleSpec& v = run.vehicle;
    return run.sound.isPlaying(vehicleSound(v.soundDoorOpen))
        || run.sound.isPlaying(vehicleSound(v.soundDoorClose));
}

std::size_t currentDoorSide(const Run& run)
{
    const auto station = static_cast<std::size_t>(run.state.stations.currentStation);
    if (station >= run.route.stations.size())
        return 0;
    return run.route.stations[station].doorSide == 1 ? 1 : 0;
}


}  // namespace

void refreshDoorStatus(RunState& state)
{
    const DoorState& doors = state.doors;
    std::string& text = state.presentation.easyPanelText;
    if (doors.doorOpenCommand)
        text = "ドアが開いています";
    else if (doors.doorsOpen)
        text = "ドアを閉めています";
    else
        text.clear();
}

void Door_operate(Run& run)
{
    DoorState& d = run.state.doors;
    d.doorOpenCommand = false;
    if (onePersonOperation(run))
        run.state.stations.carsText.clear();
    if (d.doorsOpen) {
        playDoorSound(run, run.vehicle.soundDoorClose);  // the tick finishes the closing
    } else if (std::fabs(run.state.dynamics.trainSpeed) < standingSpeed) {
        d.doorOpenCommand = true;
        d.doorsOpen = true;
        playDoorSound(run, run.vehicle.soundDoorOpen);
    }
    refreshDoorStatus(run.state);
}

void completeDoorClosing(Run& run)
{
    DoorState& d = run.state.doors;
    if (d.doorsOpen && !d.doorOpenCommand && !doorSoundPlaying(run)) {
        run.scene.setVisible(doorsClosedLamp, true);
        run.scene.setVisible(doorSideIndicators[currentDoorSide(run)], false);
        d.doorsOpen = false;
        run.sound.play(vehicleSound(run.vehicle.soundDepart), false);
        ++d.doorClosings;
        kanko_queue_add(run, kankoDoorsClosed);
        stationCallouts(run, stopMoment::doorsClosed);
    }
    if (d.doorsOpen) {
        run.scene.setVisible(doorsClosedLamp, false);
        run.scene.setVisible(doorSideIndicators[currentDoorSide(run)], d.doorOpenCommand);
    }
    refreshDoorStatus(run.state);
}

void doorSafety(Run& run)
{
    const DoorState& d = run.state.doors;
    if (std::fabs(run.state.dynamics.trainSpeed) > safetySpeed && d.doorOpenCommand && d.doorsOpen)
        Door_operate(run);
}

void chooseDoorSide(Run& run, std::int32_t side)
{
    if (run.state.doors.doorsOpen)
        return;
    run.state.input.doorSide = side;
    run.state.stations.doorSideText = side == 1 ? run.settings.wordDoorsB : run.settings.wordDoorsA;
    run.scene.setVisible(doorSideIndicators[1], side == 1);
}

void shutDoors(Run& run)
{
    DoorState& d = run.state.doors;
    d.doorsOpen = false;
    d.doorOpenCommand = false;
    run.scene.setVisible(doorsClosedLamp, true);
    for (std::string_view indicator : doorSideIndicators)
        run.scene.setVisible(indicator, false);
    refreshDoorStatus(run.state);
}

}  // namespace cabdrive
