// The main window's display options, its end and what it stores, and what
// a broken data folder gives.
#include "shell/main_window_fixture.h"

#include "common/load_error.h"
#include "common/paths.h"
#include "shell/cab_surface.h"

namespace cabdrive::test {
namespace {

std::vector<bool> labelsShown(MainWindow& window)
{
    std::vector<bool> shown;
    for (int i = 0; i < 15; ++i)
        shown.push_back(window.findChild<QLabel*>(QStringLiteral("Label%1").arg(i))->isVisibleTo(&window));
    return shown;
}

// A data folder of links into the demo folder, but for the files named.
std::string demoCopyWithout(const TempFolder& folder, std::initializer_list<std::string> left)
{
    for (const auto& entry : std::filesystem::directory_iterator(demoFolder())) {
        const std::string name = entry.path().filename().string();
        if (std::find(left.begin(), left.end(), name) == left.end())
            std::filesystem::create_symlink(entry.path(), folder.path() / name);
    }
    return folder.folder();
}

TEST_F(MainWindowTest, TextModeShowsTheLabelsButLabel5And6OnlyUntilItIsSwitched)
{
    storeOptions(DisplayOptions{0, 1, 0, 0, 1});
    MainWindow& w = openDemo();
    EXPECT_EQ(labelsShown(w), std::vector<bool>(15, true));
    EXPECT_TRUE(action("OFFC1").isChecked());

    waitForTick();
    EXPECT_EQ(label(11).text(), QStringLiteral("  0.0 km/h"));
    EXPECT_EQ(label(7).text(), QString::fromStdString(run().state.stations.clockText));
    EXPECT_EQ(label(4).text(), QStringLiteral("ただいま 若葉台"));

    action("OFFC1").trigger();
    EXPECT_EQ(labelsShown(w), std::vector<bool>(15, false));
    EXPECT_EQ(run().options.Moji, 0);

    action("OFFC1").trigger();
    std::vector<bool> expected(15, true);
    expected[5] = expected[6] = false;
    EXPECT_EQ(labelsShown(w), expected);
    EXPECT_EQ(run().options.Moji, 1);
}

TEST_F(MainWindowTest, OutOfTextModeTheLabelsStayHiddenAndUnfilled)
{
    MainWindow& w = openDemo();
    EXPECT_EQ(labelsShown(w), std::vector<bool>(15, false));
    waitForTick();
    EXPECT_EQ(label(11).text(), QStringLiteral("0.0 km/h"));  // the design's own text
}

TEST_F(MainWindowTest, CheckMarksFollowTheStoredOptionsAndSwitchThem)
{
    storeOptions(DisplayOptions{1, 0, 1, 0, 0});
    openDemo();
    EXPECT_TRUE(action("OFF1").isChecked());
    EXPECT_FALSE(action("D1").isChecked());
    EXPECT_TRUE(action("OFF2").isChecked());  // from ATS
    EXPECT_FALSE(action("OFFC1").isChecked());

    action("OFF1").trigger();
    action("D1").trigger();
    EXPECT_EQ(run().options.Kanko, 0);
    EXPECT_EQ(run().options.Information, 1);

    // The stopping-position lines: hidden while the entry is checked.
    for (const char* line : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"})
        ASSERT_NE(run().scene.sprite(line), nullptr) << line;
    action("OFF2").trigger();
    EXPECT_TRUE(run().scene.sprite("img_unten_teimokuM")->visible);
    action("OFF2").trigger();
    EXPECT_FALSE(run().scene.sprite("img_unten_teimokuS")->visible);
    EXPECT_FALSE(run().scene.sprite("img_unten_teimokuE")->visible);
}

TEST_F(MainWindowTest, ClosingStopsTheRunAndStoresTheOptionsAsTheyStand)
{
    MainWindow& w = openDemo();
    easyPanel.show();
    action("OFF1").trigger();
    action("D1").trigger();
    waitForTick();  // every tick turns the visual effects off

    bool closedSignal = false;
    QObject::connect(&w, &MainWindow::closed, [&] { closedSignal = true; });
    EXPECT_FALSE(optionsStored());
    w.close();

    EXPECT_TRUE(closedSignal);
    EXPECT_TRUE(w.isClosed());
    EXPECT_FALSE(w.tickRunning());
    EXPECT_FALSE(w.scheduler()->running());
    EXPECT_FALSE(easyPanel.isVisible());
    const DisplayOptions stored = storedOptions();
    EXPECT_EQ(stored.Kanko, 1);
    EXPECT_EQ(stored.Information, 0);
    EXPECT_EQ(stored.Tunnel, 1);
    EXPECT_EQ(stored.Moji, 0);

    // A closed window takes no more commands.
    action("start1").trigger();
    EXPECT_FALSE(w.tickRunning());
}

TEST_F(MainWindowTest, BackButtonEndsTheRunOnTheNextFrameWithoutAFade)
{
    MainWindow& w = openDemo();
    w.show();
    waitForTick();
    clickWidget(child<QLabel>("back"));
    EXPECT_EQ(run().state.presentation.fadeLevel, 1);
    EXPECT_TRUE(runEventsUntil([&] { return w.isClosed(); }, 2000));
    EXPECT_EQ(storedOptions().Tunnel, 1);
}

TEST_F(MainWindowTest, BackWhilePausedClosesAtOnce)
{
    MainWindow& w = openDemo();
    action("start1").trigger();
    clickWidget(child<QLabel>("back"));
    EXPECT_TRUE(w.isClosed());
    EXPECT_TRUE(optionsStored());
}

TEST_F(MainWindowTest, LoadingErrorShowsItsExactMessageAndStoresNothing)
{
    TempFolder broken;
    const std::string folder = demoCopyWithout(broken, {"cabdrive.dat"});
    broken.write("cabdrive.dat", "[Disp]\nthirty,1\n");

    MainWindow& w = open(startup(folder));
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(w.run(), nullptr);
    EXPECT_EQ(messages.texts, (std::vector<QString>{QStringLiteral("stringファイルに誤りがあります")}));
    EXPECT_EQ(statuses.size(), 1u);  // it failed while reading the settings
    window.reset();
    EXPECT_FALSE(optionsStored());
}

TEST_F(MainWindowTest, MissingVideoIsReportedAndTheRunStillLoads)
{
    TempFolder folder;
    const std::string copy = demoCopyWithout(folder, {"video"});
    MainWindow& w = open(startup(copy));
    EXPECT_TRUE(w.loaded());
    // The video folder is named from the data folder, whatever the current directory.
    EXPECT_EQ(messages.texts, (std::vector<QString>{QStringLiteral("映像ファイルを開けません")
                                                    + QString::fromStdString(copy) + QStringLiteral("video/line_down.avi")}));
    EXPECT_EQ(statuses.size(), 7u);
}

TEST_F(MainWindowTest, AWaveThatCannotBeReadEndsLoadingWithItsNameAndTheDecodersReason)
{
    TempFolder broken;
    const std::string folder = demoCopyWithout(broken, {"line_down.dat"});
    std::string route = *readDataFileBytes(demoFolder() + "line_down.dat");
    const std::string melody = "sound\\line\\melody0.wav";
    route.replace(route.find(melody), melody.size(), "sound\\line\\gone.wav");
    broken.write("line_down.dat", route);

    MainWindow& w = open(startup(folder));
    EXPECT_FALSE(w.loaded());
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_TRUE(messages.texts[0].startsWith(QString::fromStdString(folder + "sound\\line\\gone.wav: ")))
        << messages.texts[0].toStdString();
    EXPECT_GT(messages.texts[0].size(), static_cast<qsizetype>(folder.size() + 22));  // the reason follows
    EXPECT_EQ(statuses.back(), QStringLiteral("DirectSoundオブジェクトを作成しています(環境音)"));
}

}  // namespace
}  // namespace cabdrive::test
