#pragma once

#include "EncoderConfigReader.h"
#include "EncoderInput.h"

#include <memory>

namespace tonvera {

// A WAV or WMA (ASF) file read through FFmpeg's demuxers and decoders: every WAV sample format
// and WMA v1/v2. The section is cut to the sample while decoding from the start, since seeking
// in ASF lands only near a packet.
class DecodedInput : public EncoderInput
{
public:
    // fd stays owned by the caller and must outlive this object. Throws std::runtime_error
    // when the file is no readable WAV or WMA, holds no samples, or the section starts after
    // its end.
    DecodedInput(int fd, const std::string &name, const std::optional<EncoderSection> &section);
    ~DecodedInput() override;

    int next(std::vector<const std::uint8_t *> &planes) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tonvera
