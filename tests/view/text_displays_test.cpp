// The text displays written over the video: which texts, where and how large.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/run_fixture.h"
#include "view/readout_texts.h"
#include "view/text_displays.h"

namespace {

using cabdrive::TextDisplay;
using cabdrive::TextDisplays;

const TextDisplay* find(const TextDisplays& texts, const std::string& text)
{
    const auto found = std::find_if(texts.readouts.begin(), texts.readouts.end(),
                                    [&](const TextDisplay& d) { return d.text == text; });
    return found == texts.readouts.end() ? nullptr : found;
}

TEST(ReadoutTexts, TheStopDistanceLosesItsDecimalsAsItGrows)
{
    EXPECT_EQ(cabdrive::distanceText(1200), "   12 m");
    EXPECT_EQ(cabdrive::distanceText(700), "  7.0 m");
    EXPECT_EQ(cabdrive::distanceText(300), " 3.00 m");
    EXPECT_EQ(cabdrive::distanceText(-700), " -7.0 m") << "overrun, by the same rule";
    EXPECT_EQ(cabdrive::speedText(52.46L), " 52.5 km/h");
}

class TextDisplayLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.settings.viewWidth = 800;
        f.settings.viewHeight = 600;
        f.run().options.Information = 0;
        f.run().options.Moji = 0;
    }
    cabdrive::RunState& s() { return f.state(); }

    test::RunFixture f;
};

TEST_F(TextDisplayLayout, ReadoutsStandAtFractionsOfTheView)
{
    s().controls.reverserText = "前";
    s().controls.powerText = "P3";
    s().controls.brakeText = "B2";
    s().controls.gearText = "直列";
    s().stations.nextStationText = "次は 若葉 停車";
    s().stations.clockText = "10:00:00";
    s().dynamics.trainSpeed = 42.3L;
    const TextDisplays texts = cabdrive::layoutTextDisplays(f.run(), 0);

    const TextDisplay* speed = find(texts, " 42.3 km/h");
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->fontSize, 16);
    EXPECT_EQ(speed->x, 640);
    EXPECT_EQ(speed->y, 504);

    const TextDisplay* reverser = find(texts, "前");
    ASSERT_NE(reverser, nullptr);
    EXPECT_EQ(reverser->fontSize, 14);  // 0.017 x 800 = 13.6
    EXPECT_EQ(reverser->x, 640);
    EXPECT_EQ(reverser->y, 552);
    EXPECT_EQ(find(texts, "P3")->x, 696);
    EXPECT_EQ(find(texts, "B2")->x, 736);
    EXPECT_EQ(find(texts, "直列")->x, 576);
    EXPECT_EQ(find(texts, "次は 若葉 停車")->y, 516);
    EXPECT_EQ(find(texts, "10:00:00")->x, 8);
    EXPECT_EQ(find(texts, "10:00:00")->y, 552);
    EXPECT_EQ(cabdrive::textShadowOffset(800), 2);  // 1.6
}

TEST_F(TextDisplayLayout, FractionsRoundHalvesToEven)
{
    EXPECT_EQ(cabdrive::viewFraction(801, 0.5L), 400);  // 400.5
    EXPECT_EQ(cabdrive::viewFraction(803, 0.5L), 402);  // 401.5
    EXPECT_EQ(cabdrive::viewFraction(600, 0.25L), 150);

    // The message's centre is half the view's width, rounded to even.
    f.settings.viewWidth = 801;
    s().presentation.messageText = "ATS確認";
    EXPECT_EQ(cabdrive::layoutTextDisplays(f.run(), 0).message->x, 400);
    f.settings.viewWidth = 803;
    EXPECT_EQ(cabdrive::layoutTextDisplays(f.run(), 0).message->x, 402);
}

TEST_F(TextDisplayLayout, EmptyLimitAndProtectionLinesDrawNothingAndTheOthersStackUpwards)
{
    s().signals.limitText2 = "45km/h 制限";
    s().signals.protectionText2 = "ATS-P 常用";
    TextDisplays texts = cabdrive::layoutTextDisplays(f.run(), 0);
    ASSERT_NE(find(texts, "45km/h 制限"), nullptr);
    EXPECT_EQ(find(texts, "45km/h 制限")->y, 432);  // 0.72 H
    // The only protection line takes the first place above the cars readout.
    ASSERT_NE(find(texts, "ATS-P 常用"), nullptr);
    EXPECT_EQ(find(texts, "ATS-P 常用")->y, 444);  // 0.74 H
    const std::size_t withOneLine = texts.readouts.size();

    s().signals.protectionText1 = "ATS-P 動作";
    texts = cabdrive::layoutTextDisplays(f.run(), 0);
    EXPECT_EQ(texts.readouts.size(), withOneLine + 1);
    EXPECT_EQ(find(texts, "ATS-P 動作")->y, 444);
    EXPECT_EQ(find(texts, "ATS-P 常用")->y, 408);  // 0.68 H
}

TEST_F(TextDisplayLayout, TheMessageIsCentredByTheWidthOfThePreviousPass)
{
    s().presentation.messageText = "停止位置を修正してください";
    TextDisplays texts = cabdrive::layoutTextDisplays(f.run(), 0);
    ASSERT_TRUE(texts.message);
    EXPECT_EQ(texts.message->fontSize, 12);
    EXPECT_EQ(texts.message->x, 400);  // first appearance: off centre by half its width
    EXPECT_EQ(texts.message->y, 30);

    texts = cabdrive::layoutTextDisplays(f.run(), 157);
    EXPECT_EQ(texts.message->x, 400 - 78);  // 78.5 rounds to even

    f.run().options.Moji = 1;
    texts = cabdrive::layoutTextDisplays(f.run(), 157);
    EXPECT_EQ(texts.message->y, 540);
}

TEST_F(TextDisplayLayout, TheMessageNeedsCommentaryOnAndAText)
{
    s().presentation.messageText = "ATS確認";
    f.run().options.Information = 1;
    EXPECT_FALSE(cabdrive::layoutTextDisplays(f.run(), 0).message);
    f.run().options.Information = 0;
    s().presentation.messageText.clear();
    EXPECT_FALSE(cabdrive::layoutTextDisplays(f.run(), 0).message);
}

TEST_F(TextDisplayLayout, TextModeLeavesOnlyTheMessageOnTheView)
{
    s().controls.reverserText = "前";
    s().presentation.messageText = "ATS確認";
    f.run().options.Moji = 1;
    const TextDisplays texts = cabdrive::layoutTextDisplays(f.run(), 0);
    EXPECT_TRUE(texts.message);
    EXPECT_TRUE(texts.readouts.empty());
}

TEST_F(TextDisplayLayout, TheOnePersonNoticeHasItsOwnPlace)
{
    s().stations.carsText = "10両";
    s().stations.doorSideText = " 左";
    TextDisplays texts = cabdrive::layoutTextDisplays(f.run(), 0);
    ASSERT_NE(find(texts, "10両 左"), nullptr);
    EXPECT_EQ(find(texts, "10両 左")->y, 480);

    f.route->oneMan = 1;
    s().stations.carsText = "ワンマン";
    texts = cabdrive::layoutTextDisplays(f.run(), 0);
    ASSERT_NE(find(texts, "ワンマン"), nullptr);
    EXPECT_EQ(find(texts, "ワンマン")->x, 120);
    EXPECT_EQ(find(texts, "ワンマン")->y, 552);
    EXPECT_NE(find(texts, " 左"), nullptr);
}

}  // namespace
