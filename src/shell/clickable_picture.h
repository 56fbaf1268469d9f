// ClickablePicture: a picture (or a caption) of the title window that reports
// clicks and mouse presses, like the form's image components.
#pragma once

#include <QLabel>

namespace cabdrive {

class ClickablePicture : public QLabel {
    Q_OBJECT
public:
    explicit ClickablePicture(QWidget* parent = nullptr);

    // The picture of a data path (backslashes, any letter case); false, and
    // `fallbackText` shown instead, when it cannot be read, so that the entry
    // can still be clicked. With `transparentCorner` the colour of the
    // bottom-left pixel is see-through (a pointer drawn on a plain ground).
    bool loadPicture(const std::string& dataPath, const QString& fallbackText, bool transparentCorner = false);

    // A caption in place of a picture: white bold text on a dark backing, so
    // that it reads on any picture and on the window's black.
    void showCaption(const QString& text);

Q_SIGNALS:
    void clicked();                         // the left button pressed and released on it
    void pressed(Qt::MouseButton button);   // any button pressed on it

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace cabdrive
