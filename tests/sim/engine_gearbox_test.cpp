// The diesel engine and gearbox: the engine key, the stall, the automatic
// gear choice, gear changes, the engine speed and the gear lever keys.
#include <gtest/gtest.h>

#include "input/driver_keys.h"
#include "input/input_fixture.h"
#include "sim/engine.h"
#include "sim/information_line.h"
#include "sim/traction.h"

using namespace cabdrive;

namespace {

constexpr std::size_t startSound = 59;
constexpr std::size_t stopSound = 60;
constexpr KeyModifiers shiftOnly{true, false, false};

// A railcar like the demo line's: neutral and two gears, the second direct
// drive, four power notches, a manual gearbox unless a test says otherwise.
struct DieselFixture : test::InputFixture {
    DieselFixture()
    {
        vehicle.engineType = 0;
        vehicle.gearType = 1;
        vehicle.powerNotches = 4;
        vehicle.notchTable.restart();
        vehicle.trainMass = fixed4::fromInt(40);
        vehicle.maxSpeed = 100;
        vehicle.doorLock = 1;
        (void)vehicle.engineTable.add({0, 0, 0, 0, 0, 0});
        (void)vehicle.engineTable.add({0, 25, 55, 1800, 1300, 500});
        (void)vehicle.engineTable.add({30, 55, 100, 900, 700, 250});
        (void)vehicle.engineRates.add({0, 0});
        (void)vehicle.engineRates.add({35, 1.1L});
        (void)vehicle.engineRates.add({0, 0.95L});
        vehicle.engineSound2 = {59, 60, 52, 54};
        addStrip("img_lamp_gear", 3);
        settings.infoTexts.assign(22, "");
        state().input.runNotStarted = false;
    }

    EngineState& engine() { return state().engine; }

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            engineStartStop(run());
    }
    void gearboxTicks(int count)
    {
        for (int i = 0; i < count; ++i)
            runGearbox(run());
    }
    void steps(int count)
    {
        for (int i = 0; i < count; ++i)
            followEngineSpeed(run());
    }
    long double traction()
    {
        state().dynamics.tractionForce = fixed4{};
        tractionStage(run());
        return state().dynamics.tractionForce.value();
    }
    // Standing with the engine running, in forward and notch 1 applied.
    void powerApplied()
    {
        auto& c = controls();
        c.reverser = 1;
        c.brakeHandle = 0;
        c.powerHandle = 1;
        c.appliedPowerNotch = 1;
    }
};

TEST(EngineKey, HeldFiveSecondsTheStartKeyStartsTheEngineAndLetGoSoonerAbandonsTheStart)
{
    DieselFixture f;
    f.engine().engineRunning = 0;
    keydowns(f.run(), Key::F2, {});
    EXPECT_EQ(f.state().input.engineKey, 1);
    f.ticks(1);
    EXPECT_EQ(f.engine().engineRunning, -1) << "cranking";
    EXPECT_EQ(f.sound.starts(startSound), 1);
    EXPECT_EQ(f.sound.channels[startSound].rewinds, 1) << "the start sound plays from its beginning";
    f.ticks(48);
    keyups(f.run(), Key::F2);  // after 4.9 s
    EXPECT_EQ(f.state().input.engineKey, 0);
    f.ticks(1);
    EXPECT_EQ(f.engine().engineRunning, 0) << "the start is abandoned";
    EXPECT_EQ(f.sound.starts(stopSound), 1);
    EXPECT_EQ(f.engine().engineKeyTicks, 0);

    keydowns(f.run(), Key::F2, {});
    f.ticks(50);
    EXPECT_EQ(f.engine().engineRunning, 1) << "5 s of cranking start the engine";
    f.ticks(20);
    keyups(f.run(), Key::F2);
    f.ticks(1);
    EXPECT_EQ(f.engine().engineRunning, 1) << "letting go afterwards changes nothing";
    EXPECT_EQ(f.sound.starts(stopSound), 1);

    keydowns(f.run(), Key::F2, {false, true, false});
    EXPECT_EQ(f.state().input.engineKey, 1) << "Ctrl + F2 is not the stop key";
    keydowns(f.run(), Key::F2, shiftOnly);
    EXPECT_EQ(f.state().input.engineKey, 2);
    keyups(f.run(), Key::F3);
    EXPECT_EQ(f.state().input.engineKey, 2) << "only F2's release lets the key go";
}

TEST(EngineKey, TheStopKeyShutsDownOnlyWithPowerOffWhenFirstHeldAndCanBeAbandoned)
{
    DieselFixture f;
    f.controls().powerHandle = 1;
    keydowns(f.run(), Key::F2, shiftOnly);
    f.ticks(1);
    f.controls().powerHandle = 0;
    f.ticks(59);
    EXPECT_EQ(f.engine().engineRunning, 1) << "power was on when the key was first held";
    keyups(f.run(), Key::F2);
    f.ticks(1);

    keydowns(f.run(), Key::F2, shiftOnly);
    f.ticks(1);
    EXPECT_EQ(f.engine().engineRunning, -2);
    f.ticks(29);
    keyups(f.run(), Key::F2);
    f.ticks(1);
    EXPECT_EQ(f.engine().engineRunning, 1) << "the shut-down is abandoned";
    EXPECT_EQ(f.sound.starts(stopSound), 0);

    keydowns(f.run(), Key::F2, shiftOnly);
    f.ticks(39);
    EXPECT_EQ(f.sound.starts(stopSound), 0);
    f.ticks(1);
    EXPECT_EQ(f.sound.starts(stopSound), 1) << "the stop sound at 4 s";
    f.ticks(9);
    EXPECT_EQ(f.engine().engineRunning, -2);
    f.ticks(1);
    EXPECT_EQ(f.engine().engineRunning, 0) << "stopped at 5 s";
}

TEST(EngineKey, AnElectricTrainShutsDownSilentlyAndLosesTraction)
{
    test::InputFixture f;
    f.vehicle.engineType = 1;
    f.vehicle.powerType = 1;
    f.vehicle.maxSpeed = 100;
    f.vehicle.trainMass = fixed4::fromInt(100);
    f.vehicle.notchTable[0] = {3, 2, 40, 80, 0.98L, 0};
    auto& s = f.state();
    s.controls.brakeHandle = 0;
    s.controls.appliedPowerNotch = 1;
    tractionStage(f.run());
    ASSERT_GT(s.dynamics.tractionForce.raw, 0);
    s.dynamics.tractionForce = fixed4{};
    keydowns(f.run(), Key::F2, shiftOnly);
    for (int i = 0; i < 50; ++i)
        engineStartStop(f.run());
    EXPECT_EQ(s.engine.engineRunning, 0);
    tractionStage(f.run());
    EXPECT_EQ(s.dynamics.tractionForce.raw, 0);
    EXPECT_TRUE(f.sound.log.empty()) << "no engine sounds on an electric train";
}

TEST(Gearbox, StartingOffInTopGearStallsTheEngineWithItsMessage)
{
    DieselFixture f;
    f.powerApplied();
    f.engine().currentGear = 1;
    f.engine().gearLever = 1;
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().engineRunning, 1) << "first gear does not stall";

    f.engine().currentGear = 2;
    f.engine().gearLever = 2;
    f.controls().reverser = 0;
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().engineRunning, 1) << "not with the reverser in neutral";
    f.controls().reverser = 1;
    f.state().dynamics.trainSpeed = 0.5L;
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().engineRunning, 1) << "not once the train moves";

    f.state().dynamics.trainSpeed = 0.4L;
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().engineRunning, 0);
    EXPECT_EQ(f.controls().appliedPowerNotch, 0);
    EXPECT_EQ(f.sound.starts(stopSound), 1);
    updateInformationLine(f.run());
    EXPECT_EQ(f.state().presentation.informationText, "エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。");
}

TEST(Gearbox, AGearChangeTakesOneSecondWithoutTraction)
{
    DieselFixture f;
    f.powerApplied();
    const long double inFirst = [&] {
        f.engine().currentGear = 1;
        return f.traction();
    }();
    ASSERT_GT(inFirst, 0);
    f.engine().currentGear = 0;
    EXPECT_EQ(f.traction(), 0) << "no traction in neutral";

    f.state().doors.doorsOpen = true;
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().gearShiftState, 0) << "the doors hold the gear out";
    f.state().doors.doorsOpen = false;

    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().gearShiftState, 1);
    f.engine().currentGear = 1;  // even in gear, a change in progress gives no traction
    EXPECT_EQ(f.traction(), 0);
    f.engine().currentGear = 0;
    f.gearboxTicks(8);
    EXPECT_EQ(f.engine().currentGear, 0);
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().currentGear, 1) << "engaged after ten ticks";
    EXPECT_EQ(f.engine().gearShiftState, 0);
    EXPECT_EQ(f.pattern("img_lamp_gear"), 1);
    EXPECT_EQ(f.traction(), inFirst);

    f.controls().appliedPowerNotch = 0;
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().currentGear, 0) << "power off: out of gear at once";
    EXPECT_EQ(f.engine().gearShiftState, 2);
    f.controls().appliedPowerNotch = 1;
    f.gearboxTicks(9);
    EXPECT_EQ(f.engine().gearShiftState, 0) << "the change to neutral runs its second first";
    EXPECT_EQ(f.engine().currentGear, 0);
    f.state().protection.protectionEmergencyBrake = true;
    f.gearboxTicks(1);
    EXPECT_EQ(f.engine().gearShiftState, 0) << "no change under the protection's emergency brake";
}

TEST(Gearbox, AnAutomaticGearboxShiftsAtTheGearSpeedsAndRunsInFirstBelowTenKilometresPerHour)
{
    DieselFixture f;
    f.vehicle.gearType = 0;
    f.powerApplied();
    auto& e = f.engine();
    auto& v = f.state().dynamics.trainSpeed;
    e.currentGear = 1;
    v = 55;
    f.gearboxTicks(1);
    EXPECT_EQ(e.gearLever, 1) << "up only above the gear's high speed";
    v = 56;
    f.gearboxTicks(1);
    EXPECT_EQ(e.gearLever, 2);
    EXPECT_EQ(e.gearShiftState, 1) << "power on: the change starts";
    f.gearboxTicks(9);
    EXPECT_EQ(e.currentGear, 2);

    v = 29;
    f.gearboxTicks(1);
    EXPECT_EQ(e.gearLever, 1) << "down below the gear's low speed";
    EXPECT_EQ(e.gearShiftState, 1);
    v = 9.9L;
    f.gearboxTicks(1);
    EXPECT_EQ(e.currentGear, 1) << "first gear at once";
    EXPECT_EQ(e.gearShiftState, 0) << "the change in progress is cancelled";
    EXPECT_EQ(e.gearShiftTicks, 0);

    e.currentGear = 0;
    v = 0;
    f.gearboxTicks(10);
    EXPECT_EQ(e.currentGear, 1) << "starting off, first gear engages in a second";
}

TEST(EngineSpeed, IdlesAtThirtyFollowsTheGearAndRevsFreelyInNeutral)
{
    DieselFixture f;
    auto& e = f.engine();
    f.steps(9);
    EXPECT_DOUBLE_EQ(static_cast<double>(e.engineSpeed), 27);
    f.steps(2);
    EXPECT_DOUBLE_EQ(static_cast<double>(e.engineSpeed), 30) << "idle; it goes no higher without power";

    f.powerApplied();  // neutral, manual lever: free revving
    f.steps(129);
    EXPECT_DOUBLE_EQ(static_cast<double>(e.engineSpeed), 94.5);
    f.steps(5);
    EXPECT_DOUBLE_EQ(static_cast<double>(e.engineSpeed), 95) << "held at 95";
    EXPECT_DOUBLE_EQ(static_cast<double>(e.engineSpeedTarget), 100);

    // First gear at 20 km/h: 35 + 20 x 1.1 = 57, approached by 0.6 then by 0.03.
    e.currentGear = 1;
    e.engineSpeed = 40.3L;
    f.state().dynamics.trainSpeed = 20;
    f.steps(20);
    EXPECT_NEAR(static_cast<double>(e.engineSpeed), 52.3, 1e-9);
    f.steps(1);
    EXPECT_NEAR(static_cast<double>(e.engineSpeed), 52.33, 1e-9) << "within 5: the fine step";
    f.steps(200);
    EXPECT_NEAR(static_cast<double>(e.engineSpeed), 56.02, 1e-9) << "stops within 1 of the target";

    e.gearShiftState = 1;
    f.steps(1);
    EXPECT_NEAR(static_cast<double>(e.engineSpeed), 55.02, 1e-9) << "during a change it falls towards idle";
    e.gearShiftState = 0;

    e.currentGear = 2;  // direct drive: the wheels set the engine speed at once
    f.state().dynamics.trainSpeed = -60;
    f.steps(1);
    EXPECT_NEAR(static_cast<double>(e.engineSpeed), 57, 1e-9);

    // Stopped without power: 1 a step towards idle and 3 a step towards rest.
    e.engineRunning = 0;
    f.controls().appliedPowerNotch = 0;
    f.steps(7);
    EXPECT_NEAR(static_cast<double>(e.engineSpeed), 29, 1e-9);
    f.steps(9);
    EXPECT_NEAR(static_cast<double>(e.engineSpeed), 2, 1e-9);
    f.steps(1);
    EXPECT_EQ(e.engineSpeed, 0) << "never below 0";
}

TEST(GearLever, KeysSWAndXMoveTheLeverOfAManualDieselOnly)
{
    DieselFixture f;
    auto& e = f.engine();
    AsciiDown(f.run(), 's');
    EXPECT_EQ(e.gearLever, 0);
    EXPECT_EQ(f.controls().gearText, "N");
    AsciiDown(f.run(), 'w');
    EXPECT_EQ(e.gearLever, 2);
    EXPECT_EQ(f.controls().gearText, "変速") << "with three gear rows the second gear has no number";
    AsciiDown(f.run(), 'x');
    EXPECT_EQ(e.gearLever, 1);
    EXPECT_EQ(f.controls().gearText, "1速");

    f.vehicle.gearType = 0;
    AsciiDown(f.run(), 's');
    EXPECT_EQ(e.gearLever, 1) << "an automatic gearbox has no lever";
}

}  // namespace
