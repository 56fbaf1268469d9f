// The Controller menu: the controller kinds, the axes in the caption, and the
// serial master controller end to end over a pseudo-terminal pair through
// the QSerialPort adapter.
#include "shell/main_window_fixture.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <QComboBox>
#include <QTimer>

#include "data/serial_port_settings.h"
#include "input/serial_controller.h"
#include "shell/serial_setup_dialog.h"

namespace cabdrive::test {
namespace {

// The controller's end of a pseudo-terminal; the program opens the other
// end by its path.
class PseudoTerminal {
public:
    PseudoTerminal()
    {
        int slave = -1;
        char name[256] = {};
        if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
            return;
        ::close(slave);
        m_path = name;
        fcntl(m_master, F_SETFL, O_NONBLOCK);
    }
    ~PseudoTerminal() { hangUp(); }
    const std::string& path() const { return m_path; }

    // Writes while the program reads, as a device sends at its own pace.
    bool send(const std::string& bytes)
    {
        std::size_t sent = 0;
        return runEventsUntil(
            [&] {
                const ssize_t n = ::write(m_master, bytes.data() + sent, bytes.size() - sent);
                if (n > 0)
                    sent += static_cast<std::size_t>(n);
                return sent == bytes.size();
            },
            30000);
    }
    void hangUp()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_path;
};

// Types the port into the settings dialog and accepts it.
void chooseSerialPort(QAction& setup1, const std::string& path)
{
    QTimer::singleShot(0, [path] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<SerialSetupDialog*>(widget); dialog && dialog->isVisible()) {
                dialog->findChild<QComboBox*>(QStringLiteral("port"))->setCurrentText(QString::fromStdString(path));
                dialog->findChild<QComboBox*>(QStringLiteral("baudRate"))->setCurrentText(QStringLiteral("19200"));
                dialog->accept();
            }
        }
    });
    setup1.trigger();
}

TEST_F(MainWindowTest, ControllerKindsAreCheckedOneAtATimeAndDebugShowsTheAxesInTheCaption)
{
    openDemo();
    EXPECT_TRUE(action("COM11").isChecked());
    action("COM41").trigger();
    for (const char* other : {"COM11", "COM21", "COM31"})
        EXPECT_FALSE(action(other).isChecked()) << other;
    EXPECT_EQ(run().state.controller.controllerKind, 3);
    action("COM41").trigger();  // chosen again: stays chosen
    EXPECT_TRUE(action("COM41").isChecked());

    action("debug1").trigger();
    run().state.controller.axesCaption = "X:5 Y:-6";
    waitForTick();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("X:5 Y:-6"));
    action("debug1").trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), run().route.lineName);
}

TEST_F(MainWindowTest, SerialControllerOverAPseudoTerminal)
{
    PseudoTerminal controller;
    ASSERT_FALSE(controller.path().empty());
    openDemo();
    chooseSerialPort(action("Setup1"), controller.path());
    QSettingsKeyValueStore store;
    EXPECT_EQ(readSerialPortSettings(store).portName, controller.path());
    EXPECT_EQ(readSerialPortSettings(store).baudRate, 19200);

    action("Connect1").trigger();
    ASSERT_EQ(messages.texts.back(), QStringLiteral("Connect to controller."));
    ControlState& controls = run().state.controls;
    ASSERT_TRUE(controller.send("N####\r"));
    ASSERT_TRUE(runEventsUntil([&] { return controls.brakeHandle == 0; }));
    ASSERT_TRUE(controller.send("P3###\r"));
    ASSERT_TRUE(runEventsUntil([&] { return controls.powerHandle == 3; }));

    // Binary garbage and a megabyte without a carriage return.
    ASSERT_TRUE(controller.send(std::string("\0\xff\x1b[2J\n", 7) + std::string(1 << 20, 'x')));
    runEventsUntil([] { return false; }, 200);
    EXPECT_LE(run().state.controller.serialBuffer.size(), serialBufferLimit);
    ASSERT_TRUE(controller.send("\r"));
    ASSERT_TRUE(runEventsUntil([&] { return run().state.controller.serialBuffer.empty(); }));
    ASSERT_TRUE(controller.send("B2###\r"));
    ASSERT_TRUE(runEventsUntil([&] { return controls.brakeHandle == -2; }));
    EXPECT_EQ(controls.powerHandle, 0);

    // The controller's cable pulled: the port closes, the handles stay.
    controller.hangUp();
    ASSERT_TRUE(runEventsUntil([&] { return messages.texts.back() == QStringLiteral("Disconnect from controller."); }));
    EXPECT_EQ(controls.brakeHandle, -2);
    action("Connect1").trigger();
    EXPECT_NE(messages.texts.back(), QStringLiteral("Connect to controller.")) << "the port is gone";
}

TEST_F(MainWindowTest, APortThatCannotBeOpenedShowsWhyAndChangesNothing)
{
    QSettingsKeyValueStore store;
    SerialPortSettings settings;
    settings.portName = "/nonexistent/ttyUSB7";
    writeSerialPortSettings(store, settings);
    openDemo();
    const ControlState before = run().state.controls;
    action("Connect1").trigger();
    ASSERT_FALSE(messages.texts.empty());
    EXPECT_TRUE(messages.texts.back().startsWith(QStringLiteral("/nonexistent/ttyUSB7: "))) << messages.texts.back().toStdString();
    EXPECT_EQ(run().state.controls.brakeHandle, before.brakeHandle);
    window->close();
    EXPECT_NE(messages.texts.back(), QStringLiteral("Disconnect from controller."));
}

}  // namespace
}  // namespace cabdrive::test
