#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct mpg123_handle_struct;

namespace tonvera {

// An MPEG audio file opened with libmpg123 for decoding to interleaved native-endian signed
// 16-bit samples at the file's own rate and channel count. Encoder delay and padding are
// trimmed, so sample positions follow the source's time line. Every failure throws
// std::runtime_error with a one-line message that names the file.
class Mpg123Source
{
public:
    struct Length
    {
        std::int64_t samples = 0; // per channel
        int frames = 0;
        int samplesPerFrame = 0;
        double secondsPerFrame = 0;
    };

    // Refuses anything but a non-empty regular file whose first frame decodes.
    explicit Mpg123Source(const std::string &path);
    ~Mpg123Source();
    Mpg123Source(const Mpg123Source &) = delete;
    Mpg123Source &operator=(const Mpg123Source &) = delete;

    int sampleRate() const { return m_rate; }
    int channels() const { return m_channels; }

    // True when path names the file being read, under this name or through any other link.
    bool isSameFile(const std::string &path) const;

    // Reads the whole stream once for the exact length and an index for sample-exact seeking.
    Length scan();
    void seek(std::int64_t sample);

    // Decodes into out; returns the number of samples (all channels) stored, 0 at the end.
    std::size_t read(std::span<std::int16_t> out);

private:
    // libmpg123 reads the descriptor but leaves closing it to us, after the handle is gone.
    struct Descriptor
    {
        int fd = -1;
        ~Descriptor();
    };
    struct HandleDeleter
    {
        void operator()(mpg123_handle_struct *h) const;
    };

    [[noreturn]] void fail(const std::string &what) const;

    std::string m_path;
    Descriptor m_input;
    std::unique_ptr<mpg123_handle_struct, HandleDeleter> m_handle;
    int m_rate = 0;
    int m_channels = 0;
};

} // namespace tonvera
