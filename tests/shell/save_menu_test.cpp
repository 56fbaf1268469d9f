// The Save menu: captions from the stored titles, saving, and restoring
// after the program has started again.
#include "shell/main_window_fixture.h"

#include <QMenu>

namespace cabdrive::test {
namespace {

class SaveMenuTest : public MainWindowTest {
protected:
    // Saveloadclick: what the driver sees on opening the menu.
    void openSaveMenu() { Q_EMIT child<QMenu>("SaveS1").aboutToShow(); }
};

TEST_F(SaveMenuTest, ASavedStateIsRestoredAfterTheProgramHasStartedAgain)
{
    openDemo();
    openSaveMenu();
    for (const char* name : {"Load1", "Load2", "Load3", "Save1", "Save2", "Save3"}) {
        EXPECT_EQ(action(name).text(), QStringLiteral("No Data")) << name;
        EXPECT_EQ(action(name).isEnabled(), name[0] == 'S') << name << ": saving, not restoring";
    }
    waitForTick();
    action("Save2").trigger();
    EXPECT_EQ(messages.texts.back(), QStringLiteral("運転状態を保存しました"));
    const std::int32_t frame = run().state.video.currentFrame;
    const std::int32_t clock = run().state.time.clockTicks;
    openSaveMenu();
    const QString caption = QString::fromStdString(run().route.lineName2) + QStringLiteral("（若葉台～桜町）");
    EXPECT_EQ(action("Load2").text(), caption);
    EXPECT_TRUE(action("Load2").isEnabled());
    EXPECT_EQ(action("Save2").text(), caption);
    EXPECT_FALSE(action("Load1").isEnabled());
    window->close();

    openDemo();
    run().state.video.currentFrame = frame + 400;
    run().state.time.clockTicks = clock + 9000;
    openSaveMenu();
    ASSERT_TRUE(action("Load2").isEnabled());
    action("Load2").trigger();
    EXPECT_EQ(run().state.video.currentFrame, frame);
    EXPECT_EQ(run().state.time.clockTicks, clock);
    EXPECT_EQ(window->windowTitle().toStdString(), run().route.lineName);
    EXPECT_TRUE(window->tickRunning()) << "the clocks run on after the restore";
    waitForTick();
}

TEST_F(SaveMenuTest, AStateOfTheOtherDirectionOrADamagedOneIsRefused)
{
    QSettingsKeyValueStore store;
    (void)store.writeString("kestra", "Save1", "line_down.dat,0,0,41,972390,122,0");
    (void)store.writeString("kestra", "Save1Title", "下り");
    (void)store.writeString("kestra", "Save3", "line_up.dat,0,0,41,972390,122");
    (void)store.writeString("kestra", "Save3Title", "上り");
    open(startup(demoFolder(), "line_up.dat"));
    const std::int32_t frame = run().state.video.currentFrame;
    bool clocksRan = false;
    messages.whileShown = [&] { clocksRan = clocksRan || window->tickRunning(); };
    openSaveMenu();
    action("Load1").trigger();
    EXPECT_EQ(messages.texts.back(), QStringLiteral("運転状態を保存したダイヤではありません"));
    action("Load3").trigger();
    EXPECT_EQ(messages.texts.back(),
              QStringLiteral("保存された運転状態が壊れているため復元できません（Save3: 項目の数が7つではありません）"));
    EXPECT_EQ(run().state.video.currentFrame, frame);
    EXPECT_FALSE(clocksRan) << "no step runs while a restore is under way, its message included";
    EXPECT_TRUE(window->tickRunning());
}

}  // namespace
}  // namespace cabdrive::test
