// ValueDisplayWindow (TForm3): the tool window "Value Display" that F3 shows
// and hides: the run's inner values, the sound channels that play, and three
// test buttons. The main window refreshes it after every tick while it is shown.
#pragma once

#include <array>
#include <functional>
#include <map>

#include <QWidget>

class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace cabdrive {

struct Run;
struct ValueDisplayTexts;

class ValueDisplayWindow : public QWidget {
    Q_OBJECT
public:
    explicit ValueDisplayWindow(QWidget* parent = nullptr);

    // Binds the window to a run: its keys are passed on to `mainWindow`, and
    // `drawingRate` tells the render loop's passes per second. detach()
    // unbinds it (the run's window closes) and hides it.
    void attach(Run& run, QWidget& mainWindow, std::function<int()> drawingRate);
    void detach();

    // Shown if hidden, hidden if shown (F3).
    void toggle();
    // The tick's refresh: every value field and the sound grid. Nothing
    // happens while the window is hidden.
    void refresh();

    // The value field of a label name ("Label1", "signal1", ...); null for none.
    QLabel* field(const QString& name) const;
    QTableWidget* soundGrid() const { return m_grid; }
    QPushButton* button(int n) const { return m_buttons.at(static_cast<std::size_t>(n - 1)); }
    QLineEdit* frameEdit() const { return m_edit; }
    QString statusText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSpeedsAndForces();
    QWidget* buildAir();
    QWidget* buildProtectionAndSignals();
    QWidget* buildVideoAndSound();
    // A titled value in column 0 or 1 of the grid's row; column -1 gives the
    // value the rest of the row, an empty title the whole row.
    QLabel* addField(QGridLayout& grid, int row, int column, const QString& title, const QString& name);
    void setField(const char* name, const std::string& text);
    void showTexts(const ValueDisplayTexts& texts);
    void paintGrid();
    void reloadSpeedUnitsClicked();
    void jumpClicked();
    void resistanceClicked();
    void forwardKey(const QKeyEvent& event);

    Run* m_run = nullptr;
    QWidget* m_mainWindow = nullptr;
    std::function<int()> m_drawingRate;
    std::map<QString, QLabel*> m_fields;
    std::array<QLabel*, 5> m_signalTitles{};
    std::array<QProgressBar*, 3> m_bars{};
    QTableWidget* m_grid = nullptr;
    QLineEdit* m_edit = nullptr;
    QLabel* m_status = nullptr;
    std::array<QPushButton*, 3> m_buttons{};
};

}  // namespace cabdrive
