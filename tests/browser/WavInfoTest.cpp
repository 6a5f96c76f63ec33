#include "browser/WavInfo.h"

#include <gtest/gtest.h>

namespace {
QString fixture(const char *name)
{
    return QStringLiteral(TONVERA_TEST_DATA "/browser/") + QLatin1String(name);
}
} // namespace

TEST(WavInfo, ReadsTheCanonicalHeader)
{
    const struct
    {
        const char *file;
        bool signature, valid;
        int channels, rate, bytesPerSecond, bits;
    } cases[] = {
        {"stereo16.wav", true, true, 2, 44100, 176400, 16},
        {"mono8.wav", true, false, 1, 8000, 8000, 8},
        {"notwave.wav", false, false, 0, 0, 0, 0},
        {"short.wav", false, false, 0, 0, 0, 0}, // RIFF/WAVE, but cut inside the header
        {"missing.wav", false, false, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        const WavInfo info = WavInfo::readFile(fixture(c.file));
        EXPECT_EQ(info.hasSignature(), c.signature) << c.file;
        EXPECT_EQ(info.isValid(), c.valid) << c.file;
        EXPECT_EQ(info.channels, c.channels) << c.file;
        EXPECT_EQ(info.sampleRate, static_cast<uint32_t>(c.rate)) << c.file;
        EXPECT_EQ(info.bytesPerSecond, static_cast<uint32_t>(c.bytesPerSecond)) << c.file;
        EXPECT_EQ(info.bitsPerSample, c.bits) << c.file;
    }
}

TEST(WavInfo, FieldsAreLittleEndianAndUnsigned)
{
    QByteArray h(44, '\0');
    h.replace(0, 4, "RIFF");
    h.replace(8, 4, "WAVE");
    h[22] = 1;
    h[24] = '\xFF', h[25] = '\xFF', h[26] = '\xFF', h[27] = '\xFF';
    h[34] = 24;
    const WavInfo info = WavInfo::fromHeader(h);
    EXPECT_TRUE(info.hasSignature());
    EXPECT_FALSE(info.isValid());
    EXPECT_EQ(info.sampleRate, 0xFFFFFFFFu);
    EXPECT_EQ(info.bitsPerSample, 24);

    h[8] = 'w'; // signatures are case-sensitive
    EXPECT_FALSE(WavInfo::fromHeader(h).hasSignature());
}
