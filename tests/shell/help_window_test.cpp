// The Help window: operation.dat as caption and text, and its key presses
// passed on to the run being driven.
#include "shell/main_window_fixture.h"

#include <QPlainTextEdit>
#include <QScrollBar>

#include "shell/help_window.h"

namespace cabdrive::test {
namespace {

namespace fs = std::filesystem;

class HelpWindowTest : public ::testing::Test {
protected:
    HelpWindowTest() : m_previousFolder(fs::current_path()) { fs::current_path(folder.path()); }
    ~HelpWindowTest() override { fs::current_path(m_previousFolder); }

    QApplication& app = qtApplication();
    TempFolder folder;
    RecordingMessages messages;

private:
    fs::path m_previousFolder;
};

// Records what reaches it, as the main window's key handlers would see it.
class KeyTarget : public QWidget {
protected:
    void keyPressEvent(QKeyEvent* event) override { presses.push_back({event->key(), event->text()}); }
    void keyReleaseEvent(QKeyEvent* event) override { releases.push_back(event->key()); }

public:
    std::vector<std::pair<int, QString>> presses;
    std::vector<int> releases;
};

TEST_F(HelpWindowTest, TheFirstLineOfOperationDatIsTheCaptionAndTheRestTheText)
{
    // CP932, as written on Windows: "操作説明", "Ｚ：力行", "Ａ：ブレーキ\" with CR LF.
    folder.write("operation.dat", "\x91\x80\x8d\xec\x90\xe0\x96\xbe\r\n"
                                  "\x82\x79\x81\x46\x97\xcd\x8d\x73\r\n"
                                  "\r\n"
                                  "\x82\x60\x81\x46\x83\x75\x83\x8c\x81\x5b\x83\x4c\\\r\n");
    HelpWindow help(messages);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(help.windowTitle(), QStringLiteral("操作説明"));
    EXPECT_EQ(help.memo()->toPlainText(), QStringLiteral("Ｚ：力行\n\nＡ：ブレーキ\\"));
    EXPECT_TRUE(help.memo()->isReadOnly());
    EXPECT_EQ(help.memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(help.size(), QSize(265, 331));

    // Typing leaves the text as it is.
    typeKey(*help.memo(), Qt::Key_Z, QStringLiteral("z"));
    EXPECT_EQ(help.memo()->toPlainText(), QStringLiteral("Ｚ：力行\n\nＡ：ブレーキ\\"));
}

TEST_F(HelpWindowTest, WithoutOperationDatTheErrorIsReportedAndTheWindowStaysEmpty)
{
    HelpWindow help(messages);
    EXPECT_EQ(messages.texts, (std::vector<QString>{QStringLiteral("ファイル operation.dat を開けません。")}));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Help"));
    EXPECT_TRUE(help.memo()->toPlainText().isEmpty());
}

TEST_F(HelpWindowTest, KeyPressesGoToTheRunningMainWindowUnchangedAndNowhereBetweenRuns)
{
    std::string text = "Help\r\n";
    for (int line = 0; line < 200; ++line)
        text += "line " + std::to_string(line) + "\r\n";
    folder.write("operation.dat", text);
    HelpWindow help(messages);
    help.show();
    KeyTarget mainWindow;
    QWidget* running = nullptr;
    help.setKeyTarget([&running] { return running; });

    sendKey(*help.memo(), QEvent::KeyPress, Qt::Key_Z, QStringLiteral("z"));  // between runs
    EXPECT_TRUE(mainWindow.presses.empty());

    running = &mainWindow;
    sendKey(*help.memo(), QEvent::KeyPress, Qt::Key_Z, QStringLiteral("z"));
    sendKey(*help.memo(), QEvent::KeyRelease, Qt::Key_Z, QStringLiteral("z"));
    sendKey(*help.memo(), QEvent::KeyPress, Qt::Key_F2, {}, Qt::ShiftModifier);
    ASSERT_EQ(mainWindow.presses.size(), 2u);
    EXPECT_EQ(mainWindow.presses[0], std::make_pair(static_cast<int>(Qt::Key_Z), QStringLiteral("z")));
    EXPECT_EQ(mainWindow.presses[1].first, Qt::Key_F2);
    EXPECT_TRUE(mainWindow.releases.empty());  // presses only

    // The text box still scrolls with the keys it passes on.
    const int top = help.memo()->verticalScrollBar()->value();
    sendKey(*help.memo(), QEvent::KeyPress, Qt::Key_PageDown);
    EXPECT_GT(help.memo()->verticalScrollBar()->value(), top);
    EXPECT_EQ(mainWindow.presses.back().first, Qt::Key_PageDown);
}

}  // namespace
}  // namespace cabdrive::test
