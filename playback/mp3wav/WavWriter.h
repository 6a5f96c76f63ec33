#pragma once

#include "TempOutputFile.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tonvera {

// A canonical 16-bit PCM WAV file (44-byte header, then the samples), written under a hidden
// temporary name beside the target and renamed to the target only by commit(), so no
// incomplete WAV ever carries the target's name. Until then the destructor or discard()
// removes it. Failures throw std::runtime_error with a one-line message.
class WavWriter
{
public:
    // Largest sample payload a RIFF size field can describe.
    static constexpr std::uint64_t maxDataBytes = 0xFFFFFFFFull - 36;

    // Throws std::length_error when dataBytes is over maxDataBytes. An odd payload (never made
    // by whole 16-bit frames) would need a pad byte, which the caller adds.
    static std::array<unsigned char, 44> header(
        int channels, int sampleRate, std::uint64_t dataBytes);

    // Mono or stereo only.
    WavWriter(const std::string &target, int sampleRate, int channels);

    // Interleaved native-endian samples; stored little-endian as WAV wants them.
    void write(std::span<const std::int16_t> samples);
    // Completes the header and moves the file to the target, replacing what was there. On
    // failure the temporary is removed before the exception leaves.
    void commit();
    void discard() { m_file.discard(); }

    std::uint64_t dataBytes() const { return m_dataBytes; }

private:
    void writeAll(const void *data, std::size_t size);

    std::string m_target;
    int m_sampleRate;
    int m_channels;
    std::uint64_t m_dataBytes = 0;
    TempOutputFile m_file;
};

} // namespace tonvera
