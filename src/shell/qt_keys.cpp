// Translating Qt key events for the driver's key bindings.
#include "shell/qt_keys.h"

#include <QCoreApplication>
#include <QWidget>

namespace cabdrive {

std::optional<Key> virtualKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Backspace: return Key::Backspace;
    case Qt::Key_ScrollLock: return Key::ScrollLock;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    default: break;
    }
    if (event.key() >= Qt::Key_F1 && event.key() <= Qt::Key_F12)
        return static_cast<Key>(static_cast<int>(Key::F1) + (event.key() - Qt::Key_F1));
    return std::nullopt;
}

KeyModifiers keyModifiers(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers held = event.modifiers();
    return KeyModifiers{held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                        held.testFlag(Qt::AltModifier)};
}

std::optional<char> typedCharacter(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.size() != 1 || text[0].unicode() == 0 || text[0].unicode() >= 0x7f)
        return std::nullopt;
    return static_cast<char>(text[0].unicode());
}

void passKeyOn(const QKeyEvent& event, QWidget& target)
{
    QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.text(), event.isAutoRepeat(),
                   static_cast<quint16>(event.count()));
    QCoreApplication::sendEvent(&target, &copy);
}

HeldKey heldKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_3: return HeldKey::Horn;
    case Qt::Key_4: return HeldKey::Buzzer;
    default: return HeldKey::None;
    }
}

}  // namespace cabdrive
