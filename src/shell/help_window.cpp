// HelpWindow (TForm4): the operating instructions of operation.dat, whose key
// presses drive the run as if the main window had them.
#include "shell/help_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "common/line_reader.h"
#include "data/title_media.h"
#include "shell/message_boxes.h"

namespace cabdrive {

HelpWindow::HelpWindow(MessageBoxes& messages, QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setWindowTitle(QStringLiteral("Help"));
    setFixedSize(designWidth, designHeight);
    m_memo1 = new QPlainTextEdit(this);
    m_memo1->setReadOnly(true);
    m_memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo1->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_memo1);

    auto file = openDataFile(helpTextFile);
    if (!file) {
        messages.show(this, QStringLiteral("ファイル operation.dat を開けません。"));
        return;
    }
    setWindowTitle(QString::fromStdString(std::string(file->readLine())));
    QStringList lines;
    while (!file->atEnd())
        lines.append(QString::fromStdString(std::string(file->readLine())));
    m_memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_memo1 && event->type() == QEvent::KeyPress && m_keyTarget) {
        if (QWidget* target = m_keyTarget()) {
            // The same press, unchanged, to the run's key handlers; the text
            // box still gets it (to scroll).
            const auto* key = static_cast<QKeyEvent*>(event);
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                           key->nativeModifiers(), key->text(), key->isAutoRepeat(), static_cast<quint16>(key->count()));
            QApplication::sendEvent(target, &copy);
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace cabdrive
