#include "browser/WavInfo.h"

#include <gtest/gtest.h>
#include <tuple>

TEST(WavInfo, ReadsTheCanonicalHeader)
{
    // file; signature, valid, channels, rate, bytes per second, bits
    const std::tuple<const char *, bool, bool, unsigned, unsigned, unsigned, unsigned> cases[]
        = {{"stereo16.wav", true, true, 2, 44100, 176400, 16},
            {"mono8.wav", true, false, 1, 8000, 8000, 8}, {"notwave.wav", false, false, 0, 0, 0, 0},
            {"short.wav", false, false, 0, 0, 0, 0}, // RIFF/WAVE, but cut inside the header
            {"missing.wav", false, false, 0, 0, 0, 0}};
    for (const auto &[file, signature, valid, channels, rate, bytesPerSecond, bits] : cases) {
        const WavInfo info = WavInfo::readFile(TONVERA_TEST_DATA "/browser/" + QString(file));
        EXPECT_EQ(std::tuple(info.hasSignature(), info.isValid(), info.channels, info.sampleRate,
                      info.bytesPerSecond, info.bitsPerSample),
            std::tuple(signature, valid, channels, rate, bytesPerSecond, bits))
            << file;
    }
    QByteArray header(44, '\xFF'); // fields are unsigned
    header.replace(0, 4, "RIFF").replace(8, 4, "WAVE");
    EXPECT_EQ(WavInfo::fromHeader(header).sampleRate, 0xFFFFFFFFu);
    EXPECT_FALSE(WavInfo::fromHeader(header.replace(8, 4, "AVI ")).hasSignature());
}
