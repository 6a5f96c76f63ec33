#include "DecodedInput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace tonvera {

namespace {

std::string avText(int err)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return text;
}

// The demuxer reads through the caller's descriptor: no path text ever reaches FFmpeg's URL
// handling, and a demuxer that refers to other files (playlists) has nothing to open them with.
int readPacket(void *opaque, std::uint8_t *buf, int size)
{
    const int fd = *static_cast<int *>(opaque);
    for (;;) {
        const ssize_t n = ::read(fd, buf, static_cast<std::size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return AVERROR(errno);
        return n == 0 ? AVERROR_EOF : static_cast<int>(n);
    }
}

std::int64_t seekInput(void *opaque, std::int64_t offset, int whence)
{
    const int fd = *static_cast<int *>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat st;
        return ::fstat(fd, &st) == 0 ? st.st_size : AVERROR(errno);
    }
    const off_t at = ::lseek(fd, offset, whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : at;
}

constexpr std::uint64_t toTheEnd = std::numeric_limits<std::uint64_t>::max();

} // namespace

struct DecodedInput::Impl
{
    int fd;
    std::string name;
    AVIOContext *io = nullptr;
    AVFormatContext *format = nullptr;
    AVCodecContext *codec = nullptr;
    AVPacket *packet = nullptr;
    AVFrame *frame = nullptr;
    int stream = -1;
    bool flushed = false;
    bool pending = false; // `frame` holds samples not handed out yet

    std::uint64_t first = 0; // section, in frames of the decoded stream
    std::uint64_t end = toTheEnd;
    std::uint64_t frameStart = 0; // position of the frame in `frame`
    std::uint64_t decoded = 0; // frames decoded so far

    ~Impl()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }

    [[noreturn]] void fail(const std::string &what) const
    {
        throw std::runtime_error("input \"" + name + "\": " + what);
    }

    void open();
    bool decodeFrame();
    bool nextFrameInSection();
};

void DecodedInput::Impl::open()
{
    // FFmpeg's reader assumes it starts at the beginning of the file.
    if (::lseek(fd, 0, SEEK_SET) != 0)
        fail(std::string("cannot be read (") + std::strerror(errno) + ")");
    constexpr int ioBufferSize = 1 << 16;
    auto *buffer = static_cast<unsigned char *>(av_malloc(ioBufferSize));
    if (!buffer)
        throw std::bad_alloc();
    io = avio_alloc_context(buffer, ioBufferSize, 0, &fd, &readPacket, nullptr, &seekInput);
    if (!io) {
        av_free(buffer);
        throw std::bad_alloc();
    }
    format = avformat_alloc_context();
    if (!format)
        throw std::bad_alloc();
    format->pb = io;
    // Only the containers the program hands over; MP3 goes through its own decoder first.
    AVDictionary *options = nullptr;
    av_dict_set(&options, "format_whitelist", "wav,asf", 0);
    const int err = avformat_open_input(&format, nullptr, nullptr, &options);
    av_dict_free(&options);
    if (err < 0) // the context is freed on failure
        fail("not a WAV or WMA file that can be read");
    if (avformat_find_stream_info(format, nullptr) < 0)
        fail("not a WAV or WMA file that can be read");

    stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0)
        fail("holds no audio");
    const AVCodecParameters *par = format->streams[stream]->codecpar;
    const AVCodec *decoder = avcodec_find_decoder(par->codec_id);
    if (!decoder)
        fail(std::string("its audio (") + avcodec_get_name(par->codec_id) + ") cannot be decoded");
    codec = avcodec_alloc_context3(decoder);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (!codec || !packet || !frame)
        throw std::bad_alloc();
    int e = avcodec_parameters_to_context(codec, par);
    if (e >= 0)
        e = avcodec_open2(codec, decoder, nullptr);
    if (e < 0)
        fail("its audio cannot be decoded (" + avText(e) + ")");
    if (codec->sample_rate < 1000 || codec->sample_rate > 384000)
        fail("unusable sample rate (" + std::to_string(codec->sample_rate) + " Hz)");
}

// The next decoded frame into `frame`; false at the end of the stream. Damaged packets are
// passed over, as a player would, so one bad packet does not cost the whole file.
bool DecodedInput::Impl::decodeFrame()
{
    for (;;) {
        int err = avcodec_receive_frame(codec, frame);
        if (err == 0) {
            frameStart = decoded;
            decoded += static_cast<std::uint64_t>(frame->nb_samples);
            return true;
        }
        if (err == AVERROR_EOF)
            return false;
        if (err != AVERROR(EAGAIN) && err != AVERROR_INVALIDDATA)
            fail("cannot be decoded (" + avText(err) + ")");
        if (flushed)
            return false;
        for (;;) {
            err = av_read_frame(format, packet);
            if (err == AVERROR_EOF) {
                flushed = true;
                err = avcodec_send_packet(codec, nullptr);
                break;
            }
            if (err < 0)
                fail("cannot be read (" + avText(err) + ")");
            if (packet->stream_index == stream) {
                err = avcodec_send_packet(codec, packet);
                av_packet_unref(packet);
                break;
            }
            av_packet_unref(packet);
        }
        if (err < 0 && err != AVERROR_INVALIDDATA && err != AVERROR_EOF)
            fail("cannot be decoded (" + avText(err) + ")");
    }
}

// Decodes on to the first frame that reaches into the section; false when there is none.
bool DecodedInput::Impl::nextFrameInSection()
{
    while (decoded < end) {
        if (!decodeFrame())
            return false;
        if (decoded > first && frame->nb_samples > 0)
            return true;
    }
    return false;
}

DecodedInput::DecodedInput(
    int fd, const std::string &name, const std::optional<EncoderSection> &section)
    : d(std::make_unique<Impl>())
{
    d->fd = fd;
    d->name = name;
    d->open();

    const auto rate = static_cast<std::uint64_t>(d->codec->sample_rate);
    if (section) {
        d->first = section->startMs * rate / 1000;
        if (section->endMs > section->startMs)
            d->end = section->endMs * rate / 1000;
    }
    if (!d->nextFrameInSection()) {
        if (d->decoded == 0)
            throw std::runtime_error("input \"" + name + "\" holds no samples");
        throw std::runtime_error("the section starts at " + std::to_string(section->startMs)
            + " ms, after the end of the input (" + std::to_string(d->decoded * 1000 / rate)
            + " ms)");
    }
    d->pending = true;
    channels = d->frame->ch_layout.nb_channels;
    sampleRate = d->frame->sample_rate;
    sampleFormat = static_cast<AVSampleFormat>(d->frame->format);
    if (channels < 1 || static_cast<std::uint64_t>(sampleRate) != rate)
        d->fail("inconsistent audio format");
    if (channels > 8)
        d->fail("has " + std::to_string(channels) + " channels; 1 to 8 can be encoded");

    const AVStream *stream = d->format->streams[d->stream];
    std::int64_t total = -1;
    if (stream->duration != AV_NOPTS_VALUE)
        total = av_rescale_q(stream->duration, stream->time_base, AVRational {1, sampleRate});
    else if (d->format->duration != AV_NOPTS_VALUE)
        total = av_rescale(d->format->duration, sampleRate, AV_TIME_BASE);
    if (total > 0) {
        const std::uint64_t last = std::min(d->end, static_cast<std::uint64_t>(total));
        expectedFrames = last > d->first ? last - d->first : 0;
    }
}

DecodedInput::~DecodedInput() = default;

int DecodedInput::next(std::vector<const std::uint8_t *> &planes)
{
    if (!d->pending && !d->nextFrameInSection())
        return 0;
    d->pending = false;
    const AVFrame *f = d->frame;
    if (f->format != sampleFormat || f->sample_rate != sampleRate
        || f->ch_layout.nb_channels != channels)
        d->fail("changes its audio format midway");
    const std::uint64_t from = std::max(d->first, d->frameStart);
    const std::uint64_t to = std::min(d->end, d->decoded);
    const auto skip = static_cast<std::size_t>(from - d->frameStart);
    const int bytes = av_get_bytes_per_sample(sampleFormat);
    const bool planar = av_sample_fmt_is_planar(sampleFormat);
    planes.resize(planar ? static_cast<std::size_t>(channels) : 1);
    for (std::size_t i = 0; i < planes.size(); ++i)
        planes[i] = f->extended_data[i]
            + skip * static_cast<std::size_t>(bytes)
                * (planar ? 1 : static_cast<std::size_t>(channels));
    return static_cast<int>(to - from);
}

} // namespace tonvera
