// The crew-change dialog: keep driving, or hand over and end the run.
#include "shell/crew_change_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cabdrive {

CrewChangeDialog::CrewChangeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("kotaiStop"));
    setWindowTitle(QStringLiteral("交代しますか？"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("乗務員交代駅です。"), this));
    layout->addWidget(new QLabel(QStringLiteral("運転継続をクリックすると続けて運転します。"), this));
    auto* buttons = new QHBoxLayout;
    m_continue = new QPushButton(QStringLiteral("運転継続"), this);
    m_end = new QPushButton(QStringLiteral("運転終了"), this);
    m_continue->setDefault(true);
    buttons->addWidget(m_continue);
    buttons->addWidget(m_end);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_continue, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_end, &QPushButton::clicked, this, [this] {
        reject();
        Q_EMIT endOfRunChosen();
    });
}

void CrewChangeDialog::showInFront()
{
    show();
    raise();
    activateWindow();
    m_continue->setFocus();
}

void CrewChangeDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_end->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace cabdrive
