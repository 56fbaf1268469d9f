// The trackside signs over the view: slope posts, signs and timetable
// markers, animations, level crossings and road traffic lights.
#include <gtest/gtest.h>

#include <string>

#include "sim/crossings.h"
#include "sim/road_lights.h"
#include "sim/slope_posts.h"
#include "sim/trackside_signs.h"
#include "support/run_fixture.h"

namespace cabdrive {
namespace {

class Trackside : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"img_unten_slope", "img_unten_other", "img_unten_anim", "img_unten_cross", "img_other3",
                                 "img_unten_traffic", "img_unten_traffic2"}) {
            Picture picture;
            picture.width = picture.height = 1;
            picture.pixels.assign(1, 0);
            f.scene.addPicture(name, picture);
            f.scene.addSprite(name, SpriteKind::Plain, 0, 0, 100);
        }
    }
    RunState& s() { return f.state(); }
    const Sprite& sprite(const char* name) { return *f.scene.sprite(name); }
    void at(std::int32_t frame) { s().video.currentFrame = frame; }

    test::RunFixture f;
};

TEST_F(Trackside, SlopePostsSetTheGradientTheSignAndTheTextsAndLevelTrackReadsL)
{
    auto& slopes = f.route->slopes;
    (void)slopes.add({fixed4::fromInt(8), 100, 200});
    (void)slopes.add({fixed4::fromValue(-2.5L), 250, 400});
    const auto& t = s().trackside;
    const auto post = [&](std::int32_t frame) {
        at(frame);
        slopePosts(f.run());
        return t.gradientText + " " + t.gradientTextUnsigned + " " + std::to_string(sprite("img_unten_slope").pattern);
    };
    EXPECT_EQ(post(50), "L L 0") << "before the first post nothing changes";
    EXPECT_EQ(post(150), "+8.0 8.0 1");
    EXPECT_EQ(s().dynamics.frontGradient, fixed4::fromInt(8));
    EXPECT_EQ(post(200), "+8.0 8.0 1") << "on a post's last frame the gradient holds";
    EXPECT_EQ(post(220), "L L 0") << "between two sections the line is level";
    EXPECT_EQ(s().dynamics.frontGradient, fixed4{});
    EXPECT_EQ(post(300), "-2.5 2.5 2");
    EXPECT_EQ(post(401), "L L 0") << "beyond the last post";
}

TEST_F(Trackside, OverlappingSignsShowOneAfterAnotherAndTheMarkerOnlyWhileRunning)
{
    (void)f.route->signs.add({{3, 100, 300, 0}});
    (void)f.route->signs.add({{5, 150, 300, 4}});  // takes over once the sign counter passes 4
    (void)f.route->times.add({{400, 500, 36000}});
    const auto& t = s().trackside;
    at(100);
    signsAndTimeMarkers(f.run());
    EXPECT_TRUE(sprite("img_unten_other").visible);
    EXPECT_EQ(sprite("img_unten_other").pattern, 3);
    EXPECT_EQ(t.pendingSignCallout, 3);
    at(150);  // both rows count each tick: after two ticks the second row's time has come
    for (int tick = 0; tick < 2; ++tick)
        signsAndTimeMarkers(f.run());
    EXPECT_EQ(sprite("img_unten_other").pattern, 3);
    signsAndTimeMarkers(f.run());
    EXPECT_EQ(sprite("img_unten_other").pattern, 5);
    EXPECT_EQ(t.pendingSignCallout, 5);
    at(350);
    signsAndTimeMarkers(f.run());
    EXPECT_FALSE(sprite("img_unten_other").visible);
    EXPECT_EQ(t.pendingSignCallout, TracksideState::noCallout);

    at(450);
    s().dynamics.trainSpeed = 30;
    s().dynamics.distanceToStop = 10001;
    signsAndTimeMarkers(f.run());
    EXPECT_EQ(sprite("img_unten_other").pattern, 0);
    EXPECT_EQ(t.pendingSignCallout, TracksideState::timeMarker);
    s().dynamics.distanceToStop = 10000;  // within 100 m of the stop
    signsAndTimeMarkers(f.run());
    EXPECT_EQ(t.pendingSignCallout, TracksideState::noCallout);
}

TEST_F(Trackside, AnAnimationStepsAfterMoreThanItsTicksAndRestsOutOfView)
{
    (void)f.route->anims.add({{100, 200, 2, 1}});
    at(100);
    std::string phases;
    for (int tick = 0; tick < 7; ++tick) {
        animations(f.run());
        phases += std::to_string(sprite("img_unten_anim").pattern);
    }
    EXPECT_EQ(phases, "1122233");
    at(200);
    animations(f.run());
    EXPECT_EQ(sprite("img_unten_anim").pattern, 0);
}

TEST_F(Trackside, CrossingsQueueOnceShowTheHeadAndLightTheIndicatorUntilTheDeparture)
{
    (void)f.route->crosses.add({{1, 27, 100, 300, 0}});
    (void)f.route->crosses.add({{2, 28, 150, 350, 1}});  // cleared by the departure from station 1
    s().stations.melodyStarted.assign(2, 0);
    const auto& t = s().trackside;
    const auto pass = [&](std::int32_t frame) {
        at(frame);
        crossings(f.run());
    };
    pass(100);
    EXPECT_EQ(sprite("img_unten_cross").pattern, 0) << "nothing is shown inside an enter window";
    pass(120);
    EXPECT_EQ(sprite("img_unten_cross").pattern, 1);
    EXPECT_FALSE(crossingIndicatorLit(f.run()));
    pass(105);  // jumped back into the enter window: still queued, not queued again
    pass(150);
    EXPECT_EQ(t.crossingQueue[0], 0);
    EXPECT_EQ(t.crossingQueue[1], 1);
    EXPECT_EQ(t.crossingQueue[2], -1);

    pass(300);
    pass(301);  // the leave window moves the queue on once
    EXPECT_EQ(t.crossingQueue[0], 1);
    pass(320);
    EXPECT_EQ(sprite("img_unten_cross").pattern, 2);
    EXPECT_TRUE(crossingIndicatorLit(f.run()));
    EXPECT_TRUE(sprite("img_other3").visible);
    putOutCrossingIndicator(f.run());  // the departure melody starts
    EXPECT_FALSE(sprite("img_other3").visible);

    pass(350);
    pass(370);
    EXPECT_EQ(sprite("img_unten_cross").pattern, 0) << "an empty queue shows image 0";
    EXPECT_EQ(t.crossingQueue[0], -1);
}

// Phases: image 1 for 3 ticks, image 2 for 0 ticks (a stop phase), image 3 for 2 ticks (stop), then 4, 5, 6.
class RoadLight : public Trackside {
protected:
    void SetUp() override
    {
        Trackside::SetUp();
        TrafficSignalRow row{{{100, 1, 3, 0, 2, 0, 1, 3, 2, 1, 4, 1, 0, 5, 1, 0, 6, 1, 0, 7, 0, 400, 0, 0, 0, 0}}};
        row.distance = 10000;
        row.secondDistance = 40000;
        (void)f.route->trafficSignals.add(row);
        f.settings.wordStopsA = "停止位置まで";
        f.settings.wordStopsB = "あと";
        startRoadLights(f.run());
    }
    int light()
    {
        roadLights(f.run());
        return sprite("img_unten_traffic").pattern;
    }
};

TEST_F(RoadLight, APhaseOfNoTicksKeepsThePreviousImage)
{
    at(150);
    EXPECT_EQ(light(), 1) << "a light that comes into view shows its phase";
    EXPECT_EQ(sprite("img_unten_traffic2").pattern, 7);
    EXPECT_EQ(light(), 1);
    EXPECT_EQ(light(), 1) << "phase 2 lasts one tick and shows nothing of its own";
    EXPECT_EQ(s().trackside.roadLights[0].phase, 2);
    EXPECT_EQ(light(), 3);
    at(390);  // within 15 frames of its end
    EXPECT_EQ(light(), 0);
    EXPECT_EQ(sprite("img_unten_traffic2").pattern, 0);
}

TEST_F(RoadLight, TheDistanceTextNamesTheNearLightOrAStopPhaseAhead)
{
    auto& d = s().dynamics;
    const std::string& text = s().trackside.crossingDistanceText;
    d.trainPosition = 8000;  // the first position 20 m ahead, in phase 1, which lets traffic go
    light();
    light();
    EXPECT_EQ(text, "");
    light();  // phase 2: a stop phase
    EXPECT_EQ(text, "あと20m");
    d.trainPosition = 40000 - 4550;  // the second position 45.5 m ahead comes first
    light();
    EXPECT_EQ(text, "停止位置まで46m");
    d.trainPosition = 40000 - 9900;  // 99 m: beyond the horizon; the first position lies 201 m behind
    light();
    EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace cabdrive
