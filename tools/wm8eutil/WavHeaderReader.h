#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace tonvera {

// Where the 16-bit PCM samples of a WAV file lie and how they are laid out.
struct WavFormat
{
    int channels = 0;
    int sampleRate = 0;
    std::uint64_t dataOffset = 0; // first byte of the samples
    std::uint64_t frameCount = 0; // whole sample frames actually present in the file

    int blockAlign() const { return channels * 2; }
};

class WavError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the RIFF header of a WAV file and accepts only 16-bit PCM (plain or extensible).
// The reader pulls bytes through a callback so that chunks before the samples (lists, pictures)
// are skipped without being read; tests and the fuzzer pass a memory buffer.
class WavHeaderReader
{
public:
    // Reads up to n bytes at offset into buf; returns how many were read (short at the end).
    using ReadAt
        = std::function<std::size_t(std::uint64_t offset, unsigned char *buf, std::size_t n)>;

    static WavFormat read(const ReadAt &readAt, std::uint64_t fileSize);
};

} // namespace tonvera
