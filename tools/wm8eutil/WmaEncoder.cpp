#include "WmaEncoder.h"

#include "FrontCover.h"

#include "DecodedInput.h"
#include "EncoderProfiles.h"
#include "TempOutputFile.h"
#include "WavHeaderReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace tonvera {

namespace {

[[noreturn]] void failAv(const std::string &what, int err)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    throw std::runtime_error(what + ": " + text);
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

struct CodecContextDeleter
{
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameDeleter
{
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketDeleter
{
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct SwrDeleter
{
    void operator()(SwrContext *s) const { swr_free(&s); }
};
struct FormatDeleter
{
    void operator()(AVFormatContext *f) const { avformat_free_context(f); }
};
struct IoDeleter
{
    void operator()(AVIOContext *io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};

// The muxer writes through our own descriptor: no protocol name or path text from the
// configuration ever reaches FFmpeg's URL handling, so the output can only go to one file.
struct FdSink
{
    int fd;
    int error = 0;

    static int write(void *opaque, std::uint8_t *buf, int size)
    {
        auto *sink = static_cast<FdSink *>(opaque);
        int left = size;
        while (left > 0) {
            const ssize_t n = ::write(sink->fd, buf, static_cast<std::size_t>(left));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                sink->error = errno;
                return AVERROR(errno);
            }
            buf += n;
            left -= static_cast<int>(n);
        }
        return size;
    }

    static std::int64_t seek(void *opaque, std::int64_t offset, int whence)
    {
        auto *sink = static_cast<FdSink *>(opaque);
        if (whence & AVSEEK_SIZE) {
            struct stat st;
            return ::fstat(sink->fd, &st) == 0 ? st.st_size : AVERROR(errno);
        }
        const off_t at = ::lseek(sink->fd, offset, whence & ~AVSEEK_FORCE);
        return at < 0 ? AVERROR(errno) : at;
    }
};

std::size_t readFully(int fd, unsigned char *buf, std::size_t n)
{
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, buf + got, n - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            throw std::runtime_error(std::string("cannot read the input: ") + std::strerror(errno));
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}

// 16-bit PCM WAV read straight from the file: the common case needs no decoder in between.
class PcmWavInput : public EncoderInput
{
public:
    PcmWavInput(int fd, const std::string &name, const WavFormat &wav, std::uint64_t frames)
        : m_fd(fd)
        , m_name(name)
        , m_blockAlign(static_cast<std::size_t>(wav.blockAlign()))
        , m_left(frames)
        , m_buffer(chunkFrames * m_blockAlign)
    {
        channels = wav.channels;
        sampleRate = wav.sampleRate;
        sampleFormat = AV_SAMPLE_FMT_S16;
        expectedFrames = frames;
    }

    int next(std::vector<const std::uint8_t *> &planes) override
    {
        if (m_left == 0)
            return 0;
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(chunkFrames, m_left));
        const std::size_t bytes = readFully(m_fd, m_buffer.data(), want * m_blockAlign);
        const std::size_t frames = bytes / m_blockAlign;
        if (frames == 0)
            throw std::runtime_error("the input \"" + m_name + "\" ended early");
        m_left -= frames;
        planes.assign(1, m_buffer.data());
        return static_cast<int>(frames);
    }

private:
    static constexpr std::size_t chunkFrames = 1 << 16;
    int m_fd;
    const std::string &m_name;
    std::size_t m_blockAlign;
    std::uint64_t m_left;
    std::vector<unsigned char> m_buffer;
};

class Encoder
{
public:
    Encoder(const EncoderConfig &config, const WmaEncoder::Progress &progress)
        : m_config(config)
        , m_progress(progress)
    {
    }

    void run();

private:
    void openInput();
    void openOutput();
    void feed(const std::uint8_t **in, int frames);
    void sendFrame(AVFrame *frame);
    void drainPackets();

    const EncoderConfig &m_config;
    const WmaEncoder::Progress &m_progress;
    const EncoderProfile *m_profile = nullptr;

    std::unique_ptr<FileDescriptor> m_file;
    std::unique_ptr<EncoderInput> m_input;

    std::unique_ptr<TempOutputFile> m_output;
    FdSink m_sink {-1};
    std::unique_ptr<AVCodecContext, CodecContextDeleter> m_codec;
    std::unique_ptr<AVFormatContext, FormatDeleter> m_format;
    std::unique_ptr<AVIOContext, IoDeleter> m_io;
    std::unique_ptr<SwrContext, SwrDeleter> m_swr;
    std::unique_ptr<AVFrame, FrameDeleter> m_frame;
    std::unique_ptr<AVPacket, PacketDeleter> m_packet;
    AVStream *m_stream = nullptr;
    int m_filled = 0; // samples already in m_frame
    std::vector<float> m_scratch[2];
    std::size_t m_scratchFrames = 0;
    std::int64_t m_pts = 0;
};

void Encoder::openInput()
{
    // Non-blocking, so that a named pipe is refused below instead of waiting for a writer.
    const int fd = ::open(m_config.input.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw std::runtime_error(
            "cannot open the input \"" + m_config.input + "\": " + std::strerror(errno));
    m_file = std::make_unique<FileDescriptor>(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw std::runtime_error("the input \"" + m_config.input + "\" is not a file");
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    // Encoding onto the input would destroy it before it is read.
    struct stat out;
    if (::stat(m_config.output.c_str(), &out) == 0 && out.st_dev == st.st_dev
        && out.st_ino == st.st_ino)
        throw std::runtime_error("the output \"" + m_config.output + "\" is the input itself");

    WavFormat wav;
    try {
        wav = WavHeaderReader::read(
            [fd](std::uint64_t offset, unsigned char *buf, std::size_t n) -> std::size_t {
                const ssize_t r = ::pread(fd, buf, n, static_cast<off_t>(offset));
                return r < 0 ? 0 : static_cast<std::size_t>(r);
            },
            static_cast<std::uint64_t>(st.st_size));
    } catch (const WavError &) {
        // Any other WAV layout, and WMA, goes through FFmpeg's decoders.
        m_input = std::make_unique<DecodedInput>(fd, m_config.input, m_config.section);
        return;
    }
    if (wav.frameCount == 0)
        throw std::runtime_error("input \"" + m_config.input + "\" holds no samples");

    std::uint64_t firstFrame = 0;
    std::uint64_t endFrame = wav.frameCount;
    if (m_config.section) {
        const auto rate = static_cast<std::uint64_t>(wav.sampleRate);
        const EncoderSection s = *m_config.section;
        firstFrame = s.startMs * rate / 1000;
        if (firstFrame >= wav.frameCount)
            throw std::runtime_error("the section starts at " + std::to_string(s.startMs)
                + " ms, after the end of the input (" + std::to_string(wav.frameCount * 1000 / rate)
                + " ms)");
        if (s.endMs > s.startMs)
            endFrame = std::min<std::uint64_t>(wav.frameCount, s.endMs * rate / 1000);
    }
    const off_t start = static_cast<off_t>(wav.dataOffset + firstFrame * wav.blockAlign());
    if (::lseek(fd, start, SEEK_SET) != start)
        throw std::runtime_error(std::string("cannot read the input: ") + std::strerror(errno));
    m_input = std::make_unique<PcmWavInput>(fd, m_config.input, wav, endFrame - firstFrame);
}

void Encoder::openOutput()
{
    const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!codec)
        throw std::runtime_error("this FFmpeg has no WMA v2 encoder");
    m_codec.reset(avcodec_alloc_context3(codec));
    m_frame.reset(av_frame_alloc());
    m_packet.reset(av_packet_alloc());
    if (!m_codec || !m_frame || !m_packet)
        throw std::bad_alloc();

    AVFormatContext *format = nullptr;
    int err = avformat_alloc_output_context2(&format, nullptr, "asf", nullptr);
    if (err < 0)
        failAv("cannot set up the ASF writer", err);
    m_format.reset(format);

    AVCodecContext *c = m_codec.get();
    c->sample_fmt = AV_SAMPLE_FMT_FLTP;
    c->sample_rate = m_profile->sampleRate;
    av_channel_layout_default(&c->ch_layout, m_profile->channels);
    c->bit_rate = m_profile->encoderBitRate();
    c->time_base = AVRational {1, c->sample_rate};
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((err = avcodec_open2(c, codec, nullptr)) < 0)
        failAv("the WMA encoder refused profile " + m_config.profile, err);

    m_stream = avformat_new_stream(format, nullptr);
    if (!m_stream)
        throw std::bad_alloc();
    m_stream->time_base = c->time_base;
    if ((err = avcodec_parameters_from_context(m_stream->codecpar, c)) < 0)
        failAv("cannot set up the ASF stream", err);

    // The muxer puts title, author, copyright and comment into the content description, and
    // everything else into the extended content description under the WM/ names players read:
    // album to WM/AlbumTitle, track to WM/TrackNumber, genre, album_artist and composer
    // likewise. It has no such name for a date, so the year goes by its own.
    const std::pair<const char *, const std::string *> texts[] = {
        {"title", &m_config.title},
        {"author", &m_config.author},
        {"copyright", &m_config.copyright},
        {"comment", &m_config.description},
        {"album", &m_config.album},
        {"track", &m_config.track},
        {"WM/Year", &m_config.year},
        {"genre", &m_config.genre},
        {"album_artist", &m_config.albumArtist},
        {"composer", &m_config.composer},
    };
    for (const auto &[key, value] : texts) {
        if (!value->empty())
            av_dict_set(&format->metadata, key, value->c_str(), 0);
    }

    // Input layout to the profile's layout and rate, as planar float for the encoder.
    AVChannelLayout inLayout;
    av_channel_layout_default(&inLayout, m_input->channels);
    SwrContext *swr = nullptr;
    err = swr_alloc_set_opts2(&swr, &c->ch_layout, AV_SAMPLE_FMT_FLTP, c->sample_rate, &inLayout,
        m_input->sampleFormat, m_input->sampleRate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    if (err < 0)
        failAv("cannot set up the resampler", err);
    m_swr.reset(swr);
    // Mono to stereo copies the channel at full level, stereo to mono averages without
    // clipping; the library's defaults would lower a mono source by 3 dB.
    if (m_input->channels == 1 && m_profile->channels == 2) {
        const double matrix[2] = {1.0, 1.0};
        swr_set_matrix(swr, matrix, 1);
    } else if (m_input->channels == 2 && m_profile->channels == 1) {
        const double matrix[2] = {0.5, 0.5};
        swr_set_matrix(swr, matrix, 2);
    }
    if ((err = swr_init(swr)) < 0)
        failAv("cannot set up the resampler", err);

    m_frame->format = AV_SAMPLE_FMT_FLTP;
    m_frame->nb_samples = c->frame_size;
    m_frame->sample_rate = c->sample_rate;
    av_channel_layout_copy(&m_frame->ch_layout, &c->ch_layout);
    if ((err = av_frame_get_buffer(m_frame.get(), 0)) < 0)
        failAv("out of memory", err);

    m_output = std::make_unique<TempOutputFile>(m_config.output);
    m_sink.fd = m_output->fd();
    constexpr int ioBufferSize = 1 << 16;
    auto *ioBuffer = static_cast<unsigned char *>(av_malloc(ioBufferSize));
    if (!ioBuffer)
        throw std::bad_alloc();
    m_io.reset(avio_alloc_context(
        ioBuffer, ioBufferSize, 1, &m_sink, nullptr, &FdSink::write, &FdSink::seek));
    if (!m_io) {
        av_free(ioBuffer);
        throw std::bad_alloc();
    }
    format->pb = m_io.get();
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    if ((err = avformat_write_header(format, nullptr)) < 0)
        failAv("cannot write the output \"" + m_config.output + "\"", err);
}

void Encoder::drainPackets()
{
    for (;;) {
        int err = avcodec_receive_packet(m_codec.get(), m_packet.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            return;
        if (err < 0)
            failAv("the WMA encoder failed", err);
        av_packet_rescale_ts(m_packet.get(), m_codec->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        err = av_write_frame(m_format.get(), m_packet.get());
        av_packet_unref(m_packet.get());
        if (err < 0)
            failAv("cannot write the output \"" + m_config.output + "\"", err);
    }
}

void Encoder::sendFrame(AVFrame *frame)
{
    if (frame) {
        frame->pts = m_pts;
        m_pts += frame->nb_samples;
    }
    const int err = avcodec_send_frame(m_codec.get(), frame);
    if (err < 0)
        failAv("the WMA encoder failed", err);
    drainPackets();
}

// Converts input samples (or drains the resampler when in is null) and encodes every frame
// that fills up. Everything converted goes through one scratch buffer in a single call, since a
// resampler call without input would flush it mid-stream.
void Encoder::feed(const std::uint8_t **in, int frames)
{
    const int channels = m_profile->channels;
    const int frameSize = m_codec->frame_size;
    for (;;) {
        const int capacity = swr_get_out_samples(m_swr.get(), frames);
        if (capacity < 0)
            failAv("the resampler failed", capacity);
        if (static_cast<std::size_t>(capacity) > m_scratchFrames) {
            m_scratchFrames = static_cast<std::size_t>(capacity);
            for (int ch = 0; ch < channels; ++ch)
                m_scratch[ch].resize(m_scratchFrames);
        }
        std::uint8_t *planes[2];
        for (int ch = 0; ch < channels; ++ch)
            planes[ch] = reinterpret_cast<std::uint8_t *>(m_scratch[ch].data());
        const int got = swr_convert(m_swr.get(), planes, capacity, in, frames);
        if (got < 0)
            failAv("the resampler failed", got);

        for (int used = 0; used < got;) {
            if (m_filled == 0) {
                const int err = av_frame_make_writable(m_frame.get());
                if (err < 0)
                    failAv("out of memory", err);
            }
            const int n = std::min(got - used, frameSize - m_filled);
            for (int ch = 0; ch < channels; ++ch)
                std::memcpy(reinterpret_cast<float *>(m_frame->data[ch]) + m_filled,
                    m_scratch[ch].data() + used, static_cast<std::size_t>(n) * sizeof(float));
            m_filled += n;
            used += n;
            if (m_filled == frameSize) {
                m_frame->nb_samples = frameSize;
                sendFrame(m_frame.get());
                m_filled = 0;
            }
        }
        // With input, one call takes it all; draining goes on until the resampler is empty.
        if (in || got == 0)
            return;
    }
}

void Encoder::run()
{
    m_profile = findEncoderProfile(m_config.profile);
    if (!m_profile)
        throw std::runtime_error("unknown profile \"" + m_config.profile + "\"");
    openInput();
    openOutput();

    // Only an estimate for decoded inputs; the count stays below 100 until the end.
    const std::uint64_t total = m_input->expectedFrames;
    std::vector<const std::uint8_t *> planes;
    std::uint64_t done = 0;
    int shown = 0;
    m_progress(0);
    for (int frames; (frames = m_input->next(planes)) > 0;) {
        feed(planes.data(), frames);
        done += static_cast<std::uint64_t>(frames);
        const int percent
            = total ? static_cast<int>(std::min<std::uint64_t>(done, total) * 99 / total) : 0;
        if (percent != shown) {
            m_progress(percent);
            shown = percent;
        }
    }
    feed(nullptr, 0);
    if (m_filled > 0) {
        // The encoder pads the short last frame itself.
        m_frame->nb_samples = m_filled;
        sendFrame(m_frame.get());
        m_filled = 0;
    }
    sendFrame(nullptr);

    int err = av_write_trailer(m_format.get());
    avio_flush(m_io.get());
    if (err < 0 || m_io->error < 0 || m_sink.error != 0) {
        if (m_sink.error != 0)
            throw std::runtime_error("cannot write the output \"" + m_config.output
                + "\": " + std::strerror(m_sink.error));
        failAv("cannot write the output \"" + m_config.output + "\"", err < 0 ? err : m_io->error);
    }
    if (!m_config.picture.empty())
        CopyFrontCover(m_config.picture, m_output->tempPath());
    m_output->commit();
    m_progress(100);
}

} // namespace

void WmaEncoder::encode(const EncoderConfig &config, const Progress &progress)
{
    Encoder(config, progress).run();
}

} // namespace tonvera
