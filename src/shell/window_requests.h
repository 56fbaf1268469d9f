// WindowRequests: the main window's answers to what the simulation asks of
// it — message boxes, the return to the title, the crew-change dialog.
#pragma once

#include <functional>

#include "ports/shell_requests.h"

class QWidget;

namespace cabdrive {

class CrewChangeDialog;
class MessageBoxes;

class WindowRequests final : public ShellRequests {
public:
    // `crewChange` may be null: a run without the dialog answers nothing.
    WindowRequests(QWidget& window, MessageBoxes& messages, CrewChangeDialog* crewChange,
                   std::function<void()> returnToTitle, std::function<void()> toggleValueDisplay);

    void showMessage(const std::string& text) override;
    void requestReturnToTitle() override;
    void showCrewChangeDialog() override;
    void toggleValueDisplay() override;

private:
    QWidget& m_window;
    MessageBoxes& m_messages;
    CrewChangeDialog* m_crewChange;
    std::function<void()> m_returnToTitle;
    std::function<void()> m_toggleValueDisplay;
};

}  // namespace cabdrive
