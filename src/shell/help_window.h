// HelpWindow (TForm4): the operating instructions of operation.dat, whose key
// presses drive the run as if the main window had them.
#pragma once

#include <functional>

#include <QWidget>

class QPlainTextEdit;

namespace cabdrive {

class MessageBoxes;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int designWidth = 265;   // px
    static constexpr int designHeight = 331;  // px

    // A tool window with a fixed dialog frame (unlike a QDialog, Escape and
    // Enter are keys of the run here, not of the window).
    // Reads operation.dat from the current directory: its first line is the
    // caption, the rest the text. A file that cannot be read is reported
    // through `messages`; the window then stays empty.
    explicit HelpWindow(MessageBoxes& messages, QWidget* parent = nullptr);

    // Where key presses go: the window of the run being driven, or null
    // (between runs the keys go nowhere).
    void setKeyTarget(std::function<QWidget*()> target) { m_keyTarget = std::move(target); }

    QPlainTextEdit* memo() const { return m_memo1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_memo1 = nullptr;
    std::function<QWidget*()> m_keyTarget;
};

}  // namespace cabdrive
