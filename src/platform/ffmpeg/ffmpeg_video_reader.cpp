// FfmpegVideoReader: frames by number from an AVI (or any file FFmpeg reads).
#include "platform/ffmpeg/ffmpeg_video_reader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>

#include "common/paths.h"

namespace cabdrive {

// One open file: the demuxer, the decoder and where the decoder stands.
struct FfmpegVideoReader::Decoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* pulled = nullptr;     // the frame the decoder gave last
    AVFrame* previous = nullptr;   // the frame before it, shown for a frame the file leaves empty
    AVFrame* ahead = nullptr;      // pulled beyond the frame asked for; the next one asked for may be it
    bool hasAhead = false;
    SwsContext* scaler = nullptr;
    AVRational frameDuration{0, 1};  // s per frame
    std::int64_t startTime = 0;      // stream time of frame 0
    std::int32_t count = 0;
    std::int64_t lastPulled = -1;    // number of `pulled`; -1 after a seek or at the start
    bool drained = false;            // the decoder has given its last frame

    ~Decoder()
    {
        sws_freeContext(scaler);
        av_frame_free(&ahead);
        av_frame_free(&previous);
        av_frame_free(&pulled);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    bool open(const std::string& path);
    std::int64_t numberOf(const AVFrame* frame) const;
    std::int64_t streamTimeOf(std::int64_t n) const;
    bool mustSeekFor(std::int64_t n) const;
    void seekBefore(std::int64_t n);
    bool pullNext(AVFrame* into);
    const AVFrame* frameFor(std::int64_t n);
};

bool FfmpegVideoReader::Decoder::open(const std::string& path)
{
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return false;
    if (avformat_find_stream_info(format, nullptr) < 0)
        return false;
    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (index < 0 || !decoder)
        return false;
    stream = format->streams[index];
    codec = avcodec_alloc_context3(decoder);
    if (!codec || avcodec_parameters_to_context(codec, stream->codecpar) < 0)
        return false;
    // One thread: frame threading would hold frames back and blur where the decoder stands.
    codec->thread_count = 1;
    if (avcodec_open2(codec, decoder, nullptr) < 0)
        return false;
    packet = av_packet_alloc();
    pulled = av_frame_alloc();
    previous = av_frame_alloc();
    ahead = av_frame_alloc();
    if (!packet || !pulled || !previous || !ahead)
        return false;

    AVRational rate = stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        return false;
    frameDuration = av_inv_q(rate);
    startTime = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    std::int64_t frames = stream->nb_frames;
    if (frames <= 0 && stream->duration != AV_NOPTS_VALUE)
        frames = av_rescale_q(stream->duration, stream->time_base, frameDuration);
    if (frames <= 0 && format->duration != AV_NOPTS_VALUE)
        frames = av_rescale_q(format->duration, AV_TIME_BASE_Q, frameDuration);
    count = static_cast<std::int32_t>(std::min<std::int64_t>(std::max<std::int64_t>(frames, 0), INT32_MAX));
    return count > 0;
}

std::int64_t FfmpegVideoReader::Decoder::numberOf(const AVFrame* frame) const
{
    std::int64_t time = frame->best_effort_timestamp;
    if (time == AV_NOPTS_VALUE)
        time = frame->pts;
    if (time == AV_NOPTS_VALUE)
        return lastPulled + 1;
    return av_rescale_q_rnd(time - startTime, stream->time_base, frameDuration, AV_ROUND_NEAR_INF);
}

std::int64_t FfmpegVideoReader::Decoder::streamTimeOf(std::int64_t n) const
{
    return startTime + av_rescale_q(n, frameDuration, stream->time_base);
}

// Decoding on is cheaper than seeking as long as no keyframe lies between
// the frame decoded last and the one asked for.
bool FfmpegVideoReader::Decoder::mustSeekFor(std::int64_t n) const
{
    if (lastPulled < 0 || n < lastPulled)
        return true;
    const int key = av_index_search_timestamp(stream, streamTimeOf(n), AVSEEK_FLAG_BACKWARD);
    if (key < 0)
        return false;  // no index: decoding on is all there is
    const AVIndexEntry* entry = avformat_index_get_entry(stream, key);
    return entry && av_rescale_q(entry->timestamp - startTime, stream->time_base, frameDuration) > lastPulled;
}

void FfmpegVideoReader::Decoder::seekBefore(std::int64_t n)
{
    av_seek_frame(format, stream->index, streamTimeOf(n), AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(codec);
    av_frame_unref(pulled);
    av_frame_unref(previous);
    av_frame_unref(ahead);
    hasAhead = false;
    lastPulled = -1;
    drained = false;
}

// The next frame in presentation order, or false at the end of the file.
bool FfmpegVideoReader::Decoder::pullNext(AVFrame* into)
{
    while (true) {
        const int got = avcodec_receive_frame(codec, into);
        if (got == 0)
            return true;
        if (got != AVERROR(EAGAIN) || drained)
            return false;
        const int read = av_read_frame(format, packet);
        if (read < 0) {
            drained = true;
            avcodec_send_packet(codec, nullptr);  // let the decoder give what it holds
            continue;
        }
        if (packet->stream_index == stream->index)
            avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
    }
}

// Frame n, or the frame before it when the file holds no picture for n (an
// empty AVI chunk repeats the previous picture).
const AVFrame* FfmpegVideoReader::Decoder::frameFor(std::int64_t n)
{
    if (n == lastPulled)
        return pulled;
    if (mustSeekFor(n))
        seekBefore(n);
    while (true) {
        av_frame_unref(previous);
        av_frame_move_ref(previous, pulled);
        const std::int64_t previousNumber = lastPulled;
        if (hasAhead) {
            av_frame_move_ref(pulled, ahead);
            hasAhead = false;
        } else if (!pullNext(pulled)) {
            // The end: the last picture stands for the frames after it.
            av_frame_move_ref(pulled, previous);
            lastPulled = previousNumber;
            return previousNumber >= 0 ? pulled : nullptr;
        }
        lastPulled = numberOf(pulled);
        if (lastPulled == n)
            return pulled;
        if (lastPulled > n) {
            // Overshot a frame the file leaves empty: keep this one for later.
            av_frame_move_ref(ahead, pulled);
            hasAhead = true;
            av_frame_move_ref(pulled, previous);
            lastPulled = previousNumber;
            return previousNumber >= 0 ? pulled : nullptr;
        }
    }
}

FfmpegVideoReader::FfmpegVideoReader() = default;

FfmpegVideoReader::~FfmpegVideoReader() = default;

bool FfmpegVideoReader::open(const std::string& dataPath)
{
    close();
    auto decoder = std::make_unique<Decoder>();
    if (!decoder->open(resolveDataPath(dataPath).string()))
        return false;
    m_decoder = std::move(decoder);
    return true;
}

void FfmpegVideoReader::close()
{
    m_decoder.reset();
}

bool FfmpegVideoReader::isOpen() const
{
    return m_decoder != nullptr;
}

std::int32_t FfmpegVideoReader::frameCount() const
{
    return m_decoder ? m_decoder->count : 0;
}

bool FfmpegVideoReader::decodeFrame(std::int32_t n)
{
    if (!m_decoder || n < 0 || n >= m_decoder->count)
        return false;
    const AVFrame* decoded = m_decoder->frameFor(n);
    if (!decoded || decoded->width <= 0 || decoded->height <= 0)
        return false;
    Decoder& d = *m_decoder;
    const int width = m_frameWidth > 0 ? m_frameWidth : decoded->width;
    const int height = m_frameHeight > 0 ? m_frameHeight : decoded->height;
    // The fast bilinear filter stretches a 320 x 240 frame to the view in about
    // two thirds of the time the exact one takes, and looks the same.
    d.scaler = sws_getCachedContext(d.scaler, decoded->width, decoded->height, static_cast<AVPixelFormat>(decoded->format),
                                    width, height, AV_PIX_FMT_RGB32, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
    if (!d.scaler)
        return false;
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (m_pixels.size() != size)
        m_pixels.assign(size, 0xFF000000u);
    std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(m_pixels.data()), nullptr, nullptr, nullptr};
    const int strides[4] = {width * 4, 0, 0, 0};
    sws_scale(d.scaler, decoded->data, decoded->linesize, 0, decoded->height, planes, strides);
    m_frame = FrameBitmap{width, height, width * 4, m_pixels.data(), m_frame.revision + 1};
    return true;
}

const FrameBitmap& FfmpegVideoReader::frame() const
{
    return m_frame;
}

void FfmpegVideoReader::setFrameSize(int width, int height)
{
    m_frameWidth = std::max(width, 0);
    m_frameHeight = std::max(height, 0);
}

double FfmpegVideoReader::framesPerSecond() const
{
    return m_decoder ? av_q2d(av_inv_q(m_decoder->frameDuration)) : 0;
}

int FfmpegVideoReader::videoWidth() const
{
    return m_decoder ? m_decoder->codec->width : 0;
}

int FfmpegVideoReader::videoHeight() const
{
    return m_decoder ? m_decoder->codec->height : 0;
}

}  // namespace cabdrive
