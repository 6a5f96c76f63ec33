#pragma once

#include <cstdint>
#include <vector>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace tonvera {

// Where the encoder's samples come from, already cut to the section: their layout for the
// resampler, then the samples chunk by chunk.
class EncoderInput
{
public:
    virtual ~EncoderInput() = default;

    int channels = 0;
    int sampleRate = 0;
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_S16;
    // Frames the section is expected to hold, for progress only; 0 when unknown.
    std::uint64_t expectedFrames = 0;

    // Points planes at the next samples (one pointer per channel for a planar format, else
    // one) and returns how many frames they hold; 0 at the end. Valid until the next call.
    virtual int next(std::vector<const std::uint8_t *> &planes) = 0;
};

} // namespace tonvera
