// Feeds arbitrary bytes to the WAV header reader as if they were a file.

#include "WavHeaderReader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const tonvera::WavFormat f = tonvera::WavHeaderReader::read(
            [data, size](std::uint64_t offset, unsigned char *buf, std::size_t n) -> std::size_t {
                if (offset >= size)
                    return 0;
                const std::size_t take = n < size - offset ? n : size - offset;
                std::memcpy(buf, data + offset, take);
                return take;
            },
            size);
        // The samples it reports must lie inside the file.
        if (f.dataOffset + f.frameCount * f.blockAlign() > size)
            std::abort();
    } catch (const tonvera::WavError &) {
    }
    return 0;
}
