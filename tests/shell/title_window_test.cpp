// The title window: start-up checks, the opening movie or the title sound,
// the menu's timed entries, choosing a line and a train, and starting runs on
// the demo line.
#include "shell/main_window_fixture.h"

#include <QTimer>

#include <iostream>
#include <sstream>

#include "shell/clickable_picture.h"
#include "shell/media_player.h"
#include "shell/title_window.h"

namespace cabdrive::test {
namespace {

namespace fs = std::filesystem;

void pressRightButton(QWidget& target)
{
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, target.mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target.mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &release);
}

QPoint placedFor(int centringWidth, int centringHeight)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {static_cast<int>(std::nearbyint((screen.width() - centringWidth) / 2.0)),
            static_cast<int>(std::nearbyint((screen.height() - centringHeight) / 2.0))};
}

// A title window in a folder of its own (the program folder and the current
// directory, as `cabdrive DATA_FOLDER` has them), the desktop's dialog and
// document opener answered by the test.
class TitleWindowTest : public MainWindowTest {
protected:
    // The demo's settings file and title media, without the opening movie.
    void prepareFolder(bool withSettings = true)
    {
        const fs::path demo(CABDRIVE_DEMO_FOLDER);
        fs::create_directories(folder.path() / "image");
        fs::copy(demo / "image" / "title", folder.path() / "image" / "title", fs::copy_options::recursive);
        fs::copy(demo / "sound", folder.path() / "sound", fs::copy_options::recursive);
        if (withSettings)
            fs::copy_file(demo / "cabdrive.dat", folder.path() / "cabdrive.dat");
    }
    void addOpeningMovie()
    {
        fs::create_directories(folder.path() / "move");
        fs::copy_file(fs::path(CABDRIVE_DEMO_FOLDER) / "move" / "opening.avi", folder.path() / "move" / "opening.avi");
    }

    TitleWindow& create(const std::string& programFolder)
    {
        fs::current_path(programFolder);
        TitleWindow::Desktop desktop{[this](QWidget*, const QString& caption, const QString& filter) {
                                         dialogs.push_back(caption + "|" + filter);
                                         return picked;
                                     },
                                     [this](const QUrl& document) { documents.push_back(document); }};
        title = std::make_unique<TitleWindow>(programFolder, messages, aux, desktop);
        QObject::connect(title.get(), &TitleWindow::closed, [this] { ++closings; });
        return *title;
    }
    TitleWindow& createInFolder() { return create(folder.folder()); }

    // From the opening to the complete menu.
    void reachFullMenu(TitleWindow& t)
    {
        if (t.titleState() == TitleWindow::openingMovie)
            clickWidget(*t.DXDraw1());
        clickWidget(*t.Image1());
        for (int tick = 0; tick < 12; ++tick)
            t.Timer1Timer();
    }

    ~TitleWindowTest() override
    {
        title.reset();
        fs::current_path(CABDRIVE_DEMO_FOLDER);  // away from the folder before it goes
    }

    TempFolder folder;
    QString picked;  // what the file dialog answers
    std::vector<QString> dialogs;
    std::vector<QUrl> documents;
    int closings = 0;
    std::unique_ptr<TitleWindow> title;
};

// The message names, on its second line, the file that was missed.
QString notInPlace(const std::filesystem::path& file)
{
    return QStringLiteral("実行ファイルが正しい場所に配置されていません\nファイル ") + QString::fromStdString(file.string())
         + QStringLiteral(" を開けません。");
}

TEST_F(TitleWindowTest, WithoutTheSettingsFileTheProgramEndsWithItsMessage)
{
    prepareFolder(false);
    TitleWindow& t = createInFolder();
    EXPECT_FALSE(t.created());
    EXPECT_EQ(messages.texts, (std::vector<QString>{notInPlace(folder.path() / "cabdrive.dat")}));
    EXPECT_FALSE(t.Timer1().isActive());
    EXPECT_FALSE(t.MediaPlayer1().isPlaying());
}

TEST_F(TitleWindowTest, AFolderThatCannotMakeTheTitleEndsNamingThePictureMissed)
{
    prepareFolder();
    fs::remove(folder.path() / "image" / "title" / "title2.jpg");
    TitleWindow& t = createInFolder();
    EXPECT_FALSE(t.created());
    EXPECT_EQ(messages.texts, (std::vector<QString>{notInPlace(folder.path() / "image/title/title2.jpg")}));
    EXPECT_FALSE(t.Timer1().isActive());
}

TEST_F(TitleWindowTest, AMissingLinePictureLeavesACaptionToClick)
{
    prepareFolder();
    fs::remove(folder.path() / "image" / "title" / "line01.bmp");
    TitleWindow& t = createInFolder();
    ASSERT_TRUE(t.created());
    EXPECT_EQ(t.line1()->text(), QStringLiteral("下り線"));
    reachFullMenu(t);
    t.show();
    // White on the title's black, not black on black.
    const QImage shown = t.line1()->grab().toImage();
    int brightest = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            brightest = std::max(brightest, qGray(shown.pixel(x, y)));
    EXPECT_GT(brightest, 200);
}

TEST(MessageBoxes, WhatABoxShowsGoesToStandardErrorToo)
{
    qtApplication();
    std::ostringstream captured;
    std::streambuf* const standardError = std::cerr.rdbuf(captured.rdbuf());
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    closer.start(10);
    QtMessageBoxes().show(nullptr, QStringLiteral("一行目\n二行目"));
    std::cerr.rdbuf(standardError);
    EXPECT_EQ(captured.str(), "cabdrive: 一行目\n二行目\n");
}

TEST_F(TitleWindowTest, WithoutAnOpeningMovieTheTitleAndItsSoundComeAtTheFirstTick)
{
    prepareFolder();
    TitleWindow& t = createInFolder();
    ASSERT_TRUE(t.created());
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(t.titleState(), TitleWindow::openingMovie);
    EXPECT_EQ(t.size(), QSize(640, 360));
    EXPECT_EQ(t.pos(), placedFor(1000, 666));
    EXPECT_TRUE(t.Timer1().isActive());
    EXPECT_TRUE(t.MediaPlayer1().fileName().empty());
    EXPECT_TRUE(t.titlePicture() == "image\\title\\title01.jpg" || t.titlePicture() == "image\\title\\title02.jpg");
    for (QWidget* hidden : {static_cast<QWidget*>(t.line1()), static_cast<QWidget*>(t.line2()),
                            static_cast<QWidget*>(t.HELP()), static_cast<QWidget*>(t.quit()),
                            static_cast<QWidget*>(t.train1()), static_cast<QWidget*>(t.cts())})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();

    t.Timer1Timer();
    EXPECT_EQ(t.titleState(), TitleWindow::titleShown);
    EXPECT_EQ(t.movieTicks(), 1);
    EXPECT_EQ(t.shownPicture(), t.titlePicture());
    EXPECT_FALSE(t.Image1()->pixmap().isNull());
    EXPECT_EQ(t.MediaPlayer1().fileName(), "sound\\34109.wav");
    EXPECT_TRUE(t.MediaPlayer1().isPlaying());
    EXPECT_TRUE(t.DXDraw1()->isHidden());
    EXPECT_FALSE(t.cts()->isHidden());
    EXPECT_TRUE(t.quit()->isHidden());
    EXPECT_EQ(t.size(), QSize(800, 600));
    EXPECT_EQ(t.pos(), placedFor(800, 600));
}

TEST_F(TitleWindowTest, ClicksLeadFromTheMovieToTheMenuWhoseEntriesAppearOneAfterAnother)
{
    prepareFolder();
    addOpeningMovie();
    TitleWindow& t = createInFolder();
    ASSERT_TRUE(t.created());
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_TRUE(t.MediaPlayer1().isPlaying());
    EXPECT_EQ(t.MediaPlayer1().frameCount(), 180);
    t.Timer1Timer();
    EXPECT_EQ(t.titleState(), TitleWindow::openingMovie);  // the movie plays on

    clickWidget(*t.DXDraw1());
    EXPECT_EQ(t.titleState(), TitleWindow::titleShown);
    EXPECT_TRUE(t.MediaPlayer1().isPlaying());  // stopped only when a run starts
    EXPECT_EQ(t.shownPicture(), t.titlePicture());

    clickWidget(*t.Image1());
    EXPECT_EQ(t.titleState(), TitleWindow::menuShown);
    EXPECT_EQ(t.shownPicture(), "image\\title\\title2.jpg");
    EXPECT_TRUE(t.cts()->isHidden());
    EXPECT_TRUE(t.Timer1().isActive());
    clickWidget(*t.Image1());  // nothing more to click through
    EXPECT_EQ(t.titleState(), TitleWindow::menuShown);

    // Which entries each tick shows: line1 at 3, line2 at 4, HELP at 11, back at 12.
    std::vector<std::string> shownAfterTick;
    for (int tick = 1; tick <= 12; ++tick) {
        t.Timer1Timer();
        std::string shown;
        for (QWidget* entry : {static_cast<QWidget*>(t.line1()), static_cast<QWidget*>(t.line2()),
                               static_cast<QWidget*>(t.HELP()), static_cast<QWidget*>(t.back())})
            shown += entry->isHidden() ? "-" : entry->objectName().left(1).toStdString();
        shownAfterTick.push_back(shown);
        EXPECT_TRUE(t.quit()->isHidden());
    }
    EXPECT_EQ(shownAfterTick, (std::vector<std::string>{"----", "----", "l---", "ll--", "ll--", "ll--", "ll--",
                                                        "ll--", "ll--", "ll--", "llH-", "llHb"}));
    EXPECT_FALSE(t.Timer1().isActive());
    EXPECT_EQ(t.menuTicks(), 12);
    EXPECT_EQ(t.movieTicks(), 1);
}

TEST_F(TitleWindowTest, BackReturnsToTheTitleAndTheNextVisitShowsTheWholeMenuAtOnce)
{
    prepareFolder();
    TitleWindow& t = createInFolder();
    t.Timer1Timer();
    reachFullMenu(t);
    clickWidget(*t.line2());
    ASSERT_FALSE(t.train1()->isHidden());

    clickWidget(*t.back());
    EXPECT_EQ(t.titleState(), TitleWindow::titleShown);
    EXPECT_EQ(t.shownPicture(), t.titlePicture());
    for (QWidget* hidden : {static_cast<QWidget*>(t.line1()), static_cast<QWidget*>(t.line2()),
                            static_cast<QWidget*>(t.train1()), static_cast<QWidget*>(t.HELP()),
                            static_cast<QWidget*>(t.cursor()), static_cast<QWidget*>(t.back())})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_FALSE(t.cts()->isHidden());
    EXPECT_FALSE(t.quit()->isHidden());

    clickWidget(*t.cts());
    EXPECT_EQ(t.titleState(), TitleWindow::menuShown);
    EXPECT_TRUE(t.quit()->isHidden());
    t.Timer1Timer();
    for (QWidget* shown : {static_cast<QWidget*>(t.line1()), static_cast<QWidget*>(t.line2()),
                           static_cast<QWidget*>(t.HELP()), static_cast<QWidget*>(t.back())})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    EXPECT_FALSE(t.Timer1().isActive());
    EXPECT_EQ(t.startup().routeFileName, "line_up.dat");  // the last choice stays

    clickWidget(*t.back());
    clickWidget(*t.quit());
    EXPECT_EQ(closings, 1);
}

TEST_F(TitleWindowTest, ChoosingALineSetsTheRouteAndStationsAndPointsTheCursorAtIt)
{
    prepareFolder();
    TitleWindow& t = createInFolder();
    t.Timer1Timer();
    reachFullMenu(t);
    EXPECT_TRUE(t.train1()->isHidden());

    clickWidget(*t.line1());
    EXPECT_EQ(t.startup().routeFileName, "line_down.dat");
    EXPECT_EQ(t.startup().startStation, 0);
    EXPECT_EQ(t.startup().endStation, 999);
    EXPECT_FALSE(t.cursor()->isHidden());
    EXPECT_EQ(t.cursor()->pos(), QPoint(73 - 32, 149 + 10));
    EXPECT_FALSE(t.train1()->isHidden());

    clickWidget(*t.line2());
    EXPECT_EQ(t.startup().routeFileName, "line_up.dat");
    EXPECT_EQ(t.cursor()->pos(), QPoint(73 - 32, 209 + 10));

    // The cursor's plain ground is see-through, its pointer not.
    const QImage pointer = t.cursor()->pixmap().toImage();
    EXPECT_EQ(qAlpha(pointer.pixel(0, pointer.height() - 1)), 0);
    EXPECT_EQ(qAlpha(pointer.pixel(pointer.width() / 3, pointer.height() / 2)), 255);

    clickWidget(*t.HELP());
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0], QUrl::fromLocalFile(QString::fromStdString((folder.path() / "readme.html").string())));
}

TEST_F(TitleWindowTest, ARightClickPicksAnyTrainFileAndSplitsItIntoFolderAndName)
{
    prepareFolder();
    TitleWindow& t = createInFolder();
    t.Timer1Timer();
    reachFullMenu(t);

    picked = QStringLiteral("/home/driver/trains/kiha 40/kiha40_2B.dat");
    pressRightButton(*t.line1());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], QStringLiteral("この路線を任意の列車で運転することができます|列車データファイル (*.dat)"));
    EXPECT_EQ(t.pendingTrainFolder(), "/home/driver/trains/kiha 40/");
    EXPECT_EQ(t.pendingTrainName(), "kiha40_2B.dat");
    EXPECT_EQ(t.startup().routeFileName, "line_down.dat");  // as if line1 was clicked
    EXPECT_FALSE(t.train1()->isHidden());

    // On the train only the cursor moves; the line stays.
    picked = QStringLiteral("/trains/other.dat");
    pressRightButton(*t.train1());
    EXPECT_EQ(t.pendingTrainFolder(), "/trains/");
    EXPECT_EQ(t.pendingTrainName(), "other.dat");
    EXPECT_EQ(t.startup().routeFileName, "line_down.dat");
    EXPECT_EQ(t.cursor()->pos(), QPoint(570 - 32, 500 + 10));

    // Cancelling keeps the pending train; the left button opens no dialog.
    picked.clear();
    pressRightButton(*t.line2());
    EXPECT_EQ(t.pendingTrainName(), "other.dat");
    EXPECT_EQ(t.startup().routeFileName, "line_down.dat");
    clickWidget(*t.line2());
    EXPECT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(t.startup().routeFileName, "line_up.dat");
}

TEST_F(TitleWindowTest, AnUnplayableOpeningMovieIsReportedAndTheTitleComesAfter160Seconds)
{
    prepareFolder();
    folder.write("move/opening.avi", "RIFF, but no movie in it");
    TitleWindow& t = createInFolder();
    ASSERT_TRUE(t.created());
    EXPECT_EQ(messages.texts, (std::vector<QString>{QStringLiteral("オープニングムービーを開けません")}));
    for (int tick = 1; tick < 1600; ++tick)
        t.Timer1Timer();
    EXPECT_EQ(t.titleState(), TitleWindow::openingMovie);
    EXPECT_FALSE(t.MediaPlayer1().isPlaying());  // no title sound after a movie that failed
    t.Timer1Timer();
    EXPECT_EQ(t.titleState(), TitleWindow::titleShown);
    EXPECT_EQ(t.shownPicture(), t.titlePicture());
    EXPECT_EQ(t.size(), QSize(800, 600));
}

// The title on the demo line: pick the down line, click the train, drive,
// come back; a picked train once, the default again after.
TEST_F(TitleWindowTest, TrainClickRunsTheChosenLineAndTrainAndTheTitleComesBackAfterwards)
{
    TitleWindow& t = create(demoFolder());
    ASSERT_TRUE(t.created());
    ASSERT_TRUE(t.MediaPlayer1().isPlaying());  // the demo's opening movie
    reachFullMenu(t);
    t.show();

    struct Seen {
        bool running = false, titleHidden = false;
        std::string route, trainFolder, trainFile, sound;
        std::int32_t engineType = -1;
        QString status;
        int labelHeight = 0, titleHeight = 0;
    };
    // Looks at the run while it is shown modally, then closes its window.
    const auto driveOnce = [&](QWidget& clicked) {
        Seen seen;
        QTimer::singleShot(0, [&] {
            MainWindow* w = t.mainWindow();
            ASSERT_NE(w, nullptr);
            seen.running = t.runningMainWindow() == w && w->isVisible();
            seen.titleHidden = t.isHidden();
            seen.route = w->run()->route.dataName;
            seen.engineType = w->run()->vehicle.engineType;
            seen.trainFolder = t.startup().trainFolder;
            seen.trainFile = t.startup().trainFileName;
            seen.sound = t.MediaPlayer1().fileName();
            seen.status = t.Label1()->text();
            seen.titleHeight = t.height();
            w->close();
        });
        clickWidget(clicked);
        return seen;
    };

    clickWidget(*t.line1());
    const Seen first = driveOnce(*t.train1());
    ASSERT_TRUE(messages.texts.empty()) << messages.texts[0].toStdString();
    EXPECT_TRUE(first.running);
    EXPECT_TRUE(first.titleHidden);
    EXPECT_EQ(first.engineType, 1);  // the default E231, electric
    EXPECT_EQ(first.trainFile, "train_E231_5B.dat");
    EXPECT_EQ(first.trainFolder, "");
    EXPECT_EQ(first.sound, "sound\\start.wav");
    EXPECT_EQ(first.status, QStringLiteral("環境をセットアップしています"));
    EXPECT_EQ(first.titleHeight, 618);
    EXPECT_FALSE(t.MediaPlayer1().frameCount() > 0);  // the movie was closed for the start sound
    // Back at the menu, the status line out of sight again.
    EXPECT_EQ(t.runningMainWindow(), nullptr);
    EXPECT_FALSE(t.isHidden());
    EXPECT_EQ(t.height(), 600);
    EXPECT_EQ(t.titleState(), TitleWindow::menuShown);
    EXPECT_EQ(t.startup().routeFileName, "line_down.dat");

    picked = QString::fromStdString(demoFolder() + "diesel/kiha_W100_1B.dat");
    pressRightButton(*t.line2());
    const Seen second = driveOnce(*t.train1());
    ASSERT_TRUE(messages.texts.empty()) << messages.texts[0].toStdString();
    EXPECT_EQ(second.engineType, 0);  // the picked diesel
    EXPECT_EQ(second.trainFolder, demoFolder() + "diesel/");
    EXPECT_EQ(second.trainFile, "kiha_W100_1B.dat");
    EXPECT_NE(second.route, first.route);  // the up line
    EXPECT_TRUE(t.pendingTrainName().empty());

    const Seen third = driveOnce(*t.train1());
    EXPECT_EQ(third.engineType, 1);
    EXPECT_EQ(third.trainFile, "train_E231_5B.dat");
    EXPECT_EQ(third.trainFolder, "");
    EXPECT_EQ(closings, 0);
}

TEST_F(TitleWindowTest, ARunThatCannotLoadEndsTheProgramAfterItsMessage)
{
    TitleWindow& t = create(demoFolder());
    reachFullMenu(t);
    t.show();
    picked = QString::fromStdString(folder.folder() + "missing_train.dat");
    pressRightButton(*t.line1());
    clickWidget(*t.train1());
    EXPECT_EQ(messages.texts, (std::vector<QString>{QStringLiteral("車両ファイルに誤りがあります- 列車の基本設定\nファイル ")
                                                    + picked + QStringLiteral(" を開けません。")}));
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(t.runningMainWindow(), nullptr);
    EXPECT_EQ(t.mainWindow(), nullptr);  // released as the program ends
}

}  // namespace
}  // namespace cabdrive::test
