// A main window on the demo line for the shell tests: its own user store in a
// temporary folder, the demo folder as the current directory (as the program
// has it), message boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QSettings>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "data/display_options.h"
#include "platform/qt/qsettings_key_value_store.h"
#include "run/scheduler.h"
#include "shell/aux_windows.h"
#include "shell/crew_change_dialog.h"
#include "shell/easy_panel.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/value_display_window.h"
#include "state/run.h"
#include "support/qt_application.h"
#include "support/temp_folder.h"

namespace cabdrive::test {

class RecordingMessages final : public MessageBoxes {
public:
    void show(QWidget*, const QString& text) override
    {
        texts.push_back(text);
        if (whileShown)
            whileShown();
    }
    std::vector<QString> texts;
    std::function<void()> whileShown;  // runs while the box would be open
};

inline std::string demoFolder()
{
    return std::string(CABDRIVE_DEMO_FOLDER) + "/";
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : m_previousFolder(std::filesystem::current_path())
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config.path().string()));
        aux.easyPanel = &easyPanel;
        aux.crewChange = &crewChange;
        aux.valueDisplay = &valueDisplay;
    }
    ~MainWindowTest() override
    {
        window.reset();
        std::filesystem::current_path(m_previousFolder);
    }

    // The run the title screen starts after choosing a line and the train.
    StartupValues startup(const std::string& folder = demoFolder(), const std::string& route = "line_down.dat")
    {
        StartupValues values;
        values.programFolder = folder;
        values.routeFileName = route;
        return values;
    }

    MainWindow& open(const StartupValues& values)
    {
        std::filesystem::current_path(values.programFolder);
        window = std::make_unique<MainWindow>(
            values, [this](const QString& text) { statuses.push_back(text); }, messages, aux);
        return *window;
    }
    MainWindow& openDemo() { return open(startup()); }

    cabdrive::Run& run() { return *window->run(); }

    void storeOptions(const DisplayOptions& options)
    {
        QSettingsKeyValueStore store;
        writeDisplayOptions(store, options);
    }
    DisplayOptions storedOptions()
    {
        QSettingsKeyValueStore store;
        return readDisplayOptions(store);
    }
    bool optionsStored() const { return std::filesystem::exists(config.path() / "Cabdrive" / "kestra.ini"); }

    template <typename Child>
    Child& child(const char* name)
    {
        Child* found = window->findChild<Child*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    QAction& action(const char* name) { return child<QAction>(name); }
    QLabel& label(int n) { return child<QLabel>(QStringLiteral("Label%1").arg(n).toLatin1().constData()); }

    // Lets the clocks run until the next 100 ms tick has passed.
    void waitForTick()
    {
        const std::int32_t ticks = run().state.time.tickCount;
        ASSERT_TRUE(runEventsUntil([&] { return run().state.time.tickCount > ticks; }));
    }

    QApplication& app = qtApplication();  // before any widget
    TempFolder config;
    RecordingMessages messages;
    EasyPanel easyPanel;
    CrewChangeDialog crewChange;
    ValueDisplayWindow valueDisplay;
    AuxWindows aux;
    std::vector<QString> statuses;
    std::unique_ptr<MainWindow> window;

private:
    std::filesystem::path m_previousFolder;
};

}  // namespace cabdrive::test
