// CrewChangeDialog (TkotaiStop): asks at the crew-change station whether the
// driver hands over the train or keeps driving.
#pragma once

#include <QDialog>

class QPushButton;

namespace cabdrive {

class CrewChangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit CrewChangeDialog(QWidget* parent = nullptr);

    QPushButton* continueButton() const { return m_continue; }  // "運転継続", the default
    QPushButton* endButton() const { return m_end; }            // "運転終了"

    // Shows the dialog (not modal: the run goes on behind it) in front.
    void showInFront();

protected:
    // Escape answers with the cancel button, "運転終了", as Enter answers with
    // the default one.
    void keyPressEvent(QKeyEvent* event) override;

Q_SIGNALS:
    // "運転終了" was clicked: the dialog has closed; the run returns to the title.
    void endOfRunChosen();

private:
    QPushButton* m_continue = nullptr;
    QPushButton* m_end = nullptr;
};

}  // namespace cabdrive
