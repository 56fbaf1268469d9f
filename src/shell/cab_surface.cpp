// CabSurface: the drawing surface `untendai` and its render loop.
#include "shell/cab_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cassert>
#include <cmath>

#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "state/run.h"
#include "view/render_pass.h"

namespace cabdrive {
namespace {

constexpr double fallbackRefreshRate = 60;  // Hz, when the screen does not say
// A pass less than this long after the previous one waits: the loop never
// runs faster than about 66 passes a second, whatever the display.
constexpr int shortestPassInterval = 15;  // ms

int passInterval(const QScreen* screen)
{
    const double refresh = screen && screen->refreshRate() > 1 ? screen->refreshRate() : fallbackRefreshRate;
    return std::max(shortestPassInterval, static_cast<int>(1000 / refresh));
}

}  // namespace

CabSurface::CabSurface(QWidget* parent) : QWidget(parent), m_renderer(designWidth, designHeight)
{
    setObjectName(QStringLiteral("untendai"));
    resize(designWidth, designHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The timer only queues a pass: input, the simulation's clock and the
    // window's own events keep their turn between passes.
    m_idleTimer.setTimerType(Qt::PreciseTimer);
    m_idleTimer.setInterval(passInterval(nullptr));
    connect(&m_idleTimer, &QTimer::timeout, this, &CabSurface::AppIdle);
    m_clock.start();
}

void CabSurface::attach(Run& run, FfmpegVideoReader& video)
{
    assert(&run.video == static_cast<VideoReader*>(&video) && "the run must decode through the reader whose frame is drawn");
    m_run = &run;
    m_video = &video;
    // Frames come at the view's size, stretched while they are converted.
    video.setFrameSize(run.settings.viewWidth, run.settings.viewHeight);
    forgetShownView();
    m_idleTimer.start();
}

void CabSurface::detach()
{
    m_idleTimer.stop();
    m_run = nullptr;
    m_video = nullptr;
    m_tickRunning = false;
    forgetShownView();
}

void CabSurface::setTickRunning(bool running)
{
    m_tickRunning = running;
    forgetShownView();
}

void CabSurface::showStill(const Picture& picture)
{
    if (!m_run)
        return;
    m_renderer.composeStill(m_run->scene, picture);
    forgetShownView();
    update();
}

// The picture is composed and shown again only when something in it changed:
// a new video frame, a sprite, a needle, a text, the clock; or while the
// closing fade darkens it pass by pass.
void CabSurface::AppIdle()
{
    if (!m_run || !m_video || !m_tickRunning)
        return;
    measurePassRate();
    if (!beginRenderPass(*m_run))
        return;
    const FadeStep fade = advanceFade(*m_run);
    ViewSnapshot view = snapshotView(*m_run, m_video->frame().revision, m_renderer.messageWidth());
    if (fade.alpha == 0 && m_shown == view)
        return;
    m_renderer.compose(*m_run, m_video->frame());
    ++m_compositions;
    if (fade.alpha > 0) {
        m_renderer.fade(m_run->settings.viewWidth, m_run->settings.viewHeight + m_run->settings.lowerHeight, fade.alpha);
        forgetShownView();
    } else {
        m_shown = std::move(view);
    }
    update();
    if (fade.closeWindow)
        Q_EMIT fadeClosed();
}

void CabSurface::measurePassRate()
{
    const qint64 now = m_clock.elapsed();
    if (now > m_lastIdleTime)
        m_measuredFps = static_cast<int>(std::lround(1000.0 / static_cast<double>(now - m_lastIdleTime)));
    m_lastIdleTime = now;
}

// The cab picture fills the surface, which its window keeps at the picture's
// aspect; at the design size it is copied as it is.
void CabSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& back = m_renderer.backBuffer();
    if (size() == back.size()) {
        painter.drawImage(0, 0, back);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(rect(), back);
}

QPoint CabSurface::cabPoint(const QPointF& surfacePoint) const
{
    const QSize shown = size().expandedTo(QSize(1, 1));
    return {static_cast<int>(std::floor(surfacePoint.x() * designWidth / shown.width())),
            static_cast<int>(std::floor(surfacePoint.y() * designHeight / shown.height()))};
}

void CabSurface::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT clicked(cabPoint(event->position()));
}

void CabSurface::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_idleTimer.setInterval(passInterval(screen()));
}

}  // namespace cabdrive
