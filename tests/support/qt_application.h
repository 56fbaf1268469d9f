// Qt for the shell tests: one QApplication on the offscreen platform, real
// key, mouse and wheel events, and waiting while the event loop runs.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <functional>

namespace cabdrive::test {

inline QApplication& qtApplication()
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *app;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "cabdrive_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics are gone before ours, and an
    // application torn down after them crashes in its input devices.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns
// whether it holds.
inline bool runEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline void runEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A key pressed and let go, as the keyboard delivers it.
inline void typeKey(QWidget& target, int key, const QString& text = {},
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(&target, &release);
}

inline void sendKey(QWidget& target, QEvent::Type type, int key, const QString& text = {},
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QCoreApplication::sendEvent(&target, &event);
}

// One notch of the wheel: negative turns it down, towards the user.
// Returns whether the widget accepted the event.
inline bool turnWheel(QWidget& target, int notches)
{
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &event);
    return event.isAccepted();
}

inline void clickWidget(QWidget& target)
{
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, target.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &release);
}

}  // namespace cabdrive::test
