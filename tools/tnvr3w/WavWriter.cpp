#include "WavWriter.h"

#include <cstring>
#include <stdexcept>

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

} // namespace tonvera
