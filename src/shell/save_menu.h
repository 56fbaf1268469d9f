// The Save menu (SaveS1): "運転状態を復元(&L)" restores the driving state of
// one of the three slots (Load1 .. Load3), "運転状態を保存(&S)" saves into one
// (Save1 .. Save3).
#pragma once

#include <array>
#include <functional>

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace cabdrive {

struct Run;

class SaveMenu : public QObject {
    Q_OBJECT
public:
    // Runs the restore with the run's clocks stopped.
    using ClockHold = std::function<void(const std::function<void()>& restore)>;

    // Fills `menu` with the two submenus; the caption goes to `window`.
    SaveMenu(QMenu& menu, QWidget& window, ClockHold holdClocks);

    void attach(Run& run);
    void detach();

    // Menu commands, by the names of their events.
    void Saveloadclick();  // the menu opens: the captions from the stored titles
    void S2Click(int slot);
    void L1Click(int slot);

private:
    QWidget& m_window;
    ClockHold m_holdClocks;
    std::array<QAction*, 3> m_load{};  // Load1 .. Load3
    std::array<QAction*, 3> m_save{};  // Save1 .. Save3
    Run* m_run = nullptr;
};

}  // namespace cabdrive
