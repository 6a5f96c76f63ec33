#pragma once

#include <array>
#include <cstdint>

namespace tonvera {

// The canonical 44-byte header of a 16-bit PCM WAV file.
class WavWriter
{
public:
    // Largest sample payload a RIFF size field can describe.
    static constexpr std::uint64_t maxDataBytes = 0xFFFFFFFFull - 36;

    // Throws std::length_error when dataBytes is over maxDataBytes. An odd payload (never made
    // by whole 16-bit frames) would need a pad byte, which the caller adds.
    static std::array<unsigned char, 44> header(
        int channels, int sampleRate, std::uint64_t dataBytes);
};

} // namespace tonvera
