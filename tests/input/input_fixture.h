// A run with a one-handle electric train (P5, B7 + emergency) for the
// controller and key tests; tests change the vehicle before the first run().
#pragma once

#include "support/run_fixture.h"

namespace test {

struct InputFixture : RunFixture {
    InputFixture()
    {
        vehicle.engineType = 1;
        vehicle.brakeType = 1;
        vehicle.powerNotches = 5;
        vehicle.brakeNotches = 8;
        vehicle.powerDelay = 1;
        vehicle.brakeDelay = 1;
        vehicle.sapDelay = 1;
        vehicle.eBrakeDelay = 1;
        for (int i = 0; i < 5; ++i)
            (void)vehicle.notchTable.add({});
        (void)vehicle.groupStart.add(0);
        (void)vehicle.powerModes.add({"P", "直列"});
    }

    cabdrive::ControlState& controls() { return state().controls; }

    // Notches 5 to 7 become power mode 1, "S".
    void addSecondPowerMode()
    {
        vehicle.powerNotches = 7;
        for (int i = 0; i < 2; ++i)
            (void)vehicle.notchTable.add({});
        for (std::size_t k = 4; k < 7; ++k)
            vehicle.notchTable[k].notchGroup = 1;
        (void)vehicle.groupStart.add(4);
        (void)vehicle.powerModes.add({"S", "並列"});
    }

    // A strip sprite of `patterns` cells of 10 x 10 px.
    void addStrip(const char* name, int patterns)
    {
        cabdrive::Picture cells{patterns * 10, 10, std::vector<std::uint32_t>(static_cast<std::size_t>(patterns) * 100)};
        cabdrive::ScenePicture& picture = scene.addPicture(name, cells);
        picture.patternWidth = 10;
        scene.addSprite(name, cabdrive::SpriteKind::Plain, 0, 0, 30);
    }
    int pattern(const char* name) const { return scene.sprite(name)->pattern; }
    bool visible(const char* name) const { return scene.sprite(name)->visible; }
};

// A started run standing at neutral, with the vigilance warning (sound 40,
// lamp img_Lamp_EB) and the horn (sound 41) to watch.
struct StartedInputFixture : InputFixture {
    StartedInputFixture()
    {
        vehicle.soundEbRing = 40;
        vehicle.soundHorn = 41;
        vehicle.soundHorn2 = 42;
        addStrip("img_Lamp_EB", 1);
        state().input.runNotStarted = false;
    }

    // The vigilance device warning, a minute after the last key.
    void warnVigilance()
    {
        state().protection.vigilanceCounter = 620;
        sound.play(40, false);
        scene.setVisible("img_Lamp_EB", true);
    }
    bool vigilanceAnswered()
    {
        return state().protection.vigilanceCounter == 0 && !sound.isPlaying(40) && !visible("img_Lamp_EB");
    }
};

}  // namespace test
