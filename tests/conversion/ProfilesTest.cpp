#include "conversion/Profiles.h"

#include "browser/SizeText.h"

#include <EncoderProfiles.h>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(ProfilesTest, AutoSelectUsesStrictThresholds)
{
    // bit rate, sample rate, profile index
    const std::tuple<double, double, int> cases[] = {{16000, 16000, 1}, {20008, 22050, 1},
        {20009, 22050, 2}, {20008, 22051, 2}, {32000, 32000, 2}, {32001, 32000, 3},
        {24000, 32001, 3}, {48024, 44100, 3}, {48025, 22050, 4}, {64016, 44100, 4}, {16000, NaN, 1},
        // An unknown bit rate takes a64, whatever the sample rate.
        {0, 8000, 4}, {-1, 8000, 4}, {NaN, 8000, 4}};
    for (const auto &[bitRate, frequency, index] : cases)
        EXPECT_EQ(Profiles::AutoSelectIndex(bitRate, frequency), index)
            << bitRate << " bps " << frequency << " Hz";
}

TEST(ProfilesTest, SizeEstimateAndBars)
{
    // type, size, bit rate and sample rate of the source; profile index, size, bars
    const std::tuple<const char *, qint64, double, double, int, qint64, double, double> cases[] = {
        {"MP3", 1000000, 128000, 44100, 4, 520130, 1, 0.52013}, // 1.04 x 64016 / 128000
        {"MP3", 1000000, 0, 44100, 4, 500000, 1, 0.5}, {"mp3", 500, NaN, 44100, 4, 250, 1, 0.5},
        {"WMA", 1000000, 32000, 32000, 6, 4160000, 1 / 4.16, 1}, // larger: the input bar shrinks
        {"WAV", 1000000, 64016, 44100, 4, 50000, 1, 0.05},
        {"WAV", 1000000, 64016, 44100, 2, 18136, 1, 0.05}, // below 1/20: the bar stays at 1/20
        {"WAV", 1000000, 64016, 0, 2, 24994, 1, 0.05},
        {"WAV", 2000, 3200.8, 44100, 4, 2000, 1, 1}, // exactly the input's size
    };
    for (const auto &[type, size, bitRate, frequency, profile, out, inputBar, outputBar] : cases) {
        SCOPED_TRACE(std::string(type) + " " + std::to_string(size));
        const auto e = Profiles::EstimateSize(
            {type, size, bitRate, frequency}, tonvera::encoderProfiles().at(profile), "bytes");
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->outputSize, out);
        EXPECT_NEAR(e->inputBar, inputBar, 1e-6);
        EXPECT_NEAR(e->outputBar, outputBar, 1e-6);
        EXPECT_EQ(e->inputText, SizeTextOfLength(size, "bytes"));
        EXPECT_EQ(e->outputText, SizeTextOfLength(out, "bytes"));
    }
    // Nothing to estimate, or nonsense rates.
    const auto &a64 = tonvera::encoderProfiles().at(4);
    EXPECT_FALSE(Profiles::EstimateSize({"MP3", 0, 128000, 44100}, a64, "bytes"));
    EXPECT_FALSE(Profiles::EstimateSize({"", 1000, 128000, 44100}, a64, "bytes"));
    EXPECT_FALSE(Profiles::EstimateSize({"OGG", 1000, 128000, 44100}, a64, "bytes"));
    const auto absurd = Profiles::EstimateSize({"MP3", Q_INT64_C(1) << 50, 1e-9, 0}, a64, "bytes");
    ASSERT_TRUE(absurd.has_value());
    EXPECT_EQ(absurd->outputSize, Q_INT64_C(9000000000000000000));
    EXPECT_GT(absurd->inputBar, 0);
}

TEST(ProfilesTest, OutputBoxesSwitchTagAndConvertCommands)
{
    using Profiles::OutputBox;
    using std::nullopt;
    // clicked, state (wma, wav, file, section), effect (tag, convert, section)
    const std::tuple<OutputBox, Profiles::OutputBoxState, Profiles::OutputBoxEffect> cases[]
        = {{OutputBox::Wma, {true, false, true, true}, {true, true, true}},
            {OutputBox::Wma, {true, false, false, true}, {true, nullopt, nullopt}},
            {OutputBox::Wma, {false, true, true, true}, {false, nullopt, nullopt}},
            {OutputBox::Wma, {false, false, true, true}, {false, false, false}},
            {OutputBox::Wav, {false, true, false, false}, {nullopt, true, nullopt}},
            {OutputBox::Wav, {true, false, true, true}, {nullopt, nullopt, nullopt}},
            {OutputBox::Wav, {false, false, true, true}, {nullopt, false, false}}};
    int row = 0;
    for (const auto &[clicked, state, expected] : cases) {
        const Profiles::OutputBoxEffect e = Profiles::OutputBoxClicked(clicked, state);
        EXPECT_EQ(std::tie(e.editTag, e.convert, e.convertSection),
            std::tie(expected.editTag, expected.convert, expected.convertSection))
            << "row " << row++;
    }
    // The profile list's entry names its profile up to the first blank.
    EXPECT_EQ(Profiles::NameOfEntry("a64 - 64 kbps, 44 kHz, stereo"), "a64");
    EXPECT_EQ(Profiles::NameOfEntry("a64"), "a64");
}

} // namespace
