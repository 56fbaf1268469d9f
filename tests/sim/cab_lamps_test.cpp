// The cab lamps lit from the controls, and the pattern-type indicator.
#include <gtest/gtest.h>

#include "sim/cab_lamps.h"
#include "support/run_fixture.h"

namespace cabdrive {
namespace {

class CabLamps : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.vehicle.brakeNotches = 8;
        (void)f.vehicle.notchTable.add({3, 3, 40, 80, 0.9L, 0});
        (void)f.vehicle.notchTable.add({-2, 0, 0, 100, 1, 0});  // a retarding notch
        for (const char* name : {"img_Lamp_Power", "img_Lamp_Gen", "img_Lamp_Ele", "img_Lamp_Air", "img_Lamp_const", "img_other0"}) {
            Picture picture;
            picture.width = picture.height = 1;
            picture.pixels.assign(1, 0);
            f.scene.addPicture(name, picture);
            f.scene.addSprite(name, SpriteKind::Plain, 0, 0, 50).visible = false;
        }
    }
    // The lamps lit, in the order power, generator, electric, air, constant speed.
    std::string lit()
    {
        cabLamps(f.run());
        std::string out;
        for (const char* name : {"img_Lamp_Power", "img_Lamp_Gen", "img_Lamp_Ele", "img_Lamp_Air", "img_Lamp_const"})
            out += f.scene.sprite(name)->visible ? 'x' : '.';
        return out;
    }
    test::RunFixture f;
};

TEST_F(CabLamps, LampsFollowTheNotchesTheElectricBrakeAndTheDoors)
{
    auto& s = f.state();
    EXPECT_EQ(lit(), ".....");
    s.controls.appliedPowerNotch = 1;
    s.controls.powerHandle = 1;
    EXPECT_EQ(lit(), "x.x..");
    s.doors.doorsOpen = true;
    f.vehicle.doorLock = 1;
    EXPECT_EQ(lit(), "x....") << "open doors leave the power lamp as it was and put the electric lamp out";
    s.controls.appliedPowerNotch = 0;
    EXPECT_EQ(lit(), ".....");
    s.doors.doorsOpen = false;

    s.controls.powerHandle = 0;
    s.controls.appliedBrakeNotch = -3;
    s.controls.brakeHandle = -3;
    EXPECT_EQ(lit(), "...x.");
    s.air.electricBrakeCurrent = 120;
    EXPECT_EQ(lit(), ".xxx.") << "regenerating";
    s.controls.appliedBrakeNotch = s.controls.brakeHandle = -8;  // emergency: the air brake alone
    EXPECT_EQ(lit(), ".....");

    s.air.electricBrakeCurrent = 0;
    s.controls.appliedBrakeNotch = s.controls.brakeHandle = 0;
    s.controls.powerHandle = 2;
    s.controls.appliedPowerNotch = 2;
    s.dynamics.tractionForce = fixed4::fromInt(-5000);
    EXPECT_EQ(lit(), "xxx..") << "a retarding notch holding the train back";
    s.controls.constantSpeedOn = true;
    EXPECT_EQ(lit(), "xxx.x");
}

TEST_F(CabLamps, ThePatternTypeIndicatorShowsExactlyUnderPatternProtection)
{
    f.vehicle.atsType = 1;
    patternTypeIndicator(f.run());
    EXPECT_TRUE(f.scene.sprite("img_other0")->visible);
    f.vehicle.atsType = 2;
    patternTypeIndicator(f.run());
    EXPECT_FALSE(f.scene.sprite("img_other0")->visible);
}

}  // namespace
}  // namespace cabdrive
