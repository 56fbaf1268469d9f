// MainWindow (TForm1): the driving screen of one run. Creating it loads the
// run; its menu starts and pauses the run and switches the display options;
// closing it stops the clocks and stores the options.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include "shell/startup_values.h"
#include "shell/streamed_message_boxes.h"

class QAction;
class QLabel;
class QMenu;

namespace cabdrive {

struct AuxWindows;
class CabSurface;
class ControllerMenu;
class MessageBoxes;
class OpenAlOutput;
class SaveMenu;
class Scheduler;
struct Run;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The design's client area below the menu bar; the window may be larger
    // (or full screen), and the cab picture is then scaled to fit.
    static constexpr int clientWidth = 1202;  // px
    static constexpr int clientHeight = 758;  // px

    // FormCreate: loads everything, writing each stage's text through
    // `status` (the title window's status line), and starts the run. After a
    // loading error its message has been shown and loaded() is false.
    // The run plays through `soundCard` (which must outlive the window);
    // without one that is open it runs silent.
    MainWindow(const StartupValues& startup, std::function<void(const QString&)> status, MessageBoxes& messages,
               AuxWindows& aux, OpenAlOutput* soundCard = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    bool loaded() const;
    // Shows the window centred and waits until it has closed.
    void runModal();
    bool isClosed() const { return m_closed; }

    // The loaded run and its clocks; null when loading failed.
    Run* run();
    Scheduler* scheduler();
    bool tickRunning() const { return m_tickTimer.isActive(); }
    CabSurface* cabSurface() const { return m_untendai; }

    // Menu and window commands, by the names of their events.
    void start1Click();
    void movieclick();
    void BackClick();
    void StationMenuClick(int station);

Q_SIGNALS:
    // The window has closed and stored the options.
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Session;

    void buildWindow();
    void buildMenu();
    QAction* addToggle(QMenu& menu, const char* name, const QString& caption, void (MainWindow::*command)());
    void FormCreate();
    void addStationEntries();
    void replaceMenuCaptions();
    void showStaffPictures();
    void attachRun();
    void setCheckMarksFromOptions();
    void FormActivate();
    void feedClock();
    void holdClocks(const std::function<void()>& action);
    void Timer1Timer();
    void refreshValueDisplay();
    void toggleValueDisplay();
    void D1Click();
    void OFF1Click();
    void OFF2Click();
    void OFFC1Click();
    void showTextLabels(bool textMode, bool includingLabel5And6);
    void fillTextLabels();
    void keepCabSurfaceTop();
    void layoutClient();
    void FullScreenClick();
    void holdKey(const QKeyEvent& event, bool held);
    void showStatus(const QString& text);
    void FormCloseQuery();
    void stopRun();

    StartupValues m_startup;
    std::function<void(const QString&)> m_status;
    AuxWindows& m_aux;
    StreamedMessageBoxes m_messages;
    OpenAlOutput* m_soundCard;
    std::unique_ptr<Session> m_session;
    bool m_closed = false;
    bool m_inTick = false;  // a message box shown by a tick must not let the next tick in

    QTimer m_tickTimer;         // feeds the scheduler while the run is running
    QElapsedTimer m_wallClock;  // the real time fed to the scheduler
    qint64 m_fedNanoseconds = 0;

    QWidget* m_client = nullptr;
    CabSurface* m_untendai = nullptr;
    QLabel* m_subDisp = nullptr;
    QLabel* m_back = nullptr;
    QLabel* m_staffCard = nullptr;
    std::array<QLabel*, 15> m_labels{};  // Label0 .. Label14
    // The components right of the cab and their places in the design.
    std::vector<std::pair<QWidget*, QPoint>> m_besideCab;

    QAction* m_start1 = nullptr;
    QMenu* m_goTo1 = nullptr;
    QMenu* m_show1 = nullptr;
    QMenu* m_controller1 = nullptr;
    ControllerMenu* m_controllerMenu = nullptr;
    QMenu* m_saveS1 = nullptr;
    SaveMenu* m_saveMenu = nullptr;
    QAction* m_D1 = nullptr;
    QAction* m_OFF1 = nullptr;
    QAction* m_OFF2 = nullptr;
    QAction* m_OFFC1 = nullptr;
    QAction* m_fullScreen = nullptr;
};

}  // namespace cabdrive
