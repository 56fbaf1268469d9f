// CabSurface: the drawing surface `untendai` of the main window, which runs
// the render loop AppIdle and shows the composed cab view, scaled to the
// surface's size.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <optional>

#include "platform/qt/scene_renderer.h"
#include "view/view_snapshot.h"

namespace cabdrive {

struct Picture;
struct Run;
class FfmpegVideoReader;

class CabSurface : public QWidget {
    Q_OBJECT

public:
    static constexpr int designWidth = 800;   // px
    static constexpr int designHeight = 760;  // px

    explicit CabSurface(QWidget* parent = nullptr);

    // The run whose view is drawn and the reader holding its video frame; both
    // must outlive the surface or be detached first. Passes start at once but
    // draw nothing until the tick runs.
    void attach(Run& run, FfmpegVideoReader& video);
    void detach();

    // Whether the 100 ms tick is running: nothing is drawn before the start,
    // while paused or after the end.
    void setTickRunning(bool running);
    bool tickRunning() const { return m_tickRunning; }

    // Before the start (the window's activation): the sprites with the
    // picture over them at (0, 0).
    void showStill(const Picture& picture);

    // One pass of the render loop; the idle timer calls it, tests may too. A
    // pass whose view is the one shown already composes and repaints nothing.
    void AppIdle();

    int measuredFps() const { return m_measuredFps; }  // passes per second
    int compositions() const { return m_compositions; }  // passes that composed a new picture
    const QImage& backBuffer() const { return m_renderer.backBuffer(); }

    // A point of the surface in cab pixels (the design's 800 x 760), however
    // large the surface is shown.
    QPoint cabPoint(const QPointF& surfacePoint) const;

Q_SIGNALS:
    // The closing fade has ended: the main window closes now.
    void fadeClosed();
    // A click on the view, at cab pixels (movieclick: resumes a paused run).
    void clicked(QPoint cabPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void measurePassRate();

    void forgetShownView() { m_shown.reset(); }

    SceneRenderer m_renderer;
    std::optional<ViewSnapshot> m_shown;  // what the last composed picture shows
    int m_compositions = 0;
    QTimer m_idleTimer;
    QElapsedTimer m_clock;
    qint64 m_lastIdleTime = 0;  // ms of m_clock at the previous pass
    int m_measuredFps = 0;
    Run* m_run = nullptr;
    FfmpegVideoReader* m_video = nullptr;
    bool m_tickRunning = false;
};

}  // namespace cabdrive
