#pragma once

#include <cstdint>

namespace taglet {

// The audio properties carried by bytes 1 to 3 of an MPEG audio frame header. No sync or
// validity check: reserved codes simply give 0.
struct MpegHeader
{
    int version = 0; // 1, or 2 (which also covers 2.5: only the low version bit is read)
    int layer = 0; // 1, 2, 3, or 0 for the reserved code
    int bitrate = 0; // kbit/s, 0 for free format, the bad index and layer 0
    int frequency = 0; // Hz, 0 for the reserved index
    int mode = 0; // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool privateBit = false;
    bool copyright = false;
    bool original = false;
    int emphasis = 0; // 0 none, 1 50/15 ms, 2 CCITT J.17

    static MpegHeader decode(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);

    // Whole seconds for `audioBytes` bytes at this bit rate (ties to even), or 0 without one.
    static double playingTime(std::int64_t audioBytes, int bitrate);
};

} // namespace taglet
