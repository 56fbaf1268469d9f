// A short line for the station tests: four stations (stop, pass, stop, last
// stop), measured sound lengths, and the door pictures in the scene.
#pragma once

#include <initializer_list>
#include <string>

#include "sim/doors.h"
#include "sim/run_start.h"
#include "sim/stations.h"
#include "state/run.h"
#include "support/run_fixture.h"

namespace test {

struct StationLine {
    static constexpr std::size_t driveSounds = 2;  // channels before the route's sounds
    // Route sounds: 0 start, 1 and 4 arrivals, 2 melody, 3 ambience.
    static constexpr int arrival = 1, melody = 2, ambience = 3, lastArrival = 4;
    static constexpr std::size_t doorOpen = 40, doorClose = 41, departSignal = 42;
    static constexpr std::int32_t departure0 = 1080000;  // 10:00:00
    static constexpr std::int32_t departure2 = 1098000;  // 10:10:00

    // Chosen on the title screen; handed to the run when it starts.
    std::int32_t crewChangeStation = cabdrive::StationState::noCrewChange;

    explicit StationLine(std::int32_t oneMan = 0)
    {
        f.settings.wordStop = "停車";
        f.settings.wordPass = "通過";
        f.settings.wordStop2 = "運転停車";
        f.settings.wordDoorsA = "左";
        f.settings.wordDoorsB = "右";
        f.settings.infoTexts = {"臨時", "ドア扱い"};
        f.vehicle.brakeNotches = 8;
        f.vehicle.soundDoorOpen = doorOpen;
        f.vehicle.soundDoorClose = doorClose;
        f.vehicle.soundDepart = departSignal;
        for (std::size_t i = 0; i < driveSounds; ++i)
            (void)f.vehicle.driveSounds.add("band.wav");
        for (int i = 0; i < 10; ++i)
            (void)f.route->soundData.add("s" + std::to_string(i) + ".wav");
        f.route->oneMan = oneMan;
        f.route->dataName = "line";
        addStation("北町", 0, 100, 1000, arrival, melody, ambience, departure0);
        addStation("中町", 1, 200, 50000, 0, 0, ambience, 0);
        addStation("南町", 0, 300, 100000, arrival, melody, 0, departure2).doorSide = 1;
        addStation("西町", 0, 400, 200000, lastArrival, melody, 0, 0);
        for (const char* name : {"img_Lamp_Door", "img_other1", "img_other2", "img_unten_teimoku"})
            addSprite(name, 5);
    }

    cabdrive::Station& addStation(const char* name, int kind, int frame, int stop, int arrivalSound, int melodySound,
                                  int ambienceSound, int departure)
    {
        cabdrive::Station s;
        s.name = name;
        s.kind = kind;
        s.stopFrame = frame;
        s.stopTolerance = 200;
        s.stopDistance = stop;
        s.zoneStart = stop - 200;
        s.zoneEnd = stop + 200;
        s.arrivalSound = arrivalSound;
        s.departureSound = melodySound;
        s.ambienceSound = ambienceSound;
        s.departureTime = departure;
        s.doorSoundChance = 100;
        (void)f.route->stations.add(s);
        return f.route->stations[f.route->stations.size() - 1];
    }

    // A sprite of `cells` cells of 1 x 1 px.
    void addSprite(const char* name, int cells)
    {
        cabdrive::Picture picture{cells, 1, std::vector<std::uint32_t>(static_cast<std::size_t>(cells), 0)};
        f.scene.addPicture(name, picture).patternWidth = 1;
        f.scene.addSprite(name, cabdrive::SpriteKind::Plain, 0, 0, 1);
    }

    // Starts at a station with the keys live; lengths in s of route sounds 0 .. 4.
    void start(std::int32_t station = 0)
    {
        cabdrive::startRun(f.run(), {.startStation = station,
                                     .crewChangeStation = crewChangeStation,
                                     .environmentSoundSeconds = {3, 5, 10, 0, 4}});
        f.state().input.runNotStarted = false;
    }

    void closeDoors() { cabdrive::shutDoors(f.run()); }

    void standAt(long double position, long double speed = 0)
    {
        f.state().dynamics.trainPosition = position;
        f.state().dynamics.trainSpeed = speed;
    }

    // The tick's door and station steps in their order; false when the tick ended early.
    bool tick()
    {
        cabdrive::completeDoorClosing(f.run());
        if (!cabdrive::stationLoop(f.run()))
            return false;
        cabdrive::doorSafety(f.run());
        return true;
    }

    std::size_t channel(int sound) const { return driveSounds + static_cast<std::size_t>(sound); }
    bool playing(int sound) const { return f.sound.isPlaying(channel(sound)); }
    bool visible(const char* sprite) { return f.scene.sprite(sprite)->visible; }
    cabdrive::RunState& state() { return f.state(); }
    cabdrive::DoorState& doors() { return f.state().doors; }

    RunFixture f;
};

}  // namespace test
