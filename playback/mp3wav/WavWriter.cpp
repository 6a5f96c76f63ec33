#include "WavWriter.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace tonvera {

namespace {

void put32(unsigned char *p, std::uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

void put16(unsigned char *p, std::uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

int checkedChannels(int channels, int sampleRate)
{
    if (channels < 1 || channels > 2 || sampleRate <= 0)
        throw std::runtime_error("unsupported audio format: " + std::to_string(channels)
            + " channels at " + std::to_string(sampleRate) + " Hz");
    return channels;
}

} // namespace

std::array<unsigned char, 44> WavWriter::header(
    int channels, int sampleRate, std::uint64_t dataBytes)
{
    if (dataBytes > maxDataBytes)
        throw std::length_error("the decoded audio is too long for a WAV file (over 4 GB)");
    const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
    std::array<unsigned char, 44> h {};
    std::memcpy(h.data(), "RIFF", 4);
    put32(h.data() + 4, static_cast<std::uint32_t>(36 + dataBytes));
    std::memcpy(h.data() + 8, "WAVEfmt ", 8);
    put32(h.data() + 16, 16);
    put16(h.data() + 20, 1); // PCM
    put16(h.data() + 22, static_cast<std::uint16_t>(channels));
    put32(h.data() + 24, static_cast<std::uint32_t>(sampleRate));
    put32(h.data() + 28, static_cast<std::uint32_t>(sampleRate) * blockAlign);
    put16(h.data() + 32, blockAlign);
    put16(h.data() + 34, 16);
    std::memcpy(h.data() + 36, "data", 4);
    put32(h.data() + 40, static_cast<std::uint32_t>(dataBytes));
    return h;
}

WavWriter::WavWriter(const std::string &target, int sampleRate, int channels)
    : m_target(target)
    , m_sampleRate(sampleRate)
    , m_channels(checkedChannels(channels, sampleRate))
    , m_file(target)
{
    const auto placeholder = header(m_channels, m_sampleRate, 0);
    writeAll(placeholder.data(), placeholder.size());
}

void WavWriter::writeAll(const void *data, std::size_t size)
{
    const auto *p = static_cast<const unsigned char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_file.fd(), p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::runtime_error("cannot write \"" + m_target + "\": " + std::strerror(errno));
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

void WavWriter::write(std::span<const std::int16_t> samples)
{
    if (m_dataBytes + samples.size_bytes() > maxDataBytes)
        throw std::length_error("the decoded audio is too long for a WAV file (over 4 GB)");
    if constexpr (std::endian::native == std::endian::little) {
        writeAll(samples.data(), samples.size_bytes());
    } else {
        std::vector<std::uint16_t> swapped(samples.begin(), samples.end());
        for (std::uint16_t &s : swapped)
            s = static_cast<std::uint16_t>(s << 8 | s >> 8);
        writeAll(swapped.data(), samples.size_bytes());
    }
    m_dataBytes += samples.size_bytes();
}

void WavWriter::commit()
{
    const auto h = header(m_channels, m_sampleRate, m_dataBytes);
    if (::pwrite(m_file.fd(), h.data(), h.size(), 0) != static_cast<ssize_t>(h.size())) {
        const std::string message = "cannot write \"" + m_target + "\": " + std::strerror(errno);
        m_file.discard();
        throw std::runtime_error(message);
    }
    // The data must be on disk before the rename shows the file as complete.
    ::fdatasync(m_file.fd());
    m_file.commit();
}

} // namespace tonvera
