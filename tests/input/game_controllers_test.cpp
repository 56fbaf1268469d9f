// Tests of the game controllers' axis and button mappings.
#include "input/game_controllers.h"

#include <gtest/gtest.h>

#include <limits>

#include "input/input_fixture.h"

using namespace cabdrive;

namespace {

struct GameFixture : test::StartedInputFixture {
    explicit GameFixture(std::int32_t kind)
    {
        vehicle.brakeNotches = 10;  // positions 1 .. 9 stay apart
        chooseControllerKind(run(), kind);
    }
    // One reading that acts, whatever the last one was.
    void scan(std::int32_t x, std::int32_t y, std::uint16_t buttons = 0)
    {
        state().controller.lastControllerSum = std::numeric_limits<std::int32_t>::min();
        USBScan(run(), {x, y, buttons});
    }
    std::int32_t power() { return controls().powerHandle; }
    std::int32_t brake() { return controls().brakeHandle; }
};

constexpr std::int32_t unchanged = 99;

std::uint16_t buttons(std::initializer_list<int> held)
{
    std::uint16_t mask = 0;
    for (const int b : held)
        mask = static_cast<std::uint16_t>(mask | 1 << b);
    return mask;
}

}  // namespace

TEST(GameControllers, ButtonCodes)
{
    EXPECT_EQ(buttonCodes({0, 0, 0xffff}).e, 15 + 4080);
    EXPECT_EQ(buttonCodes({0, 0, 0xffff}).g, 15);
    EXPECT_EQ(buttonCodes({0, 0, buttons({1, 6, 9})}).e, 2 + 32);
    EXPECT_EQ(buttonCodes({0, 0, buttons({1, 6, 9})}).g, 4);
}

TEST(GameControllers, WindowsControllerAxisBandsAndTheirExactEdges)
{
    const std::pair<std::int32_t, std::int32_t> powerByY[] = {
        {0, 0}, {100, 0}, {-1, 1}, {-4999, 1}, {-5000, unchanged}, {-5001, 2}, {-12000, unchanged}, {-12001, 3},
        {-20000, unchanged}, {-25000, 4}, {-30000, unchanged}, {-30001, 5}, {-32768, 5}};
    for (const auto& [y, expected] : powerByY) {
        GameFixture f(1);
        f.controls().powerHandle = unchanged;
        f.scan(-1, y);
        EXPECT_EQ(f.power(), expected) << "Y " << y;
    }
    const std::pair<std::int32_t, std::int32_t> brakeByX[] = {
        {-500, 0}, {0, 0}, {1, -1}, {1000, unchanged}, {1001, -2}, {4000, unchanged}, {5000, -3}, {6000, unchanged},
        {7000, -4}, {8000, unchanged}, {9000, -5}, {9500, unchanged}, {10000, -6}, {11000, unchanged}, {11500, -7},
        {12000, unchanged}, {12500, -8}, {13000, unchanged}, {13001, -9}, {32767, -9}};
    for (const auto& [x, expected] : brakeByX) {
        GameFixture f(1);
        f.controls().brakeHandle = unchanged;
        f.scan(x, 1);
        EXPECT_EQ(f.brake(), expected) << "X " << x;
    }
}

TEST(GameControllers, AControllerHeldStillActsOnceAndEveryChangeAnswersTheVigilanceDevice)
{
    GameFixture f(1);
    USBScan(f.run(), {0, -6000, 0});
    EXPECT_EQ(f.power(), 2);
    f.controls().powerHandle = 0;  // the keyboard moved the handle since
    f.warnVigilance();
    USBScan(f.run(), {0, -6000, 0});
    EXPECT_EQ(f.power(), 0);
    EXPECT_EQ(f.state().protection.vigilanceCounter, 620);
    USBScan(f.run(), {1, -6000, 0});
    EXPECT_EQ(f.power(), 2);
    EXPECT_EQ(f.brake(), -1);
    EXPECT_TRUE(f.vigilanceAnswered());
    EXPECT_EQ(f.state().controller.lastControllerSum, 1 - 6000);
}

TEST(GameControllers, WindowsControllerButtonsTypeKeys)
{
    GameFixture f(1);
    f.scan(0, 0, buttons({2}));  // "3": the horn
    EXPECT_EQ(f.sound.channels[41].rewinds, 1);
    f.addSecondPowerMode();
    f.scan(0, 0, buttons({0}));  // "9": the next power mode
    EXPECT_EQ(f.controls().powerMode, 1);
}

TEST(GameControllers, OhcPc01LeverPositionsAreButtonPairs)
{
    struct Position {
        std::initializer_list<int> held;
        std::int32_t power, brake;
    };
    // G from buttons 4 .. 7 (4: 4, 8: 8), E from buttons 8 and 9 (16, 32).
    const Position positions[] = {
        {{6, 8}, 0, 0}, {{6, 8, 9}, 1, unchanged}, {{6, 7}, 2, unchanged}, {{6, 7, 9}, 3, unchanged},
        {{6, 7, 8}, 4, unchanged}, {{6, 7, 8, 9}, 5, unchanged}, {{6, 9}, unchanged, -1}, {{6}, unchanged, -2},
        {{7, 8, 9}, unchanged, -3}, {{7, 8}, unchanged, -4}, {{7, 9}, unchanged, -5}, {{7}, unchanged, -6},
        {{8, 9}, unchanged, -7}, {{8}, unchanged, -8}, {{9}, unchanged, -9}, {{}, unchanged, unchanged},
        {{5, 8}, unchanged, unchanged}};
    for (const Position& p : positions) {
        GameFixture f(3);
        f.controls().powerHandle = f.controls().brakeHandle = unchanged;
        f.scan(0, 0, buttons(p.held));
        EXPECT_EQ(f.power(), p.power);
        EXPECT_EQ(f.brake(), p.brake);
    }
}

TEST(GameControllers, OhcPc01HornAndReverser)
{
    GameFixture f(3);
    f.scan(0, -1, buttons({0}));
    EXPECT_TRUE(f.state().input.hornButtonHeld);
    EXPECT_EQ(f.controls().reverser, 1);
    f.scan(0, 1);
    EXPECT_FALSE(f.state().input.hornButtonHeld);
    EXPECT_EQ(f.controls().reverser, -1);
    f.scan(0, 0, buttons({0}));
    EXPECT_EQ(f.controls().reverser, 0);

    // A controller unplugged with its horn held leaves the horn silent.
    f.joystick.reading.reset();
    pollGameController(f.run());
    EXPECT_FALSE(f.state().input.hornButtonHeld);
}

TEST(GameControllers, PlayStationControllerUsesTheStoredCodes)
{
    GameFixture f(2);
    auto& codes = f.run().controllerCodes.values;
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = 1000 + static_cast<std::int32_t>(i);  // P0..P5, B0..B8, EB
    f.scan(1000, 3);  // X + Y + E = P3
    EXPECT_EQ(f.power(), 3);
    f.controls().brakeHandle = unchanged;
    codes[6 + 4] = 2;  // B4
    f.scan(0, 0, buttons({5}));
    EXPECT_EQ(f.brake(), -4);
    codes[15] = 8;  // EB
    f.scan(0, 0, buttons({7}));
    EXPECT_EQ(f.brake(), -9);
    f.scan(0, 0, buttons({1}));  // "3": the horn
    EXPECT_EQ(f.sound.channels[41].rewinds, 1);
}

TEST(GameControllers, TheTickPollsOnlyAChosenGameControllerThatIsAttached)
{
    GameFixture f(0);
    f.joystick.reading = JoystickSnapshot{0, -6000, 0};
    pollGameController(f.run());
    EXPECT_EQ(f.joystick.polls, 0);
    chooseControllerKind(f.run(), 1);
    f.state().controller.debugCaption = true;
    pollGameController(f.run());
    EXPECT_EQ(f.power(), 2);
    EXPECT_EQ(f.state().controller.axesCaption, "X:0 Y:-6000");
    f.controls().powerHandle = 0;
    f.joystick.reading.reset();
    pollGameController(f.run());
    EXPECT_EQ(f.power(), 0);
}

TEST(GameControllers, APositionPutByAScriptLineStaysUntilADeviceAnswers)
{
    GameFixture f(0);
    f.joystick.reading.reset();
    putGameController(f.run(), 3, {0, -1, buttons({0, 6, 8})});  // (G, E) = (4, 16): P0, the horn held
    pollGameController(f.run());
    putGameController(f.run(), 3, {0, -1, buttons({0, 6, 8})});  // the same line again
    pollGameController(f.run());
    EXPECT_TRUE(f.state().input.hornButtonHeld);
    EXPECT_EQ(f.state().controller.controllerKind, 3);

    // A device that answers is read in its place.
    f.joystick.reading = JoystickSnapshot{0, -1, buttons({6, 8})};
    pollGameController(f.run());
    EXPECT_FALSE(f.state().input.hornButtonHeld);
}
