#include "MpegHeader.h"

#include <cmath>

namespace taglet {

namespace {
// [table][index] with tables: version 1 layer 1, 2, 3; version 2 layer 1, layers 2 and 3.
constexpr int Bitrates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};
constexpr int Frequencies[2][4] = {{44100, 48000, 32000, 0}, {22050, 24000, 16000, 0}};

// Bytes per second per kbit/s as the playing-time estimate has always used it.
constexpr double BytesPerKbit = 125.467391304348;
} // namespace

MpegHeader MpegHeader::decode(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    MpegHeader h;
    h.version = (b1 & 0x08) ? 1 : 2;
    static constexpr int Layers[4] = {0, 3, 2, 1};
    h.layer = Layers[(b1 >> 1) & 0x03];
    if (h.layer != 0) {
        const int table = h.version == 1 ? h.layer - 1 : (h.layer == 1 ? 3 : 4);
        h.bitrate = Bitrates[table][b2 >> 4];
    }
    h.frequency = Frequencies[h.version - 1][(b2 >> 2) & 0x03];
    h.privateBit = b2 & 0x01;
    h.mode = b3 >> 6;
    h.copyright = b3 & 0x08;
    h.original = b3 & 0x04;
    static constexpr int Emphases[4] = {0, 1, 0, 2};
    h.emphasis = Emphases[b3 & 0x03];
    return h;
}

double MpegHeader::playingTime(std::int64_t audioBytes, int bitrate)
{
    if (bitrate == 0)
        return 0;
    // nearbyint rounds ties to even in the default rounding mode.
    return std::nearbyint(static_cast<double>(audioBytes) / (bitrate * BytesPerKbit));
}

} // namespace taglet
