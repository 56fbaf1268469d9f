// MessageBoxes: the program's message boxes, behind a seam so that tests read
// them instead of clicking them away.
#pragma once

#include <iostream>

#include <QMessageBox>
#include <QString>

namespace cabdrive {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the text and returns once the user has closed the box.
    virtual void show(QWidget* parent, const QString& text) = 0;
};

// Each text also goes to standard error, for a user who started the program
// from a terminal (and for one whose box is hidden behind another window).
class QtMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget* parent, const QString& text) override
    {
        std::cerr << "cabdrive: " << text.toStdString() << std::endl;
        QMessageBox::information(parent, QStringLiteral("鉄道運転シミュレータ"), text);
    }
};

}  // namespace cabdrive
