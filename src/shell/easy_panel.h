// EasyPanel: the small tool window "かんたん運転台" whose buttons drive the
// train through the main window's character keys.
#pragma once

#include <array>

#include <QWidget>

#include "input/driver_keys.h"

class QFrame;
class QKeyEvent;
class QPushButton;
class QStatusBar;

namespace cabdrive {

struct Run;

class EasyPanel : public QWidget {
    Q_OBJECT
public:
    explicit EasyPanel(QWidget* parent = nullptr);

    // Binds the panel to a run: its buttons post characters to `mainWindow`
    // and its key events are passed on there. detach() unbinds it (the run's
    // window closes); an unbound panel's buttons do nothing.
    void attach(const Run& run, QWidget& mainWindow);
    void detach();

    // Colours the notch shapes from the run's handles and sets the status
    // bar's door text; the 100 ms tick calls it.
    void refresh();

    QPushButton* button(EasyPanelButton which) const;
    // KN, KP1..KP5, KB1..KB8: the shapes' current colours.
    IndicatorColour neutralShape() const { return m_shown.neutral; }
    IndicatorColour powerShape(int notch) const { return m_shown.power.at(notch - 1); }
    IndicatorColour brakeShape(int notch) const { return m_shown.brake.at(notch - 1); }
    QFrame* brakeShapeWidget(int notch) const { return m_brakeShapes.at(notch - 1); }
    QString statusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QPushButton* addButton(EasyPanelButton which, const QString& caption, int top);
    QFrame* addShape(const QString& name, int top);
    void addLabel(const QString& text, int left, int top);
    void press(EasyPanelButton which);
    void forwardKey(const QKeyEvent& event);

    const Run* m_run = nullptr;
    QWidget* m_mainWindow = nullptr;
    std::array<QPushButton*, 7> m_buttons{};
    QFrame* m_neutralShape = nullptr;
    std::array<QFrame*, 5> m_powerShapes{};
    std::array<QFrame*, 8> m_brakeShapes{};
    QStatusBar* m_statusBar = nullptr;
    EasyPanelIndicators m_shown;
};

}  // namespace cabdrive
