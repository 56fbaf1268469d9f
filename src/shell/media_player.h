// MediaPlayer (MediaPlayer1) and its movie surface (DXDraw1): the title
// screen's opening movie with its sound, and the title sounds.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include "platform/openal/openal_output.h"

namespace cabdrive {

class FfmpegAudioDecoder;
class FfmpegVideoReader;
class OpenAlStream;
struct FrameBitmap;

// Shows the movie's current frame, scaled to the surface.
class MovieSurface : public QWidget {
    Q_OBJECT
public:
    explicit MovieSurface(QWidget* parent = nullptr);

    void showFrame(const FrameBitmap& frame);
    const QImage& picture() const { return m_picture; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
};

// Plays one file at a time: a movie (AVI: its frames on the surface at the
// movie's own frame rate, its sound track through the sound output) or a sound
// (WAV). Without a sound card it plays silently, in real time all the same.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    // soundCard: the program's, which the runs share; it must outlive the
    // player. Without one that is open the player mixes into a loopback
    // device of its own, heard by no one.
    explicit MediaPlayer(MovieSurface& surface, OpenAlOutput* soundCard = nullptr);
    ~MediaPlayer() override;

    // FileName: a data path (backslashes, any letter case). It stays set when
    // the file cannot be opened; empty until one is given.
    void setFileName(const std::string& dataPath);
    const std::string& fileName() const { return m_fileName; }

    // Open: false (nothing open) when the file holds neither pictures nor
    // sound that can be decoded.
    bool open();
    // Play from the start; false when nothing is open.
    bool play();
    bool isPlaying() const { return m_playing; }
    void stop();
    void close();

    // What is open: 0 frames and no frame rate for a sound.
    std::int32_t frameCount() const;
    double framesPerSecond() const;
    std::chrono::microseconds length() const { return m_length; }
    std::int32_t shownFrame() const { return m_shownFrame; }  // -1 before the first

private:
    void advance();
    void showFrameAt(std::chrono::microseconds position);
    void feedSound();
    OpenAlOutput& output();

    MovieSurface& m_surface;
    OpenAlOutput* m_soundCard;
    std::unique_ptr<OpenAlOutput> m_silentOutput;  // opened with the first sound that has no card, then kept
    std::string m_fileName;
    std::unique_ptr<FfmpegVideoReader> m_video;  // null while no movie is open
    std::unique_ptr<FfmpegAudioDecoder> m_sound;  // null while nothing with sound is open
    std::unique_ptr<OpenAlStream> m_stream;
    std::vector<std::int16_t> m_block;
    std::chrono::microseconds m_length{0};  // of the open file
    std::int64_t m_decodedSamples = 0;      // per channel, since the start
    bool m_soundEnded = false;
    bool m_playing = false;
    std::int32_t m_shownFrame = -1;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

}  // namespace cabdrive
