// MediaPlayer (MediaPlayer1) and its movie surface (DXDraw1): the title
// screen's opening movie with its sound, and the title sounds.
#include "shell/media_player.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "common/paths.h"
#include "platform/ffmpeg/ffmpeg_audio_decoder.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/openal/openal_stream.h"
#include "ports/frame_bitmap.h"

namespace cabdrive {
namespace {

using std::chrono::microseconds;

constexpr int blockMs = 250;   // of sound per queued block
// Two seconds of sound queued ahead: starting a run loads its data on this
// thread, and the start sound has to carry on while nothing feeds it.
constexpr int blocksAhead = 8;
constexpr int advanceIntervalMs = 10;  // well below a movie frame

}  // namespace

MovieSurface::MovieSurface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MovieSurface::showFrame(const FrameBitmap& frame)
{
    if (frame.empty())
        return;
    // The reader reuses its bitmap for the next frame: keep a copy.
    m_picture = QImage(reinterpret_cast<const uchar*>(frame.pixels), frame.width, frame.height, frame.stride,
                       QImage::Format_RGB32)
                    .copy();
    update();
}

void MovieSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), m_picture);
}

void MovieSurface::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

MediaPlayer::MediaPlayer(MovieSurface& surface, OpenAlOutput* soundCard) : m_surface(surface), m_soundCard(soundCard)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(advanceIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &MediaPlayer::advance);
}

MediaPlayer::~MediaPlayer()
{
    close();
}

void MediaPlayer::setFileName(const std::string& dataPath)
{
    m_fileName = dataPath;
}

OpenAlOutput& MediaPlayer::output()
{
    if (m_soundCard != nullptr && m_soundCard->available() && m_soundCard->connected())
        return *m_soundCard;
    if (!m_silentOutput)
        m_silentOutput = std::make_unique<OpenAlOutput>(OpenAlOutput::Device::loopback);
    return *m_silentOutput;
}

bool MediaPlayer::open()
{
    close();
    auto video = std::make_unique<FfmpegVideoReader>();
    if (video->open(m_fileName) && video->frameCount() > 0 && video->framesPerSecond() > 0)
        m_video = std::move(video);
    auto sound = std::make_unique<FfmpegAudioDecoder>();
    if (sound->open(resolveDataPath(m_fileName)))
        m_sound = std::move(sound);
    if (!m_video && !m_sound)
        return false;
    if (m_video)
        m_length = microseconds(std::llround(m_video->frameCount() / m_video->framesPerSecond() * 1e6));
    if (m_sound)
        m_length = std::max(m_length, m_sound->length());
    return true;
}

bool MediaPlayer::play()
{
    if (!m_video && !m_sound)
        return false;
    stop();
    m_stream.reset();
    // The decoder reads on from where it stands: a second play starts it again.
    if (m_sound && m_decodedSamples > 0 && !m_sound->open(resolveDataPath(m_fileName)))
        m_sound.reset();
    m_decodedSamples = 0;
    m_soundEnded = true;
    if (m_sound && output().available()) {
        m_stream = std::make_unique<OpenAlStream>(output(), m_sound->sampleRate(), m_sound->channels());
        m_soundEnded = false;
    }
    m_playing = true;
    m_shownFrame = -1;
    m_clock.start();
    feedSound();
    if (m_stream)
        m_stream->play();
    showFrameAt(microseconds(0));
    m_timer.start();
    return true;
}

void MediaPlayer::stop()
{
    m_playing = false;
    m_timer.stop();
    if (m_stream)
        m_stream->stop();
}

void MediaPlayer::close()
{
    stop();
    m_stream.reset();
    m_video.reset();
    m_sound.reset();
    m_length = microseconds(0);
    m_decodedSamples = 0;
    m_soundEnded = true;
    m_shownFrame = -1;
}

std::int32_t MediaPlayer::frameCount() const
{
    return m_video ? m_video->frameCount() : 0;
}

double MediaPlayer::framesPerSecond() const
{
    return m_video ? m_video->framesPerSecond() : 0;
}

void MediaPlayer::advance()
{
    const microseconds position(m_clock.nsecsElapsed() / 1000);
    feedSound();
    if (m_silentOutput)
        m_silentOutput->keepUp();
    showFrameAt(position);
    if (m_soundEnded && position >= m_length) {
        m_playing = false;
        m_timer.stop();
    }
}

void MediaPlayer::showFrameAt(microseconds position)
{
    if (!m_video)
        return;
    const auto due = static_cast<std::int32_t>(std::floor(position.count() / 1e6 * m_video->framesPerSecond()));
    const std::int32_t n = std::clamp(due, 0, m_video->frameCount() - 1);
    if (n == m_shownFrame)
        return;
    m_shownFrame = n;
    if (m_video->decodeFrame(n))
        m_surface.showFrame(m_video->frame());
}

void MediaPlayer::feedSound()
{
    if (m_soundEnded)
        return;
    const int channels = m_sound->channels();
    const auto blockSamples = static_cast<std::size_t>(m_sound->sampleRate()) * channels * blockMs / 1000;
    // Bounded: a device that refuses blocks must not make this decode the whole file.
    for (int queued = 0; queued < blocksAhead && m_stream->pendingBlocks() < blocksAhead; ++queued) {
        m_block.clear();
        while (m_block.size() < blockSamples && !m_soundEnded)
            m_soundEnded = !m_sound->decodeMore(m_block);
        m_decodedSamples += static_cast<std::int64_t>(m_block.size()) / channels;
        m_stream->queue(m_block);
        if (m_soundEnded)
            break;
    }
    // A file that does not state its length lasts as long as its sound.
    if (m_soundEnded)
        m_length = std::max(m_length, microseconds(m_decodedSamples * 1000000 / m_sound->sampleRate()));
}

}  // namespace cabdrive
