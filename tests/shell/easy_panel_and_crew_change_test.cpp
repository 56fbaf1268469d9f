// The easy panel and the crew-change dialog, each bound to a main window on
// the demo line.
#include "shell/main_window_fixture.h"

#include <QFrame>
#include <QPushButton>

namespace cabdrive::test {
namespace {

// A button's click posts its character; the main window reads it from its queue.
void press(QPushButton& button)
{
    button.click();
    QCoreApplication::processEvents();
}

TEST_F(MainWindowTest, EasyPanelButtonsPostTheirCharactersToTheMainWindow)
{
    openDemo();
    const ControlState& c = run().state.controls;
    EXPECT_EQ(easyPanel.windowTitle(), QStringLiteral("かんたん運転台"));
    EXPECT_FALSE(easyPanel.button(EasyPanelButton::Announcement)->isEnabled());
    EXPECT_FALSE(easyPanel.button(EasyPanelButton::Rewind)->isEnabled());

    press(*easyPanel.button(EasyPanelButton::Neutral));
    EXPECT_EQ(c.brakeHandle, 0);
    press(*easyPanel.button(EasyPanelButton::Accelerate));
    press(*easyPanel.button(EasyPanelButton::Accelerate));
    EXPECT_EQ(c.powerHandle, 2);
    press(*easyPanel.button(EasyPanelButton::Decelerate));
    EXPECT_EQ(c.powerHandle, 1);

    // The reverser button turns the reverser round, and posts nothing in neutral.
    press(*easyPanel.button(EasyPanelButton::Reverser));
    EXPECT_EQ(c.reverser, -1);
    press(*easyPanel.button(EasyPanelButton::Reverser));
    EXPECT_EQ(c.reverser, 1);
    typeKey(*window, Qt::Key_N, "n");
    press(*easyPanel.button(EasyPanelButton::Reverser));
    EXPECT_EQ(c.reverser, 0);
}

TEST_F(MainWindowTest, EasyPanelPassesItsKeysToTheMainWindow)
{
    openDemo();
    const RunState& s = run().state;
    QPushButton& doors = *easyPanel.button(EasyPanelButton::Doors);

    typeKey(doors, Qt::Key_5, "5");
    EXPECT_EQ(s.controls.brakeHandle, 0);
    typeKey(doors, Qt::Key_Space, " ");  // a driver's key, not a click on the button
    typeKey(easyPanel, Qt::Key_Z, "z");
    EXPECT_EQ(s.controls.powerHandle, 1);
    sendKey(easyPanel, QEvent::KeyPress, Qt::Key_3, "3");
    EXPECT_TRUE(s.input.hornKeyHeld);
    sendKey(easyPanel, QEvent::KeyRelease, Qt::Key_3, "3");
    EXPECT_FALSE(s.input.hornKeyHeld);
}

TEST_F(MainWindowTest, EasyPanelShapesShowTheHandlesAfterEachTick)
{
    openDemo();
    waitForTick();
    EXPECT_EQ(easyPanel.neutralShape(), IndicatorColour::White);
    for (int notch = 1; notch <= 8; ++notch)
        EXPECT_EQ(easyPanel.brakeShape(notch), IndicatorColour::Red) << notch;
    EXPECT_FALSE(easyPanel.brakeShapeWidget(8)->isVisibleTo(&easyPanel));

    typeKey(*window, Qt::Key_5, "5");
    waitForTick();
    EXPECT_EQ(easyPanel.neutralShape(), IndicatorColour::Green);
    EXPECT_EQ(easyPanel.brakeShape(1), IndicatorColour::White);
    EXPECT_EQ(easyPanel.findChild<QFrame*>("KN")->palette().color(QPalette::Window), QColor(Qt::green));

    typeKey(*window, Qt::Key_Z, "z");
    typeKey(*window, Qt::Key_Z, "z");
    waitForTick();
    EXPECT_EQ(easyPanel.neutralShape(), IndicatorColour::White);
    EXPECT_EQ(easyPanel.powerShape(1), IndicatorColour::Yellow);
    EXPECT_EQ(easyPanel.powerShape(2), IndicatorColour::Yellow);
    EXPECT_EQ(easyPanel.powerShape(3), IndicatorColour::White);
}

TEST_F(MainWindowTest, EasyPanelStatusBarCarriesTheDoorText)
{
    openDemo();
    waitForTick();
    // The run starts at a stopping station with its doors open.
    ASSERT_TRUE(run().state.doors.doorOpenCommand);
    EXPECT_EQ(easyPanel.statusText(), QStringLiteral("ドアが開いています"));
}

TEST_F(MainWindowTest, CrewChangeDialogKeepsDrivingOrEndsTheRun)
{
    MainWindow& w = openDemo();
    w.show();
    EXPECT_EQ(crewChange.windowTitle(), QStringLiteral("交代しますか？"));
    EXPECT_TRUE(crewChange.continueButton()->isDefault());
    EXPECT_EQ(crewChange.continueButton()->text(), QStringLiteral("運転継続"));
    EXPECT_EQ(crewChange.endButton()->text(), QStringLiteral("運転終了"));

    run().shell.showCrewChangeDialog();
    EXPECT_TRUE(crewChange.isVisible());
    crewChange.continueButton()->click();
    EXPECT_FALSE(crewChange.isVisible());
    EXPECT_EQ(run().state.presentation.fadeLevel, 0);
    EXPECT_FALSE(w.isClosed());

    run().shell.showCrewChangeDialog();
    crewChange.endButton()->click();
    EXPECT_FALSE(crewChange.isVisible());
    EXPECT_TRUE(runEventsUntil([&] { return w.isClosed(); }, 3000));
}

TEST_F(MainWindowTest, CrewChangeDialogAnswersEscapeWithTheEndOfTheRun)
{
    MainWindow& w = openDemo();
    run().shell.showCrewChangeDialog();
    typeKey(crewChange, Qt::Key_Escape);
    EXPECT_FALSE(crewChange.isVisible());
    EXPECT_EQ(run().state.presentation.fadeLevel, 1);
    w.close();
}

TEST_F(MainWindowTest, ShellRequestsReachTheMessageBoxesAndTheBackButton)
{
    openDemo();
    run().shell.showMessage("運転状態を保存しました");
    EXPECT_EQ(messages.texts, (std::vector<QString>{QStringLiteral("運転状態を保存しました")}));
    run().shell.requestReturnToTitle();
    EXPECT_EQ(run().state.presentation.fadeLevel, 1);
}

}  // namespace
}  // namespace cabdrive::test
