#include "WavHeaderReader.h"

#include <cstring>
#include <string>

namespace tonvera {

namespace {

std::uint32_t le32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t le16(const unsigned char *p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The PCM sub-format of WAVE_FORMAT_EXTENSIBLE: 00000001-0000-0010-8000-00aa00389b71.
constexpr unsigned char pcmSubFormat[16] = {
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// A real file has a handful of chunks; a flood of tiny ones is garbage, not audio.
constexpr int maxChunks = 4096;

} // namespace

WavFormat WavHeaderReader::read(const ReadAt &readAt, std::uint64_t fileSize)
{
    unsigned char riff[12];
    if (fileSize < 12 || readAt(0, riff, 12) != 12)
        throw WavError("not a WAV file (too short)");
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw WavError("not a WAV file (no RIFF WAVE header)");

    bool haveFormat = false;
    WavFormat format;
    std::uint64_t pos = 12;
    for (int chunk = 0; chunk < maxChunks; ++chunk) {
        unsigned char head[8];
        if (pos > fileSize || fileSize - pos < 8 || readAt(pos, head, 8) != 8)
            throw WavError(haveFormat ? "WAV file has no sample data" : "WAV file has no format");
        const std::uint32_t size = le32(head + 4);
        const std::uint64_t body = pos + 8;

        if (std::memcmp(head, "fmt ", 4) == 0) {
            unsigned char fmt[40] = {};
            if (size < 16 || fileSize - body < 16)
                throw WavError("WAV format chunk is too short");
            const std::size_t want = size < sizeof fmt ? size : sizeof fmt;
            if (readAt(body, fmt, want) < 16)
                throw WavError("WAV format chunk is too short");
            std::uint16_t tag = le16(fmt);
            const std::uint16_t bits = le16(fmt + 14);
            if (tag == 0xFFFE) {
                // Extensible: the real format is in the sub-format GUID.
                if (size < 40 || want < 40 || le16(fmt + 16) < 22)
                    throw WavError("WAV extensible format chunk is too short");
                if (std::memcmp(fmt + 24, pcmSubFormat, 16) != 0)
                    throw WavError("WAV file is not PCM; only 16-bit PCM can be encoded");
                tag = 1;
            }
            if (tag != 1)
                throw WavError("WAV file is not PCM (format " + std::to_string(tag)
                    + "); only 16-bit PCM can be encoded");
            if (bits != 16)
                throw WavError("WAV file has " + std::to_string(bits)
                    + "-bit samples; only 16-bit PCM can be encoded");
            format.channels = le16(fmt + 2);
            const std::uint32_t rate = le32(fmt + 4);
            if (format.channels < 1 || format.channels > 8)
                throw WavError("WAV file has " + std::to_string(format.channels)
                    + " channels; 1 to 8 can be encoded");
            if (rate < 1000 || rate > 384000)
                throw WavError(
                    "WAV file has an unusable sample rate (" + std::to_string(rate) + " Hz)");
            if (le16(fmt + 12) != format.blockAlign())
                throw WavError("WAV file has an inconsistent block size");
            format.sampleRate = static_cast<int>(rate);
            haveFormat = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!haveFormat)
                throw WavError("WAV file has its samples before its format");
            // Streamed writers leave the size at 0 or all ones; trust the file's own length
            // then, and never read past its end.
            std::uint64_t bytes = fileSize - body;
            if (size != 0 && size != 0xFFFFFFFF && size < bytes)
                bytes = size;
            format.dataOffset = body;
            format.frameCount = bytes / format.blockAlign();
            return format;
        }
        pos = body + size + (size & 1);
    }
    throw WavError("WAV file has too many chunks");
}

} // namespace tonvera
