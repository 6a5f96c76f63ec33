#include "Mpg123Source.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include <mpg123.h>

namespace tonvera {

namespace {

std::string quoted(const std::string &path)
{
    return "\"" + path + "\"";
}

} // namespace

Mpg123Source::Descriptor::~Descriptor()
{
    if (fd >= 0)
        ::close(fd);
}

void Mpg123Source::HandleDeleter::operator()(mpg123_handle_struct *h) const
{
    mpg123_close(h);
    mpg123_delete(h);
}

Mpg123Source::Mpg123Source(const std::string &path)
    : m_path(path)
{
    // Non-blocking, so that a named pipe is refused below instead of waiting for a writer.
    m_input.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_input.fd < 0)
        throw std::runtime_error("cannot open " + quoted(path) + ": " + std::strerror(errno));
    struct stat st;
    if (::fstat(m_input.fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw std::runtime_error(quoted(path) + " is not a file");
    ::fcntl(m_input.fd, F_SETFL, ::fcntl(m_input.fd, F_GETFL) & ~O_NONBLOCK);
    if (st.st_size == 0)
        throw std::runtime_error(quoted(path) + " is empty");

    // Needed once per process by libmpg123 releases before 1.27; harmless after.
    static const bool initialised = mpg123_init() == MPG123_OK;
    int err = MPG123_OK;
    m_handle.reset(initialised ? mpg123_new(nullptr, &err) : nullptr);
    if (!m_handle)
        throw std::runtime_error(std::string("cannot start the MP3 decoder: ")
            + mpg123_plain_strerror(initialised ? err : MPG123_ERR));
    mpg123_handle *h = m_handle.get();
    // Our own messages say what failed; the library's warnings about damaged frames would
    // only add noise.
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
    // After a seek, layer 3 needs the frames before the target to refill the bit reservoir,
    // which can reach back several small frames; too few leave a section's start silent.
    mpg123_param(h, MPG123_PREFRAMES, 32, 0);
    if (mpg123_format_none(h) != MPG123_OK)
        fail("cannot set up the MP3 decoder");
    const long *rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i)
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_fd(h, m_input.fd) != MPG123_OK)
        fail("cannot read " + quoted(path));

    // Reads up to the first frame: whatever has none is not MPEG audio.
    long rate = 0;
    int encoding = 0;
    if (mpg123_getformat(h, &rate, &m_channels, &encoding) != MPG123_OK)
        throw std::runtime_error(quoted(path) + " holds no MPEG audio");
    m_rate = static_cast<int>(rate);
}

Mpg123Source::~Mpg123Source() = default;

void Mpg123Source::fail(const std::string &what) const
{
    throw std::runtime_error(what + ": " + mpg123_strerror(m_handle.get()));
}

bool Mpg123Source::isSameFile(const std::string &path) const
{
    struct stat mine, other;
    return ::fstat(m_input.fd, &mine) == 0 && ::stat(path.c_str(), &other) == 0
        && mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

Mpg123Source::Length Mpg123Source::scan()
{
    mpg123_handle *h = m_handle.get();
    if (mpg123_scan(h) != MPG123_OK)
        fail("cannot read " + quoted(m_path));
    Length length;
    length.samples = mpg123_length(h);
    length.frames = static_cast<int>(mpg123_framelength(h));
    length.samplesPerFrame = mpg123_spf(h);
    length.secondsPerFrame = mpg123_tpf(h);
    if (length.samples <= 0 || length.frames <= 0 || length.samplesPerFrame <= 0
        || length.secondsPerFrame <= 0)
        throw std::runtime_error(quoted(m_path) + " has no audio frames");
    return length;
}

void Mpg123Source::seek(std::int64_t sample)
{
    if (mpg123_seek(m_handle.get(), static_cast<off_t>(sample), SEEK_SET) != sample)
        fail("cannot seek in " + quoted(m_path));
}

std::size_t Mpg123Source::read(std::span<std::int16_t> out)
{
    mpg123_handle *h = m_handle.get();
    for (;;) {
        std::size_t done = 0;
        const int rc = mpg123_read(h, out.data(), out.size_bytes(), &done);
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(h, &rate, &channels, &encoding);
            // The WAV header holds one format for the whole file.
            if (rate != m_rate || channels != m_channels)
                throw std::runtime_error(
                    quoted(m_path) + " changes its sample rate or channels midway");
        } else if (rc != MPG123_OK && rc != MPG123_DONE) {
            fail("cannot decode " + quoted(m_path));
        }
        if (done > 0 || rc == MPG123_DONE)
            return done / sizeof(std::int16_t);
    }
}

} // namespace tonvera
