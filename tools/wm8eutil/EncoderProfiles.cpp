#include "EncoderProfiles.h"

namespace tonvera {

const std::array<EncoderProfile, 7> &encoderProfiles()
{
    static const std::array<EncoderProfile, 7> profiles {{
        {"a20_1", "a20_1 - FM Radio Mono (22050 Hz, 20008 bps)", 20008, 22050, 1},
        {"a20_2", "a20_2 - FM Radio Stereo (22050 Hz, 20008 bps)", 20008, 22050, 2},
        {"a32", "a32 - Audio 56k Modem (32000 Hz, 32000 bps)", 32000, 32000, 2},
        {"a48", "a48 - Near CD quality (44100 Hz, 48024 bps)", 48024, 44100, 2},
        {"a64", "a64 - CD quality (44100 Hz, 64016 bps)", 64016, 44100, 2},
        {"a96", "a96 - CD audiophile quality (44100 Hz, 96024 bps)", 96024, 44100, 2},
        {"a128", "a128 - CD audiophile quality (44100 Hz, 128000 bps)", 128000, 44100, 2},
    }};
    return profiles;
}

const EncoderProfile *findEncoderProfile(std::string_view name)
{
    for (const EncoderProfile &p : encoderProfiles()) {
        if (p.name == name)
            return &p;
    }
    return nullptr;
}

} // namespace tonvera
