// The value display window opened with F3 from the main window, its sound
// grid as drawn, its buttons, and the text-mode labels over the sub-display.
#include "shell/main_window_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "support/run_fixture.h"

namespace cabdrive::test {
namespace {

TEST_F(MainWindowTest, F3ShowsTheValueDisplayWhichFollowsTheRunAndTakesTheKeys)
{
    MainWindow& w = openDemo();
    EXPECT_FALSE(valueDisplay.isVisible());
    typeKey(w, Qt::Key_F3);
    ASSERT_TRUE(valueDisplay.isVisible());
    EXPECT_EQ(w.windowTitle(), QString::fromStdString(run().route.lineName)) << "the caption names the line";

    run().state.dynamics.trainSpeed = 42.25L;
    waitForTick();
    const auto speedText = [this] { return QString::asprintf("%.1f km/h", static_cast<double>(run().state.dynamics.trainSpeed)); };
    EXPECT_EQ(valueDisplay.field("Label1")->text(), speedText());
    EXPECT_EQ(valueDisplay.field("Label30")->text(), QString::number(run().state.video.currentFrame));

    const std::int32_t brake = run().state.controls.brakeHandle;
    typeKey(valueDisplay, Qt::Key_5, QStringLiteral("5"));
    EXPECT_NE(run().state.controls.brakeHandle, brake) << "a key in the window drives the train";

    typeKey(valueDisplay, Qt::Key_F3);
    EXPECT_FALSE(valueDisplay.isVisible());
    const QString shown = valueDisplay.field("Label1")->text();
    run().state.dynamics.trainSpeed = 10;
    waitForTick();
    EXPECT_EQ(valueDisplay.field("Label1")->text(), shown) << "hidden, nothing is refreshed";
}

TEST_F(MainWindowTest, JumpTakesAFrameNumberAndSaysSoWhenTheTextIsNone)
{
    openDemo();
    valueDisplay.toggle();
    const std::int32_t frame = run().state.video.currentFrame;
    valueDisplay.frameEdit()->setText(QStringLiteral("abc"));
    valueDisplay.button(2)->click();
    EXPECT_EQ(run().state.video.currentFrame, frame);
    EXPECT_TRUE(valueDisplay.statusText().contains(QStringLiteral("フレーム番号ではありません")));
    valueDisplay.frameEdit()->setText(QStringLiteral("1500"));
    valueDisplay.button(2)->click();
    EXPECT_EQ(run().state.video.currentFrame, 1500);

    valueDisplay.button(3)->click();
    EXPECT_TRUE(run().state.input.resistanceDebug);
    EXPECT_TRUE(valueDisplay.button(3)->font().bold());
    valueDisplay.button(1)->click();
    EXPECT_NE(&run().speedUnits(), &run().route.speedUnits) << "the speed units were read again";
}

// On the offscreen platform, drawn as the user sees it.
TEST(ValueDisplayGrid, APlayingChannelsCellIsCyanWithItsNumberAndAClickStopsIt)
{
    qtApplication();
    ::test::RunFixture f;
    QWidget mainWindow;
    ValueDisplayWindow window;
    window.attach(f.run(), mainWindow, [] { return 0; });
    window.show();
    f.sound.play(23, true);
    window.refresh();
    QTableWidget& grid = *window.soundGrid();
    EXPECT_EQ(grid.item(2, 3)->text(), QStringLiteral("23"));
    const QImage shot = grid.grab().toImage();
    const QRect playing = grid.visualItemRect(grid.item(2, 3));
    const QRect silent = grid.visualItemRect(grid.item(2, 4));
    EXPECT_EQ(shot.pixelColor(playing.topLeft() + QPoint(3, 3)), QColor(0, 255, 255));
    EXPECT_NE(shot.pixelColor(silent.topLeft() + QPoint(3, 3)), QColor(0, 255, 255));

    Q_EMIT grid.cellClicked(2, 3);
    EXPECT_FALSE(f.sound.isPlaying(23));
    window.refresh();
    EXPECT_EQ(grid.item(2, 3)->text(), QString());
}

TEST_F(MainWindowTest, TextModeLabelsReadOverTheLightSubDisplayPicture)
{
    storeOptions(DisplayOptions{0, 1, 0, 0, 1});
    MainWindow& w = openDemo();
    waitForTick();
    const QLabel& station = label(4);  // "ただいま 若葉台", over the route map
    ASSERT_FALSE(station.text().isEmpty());
    const QImage shot = w.grab().toImage();
    const QPoint corner = station.mapTo(&w, QPoint(station.width() - 2, station.height() - 2));
    EXPECT_LT(qGray(shot.pixel(corner)), 60) << "a dark backing beneath the white text";
    const QLabel& empty = label(10);  // no limit ahead: no dark patch either
    EXPECT_TRUE(empty.text().isEmpty());
    EXPECT_FALSE(empty.autoFillBackground());
}

}  // namespace
}  // namespace cabdrive::test
