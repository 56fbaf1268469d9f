// The renderer: video frame, colour-keyed and turned sprites, pattern cells,
// Z order, alpha, texts, the clock and the fade, read back from its pixels.
#include <gtest/gtest.h>

#include <QColor>

#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/qt/scene_renderer.h"
#include "sim/video_switch.h"
#include "support/qt_application.h"
#include "support/run_fixture.h"
#include "view/render_pass.h"

namespace {

using cabdrive::FrameBitmap;
using cabdrive::Picture;
using cabdrive::SpriteKind;

constexpr std::uint32_t blue = 0xFF0000FF, red = 0xFFFF0000, green = 0xFF00FF00;
constexpr std::uint32_t magenta = 0xFFFF00FF, white = 0xFFFFFFFF, black = 0xFF000000, yellow = 0xFFFFFF00;

Picture solid(int width, int height, std::uint32_t colour)
{
    return Picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), colour)};
}

void fill(Picture& picture, int x0, int y0, int x1, int y1, std::uint32_t colour)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            picture.pixels[static_cast<std::size_t>(y * picture.width + x)] = colour;
}

class SceneRendering : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.settings.viewWidth = 320;
        f.settings.viewHeight = 240;
        video.assign(320 * 240, blue);
    }
    FrameBitmap frame() const { return FrameBitmap{320, 240, 320 * 4, video.data()}; }
    cabdrive::Sprite& add(const char* name, Picture picture, SpriteKind kind, double x, double y, int z, bool keyed = true)
    {
        cabdrive::ScenePicture& entry = f.scene.addPicture(name, std::move(picture));
        if (keyed)
            entry.keyByBottomLeftPixel();
        return f.scene.addSprite(name, kind, x, y, z);
    }
    QRgb at(int x, int y)
    {
        renderer.compose(f.run(), frame());
        return renderer.backBuffer().pixel(x, y);
    }

    QApplication& app = cabdrive::test::qtApplication();  // fonts need it, before the renderer
    test::RunFixture f;
    std::vector<std::uint32_t> video;
    cabdrive::SceneRenderer renderer{800, 760};
};

TEST_F(SceneRendering, AColourKeyedSpriteLeavesTheVideoVisibleWhereItsKeyColourWas)
{
    Picture lamp = solid(10, 10, red);
    lamp.pixels[9 * 10] = magenta;      // bottom left: the key
    fill(lamp, 4, 4, 6, 6, magenta);    // a hole in the middle
    add("img_Lamp_Door", lamp, SpriteKind::Plain, 50, 50, 49);

    EXPECT_EQ(at(51, 51), red);
    EXPECT_EQ(renderer.backBuffer().pixel(54, 54), blue);
    EXPECT_EQ(renderer.backBuffer().pixel(50, 59), blue);
    EXPECT_EQ(renderer.backBuffer().pixel(20, 20), blue);
    EXPECT_EQ(renderer.backBuffer().pixel(20, 300), black);  // below the view

    // An opaque picture shows its key colour.
    f.scene.picture("img_Lamp_Door")->transparent = false;
    EXPECT_EQ(at(54, 54), magenta);
}

TEST_F(SceneRendering, HigherZDrawsOnTopAndAPatternShowsOneCell)
{
    add("img_upper", solid(20, 20, green), SpriteKind::Plain, 100, 100, 10, false);
    add("img_lower", solid(20, 20, red), SpriteKind::Plain, 110, 100, 5, false);
    EXPECT_EQ(at(112, 105), green);
    EXPECT_EQ(renderer.backBuffer().pixel(125, 105), red);

    Picture strip = solid(20, 10, white);
    fill(strip, 10, 0, 20, 10, yellow);
    add("img_lamp_p", strip, SpriteKind::Plain, 200, 20, 31, false).width = 10;
    f.scene.picture("img_lamp_p")->patternWidth = 10;
    EXPECT_EQ(at(205, 25), white);
    f.scene.setPattern("img_lamp_p", 1);
    EXPECT_EQ(at(205, 25), yellow);
    f.scene.setPattern("img_lamp_p", 2);  // no such cell: nothing drawn
    EXPECT_EQ(at(205, 25), blue);
    f.scene.setPattern("img_lamp_p", 0);
    f.scene.setVisible("img_lamp_p", false);
    EXPECT_EQ(at(205, 25), blue);
}

TEST_F(SceneRendering, ANeedleTurnsAboutItsCentreBy256StepsATurn)
{
    Picture needle = solid(21, 21, black);
    fill(needle, 9, 0, 12, 10, white);  // pointing up from the centre
    add("img_Needle_speed", needle, SpriteKind::Extended, 100, 100, 64);
    const auto bright = [](QRgb p) { return qRed(p) > 160 && qGreen(p) > 160; };

    EXPECT_TRUE(bright(at(110, 103)));
    f.scene.setAngle("img_Needle_speed", 64);  // a quarter turn: pointing right
    EXPECT_FALSE(bright(at(110, 103)));
    EXPECT_TRUE(bright(renderer.backBuffer().pixel(117, 110)));
    EXPECT_EQ(renderer.backBuffer().pixel(103, 110), blue);  // the keyed background shows the video
    f.scene.setAngle("img_Needle_speed", 128);  // pointing down
    EXPECT_TRUE(bright(at(110, 117)));
}

TEST_F(SceneRendering, AnAlphaSpriteBlendsWithTheVideo)
{
    video.assign(video.size(), black);
    add("img_unten_teimokuS", solid(8, 8, white), SpriteKind::Extended, 0, 30, 100, false).alpha = 64;
    const QRgb blended = at(4, 34);
    EXPECT_NEAR(qRed(blended), 64, 2);
    f.scene.setAlpha("img_unten_teimokuS", 0);
    EXPECT_EQ(at(4, 34), black);
}

TEST_F(SceneRendering, TheClockShowsItsHandsOnly)
{
    f.vehicle.clock = {200, 100, 20};
    cabdrive::ClockFace& face = f.state().clockFace;
    face.shown = true;
    face.hands = {cabdrive::ClockHand{90, 12}, cabdrive::ClockHand{90, 20}, cabdrive::ClockHand{180, 20}};
    face.revision = 1;
    EXPECT_EQ(at(200 + 25 + 15, 100 + 25), white);  // three o'clock
    EXPECT_EQ(renderer.backBuffer().pixel(200 + 25, 100 + 25 + 15), white);  // the second hand at six
    EXPECT_EQ(renderer.backBuffer().pixel(201, 101), blue);  // the face is keyed away

    face.hands[2].degrees = 270;
    face.revision = 2;
    EXPECT_EQ(at(200 + 25, 100 + 25 + 15), blue);  // redrawn when the face changes
    EXPECT_EQ(renderer.backBuffer().pixel(200 + 25 - 15, 100 + 25), white);
}

TEST_F(SceneRendering, TheFadeBlackensTheViewAndTheLowerPart)
{
    renderer.compose(f.run(), frame());
    renderer.fade(320, 300, 255);
    EXPECT_EQ(renderer.backBuffer().pixel(10, 10), black);
    renderer.compose(f.run(), frame());
    renderer.fade(320, 300, 128);
    EXPECT_NEAR(qBlue(renderer.backBuffer().pixel(10, 10)), 127, 2);
}

TEST_F(SceneRendering, OutsideTheViewIsBlackAgainOnEveryPass)
{
    add("img_Panel", solid(500, 100, red), SpriteKind::Plain, 0, 250, 0, false);
    renderer.compose(f.run(), frame());
    f.scene.sprite("img_Panel")->visible = false;
    renderer.compose(f.run(), frame());
    EXPECT_EQ(renderer.backBuffer().pixel(400, 300), black);  // below the view and beside it
    EXPECT_EQ(renderer.backBuffer().pixel(10, 10), blue);
}

TEST_F(SceneRendering, AFrameOfAnotherSizeIsStretchedOverTheView)
{
    std::vector<std::uint32_t> halves(160 * 120, green);
    for (std::size_t row = 0; row < 120; ++row)
        std::fill_n(halves.begin() + static_cast<std::ptrdiff_t>(row * 160), 80, yellow);
    renderer.compose(f.run(), FrameBitmap{160, 120, 160 * 4, halves.data()});
    EXPECT_EQ(renderer.backBuffer().pixel(10, 200), yellow);
    EXPECT_EQ(renderer.backBuffer().pixel(310, 200), green);
    EXPECT_EQ(renderer.backBuffer().pixel(400, 100), black);
}

TEST_F(SceneRendering, TheOpeningPictureCoversTheSpritesBeforeTheStart)
{
    add("img_Panel", solid(320, 100, red), SpriteKind::Plain, 0, 200, 0, false);
    renderer.composeStill(f.scene, solid(320, 240, green));
    EXPECT_EQ(renderer.backBuffer().pixel(10, 210), green);
    EXPECT_EQ(renderer.backBuffer().pixel(10, 260), red);
}

// The leftmost white pixel in the rows of the message.
int messageLeft(const QImage& image, int top, int bottom)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (image.pixel(x, y) == white)
                return x;
    return -1;
}

TEST(SceneRenderingTexts, TheMessageIsCentredByTheWidthMeasuredInThePassBefore)
{
    cabdrive::test::qtApplication();
    test::RunFixture f;  // an 800 x 600 view
    f.run().options.Information = 0;
    f.state().presentation.messageText = "停止位置を修正してください";
    constexpr std::uint32_t grey = 0xFF808080;
    std::vector<std::uint32_t> video(800 * 600, grey);
    const FrameBitmap frame{800, 600, 800 * 4, video.data()};
    cabdrive::SceneRenderer renderer(800, 760);

    renderer.compose(f.run(), frame);
    const int width = renderer.messageWidth();
    EXPECT_GT(width, 100);
    EXPECT_GE(messageLeft(renderer.backBuffer(), 30, 50), 400);
    renderer.compose(f.run(), frame);
    EXPECT_NEAR(messageLeft(renderer.backBuffer(), 30, 50), 400 - width / 2, 3);
    EXPECT_EQ(messageLeft(renderer.backBuffer(), 60, 480), -1);  // nothing between it and the speed readout

    // White text over a black shadow 2 px right of it and below.
    const QImage& image = renderer.backBuffer();
    bool shadowed = false;
    for (int y = 30; y < 50 && !shadowed; ++y)
        for (int x = 300; x < 500 && !shadowed; ++x)
            shadowed = image.pixel(x, y) == white && image.pixel(x + 2, y + 2) == black;
    EXPECT_TRUE(shadowed);
}

TEST(SceneRenderingVideo, TheViewShowsTheDecodedFrameForTheTrainsPosition)
{
    cabdrive::test::qtApplication();
    test::RunFixture f;
    f.settings.viewWidth = 320;  // the video's own size: no scaling
    f.settings.viewHeight = 240;
    f.settings.videoFolder = std::string(CABDRIVE_DEMO_FOLDER) + "/video/";
    f.route->dataName = "line_down";
    cabdrive::FfmpegVideoReader reader;
    cabdrive::Run run{f.settings, f.vehicle, *f.route, f.mascon, f.scene, f.sound, reader, f.shell, f.joystick, f.store, {}, {}, {}};
    run.options.Moji = 1;  // the readouts go to the window's labels: the view is the frame alone
    ASSERT_TRUE(cabdrive::openMainVideo(run));
    run.state.video.currentFrame = 120;
    ASSERT_TRUE(cabdrive::beginRenderPass(run));
    cabdrive::SceneRenderer renderer(800, 760);
    renderer.compose(run, reader.frame());

    cabdrive::FfmpegVideoReader check;
    ASSERT_TRUE(check.open(f.settings.videoFolder + "line_down.avi"));
    const auto differingPixels = [&](std::int32_t n) {
        EXPECT_TRUE(check.decodeFrame(n));
        int differing = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                differing += (renderer.backBuffer().pixel(x, y) & 0xFFFFFF) != (check.frame().pixel(x, y) & 0xFFFFFF);
        return differing;
    };
    EXPECT_EQ(differingPixels(120), 0);
    EXPECT_GT(differingPixels(200), 1000);  // another place on the line looks different
}

}  // namespace
