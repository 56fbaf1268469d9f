// CabSurface: the drawing surface `untendai` and its render loop.
#include "shell/cab_surface.h"

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
    setFixedSize(designWidth, designHeight);
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
    m_idleTimer.start();
}

void CabSurface::detach()
{
    m_idleTimer.stop();
    m_run = nullptr;
    m_video = nullptr;
    m_tickRunning = false;
}

void CabSurface::setTickRunning(bool running)
{
    m_tickRunning = running;
}

void CabSurface::showStill(const Picture& picture)
{
    if (!m_run)
        return;
    m_renderer.composeStill(m_run->scene, picture);
    update();
}

void CabSurface::AppIdle()
{
    if (!m_run || !m_video || !m_tickRunning)
        return;
    measurePassRate();
    if (!beginRenderPass(*m_run))
        return;
    m_renderer.compose(*m_run, m_video->frame());
    const FadeStep fade = advanceFade(*m_run);
    if (fade.alpha > 0)
        m_renderer.fade(m_run->settings.viewWidth, m_run->settings.viewHeight + m_run->settings.lowerHeight, fade.alpha);
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

void CabSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& back = m_renderer.backBuffer();
    const QPoint corner((width() - back.width()) / 2, (height() - back.height()) / 2);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(corner, back);
}

void CabSurface::mousePressEvent(QMouseEvent*)
{
    Q_EMIT clicked();
}

void CabSurface::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_idleTimer.setInterval(passInterval(screen()));
}

}  // namespace cabdrive
