// AuxWindows: the windows the program entry creates once and every run's main
// window uses (Help, the easy panel, the crew-change dialog, the value display).
#pragma once

class QWidget;

namespace cabdrive {

class EasyPanel;
class CrewChangeDialog;
class ValueDisplayWindow;
class LiveServer;

struct AuxWindows {
    QWidget* help = nullptr;  // the Help window, shown by the Display menu
    EasyPanel* easyPanel = nullptr;
    CrewChangeDialog* crewChange = nullptr;
    ValueDisplayWindow* valueDisplay = nullptr;
    LiveServer* live = nullptr;  // the live stream, when the program serves one
};

}  // namespace cabdrive
