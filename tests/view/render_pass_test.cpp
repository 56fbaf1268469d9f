// What a render pass decides before drawing: the frame to decode, the
// end-of-video windows, the needles and the closing fade.
#include <gtest/gtest.h>

#include "support/run_fixture.h"
#include "view/needles.h"
#include "view/render_pass.h"

namespace {

class RenderPass : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.video.add("line.avi", 1000);
        f.video.open("line.avi");
        video().highestFrame = 1000;
        f.state().presentation.lastDecodedFrame = -1;
    }
    cabdrive::VideoState& video() { return f.state().video; }
    bool pass() { return cabdrive::beginRenderPass(f.run()); }

    test::RunFixture f;
};

TEST_F(RenderPass, AFrameIsDecodedOnlyWhenItsNumberChanges)
{
    video().currentFrame = 120;
    EXPECT_TRUE(pass());
    EXPECT_TRUE(pass());
    video().currentFrame = 121;
    EXPECT_TRUE(pass());
    EXPECT_EQ(f.video.decoded, (std::vector<std::int32_t>{120, 121}));
    EXPECT_EQ(f.state().presentation.lastDecodedFrame, 121);
}

TEST_F(RenderPass, NothingAboveTheHighestFrameOrBelowZeroIsDecoded)
{
    video().highestFrame = 900;
    video().currentFrame = 900;
    pass();
    video().currentFrame = 901;
    pass();
    video().currentFrame = -3;
    pass();
    EXPECT_EQ(f.video.decoded, (std::vector<std::int32_t>{900}));
    EXPECT_EQ(f.state().presentation.lastDecodedFrame, 900);  // the last picture stays
}

TEST_F(RenderPass, ClipModesDecodeThePlaybackFrame)
{
    video().currentFrame = 500;
    for (int mode : {1, 2}) {
        video().videoMode = mode;
        video().playbackFrame = 10 * mode;
        pass();
    }
    video().videoMode = 9;  // a switch in progress shows nothing new
    video().playbackFrame = 30;
    pass();
    EXPECT_EQ(f.video.decoded, (std::vector<std::int32_t>{10, 20}));
}

TEST_F(RenderPass, NothingIsDrawnInTheFramesPastTheEndOfTheVideo)
{
    ASSERT_TRUE(f.route->movieStops.add(800));
    f.state().dynamics.trainSpeed = 20;
    video().currentFrame = 801;
    EXPECT_FALSE(pass());
    video().currentFrame = 1299;
    EXPECT_FALSE(pass());
    EXPECT_TRUE(f.video.decoded.empty());
    video().currentFrame = 800;
    EXPECT_TRUE(pass());

    // After the switch-back the window lies before the end, running backwards.
    video().reversed = 1;
    f.state().dynamics.trainSpeed = -20;
    video().currentFrame = 799;
    EXPECT_FALSE(pass());
    video().currentFrame = 301;
    EXPECT_FALSE(pass());
    video().currentFrame = 810;
    EXPECT_TRUE(pass());
}

TEST_F(RenderPass, WithVisualEffectsOffTheFadeClosesTheWindowInTheFirstPass)
{
    f.run().options.Tunnel = 1;
    EXPECT_EQ(cabdrive::advanceFade(f.run()).alpha, 0);  // no fade asked for

    f.state().presentation.fadeLevel = 1;
    const cabdrive::FadeStep step = cabdrive::advanceFade(f.run());
    EXPECT_EQ(step.alpha, 255);
    EXPECT_TRUE(step.closeWindow);
    EXPECT_EQ(f.state().presentation.fadeLevel, 0);
}

TEST_F(RenderPass, WithVisualEffectsOnTheFadeDarkensByTenAPass)
{
    f.run().options.Tunnel = 0;
    f.state().presentation.fadeLevel = 1;
    std::vector<int> alphas;
    cabdrive::FadeStep step;
    do {
        step = cabdrive::advanceFade(f.run());
        alphas.push_back(step.alpha);
    } while (!step.closeWindow && alphas.size() < 100);
    ASSERT_EQ(alphas.size(), 26u);  // 1, 11, ..., 251
    EXPECT_EQ(alphas.front(), 1);
    EXPECT_EQ(alphas[1], 11);
    EXPECT_EQ(alphas.back(), 251);
    EXPECT_EQ(f.state().presentation.fadeLevel, 0);
}

TEST(AmmeterDamping, OvershootsByHalfTheDistanceAndSettles)
{
    std::vector<std::int32_t> shown;
    std::int32_t value = 0;
    for (int pass = 0; pass < 6; ++pass)
        shown.push_back(value = cabdrive::dampedCurrent(value, 100));
    // Each pass swings past the target by half the gap and back by half again;
    // rounding halves away from zero leaves the needle one ampere short.
    EXPECT_EQ(shown, (std::vector<std::int32_t>{75, 93, 98, 99, 99, 99}));

    // A falling current approaches from above; a negative one from nearer zero.
    EXPECT_EQ(cabdrive::dampedCurrent(300, 100), 0);
    EXPECT_EQ(cabdrive::dampedCurrent(0, -100), -50);
    EXPECT_EQ(cabdrive::dampedCurrent(-100, -100), -100);
}

class PassNeedles : public ::testing::Test {
protected:
    void addNeedle(const char* name)
    {
        cabdrive::Picture picture{4, 20, std::vector<std::uint32_t>(80, 0xFFFFFFFF)};
        f.scene.addPicture(name, picture);
        f.scene.addSprite(name, cabdrive::SpriteKind::Extended, 0, 0, 60);
    }
    int angle(const char* name) { return f.scene.sprite(name)->angle; }

    test::RunFixture f;
};

TEST_F(PassNeedles, GaugesTurnByTheirScalesAndLinearGaugesRise)
{
    for (const char* name : {"img_Needle_BC", "img_Needle_BP", "img_Needle_MR", "img_Needle_V", "img_Needle_BC_L", "img_Needle_MR_L"})
        addNeedle(name);
    f.vehicle.needleBc.degPerUnit = 0.5;  // 360 degrees at 720 kPa
    f.vehicle.needleBc.offsetDeg = -135;
    f.vehicle.needleBp.degPerUnit = 0.25;
    f.vehicle.needleMr.degPerUnit = 0.25;
    f.vehicle.needleV.degPerUnit = 0.1;
    f.vehicle.needleBcLinear = {"", 700, 650, 0.1L};
    f.vehicle.needleMrLinear = {"", 720, 650, 0.05L};
    f.vehicle.bcSelect = 1;
    cabdrive::AirState& air = f.state().air;
    air.bcMotorCar = cabdrive::fixed4::fromInt(450);
    air.bcTrailerCar = cabdrive::fixed4::fromInt(100);
    air.bpPressure = 490;
    air.mrPressure = cabdrive::fixed4::fromInt(800);
    air.mrNeedleDip = -40;
    f.state().dynamics.lineVoltage = cabdrive::fixed4::fromInt(1500);

    cabdrive::setPassNeedles(f.run());
    EXPECT_EQ(angle("img_Needle_BC"), 64);   // 90 degrees: 63.75
    EXPECT_EQ(angle("img_Needle_BP"), 87);   // 122.5 degrees: 86.77
    EXPECT_EQ(angle("img_Needle_MR"), 135);  // 760 kPa with the dip: 190 degrees
    EXPECT_EQ(angle("img_Needle_V"), 106);   // 150 degrees: 106.25
    EXPECT_EQ(f.scene.sprite("img_Needle_BC_L")->x, 700);
    EXPECT_EQ(f.scene.sprite("img_Needle_BC_L")->y, 605);  // 650 - 45 kPa-px
    EXPECT_EQ(f.scene.sprite("img_Needle_MR_L")->y, 610);  // the pressure without the dip

    f.vehicle.bcSelect = 0;  // the trailer car's cylinder
    cabdrive::setPassNeedles(f.run());
    EXPECT_EQ(angle("img_Needle_BC"), -60);  // -85 degrees
    EXPECT_EQ(f.scene.sprite("img_Needle_BC_L")->y, 640);
}

TEST_F(PassNeedles, TheAmmeterFollowsTheReverserOrTheCurrentsSizeOrStandsFixed)
{
    addNeedle("img_Needle_I");
    f.vehicle.needleI.degPerUnit = 0.5;
    f.vehicle.needleI.offsetDeg = 10;
    cabdrive::VideoState& v = f.state().video;
    f.state().presentation.shownCurrent = -200;
    f.state().presentation.targetCurrent = -200;
    f.state().controls.reverser = -1;

    f.vehicle.needleI.currentAbs = 0;
    cabdrive::setPassNeedles(f.run());
    EXPECT_EQ(angle("img_Needle_I"), 64);  // (-100 + 10) degrees = -64 steps, times the reverser

    f.vehicle.needleI.currentAbs = 1;
    cabdrive::setPassNeedles(f.run());
    EXPECT_EQ(angle("img_Needle_I"), 78);  // 110 degrees

    f.vehicle.needleI.currentAbs = 2;
    cabdrive::setPassNeedles(f.run());
    EXPECT_EQ(angle("img_Needle_I"), 10);  // the offset itself, not converted

    f.vehicle.needleI.currentAbs = 1;
    f.state().presentation.targetCurrent = 0;
    cabdrive::setPassNeedles(f.run());
    EXPECT_EQ(f.state().presentation.shownCurrent, -100);  // damped before the angle is taken
    EXPECT_EQ(angle("img_Needle_I"), 43);  // 60 degrees
}

}  // namespace
