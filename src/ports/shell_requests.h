// ShellRequests: what the simulation asks of the program around it. The core
// never opens a window itself; the desktop program answers these with dialogs
// and message boxes, the headless runner by recording them.
#pragma once

#include <string>

namespace cabdrive {

class ShellRequests {
public:
    virtual ~ShellRequests() = default;

    // A message box with this exact text; the run goes on.
    virtual void showMessage(const std::string& text) = 0;
    // The return to the title (BackClick): the closing fade, then the title.
    virtual void requestReturnToTitle() = 0;
    // The crew-change dialog "交代しますか？", brought to the front.
    virtual void showCrewChangeDialog() = 0;
    // F3: the value display shown if hidden, hidden if shown. A run with no
    // window has no value display to show.
    virtual void toggleValueDisplay() {}
};

// Answers nothing: for runs that no one watches.
class NullShellRequests final : public ShellRequests {
public:
    void showMessage(const std::string&) override {}
    void requestReturnToTitle() override {}
    void showCrewChangeDialog() override {}
};

}  // namespace cabdrive
