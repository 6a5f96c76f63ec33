// tnvr3w SOURCE TARGET: decodes a whole MP3 file into a 16-bit PCM WAV file.

#include "TempOutputFile.h"
#include "WavWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <mpg123.h>

namespace {

struct HandleDeleter
{
    void operator()(mpg123_handle *h) const
    {
        mpg123_close(h);
        mpg123_delete(h);
    }
};

struct InputFile
{
    int fd;
    ~InputFile() { ::close(fd); }
};

void writeAll(int fd, const unsigned char *data, std::size_t size, const std::string &target)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::runtime_error("cannot write \"" + target + "\": " + std::strerror(errno));
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void check(int err, mpg123_handle *h, const char *what)
{
    if (err != MPG123_OK)
        throw std::runtime_error(
            std::string(what) + ": " + (h ? mpg123_strerror(h) : mpg123_plain_strerror(err)));
}

void decode(const std::string &source, const std::string &target)
{
    // Non-blocking, so that a named pipe is refused below instead of waiting for a writer.
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0)
        throw std::runtime_error("cannot open \"" + source + "\": " + std::strerror(errno));
    // libmpg123 reads the descriptor but leaves closing it to us.
    const InputFile closeInput {in};
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode))
        throw std::runtime_error("\"" + source + "\" is not a file");
    ::fcntl(in, F_SETFL, ::fcntl(in, F_GETFL) & ~O_NONBLOCK);
    if (st.st_size == 0)
        throw std::runtime_error("\"" + source + "\" is empty");
    struct stat out;
    if (::stat(target.c_str(), &out) == 0 && out.st_dev == st.st_dev && out.st_ino == st.st_ino)
        throw std::runtime_error("the target \"" + target + "\" is the source itself");

    int err = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, &err));
    if (!handle)
        check(err, nullptr, "cannot start the MP3 decoder");
    mpg123_handle *h = handle.get();
    // Our own message says what failed; the library's warnings about damaged frames would
    // only add noise. Gapless trimming is on, so encoder delay and padding are not output.
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
    // 16-bit output at the source's own rate and channel count.
    check(mpg123_format_none(h), h, "cannot set up the MP3 decoder");
    const long *rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i)
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    check(mpg123_open_fd(h, in), h, ("cannot read \"" + source + "\"").c_str());

    tonvera::TempOutputFile output(target);
    const int fd = output.fd();
    std::array<unsigned char, 44> placeholder {};
    writeAll(fd, placeholder.data(), placeholder.size(), target);

    std::vector<unsigned char> buffer(1 << 20);
    std::uint64_t dataBytes = 0;
    long rate = 0;
    int channels = 0;
    for (;;) {
        std::size_t done = 0;
        err = mpg123_read(h, buffer.data(), buffer.size(), &done);
        if (err == MPG123_NEW_FORMAT) {
            long newRate = 0;
            int newChannels = 0;
            int encoding = 0;
            mpg123_getformat(h, &newRate, &newChannels, &encoding);
            if (rate != 0 && (newRate != rate || newChannels != channels))
                throw std::runtime_error(
                    "\"" + source + "\" changes its sample rate or channels midway");
            rate = newRate;
            channels = newChannels;
        }
        if (done > 0) {
            dataBytes += done;
            if (dataBytes > tonvera::WavWriter::maxDataBytes)
                throw std::runtime_error("\"" + source + "\" is too long for a WAV file");
            writeAll(fd, buffer.data(), done, target);
        }
        if (err == MPG123_DONE)
            break;
        if (err != MPG123_OK && err != MPG123_NEW_FORMAT)
            throw std::runtime_error("cannot decode \"" + source + "\": " + mpg123_strerror(h));
    }
    if (rate == 0 || dataBytes == 0)
        throw std::runtime_error("\"" + source + "\" holds no MPEG audio");

    const auto header = tonvera::WavWriter::header(channels, static_cast<int>(rate), dataBytes);
    if (::pwrite(fd, header.data(), header.size(), 0) != static_cast<ssize_t>(header.size()))
        throw std::runtime_error("cannot write \"" + target + "\": " + std::strerror(errno));
    output.commit();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: tnvr3w SOURCE TARGET\n", stderr);
        return 2;
    }
    tonvera::TempOutputFile::installSignalCleanup();
    try {
        decode(argv[1], argv[2]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tnvr3w: %s\n", e.what());
        return 1;
    }
    return 0;
}
