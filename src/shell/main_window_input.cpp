// The main window's keyboard and mouse wheel: every key press goes to the
// key-down and character handlers, the held horn and buzzer keys are tracked
// for the tick, and the wheel steps the handles.
#include "shell/main_window.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "input/driver_keys.h"
#include "shell/qt_keys.h"
#include "state/run.h"

namespace cabdrive {

// A key held down repeats its presses, and each one counts as a step.
void MainWindow::keyPressEvent(QKeyEvent* event)
{
    Run* r = run();
    if (!r || m_closed) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    holdKey(*event, true);
    if (const auto key = virtualKey(*event)) {
        keydowns(*r, *key, keyModifiers(*event));
        keepCabSurfaceTop();
    }
    if (const auto ch = typedCharacter(*event))
        AsciiDown(*r, *ch);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    Run* r = run();
    if (!r || m_closed || event->isAutoRepeat()) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    holdKey(*event, false);
    if (const auto key = virtualKey(*event))
        keyups(*r, *key);
}

void MainWindow::holdKey(const QKeyEvent& event, bool held)
{
    RunState& state = run()->state;
    switch (heldKey(event)) {
    case HeldKey::Horn: state.input.hornKeyHeld = held; break;
    case HeldKey::Buzzer: state.input.buzzerKeyHeld = held; break;
    case HeldKey::None: break;
    }
}

// The wheel turned towards the driver powers, away from him brakes; the
// event is left unhandled, as the handlers never claim it.
void MainWindow::wheelEvent(QWheelEvent* event)
{
    Run* r = run();
    const int turn = event->angleDelta().y();
    if (r && !m_closed && turn != 0) {
        if (turn < 0)
            WheelD(*r);
        else
            WheelU(*r);
    }
    event->ignore();
}

}  // namespace cabdrive
