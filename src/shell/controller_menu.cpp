// The Controller menu.
#include "shell/controller_menu.h"

#include <string_view>

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "data/serial_port_settings.h"
#include "input/game_controllers.h"
#include "input/serial_controller.h"
#include "shell/message_boxes.h"
#include "shell/serial_setup_dialog.h"
#include "state/run.h"

namespace cabdrive {
namespace {

struct KindEntry {
    const char* name;
    const char* caption;
};

constexpr std::array<KindEntry, 4> kindEntries = {{
    {"COM11", "標準/KXマスコン(&N)"},
    {"COM21", "Windows用電車でGO! コントローラ(&U)"},
    {"COM31", "PS用電車でGO! コントローラ(&M)"},
    {"COM41", "三鶯重工 OHC-PC01(&S)"},
}};

QAction* addEntry(QMenu& menu, const char* name, const char* caption)
{
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

ControllerMenu::ControllerMenu(QMenu& menu, QWidget& window, MessageBoxes& messages)
    : QObject(&window), m_window(window), m_messages(messages)
{
    // Check marks, set by hand: an exclusive action group would draw radio
    // buttons instead.
    for (std::size_t kind = 0; kind < kindEntries.size(); ++kind) {
        QAction* entry = addEntry(menu, kindEntries[kind].name, kindEntries[kind].caption);
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this, [this, kind] { chooseKind(static_cast<int>(kind)); });
        m_kinds[kind] = entry;
    }
    m_kinds[0]->setChecked(true);
    m_debug1 = addEntry(menu, "debug1", "デバッグオプション(&D)");
    m_debug1->setCheckable(true);
    connect(m_debug1, &QAction::triggered, this, &ControllerMenu::debug1Click);
    menu.addSeparator();
    connect(addEntry(menu, "Setup1", "KXマスコン（設定）(&P)"), &QAction::triggered, this, &ControllerMenu::Setup1Click);
    connect(addEntry(menu, "Connect1", "KXマスコン（接続）(&C)"), &QAction::triggered, this,
            &ControllerMenu::Connect1Click);

    connect(&m_port, &QtSerialController::received, this, &ControllerMenu::receive);
    // A device unplugged closes the port; the handles stay where they were.
    connect(&m_port, &QtSerialController::lost, this, &ControllerMenu::COMClosed);
}

void ControllerMenu::attach(Run& run, KeyValueStore& store)
{
    m_run = &run;
    m_store = &store;
}

void ControllerMenu::detach()
{
    closePort();
    m_run = nullptr;
    m_store = nullptr;
}

void ControllerMenu::checkKind(int kind)
{
    for (std::size_t entry = 0; entry < m_kinds.size(); ++entry)
        m_kinds[entry]->setChecked(static_cast<int>(entry) == kind);
}

void ControllerMenu::chooseKind(int kind)
{
    checkKind(kind);
    if (m_run)
        chooseControllerKind(*m_run, kind);
}

void ControllerMenu::debug1Click()
{
    if (!m_run)
        return;
    ControllerState& controller = m_run->state.controller;
    controller.debugCaption = m_debug1->isChecked();
    controller.axesCaption.clear();
    if (!controller.debugCaption)
        m_window.setWindowTitle(QString::fromStdString(m_run->route.lineName));
}

void ControllerMenu::afterTick()
{
    if (!m_run)
        return;
    // A live client's joystick line chooses a kind without the menu.
    const int kind = m_run->state.controller.controllerKind;
    if (kind >= 0 && kind < static_cast<int>(m_kinds.size()) && !m_kinds[static_cast<std::size_t>(kind)]->isChecked())
        checkKind(kind);
    if (!m_debug1->isChecked() || m_run->state.controller.axesCaption.empty())
        return;
    const QString caption = QString::fromStdString(m_run->state.controller.axesCaption);
    if (m_window.windowTitle() != caption)
        m_window.setWindowTitle(caption);
}

// New settings take effect at once: an open port opens again with them.
void ControllerMenu::Setup1Click()
{
    if (!m_store)
        return;
    SerialSetupDialog dialog(readSerialPortSettings(*m_store), &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    writeSerialPortSettings(*m_store, dialog.settings());
    if (connected()) {
        Connect1Click();
        Connect1Click();
    }
}

void ControllerMenu::Connect1Click()
{
    if (!m_store)
        return;
    if (connected()) {
        closePort();
        return;
    }
    const SerialPortSettings settings = readSerialPortSettings(*m_store);
    if (const auto why = m_port.open(settings)) {
        showMessage(QString::fromStdString(settings.portName) + QStringLiteral(": ") + *why);
        return;
    }
    COMOpened();
}

void ControllerMenu::closePort()
{
    if (!connected())
        return;
    m_port.close();
    COMClosed();
}

void ControllerMenu::COMOpened()
{
    showMessage(QStringLiteral("Connect to controller."));
}

void ControllerMenu::COMClosed()
{
    showMessage(QStringLiteral("Disconnect from controller."));
}

void ControllerMenu::receive(const QByteArray& chunk)
{
    if (m_run)
        RxChar(*m_run, std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
}

void ControllerMenu::showMessage(const QString& text)
{
    m_messages.show(&m_window, text);
}

}  // namespace cabdrive
