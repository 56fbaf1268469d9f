// AVI writer: MPEG-4 part 2 video and optional 16-bit PCM mono sound through FFmpeg.
#include "avi_writer.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace cabdrive::demo {
namespace {

constexpr int keyframeInterval = 30;       // frames; the player seeks from the keyframe before frame n
constexpr std::int64_t videoBitRate = 600000;  // bit/s, plenty for 320 x 240 at 30 frames/s

std::string ffmpegError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

struct AviWriter::Impl {
    std::string path;
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;
    int audioSampleRate = 0;  // Hz, 0 without sound
    AVFormatContext* format = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* converter = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    std::vector<std::int16_t> pendingAudio;  // samples not yet sent as a packet
    std::int64_t audioSamplesWritten = 0;
    int framesWritten = 0;
    bool finished = false;

    [[noreturn]] void fail(const std::string& step, int code) const
    {
        throw std::runtime_error("cannot write the video " + path + ": " + step + " (" + ffmpegError(code) + ")");
    }
    [[noreturn]] void fail(const std::string& step) const
    {
        throw std::runtime_error("cannot write the video " + path + ": " + step);
    }

    void check(int code, const char* step) const
    {
        if (code < 0)
            fail(step, code);
    }

    void open();
    void addVideoStream();
    void addAudioStream();
    void encode(const AVFrame* picture);
    void writeAudioPackets(bool flushAll);
    void release();
};

void AviWriter::Impl::open()
{
    if (width <= 0 || height <= 0 || width % 2 != 0 || height % 2 != 0)
        fail("the picture size must be positive and even, not " + std::to_string(width) + " x " + std::to_string(height));
    if (framesPerSecond <= 0)
        fail("the frame rate must be positive");
    if (audioSampleRate < 0)
        fail("the sample rate must not be negative");
    check(avformat_alloc_output_context2(&format, nullptr, "avi", path.c_str()), "choosing the AVI format");
    // No version strings or creation times, so equal input gives equal files.
    format->flags |= AVFMT_FLAG_BITEXACT;
    addVideoStream();
    if (audioSampleRate > 0)
        addAudioStream();
    check(avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE), "opening the file");
    check(avformat_write_header(format, nullptr), "writing the header");

    frame = av_frame_alloc();
    packet = av_packet_alloc();
    if (frame == nullptr || packet == nullptr)
        fail("out of memory");
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    check(av_frame_get_buffer(frame, 0), "allocating a frame");
    // AV_PIX_FMT_RGB32 is a native-endian 0xAARRGGBB word, exactly our pixels.
    converter = sws_getContext(width, height, AV_PIX_FMT_RGB32, width, height, AV_PIX_FMT_YUV420P,
                               SWS_BILINEAR | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
    if (converter == nullptr)
        fail("setting up the colour conversion");
}

void AviWriter::Impl::addVideoStream()
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (codec == nullptr)
        fail("this FFmpeg has no MPEG-4 encoder");
    videoStream = avformat_new_stream(format, nullptr);
    encoder = avcodec_alloc_context3(codec);
    if (videoStream == nullptr || encoder == nullptr)
        fail("out of memory");
    encoder->width = width;
    encoder->height = height;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->time_base = AVRational{1, framesPerSecond};
    encoder->framerate = AVRational{framesPerSecond, 1};
    encoder->gop_size = keyframeInterval;
    encoder->max_b_frames = 0;
    encoder->bit_rate = videoBitRate;
    encoder->thread_count = 1;  // one slice layout whatever the machine
    encoder->flags |= AV_CODEC_FLAG_BITEXACT;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Keyframes only on the fixed grid: a scene cut must not add one.
    check(av_opt_set_int(encoder->priv_data, "sc_threshold", 1000000000, 0), "disabling scene-cut keyframes");
    check(avcodec_open2(encoder, codec, nullptr), "opening the MPEG-4 encoder");
    check(avcodec_parameters_from_context(videoStream->codecpar, encoder), "describing the video stream");
    videoStream->time_base = encoder->time_base;
}

void AviWriter::Impl::addAudioStream()
{
    audioStream = avformat_new_stream(format, nullptr);
    if (audioStream == nullptr)
        fail("out of memory");
    AVCodecParameters* par = audioStream->codecpar;
    par->codec_type = AVMEDIA_TYPE_AUDIO;
    par->codec_id = AV_CODEC_ID_PCM_S16LE;
    par->sample_rate = audioSampleRate;
    av_channel_layout_default(&par->ch_layout, 1);
    par->bits_per_coded_sample = 16;
    par->block_align = 2;
    par->bit_rate = static_cast<std::int64_t>(audioSampleRate) * 16;
    audioStream->time_base = AVRational{1, audioSampleRate};
}

void AviWriter::Impl::encode(const AVFrame* picture)
{
    check(avcodec_send_frame(encoder, picture), "encoding a frame");
    for (;;) {
        const int result = avcodec_receive_packet(encoder, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        check(result, "encoding a frame");
        av_packet_rescale_ts(packet, encoder->time_base, videoStream->time_base);
        packet->stream_index = videoStream->index;
        check(av_interleaved_write_frame(format, packet), "writing a video packet");
    }
}

// Sound goes out in packets of one video frame's length so that the two
// streams interleave closely; the rest waits for more samples or the end.
void AviWriter::Impl::writeAudioPackets(bool flushAll)
{
    const std::size_t chunk = static_cast<std::size_t>(std::max(1, audioSampleRate / framesPerSecond));
    std::size_t offset = 0;
    while (pendingAudio.size() - offset >= chunk || (flushAll && offset < pendingAudio.size())) {
        const std::size_t count = std::min(chunk, pendingAudio.size() - offset);
        check(av_new_packet(packet, static_cast<int>(count * 2)), "writing a sound packet");
        for (std::size_t i = 0; i < count; ++i) {
            const auto sample = static_cast<std::uint16_t>(pendingAudio[offset + i]);
            packet->data[2 * i] = static_cast<std::uint8_t>(sample & 0xFF);
            packet->data[2 * i + 1] = static_cast<std::uint8_t>(sample >> 8);
        }
        packet->pts = packet->dts = audioSamplesWritten;
        packet->duration = static_cast<std::int64_t>(count);
        packet->stream_index = audioStream->index;
        packet->flags |= AV_PKT_FLAG_KEY;
        av_packet_rescale_ts(packet, AVRational{1, audioSampleRate}, audioStream->time_base);
        check(av_interleaved_write_frame(format, packet), "writing a sound packet");
        audioSamplesWritten += static_cast<std::int64_t>(count);
        offset += count;
    }
    pendingAudio.erase(pendingAudio.begin(), pendingAudio.begin() + static_cast<std::ptrdiff_t>(offset));
}

void AviWriter::Impl::release()
{
    sws_freeContext(converter);
    converter = nullptr;
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&encoder);
    if (format != nullptr) {
        if (format->pb != nullptr)
            avio_closep(&format->pb);
        avformat_free_context(format);
        format = nullptr;
    }
}

AviWriter::AviWriter(const std::string& path, int width, int height, int framesPerSecond, int audioSampleRate)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->path = path;
    m_impl->width = width;
    m_impl->height = height;
    m_impl->framesPerSecond = framesPerSecond;
    m_impl->audioSampleRate = audioSampleRate;
    try {
        m_impl->open();
    } catch (...) {
        m_impl->release();
        throw;
    }
}

AviWriter::~AviWriter()
{
    try {
        finish();
    } catch (const std::exception&) {
        // A destructor cannot report; callers who care call finish() themselves.
    }
    m_impl->release();
}

void AviWriter::addFrame(const std::uint32_t* argbPixels)
{
    Impl& d = *m_impl;
    if (d.finished)
        d.fail("a frame was added after the end");
    d.check(av_frame_make_writable(d.frame), "preparing a frame");
    const auto* source = reinterpret_cast<const std::uint8_t*>(argbPixels);
    const int sourceStride = d.width * 4;
    sws_scale(d.converter, &source, &sourceStride, 0, d.height, d.frame->data, d.frame->linesize);
    d.frame->pts = d.framesWritten;
    // Every keyframeInterval-th frame is forced intra so the grid never drifts.
    d.frame->pict_type = d.framesWritten % keyframeInterval == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    d.encode(d.frame);
    ++d.framesWritten;
}

void AviWriter::addAudio(const std::int16_t* samples, std::size_t count)
{
    Impl& d = *m_impl;
    if (d.finished)
        d.fail("sound was added after the end");
    if (d.audioStream == nullptr)
        d.fail("sound was added to a video without a sound track");
    d.pendingAudio.insert(d.pendingAudio.end(), samples, samples + count);
    d.writeAudioPackets(false);
}

void AviWriter::finish()
{
    Impl& d = *m_impl;
    if (d.finished)
        return;
    d.finished = true;
    d.encode(nullptr);
    if (d.audioStream != nullptr)
        d.writeAudioPackets(true);
    d.check(av_write_trailer(d.format), "writing the index");
    d.check(avio_closep(&d.format->pb), "closing the file");
}

int AviWriter::framesWritten() const
{
    return m_impl->framesWritten;
}

}  // namespace cabdrive::demo
