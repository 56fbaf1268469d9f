// A run with a signalled line for the signal and protection tests: six
// aspects (0, 25, 45, 65, 85, 100 km/h), a notched brake of 8 positions and
// numbered protection sounds; tests add signals, targets and sprites.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "support/run_fixture.h"

namespace test {

struct ProtectionFixture : RunFixture, ::testing::Test {
    static constexpr std::size_t bell = 50, chime = 51, ackTone = 52, atcBell = 53;

    ProtectionFixture()
    {
        vehicle.brakeType = 1;
        vehicle.brakeNotches = 8;
        vehicle.powerNotches = 5;
        vehicle.maxSpeed = 120;
        vehicle.atsTime = 5;
        vehicle.atsCount = 1;
        vehicle.soundAts1 = bell;
        vehicle.soundAts2 = chime;
        vehicle.soundAts3 = ackTone;
        vehicle.soundAtc = atcBell;
        vehicle.brakeRateA = cabdrive::fixed4::fromInt(3);
        for (std::int32_t speed : {0, 25, 45, 65, 85, 100})
            (void)route->speedSignals.add(speed);
    }

    // A signal at `frame`, in view from 200 frames before it, with its
    // transponders 100 and 20 frames before it.
    cabdrive::SignalRow& addSignal(std::int32_t headType, std::int32_t frame)
    {
        cabdrive::SignalRow row;
        row.columns[3] = headType;
        row.columns[4] = frame - 200;
        row.columns[5] = frame;
        row.columns[6] = frame - 100;
        row.columns[7] = frame - 20;
        row.distance = frame * 100;  // cm: 1 m per frame
        (void)route->signals.add(row);
        return route->signals[route->signals.size() - 1];
    }
    void addSignals(std::initializer_list<std::int32_t> headTypes)
    {
        std::int32_t frame = 1000;
        for (std::int32_t head : headTypes) {
            addSignal(head, frame);
            frame += 1000;
        }
    }

    // A sprite of `patterns` cells of 4 x 4 px.
    void addSprite(const std::string& name, int patterns)
    {
        cabdrive::Picture cells{patterns * 4, 4, std::vector<std::uint32_t>(static_cast<std::size_t>(patterns) * 16)};
        scene.addPicture(name, cells).patternWidth = 4;
        scene.addSprite(name, cabdrive::SpriteKind::Plain, 0, 0, 100);
    }
    const cabdrive::Sprite& sprite(const char* name) const { return *scene.sprite(name); }

    cabdrive::ProtectionState& protection() { return state().protection; }
    cabdrive::SignalState& signals() { return state().signals; }
    void placeAt(long double cm, long double kmh)
    {
        state().dynamics.trainPosition = cm;
        state().dynamics.trainSpeed = kmh;
    }
};

}  // namespace test
