// FfmpegAudioDecoder: the sound track of a movie or a WAV file, decoded in
// blocks into interleaved signed 16-bit samples for the sound output.
#include "platform/ffmpeg/ffmpeg_audio_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/samplefmt.h>
}

namespace cabdrive {
namespace {

template <typename T>
T readSample(const std::uint8_t* base, std::size_t index)
{
    T value;
    std::memcpy(&value, base + index * sizeof(T), sizeof(T));
    return value;
}

int fromUnit(double value)  // -1 .. 1 → -32768 .. 32767, clipped
{
    return static_cast<int>(std::clamp(std::lrint(value * 32767.0), -32768L, 32767L));
}

// Sample i of channel c of a frame, on the 16-bit scale.
int sampleAt(const AVFrame& frame, AVSampleFormat packedFormat, bool planar, int channels, int c, int i)
{
    const std::uint8_t* base = planar ? frame.extended_data[c] : frame.extended_data[0];
    const std::size_t index = planar ? static_cast<std::size_t>(i) : static_cast<std::size_t>(i) * channels + c;
    switch (packedFormat) {
    case AV_SAMPLE_FMT_U8:
        return (base[index] - 128) * 256;
    case AV_SAMPLE_FMT_S16:
        return readSample<std::int16_t>(base, index);
    case AV_SAMPLE_FMT_S32:
        return readSample<std::int32_t>(base, index) >> 16;
    case AV_SAMPLE_FMT_S64:
        return static_cast<int>(readSample<std::int64_t>(base, index) >> 48);
    case AV_SAMPLE_FMT_FLT:
        return fromUnit(readSample<float>(base, index));
    case AV_SAMPLE_FMT_DBL:
        return fromUnit(readSample<double>(base, index));
    default:
        return 0;
    }
}

bool knownFormat(AVSampleFormat packedFormat)
{
    switch (packedFormat) {
    case AV_SAMPLE_FMT_U8:
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S64:
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_DBL:
        return true;
    default:
        return false;
    }
}

// The mean of channels first, first + 2, first + 4, ... of sample i (step 1: all of them).
int mixedSample(const AVFrame& frame, AVSampleFormat packedFormat, bool planar, int channels, int first, int step, int i)
{
    int sum = 0, count = 0;
    for (int c = first; c < channels; c += step, ++count)
        sum += sampleAt(frame, packedFormat, planar, channels, c, i);
    return count == 0 ? 0 : sum / count;
}

}  // namespace

bool appendAsS16(const AVFrame& frame, int outChannels, std::vector<std::int16_t>& samples)
{
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const AVSampleFormat packedFormat = av_get_packed_sample_fmt(format);
    const int channels = frame.ch_layout.nb_channels;
    if (!knownFormat(packedFormat) || channels < 1 || (outChannels != 1 && outChannels != 2))
        return false;
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    samples.reserve(samples.size() + static_cast<std::size_t>(frame.nb_samples) * outChannels);
    for (int i = 0; i < frame.nb_samples; ++i) {
        if (outChannels == 1) {
            samples.push_back(static_cast<std::int16_t>(mixedSample(frame, packedFormat, planar, channels, 0, 1, i)));
        } else {
            const int right = channels == 1 ? 0 : 1;
            const int step = channels == 1 ? 1 : 2;
            samples.push_back(static_cast<std::int16_t>(mixedSample(frame, packedFormat, planar, channels, 0, step, i)));
            samples.push_back(static_cast<std::int16_t>(mixedSample(frame, packedFormat, planar, channels, right, step, i)));
        }
    }
    return true;
}

struct FfmpegAudioDecoder::Stream {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int index = -1;
    bool draining = false;  // the file is read to its end; the codec gives back what it holds

    ~Stream()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    // Feeds the codec the stream's next packet, or the end of the stream.
    bool feed()
    {
        if (draining)
            return false;
        for (;;) {
            const int read = av_read_frame(format, packet);
            if (read < 0) {
                draining = true;
                return avcodec_send_packet(codec, nullptr) == 0;
            }
            const bool ours = packet->stream_index == index;
            const int sent = ours ? avcodec_send_packet(codec, packet) : 0;
            av_packet_unref(packet);
            // A damaged packet is skipped; the codec resynchronises on the next one.
            if (ours && (sent == 0 || sent == AVERROR_INVALIDDATA))
                return true;
            if (ours)
                return false;
        }
    }
};

FfmpegAudioDecoder::FfmpegAudioDecoder() = default;
FfmpegAudioDecoder::~FfmpegAudioDecoder() = default;

bool FfmpegAudioDecoder::open(const std::filesystem::path& file)
{
    close();
    auto s = std::make_unique<Stream>();
    if (avformat_open_input(&s->format, file.c_str(), nullptr, nullptr) != 0 ||
        avformat_find_stream_info(s->format, nullptr) < 0)
        return false;
    const AVCodec* decoder = nullptr;
    s->index = av_find_best_stream(s->format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (s->index < 0 || decoder == nullptr)
        return false;
    s->codec = avcodec_alloc_context3(decoder);
    if (s->codec == nullptr ||
        avcodec_parameters_to_context(s->codec, s->format->streams[s->index]->codecpar) < 0)
        return false;
    s->codec->request_sample_fmt = AV_SAMPLE_FMT_S16;  // a wish: codecs that can, skip the conversion
    if (avcodec_open2(s->codec, decoder, nullptr) != 0 || s->codec->sample_rate <= 0 ||
        s->codec->ch_layout.nb_channels < 1)
        return false;
    s->packet = av_packet_alloc();
    s->frame = av_frame_alloc();
    if (s->packet == nullptr || s->frame == nullptr)
        return false;
    m_stream = std::move(s);
    return true;
}

void FfmpegAudioDecoder::close()
{
    m_stream.reset();
}

bool FfmpegAudioDecoder::isOpen() const
{
    return m_stream != nullptr;
}

int FfmpegAudioDecoder::sampleRate() const
{
    return m_stream ? m_stream->codec->sample_rate : 0;
}

int FfmpegAudioDecoder::channels() const
{
    return m_stream ? std::min(m_stream->codec->ch_layout.nb_channels, 2) : 0;
}

std::chrono::microseconds FfmpegAudioDecoder::length() const
{
    if (!m_stream)
        return {};
    const AVStream* stream = m_stream->format->streams[m_stream->index];
    if (stream->duration != AV_NOPTS_VALUE)
        return std::chrono::microseconds(av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000000}));
    if (m_stream->format->duration != AV_NOPTS_VALUE)
        return std::chrono::microseconds(av_rescale(m_stream->format->duration, 1000000, AV_TIME_BASE));
    return {};
}

bool FfmpegAudioDecoder::decodeMore(std::vector<std::int16_t>& samples)
{
    if (!m_stream)
        return false;
    for (;;) {
        const int received = avcodec_receive_frame(m_stream->codec, m_stream->frame);
        if (received == 0) {
            const bool converted = appendAsS16(*m_stream->frame, channels(), samples);
            av_frame_unref(m_stream->frame);
            return converted;
        }
        if (received != AVERROR(EAGAIN) || !m_stream->feed())
            return false;
    }
}

}  // namespace cabdrive
