// The main window on the demo line: loading, the keys and the wheel that
// drive the train, pausing and resuming.
#include "shell/main_window_fixture.h"

#include <QMenu>

#include "shell/cab_surface.h"
#include "shell/qt_keys.h"

namespace cabdrive::test {
namespace {

TEST_F(MainWindowTest, LoadingShowsItsStagesInOrderAndStartsTheRun)
{
    StartupValues values = startup();
    values.endStation = 3;
    MainWindow& w = open(values);

    ASSERT_TRUE(w.loaded());
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(statuses, (std::vector<QString>{QStringLiteral("設定ファイルを読み込んでいます"),
                                              QStringLiteral("運転台を描画しています"),
                                              QStringLiteral("DirectSoundオブジェクトを作成しています(走行音)"),
                                              QStringLiteral("DirectSoundオブジェクトを作成しています(環境音)"),
                                              QStringLiteral("DirectSoundオブジェクトを作成しています(喚呼)"),
                                              QStringLiteral("サウンドを読み込んでいます"),
                                              QStringLiteral("環境をセットアップしています")}));
    EXPECT_TRUE(w.tickRunning());
    EXPECT_TRUE(w.scheduler()->running());
    EXPECT_FALSE(run().state.input.runNotStarted);
    EXPECT_EQ(action("start1").text(), QStringLiteral("一時停止(&S)"));
    EXPECT_EQ(run().state.stations.crewChangeStation, 3);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("鉄道運転シミュレータ"));
    EXPECT_EQ(w.centralWidget()->size(), QSize(1202, 758));
    EXPECT_EQ(w.cabSurface()->geometry(), QRect(0, 0, 800, 760));

    // Stopping stations in route order; not the passing station 2, not the last one.
    QStringList entries;
    for (const QAction* entry : child<QMenu>("GoTo1").actions())
        entries << entry->objectName() + "=" + entry->text();
    EXPECT_EQ(entries, (QStringList{QStringLiteral("Sta0=若葉台"), QStringLiteral("Sta1=桜町"),
                                    QStringLiteral("Sta3=中央公園"), QStringLiteral("Sta4=車両基地前")}));

    // The staff card stands right of the cab, at the settings' panel left.
    const QLabel& staffCard = child<QLabel>("staffCard");
    EXPECT_EQ(staffCard.pos(), QPoint(run().settings.panelLeft, 0));
    EXPECT_FALSE(staffCard.pixmap().isNull());
    EXPECT_EQ(staffCard.size(), staffCard.pixmap().size());
}

TEST_F(MainWindowTest, ALargerWindowScalesTheCabAndKeepsTheReadoutsBesideIt)
{
    MainWindow& w = openDemo();
    w.show();
    QCoreApplication::processEvents();
    const QSize aroundClient = w.size() - w.centralWidget()->size();  // the menu bar
    // Room for the cab at twice its size and the readouts beside it at theirs.
    w.resize(aroundClient + QSize(1600 + 402, 1516));
    ASSERT_EQ(w.centralWidget()->size(), QSize(2002, 1516));
    CabSurface& cab = *w.cabSurface();
    EXPECT_EQ(cab.geometry(), QRect(0, 0, 1600, 1520));  // twice as large, the aspect kept
    EXPECT_EQ(label(11).pos(), QPoint(1600 + 820 - 800, 670));
    // The picture shown is the composed one, scaled; a click maps back to cab pixels.
    cab.AppIdle();
    QCoreApplication::processEvents();
    const QImage shown = cab.grab().toImage();
    EXPECT_EQ(shown.pixel(2 * 10 + 1, 2 * 700 + 1), cab.backBuffer().pixel(10, 700));
    QPoint clickedAt;
    QObject::connect(&cab, &CabSurface::clicked, [&clickedAt](QPoint at) { clickedAt = at; });
    clickWidget(cab);
    EXPECT_EQ(clickedAt, QPoint(400, 380));

    // A window wider than the cab's aspect needs centres the cab and its readouts.
    w.resize(aroundClient + QSize(2202, 1516));
    EXPECT_EQ(cab.geometry(), QRect(100, 0, 1600, 1520));

    action("FullScreen1").trigger();
    EXPECT_TRUE(w.isFullScreen());
    action("FullScreen1").trigger();
    EXPECT_FALSE(w.isFullScreen());
    EXPECT_FALSE(action("FullScreen1").isChecked());
    EXPECT_EQ(action("FullScreen1").shortcut(), QKeySequence(Qt::Key_F11));
}

TEST_F(MainWindowTest, StationEntryMovesTheTrainAndNamesTheLineInTheCaption)
{
    MainWindow& w = openDemo();
    action("Sta3").trigger();

    EXPECT_EQ(run().state.dynamics.trainPosition, run().route.stations[3].stopDistance);
    EXPECT_EQ(run().state.video.currentFrame, 6278);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("若葉線"));
}

TEST_F(MainWindowTest, CharacterKeysWorkTheHandlesAndTheReverser)
{
    MainWindow& w = openDemo();
    const ControlState& c = run().state.controls;
    ASSERT_EQ(c.brakeHandle, -8);  // the train waits in emergency

    typeKey(w, Qt::Key_5, "5");
    EXPECT_EQ(c.brakeHandle, 0);
    EXPECT_EQ(c.powerHandle, 0);
    typeKey(w, Qt::Key_Z, "z");
    typeKey(w, Qt::Key_Z, "z");
    EXPECT_EQ(c.powerHandle, 2);
    typeKey(w, Qt::Key_A, "a");
    EXPECT_EQ(c.powerHandle, 1);
    typeKey(w, Qt::Key_Period, ".");
    EXPECT_EQ(c.powerHandle, 1);  // two handles: the brake moves on its own
    EXPECT_TRUE(c.holdingBrakeOn);  // this train's first brake step
    typeKey(w, Qt::Key_Period, ".");
    EXPECT_EQ(c.brakeHandle, -1);
    typeKey(w, Qt::Key_Slash, "/");
    EXPECT_EQ(c.brakeHandle, -8);

    typeKey(w, Qt::Key_B, "b");
    EXPECT_EQ(c.reverser, -1);
    typeKey(w, Qt::Key_N, "n");
    EXPECT_EQ(c.reverser, 0);
    typeKey(w, Qt::Key_F, "f");
    EXPECT_EQ(c.reverser, 1);

    // A held key repeats its presses, and every one is a step.
    typeKey(w, Qt::Key_5, "5");
    sendKey(w, QEvent::KeyPress, Qt::Key_8, "8");
    sendKey(w, QEvent::KeyPress, Qt::Key_8, "8", Qt::NoModifier, true);
    sendKey(w, QEvent::KeyPress, Qt::Key_8, "8", Qt::NoModifier, true);
    sendKey(w, QEvent::KeyRelease, Qt::Key_8, "8");
    EXPECT_EQ(c.powerHandle, 3);
}

TEST_F(MainWindowTest, HornAndBuzzerKeysAreHeldUntilReleasedOnEitherKeyboard)
{
    MainWindow& w = openDemo();
    const RunState& s = run().state;

    sendKey(w, QEvent::KeyPress, Qt::Key_3, "3");
    EXPECT_TRUE(s.input.hornKeyHeld);
    sendKey(w, QEvent::KeyRelease, Qt::Key_3, "3", Qt::NoModifier, true);  // auto-repeat: still held
    EXPECT_TRUE(s.input.hornKeyHeld);
    sendKey(w, QEvent::KeyRelease, Qt::Key_3, "3");
    EXPECT_FALSE(s.input.hornKeyHeld);

    sendKey(w, QEvent::KeyPress, Qt::Key_4, "4", Qt::KeypadModifier);
    EXPECT_TRUE(s.input.buzzerKeyHeld);
    EXPECT_FALSE(s.input.hornKeyHeld);
    sendKey(w, QEvent::KeyRelease, Qt::Key_4, "4", Qt::KeypadModifier);
    EXPECT_FALSE(s.input.buzzerKeyHeld);
}

TEST_F(MainWindowTest, VirtualKeysReachTheKeyDownHandlerAndShiftArrowsMoveTheCabSurface)
{
    MainWindow& w = openDemo();
    RunState& s = run().state;
    const std::int32_t frame = s.video.currentFrame;
    typeKey(w, Qt::Key_F6, {}, Qt::ShiftModifier);
    EXPECT_EQ(s.video.currentFrame, frame + 100);
    typeKey(w, Qt::Key_F1, {}, Qt::ShiftModifier);
    EXPECT_TRUE(s.input.debugFreeze);

    for (int i = 0; i < 4; ++i)
        typeKey(w, Qt::Key_Up, {}, Qt::ShiftModifier);
    EXPECT_EQ(w.cabSurface()->y(), -150);
    typeKey(w, Qt::Key_Down, {}, Qt::ShiftModifier);
    EXPECT_EQ(w.cabSurface()->y(), -100);
    typeKey(w, Qt::Key_Down, {}, Qt::ShiftModifier | Qt::ControlModifier);  // not Shift alone
    EXPECT_EQ(w.cabSurface()->y(), -100);
    for (int i = 0; i < 3; ++i)
        typeKey(w, Qt::Key_Down, {}, Qt::ShiftModifier);
    EXPECT_EQ(w.cabSurface()->y(), 0);
}

TEST_F(MainWindowTest, WheelDownPowersAndWheelUpBrakesIntoEmergencyFromTheLastServiceNotch)
{
    MainWindow& w = openDemo();
    const ControlState& c = run().state.controls;
    typeKey(w, Qt::Key_5, "5");

    EXPECT_FALSE(turnWheel(w, -1));  // the handlers leave the event unhandled
    EXPECT_EQ(c.powerHandle, 1);
    turnWheel(w, 1);
    EXPECT_EQ(c.powerHandle, 0);
    turnWheel(w, 1);
    EXPECT_TRUE(c.holdingBrakeOn);  // this train's first brake step
    turnWheel(w, 1);
    EXPECT_EQ(c.brakeHandle, -1);
    for (int i = 0; i < 6; ++i)
        turnWheel(w, 1);
    EXPECT_EQ(c.brakeHandle, -7);  // the last service notch
    turnWheel(w, 1);
    EXPECT_EQ(c.brakeHandle, -8);  // then emergency

    // With the digits swapped (Scroll Lock) the wheel turned down brakes.
    typeKey(w, Qt::Key_5, "5");
    typeKey(w, Qt::Key_ScrollLock);
    turnWheel(w, -1);
    EXPECT_TRUE(c.holdingBrakeOn);
    EXPECT_EQ(c.powerHandle, 0);
}

TEST_F(MainWindowTest, PauseStopsBothClocksAndAClickOnTheViewResumes)
{
    MainWindow& w = openDemo();
    waitForTick();
    QAction& start1 = action("start1");

    start1.trigger();
    EXPECT_FALSE(w.tickRunning());
    EXPECT_FALSE(w.scheduler()->running());
    EXPECT_FALSE(w.cabSurface()->tickRunning());
    EXPECT_EQ(start1.text(), QStringLiteral("運転再開(&S)"));
    const auto pausedAt = w.scheduler()->runningTime();
    const std::int32_t ticks = run().state.time.tickCount;
    runEventsFor(250);
    EXPECT_EQ(w.scheduler()->runningTime(), pausedAt);
    EXPECT_EQ(run().state.time.tickCount, ticks);

    clickWidget(*w.cabSurface());
    EXPECT_TRUE(w.tickRunning());
    EXPECT_TRUE(w.scheduler()->running());
    EXPECT_EQ(start1.text(), QStringLiteral("一時停止(&S)"));
    waitForTick();
    // The time fed after resuming is only the time since the resume.
    EXPECT_LT(w.scheduler()->runningTime() - pausedAt, std::chrono::milliseconds(250));

    clickWidget(*w.cabSurface());  // a click on a running view changes nothing
    EXPECT_TRUE(w.tickRunning());
}

TEST(QtKeys, TranslatesTheKeysTheHandlersKnowAndNothingElse)
{
    const auto key = [](int code, const QString& text = {}, Qt::KeyboardModifiers held = Qt::NoModifier) {
        return QKeyEvent(QEvent::KeyPress, code, held, text);
    };
    EXPECT_EQ(virtualKey(key(Qt::Key_F12)), Key::F12);
    EXPECT_EQ(virtualKey(key(Qt::Key_Enter, "\r", Qt::KeypadModifier)), Key::Enter);
    EXPECT_EQ(virtualKey(key(Qt::Key_F13)), std::nullopt);

    EXPECT_EQ(typedCharacter(key(Qt::Key_Return, "\r")), '\r');  // every character resets the vigilance device
    EXPECT_EQ(typedCharacter(key(Qt::Key_Delete, QString(QChar(0x7f)))), std::nullopt);
    EXPECT_EQ(typedCharacter(key(Qt::Key_unknown, QStringLiteral("あ"))), std::nullopt);

    EXPECT_EQ(heldKey(key(Qt::Key_6, "6")), HeldKey::None);
}

}  // namespace
}  // namespace cabdrive::test
