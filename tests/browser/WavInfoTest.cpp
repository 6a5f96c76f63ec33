#include "browser/WavInfo.h"

#include <gtest/gtest.h>

TEST(WavInfo, ReadsTheCanonicalHeader)
{
    const struct
    {
        const char *file;
        bool signature, valid;
        unsigned channels, rate, bytesPerSecond, bits;
    } cases[] = {
        {"stereo16.wav", true, true, 2, 44100, 176400, 16},
        {"mono8.wav", true, false, 1, 8000, 8000, 8},
        {"notwave.wav", false, false, 0, 0, 0, 0},
        {"short.wav", false, false, 0, 0, 0, 0}, // RIFF/WAVE, but cut inside the header
        {"missing.wav", false, false, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        const WavInfo info = WavInfo::readFile(TONVERA_TEST_DATA "/browser/" + QString(c.file));
        EXPECT_EQ(info.hasSignature(), c.signature) << c.file;
        EXPECT_EQ(info.isValid(), c.valid) << c.file;
        EXPECT_EQ(info.channels, c.channels) << c.file;
        EXPECT_EQ(info.sampleRate, c.rate) << c.file;
        EXPECT_EQ(info.bytesPerSecond, c.bytesPerSecond) << c.file;
        EXPECT_EQ(info.bitsPerSample, c.bits) << c.file;
    }

    QByteArray header(44, '\xFF'); // fields are unsigned
    header.replace(0, 4, "RIFF").replace(8, 4, "WAVE");
    EXPECT_EQ(WavInfo::fromHeader(header).sampleRate, 0xFFFFFFFFu);
}
