// cabdrive: the desktop program. `cabdrive [DATA_FOLDER]`, `cabdrive --help`.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QFont>

#include "shell/aux_windows.h"
#include "shell/crew_change_dialog.h"
#include "shell/easy_panel.h"
#include "shell/help_window.h"
#include "shell/message_boxes.h"
#include "shell/program_command_line.h"
#include "shell/program_folder.h"
#include "shell/title_window.h"
#include "shell/value_display_window.h"

int main(int argc, char** argv)
{
    using namespace cabdrive;
    // Answered before Qt looks for a display: --help works anywhere.
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    std::string dataFolder;
    if (const auto status = answerProgramCommandLine(arguments, dataFolder, std::cout, std::cerr))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cabdrive"));
    QApplication::setApplicationDisplayName(QStringLiteral("鉄道運転シミュレータ"));
    // The data and the windows name Windows fonts; this machine has their Japanese equivalent.
    QFont::insertSubstitution(QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"));
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans CJK JP"));
    // The title window hides while a run is shown: closing the run's window
    // is no reason to end. The program ends when the title window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    QtMessageBoxes messages;
    const ProgramFolder folder = chooseProgramFolder(QApplication::applicationDirPath().toStdString(), dataFolder);
    if (!folder.error.empty()) {
        messages.show(nullptr, QString::fromStdString(folder.error));
        return 1;
    }

    AuxWindows aux;
    TitleWindow title(folder.folder, messages, aux);
    if (!title.created())
        return 1;
    HelpWindow help(messages);
    help.setKeyTarget([&title] { return title.runningMainWindow(); });
    EasyPanel easyPanel;
    CrewChangeDialog crewChange;
    ValueDisplayWindow valueDisplay;
    aux = AuxWindows{&help, &easyPanel, &crewChange, &valueDisplay};

    QObject::connect(&title, &TitleWindow::closed, &app, &QApplication::quit);
    title.show();
    return app.exec();
}
