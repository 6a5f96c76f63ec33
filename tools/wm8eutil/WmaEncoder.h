#pragma once

#include "EncoderConfigReader.h"

#include <functional>

namespace tonvera {

// Encodes the WAV or WMA named by a configuration into WMA v2 in ASF with the profile's
// channels, rate and bit rate, the optional section and the four texts. The output appears at
// its final path only when complete. Failures throw std::runtime_error with a clear message.
class WmaEncoder
{
public:
    using Progress = std::function<void(int percent)>;

    static void encode(const EncoderConfig &config, const Progress &progress);
};

} // namespace tonvera
