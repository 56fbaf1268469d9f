// cabdrive: the desktop program. `cabdrive [DATA_FOLDER]`.
#include <cstdio>

#include <QApplication>
#include <QFont>

#include "shell/aux_windows.h"
#include "shell/crew_change_dialog.h"
#include "shell/easy_panel.h"
#include "shell/help_window.h"
#include "shell/message_boxes.h"
#include "shell/program_folder.h"
#include "shell/title_window.h"
#include "shell/value_display_window.h"

int main(int argc, char** argv)
{
    using namespace cabdrive;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cabdrive"));
    QApplication::setApplicationDisplayName(QStringLiteral("鉄道運転シミュレータ"));
    // The data and the windows name Windows fonts; this machine has their Japanese equivalent.
    QFont::insertSubstitution(QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"));
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans CJK JP"));
    // The title window hides while a run is shown: closing the run's window
    // is no reason to end. The program ends when the title window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2) {
        std::fprintf(stderr, "usage: cabdrive [DATA_FOLDER]\n");
        return 2;
    }
    QtMessageBoxes messages;
    const ProgramFolder folder = chooseProgramFolder(QApplication::applicationDirPath().toStdString(),
                                                     arguments.size() == 2 ? arguments[1].toStdString() : std::string());
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
