// The main window's answers to the simulation's requests.
#include "shell/window_requests.h"

#include "shell/crew_change_dialog.h"
#include "shell/message_boxes.h"

namespace cabdrive {

WindowRequests::WindowRequests(QWidget& window, MessageBoxes& messages, CrewChangeDialog* crewChange,
                               std::function<void()> returnToTitle, std::function<void()> toggleValueDisplay)
    : m_window(window),
      m_messages(messages),
      m_crewChange(crewChange),
      m_returnToTitle(std::move(returnToTitle)),
      m_toggleValueDisplay(std::move(toggleValueDisplay))
{
}

void WindowRequests::showMessage(const std::string& text)
{
    m_messages.show(&m_window, QString::fromStdString(text));
}

void WindowRequests::requestReturnToTitle()
{
    m_returnToTitle();
}

void WindowRequests::showCrewChangeDialog()
{
    if (m_crewChange)
        m_crewChange->showInFront();
}

void WindowRequests::toggleValueDisplay()
{
    if (m_toggleValueDisplay)
        m_toggleValueDisplay();
}

}  // namespace cabdrive
