// The cab surface and its render loop: drawing only while the tick runs, the
// passes its timer runs, the closing fade and the click that resumes a run.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "shell/cab_surface.h"
#include "support/qt_application.h"
#include "support/run_fixture.h"

namespace {

using cabdrive::CabSurface;

constexpr QRgb white = 0xFFFFFFFF, black = 0xFF000000;

class CabSurfaceLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.settings.lowerHeight = 160;
        f.scene.addPicture("img_Panel", cabdrive::Picture{800, 160, std::vector<std::uint32_t>(800 * 160, white)});
        f.scene.addSprite("img_Panel", cabdrive::SpriteKind::Plain, 0, 600, 0);
        surface.attach(run, video);
        QObject::connect(&surface, &CabSurface::fadeClosed, [this] { ++fadeCloses; });
    }
    QRgb panelPixel() const { return surface.backBuffer().pixel(10, 700); }

    QApplication& app = cabdrive::test::qtApplication();  // before the surface
    test::RunFixture f;
    cabdrive::FfmpegVideoReader video;  // nothing open: the view stays black
    cabdrive::Run run{f.settings, f.vehicle, *f.route, f.mascon, f.scene, f.sound, video, f.shell, f.joystick, f.store, {}, {}, {}};
    CabSurface surface;
    int fadeCloses = 0;
};

TEST_F(CabSurfaceLoop, NothingIsDrawnWhileTheTickDoesNotRun)
{
    surface.AppIdle();
    EXPECT_EQ(panelPixel(), black);

    surface.setTickRunning(true);
    surface.AppIdle();
    EXPECT_EQ(panelPixel(), white);
    EXPECT_EQ(surface.grab().toImage().pixel(10, 700), white);  // what the window shows

    surface.setTickRunning(false);
    f.scene.setVisible("img_Panel", false);
    surface.AppIdle();
    EXPECT_EQ(panelPixel(), white);  // paused: the last picture stays
}

TEST_F(CabSurfaceLoop, AViewThatDidNotChangeIsNeitherComposedNorShownAgain)
{
    surface.setTickRunning(true);
    surface.AppIdle();
    surface.AppIdle();
    EXPECT_EQ(surface.compositions(), 1);

    f.scene.setVisible("img_Panel", false);  // a sprite
    surface.AppIdle();
    EXPECT_EQ(surface.compositions(), 2);
    EXPECT_EQ(panelPixel(), black);
    run.state.controls.brakeText = "B3";  // a text
    surface.AppIdle();
    EXPECT_EQ(surface.compositions(), 3);
    surface.AppIdle();
    EXPECT_EQ(surface.compositions(), 3);

    // Resuming composes afresh, whatever was shown while paused.
    surface.setTickRunning(false);
    surface.setTickRunning(true);
    surface.AppIdle();
    EXPECT_EQ(surface.compositions(), 4);
}

TEST_F(CabSurfaceLoop, WithVisualEffectsOffTheFadeClosesTheWindowInTheFirstPass)
{
    surface.setTickRunning(true);
    surface.AppIdle();
    EXPECT_EQ(fadeCloses, 0);

    run.options.Tunnel = 1;
    run.state.presentation.fadeLevel = 1;
    surface.AppIdle();
    EXPECT_EQ(fadeCloses, 1);
    EXPECT_EQ(panelPixel(), black);  // the fade covers the lower part too
    surface.AppIdle();
    EXPECT_EQ(fadeCloses, 1);
}

// One late timer event makes the next interval short: the typical rate is
// the median of what the passes measured.
TEST_F(CabSurfaceLoop, TheTimerRunsPassesAtAboutTheDisplaysRate)
{
    surface.setTickRunning(true);
    std::vector<int> rates;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        rates.push_back(surface.measuredFps());
    }
    EXPECT_EQ(panelPixel(), white);
    std::nth_element(rates.begin(), rates.begin() + static_cast<std::ptrdiff_t>(rates.size() / 2), rates.end());
    const int median = rates[rates.size() / 2];
    EXPECT_GT(median, 10);
    EXPECT_LE(median, 70);
}

TEST_F(CabSurfaceLoop, AClickOnTheViewIsPassedOn)
{
    int clicks = 0;
    QObject::connect(&surface, &CabSurface::clicked, [&] { ++clicks; });
    cabdrive::test::clickWidget(surface);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
