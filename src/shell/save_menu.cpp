// The Save menu.
#include "shell/save_menu.h"

#include <utility>

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "run/saved_states.h"
#include "state/run.h"

namespace cabdrive {
namespace {

const QString noData = QStringLiteral("No Data");

}  // namespace

SaveMenu::SaveMenu(QMenu& menu, QWidget& window, ClockHold holdClocks)
    : QObject(&window), m_window(window), m_holdClocks(std::move(holdClocks))
{
    QMenu* restore = menu.addMenu(QStringLiteral("運転状態を復元(&L)"));
    restore->setObjectName(QStringLiteral("L1"));
    QMenu* save = menu.addMenu(QStringLiteral("運転状態を保存(&S)"));
    save->setObjectName(QStringLiteral("S2"));
    for (int slot = 1; slot <= savedStateSlots; ++slot) {
        QAction*& load = m_load[static_cast<std::size_t>(slot - 1)];
        load = restore->addAction(noData, this, [this, slot] { L1Click(slot); });
        load->setObjectName(QStringLiteral("Load%1").arg(slot));
        load->setEnabled(false);
        QAction*& into = m_save[static_cast<std::size_t>(slot - 1)];
        into = save->addAction(noData, this, [this, slot] { S2Click(slot); });
        into->setObjectName(QStringLiteral("Save%1").arg(slot));
        into->setEnabled(false);
    }
    connect(&menu, &QMenu::aboutToShow, this, &SaveMenu::Saveloadclick);
}

void SaveMenu::attach(Run& run)
{
    m_run = &run;
    Saveloadclick();
}

void SaveMenu::detach()
{
    m_run = nullptr;
    for (QAction* entry : m_load)
        entry->setEnabled(false);
    for (QAction* entry : m_save)
        entry->setEnabled(false);
}

// A slot without a title cannot be restored but can always be saved into.
void SaveMenu::Saveloadclick()
{
    if (!m_run)
        return;
    for (std::size_t i = 0; i < m_load.size(); ++i) {
        const QString title = QString::fromStdString(savedStateTitle(m_run->store, static_cast<int>(i) + 1));
        const QString caption = title.isEmpty() ? noData : title;
        m_load[i]->setText(caption);
        m_load[i]->setEnabled(!title.isEmpty());
        m_save[i]->setText(caption);
        m_save[i]->setEnabled(true);
    }
}

void SaveMenu::S2Click(int slot)
{
    if (m_run)
        saveDrivingState(*m_run, slot);
}

void SaveMenu::L1Click(int slot)
{
    if (!m_run)
        return;
    bool restored = false;
    m_holdClocks([this, slot, &restored] { restored = restoreDrivingState(*m_run, slot); });
    if (restored)
        m_window.setWindowTitle(QString::fromStdString(m_run->route.lineName));
}

}  // namespace cabdrive
