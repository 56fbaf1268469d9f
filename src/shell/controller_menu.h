// The Controller menu: which controller drives the train, the axes in the
// caption, and the serial master controller's settings and connection
// (ComPort1).
#pragma once

#include <array>

#include <QObject>

#include "platform/qt/qt_serial_controller.h"

class QAction;
class QMenu;
class QWidget;

namespace cabdrive {

class KeyValueStore;
class MessageBoxes;
struct Run;

class ControllerMenu : public QObject {
    Q_OBJECT
public:
    // Fills `menu` with COM11 .. COM41, debug1, Setup1 and Connect1; messages
    // and the caption go to `window`.
    ControllerMenu(QMenu& menu, QWidget& window, MessageBoxes& messages);

    // The run the entries act on, and the store that keeps the port settings.
    void attach(Run& run, KeyValueStore& store);
    // The window's closing step: the port is closed if it is open, and the
    // run let go of.
    void detach();
    // After every tick: the check mark on the run's kind, and the axes in the
    // caption while debug1 is checked.
    void afterTick();

    bool connected() const { return m_port.isOpen(); }

    // Menu commands, by the names of their events.
    void debug1Click();
    void Setup1Click();
    void Connect1Click();

private:
    void chooseKind(int kind);
    void checkKind(int kind);
    void closePort();
    void COMOpened();
    void COMClosed();
    void receive(const QByteArray& chunk);
    void showMessage(const QString& text);

    QWidget& m_window;
    MessageBoxes& m_messages;
    QtSerialController m_port;
    std::array<QAction*, 4> m_kinds{};  // COM11 .. COM41: controllerKind 0 .. 3
    QAction* m_debug1 = nullptr;
    Run* m_run = nullptr;
    KeyValueStore* m_store = nullptr;
};

}  // namespace cabdrive
