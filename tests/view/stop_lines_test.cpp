// The stop-position lines over the track.
#include <gtest/gtest.h>

#include "support/run_fixture.h"
#include "view/stop_lines.h"

namespace cabdrive {
namespace {

class StopLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.route->perspectiveFactor = 1.2L;
        f.route->perspectiveOffset = 300;
        Station stop;
        stop.stopTolerance = 300;  // cm
        (void)f.route->stations.add(stop);
        f.state().stations.nextStopStation = 0;
        for (const char* name : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"}) {
            Picture cells;  // five 800 x 8 cells, one above the other
            cells.width = 800;
            cells.height = 40;
            cells.pixels.assign(800 * 40, 0);
            ScenePicture& picture = f.scene.addPicture(name, cells);
            picture.patternHeight = 8;
            f.scene.addSprite(name, SpriteKind::Extended, 0, 0, 100);
        }
    }
    const Sprite& line(const char* name) { return *f.scene.sprite(name); }
    void at(long double distanceToStop)
    {
        f.state().dynamics.distanceToStop = distanceToStop;
        placeStopLines(f.run());
    }
    test::RunFixture f;
};

TEST_F(StopLines, TheLinesCloseInOnTheStopAndThickenWithin20m)
{
    at(10000);  // 100 m: not yet
    EXPECT_LT(line("img_unten_teimokuM").y, 0);
    at(5000);
    EXPECT_DOUBLE_EQ(line("img_unten_teimokuM").y, 300 + 1.2 * 100000 / 5000);
    EXPECT_DOUBLE_EQ(line("img_unten_teimokuS").y, 300 + 1.2 * 100000 / 4700);
    EXPECT_EQ(line("img_unten_teimokuM").pattern, 0);
    at(1500);  // 15 m: round(15 x -0.15 + 4) = 2 (1.75)
    EXPECT_EQ(line("img_unten_teimokuM").pattern, 2);
    EXPECT_GT(line("img_unten_teimokuE").y, 0);
    at(350);  // the M line would fall below the view
    EXPECT_LT(line("img_unten_teimokuM").y, 0);
    EXPECT_EQ(line("img_unten_teimokuE").pattern, 3);  // 6.5 m: 3.025
    at(200);  // the S line lies behind the train
    EXPECT_LT(line("img_unten_teimokuS").y, 0);
    f.route->perspectiveFactor = 0;  // no [Perspective]: no lines
    at(5000);
    EXPECT_LT(line("img_unten_teimokuE").y, 0);
}

}  // namespace
}  // namespace cabdrive
