// Shell requests for tests: each request is counted, each message kept.
#pragma once

#include <string>
#include <vector>

#include "ports/shell_requests.h"

namespace test {

class RecordingShell final : public cabdrive::ShellRequests {
public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void requestReturnToTitle() override { ++returnsToTitle; }
    void showCrewChangeDialog() override { ++crewChangeDialogs; }
    void toggleValueDisplay() override { ++valueDisplayToggles; }

    std::vector<std::string> messages;
    int returnsToTitle = 0;
    int crewChangeDialogs = 0;
    int valueDisplayToggles = 0;
};

}  // namespace test
