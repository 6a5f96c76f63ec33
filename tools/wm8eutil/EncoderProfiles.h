#pragma once

#include <array>
#include <string_view>

namespace tonvera {

// One encoding profile as the user picks it and as the encoder receives it after "-profile ".
struct EncoderProfile
{
    std::string_view name; // what the configuration file carries
    std::string_view entryText; // the line shown in the profile list
    int bitRate; // nominal bits per second, as shown and used for size estimates
    int sampleRate; // Hz
    int channels;

    // The WMA v2 encoder refuses anything below 24000 bps, so the two 20008 bps profiles
    // encode a little richer than their nominal rate.
    int encoderBitRate() const { return bitRate < 24000 ? 24000 : bitRate; }
};

// The seven profiles in list order (index 0 to 6); index 4 (a64) is the default choice.
const std::array<EncoderProfile, 7> &encoderProfiles();

// The profile with exactly this name, or nullptr.
const EncoderProfile *findEncoderProfile(std::string_view name);

} // namespace tonvera
