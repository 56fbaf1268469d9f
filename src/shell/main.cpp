// cabdrive: the desktop program.
// `cabdrive [--live-port N [--live-listen ADDRESS]] [DATA_FOLDER]`, `cabdrive --help`.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QFont>

#include "platform/openal/openal_sound_device.h"
#include "platform/openal/sound_library_log.h"
#include "platform/qt/live_server.h"
#include "platform/qt/qsettings_key_value_store.h"
#include "platform/sdl/sdl_joystick.h"
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
    QSettingsKeyValueStore store;
    LiveStreamSettings liveSettings = readLiveStreamSettings(store);
    if (const auto status = answerProgramCommandLine(arguments, dataFolder, liveSettings, std::cout, std::cerr))
        return *status;

    quietSoundLibraries();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cabdrive"));
    QApplication::setApplicationDisplayName(QStringLiteral("鉄道運転シミュレータ"));
    // The desktop entry the windows belong to, for the menu's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.cabdrive.cabdrive"));
    // The data and the windows name Windows fonts; this machine has their Japanese equivalent.
    QFont::insertSubstitution(QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"));
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans CJK JP"));
    // The title window hides while a run is shown: closing the run's window
    // is no reason to end. The program ends when the title window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    QtMessageBoxes messages;
    const std::string executableFolder = QApplication::applicationDirPath().toStdString();
    const ProgramFolder folder =
        chooseProgramFolder(executableFolder, dataFolder, executableFolder + "/" + CABDRIVE_INSTALLED_DEMO);
    if (!folder.error.empty()) {
        messages.show(nullptr, QString::fromStdString(folder.error));
        return 1;
    }

    // The live stream serves every run of this program; the program goes on without it.
    LiveServer liveServer;
    bool serving = false;
    if (liveSettings.port) {
        serving = liveServer.listen(QString::fromStdString(liveSettings.listenAddress),
                                    static_cast<quint16>(*liveSettings.port));
        if (serving)
            std::fprintf(stderr, "cabdrive: live stream on %s\n", qPrintable(liveServer.url().toString()));
        else
            std::fprintf(stderr, "cabdrive: the live stream cannot listen on %s port %d: %s\n",
                         liveSettings.listenAddress.c_str(), *liveSettings.port, qPrintable(liveServer.errorString()));
    }

    // Each run opens the game controllers anew; a machine where they cannot be read is told once.
    if (const SdlJoystick probe; !probe.startError().empty())
        std::fprintf(stderr, "cabdrive: game controllers cannot be read: %s\n", probe.startError().c_str());

    // The program's one sound card, opened once: the title's movie and
    // sounds and every run play through it, so that no second device holds
    // the card while a run plays.
    OpenAlOutput soundCard(OpenAlOutput::Device::soundCard, static_cast<int>(OpenAlSoundDevice::channels));
    if (!soundCard.available())
        std::fprintf(stderr, "cabdrive: no sound card could be opened; runs are silent\n");

    AuxWindows aux;
    TitleWindow title(folder.folder, messages, aux, TitleWindow::systemDesktop(), &soundCard);
    if (!title.created())
        return 1;
    HelpWindow help(messages);
    help.setKeyTarget([&title] { return title.runningMainWindow(); });
    EasyPanel easyPanel;
    CrewChangeDialog crewChange;
    ValueDisplayWindow valueDisplay;
    aux = AuxWindows{&help, &easyPanel, &crewChange, &valueDisplay, serving ? &liveServer : nullptr};

    QObject::connect(&title, &TitleWindow::closed, &app, &QApplication::quit);
    title.show();
    return app.exec();
}
