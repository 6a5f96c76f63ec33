#include "WavWriter.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>

using namespace tooltest;
using tonvera::WavWriter;

namespace {

std::uint32_t le(const std::string &s, std::size_t at, int n)
{
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

struct Layout
{
    const char *name;
    int channels;
    int rate;
    std::vector<std::size_t> chunks; // samples per write() call
};

class WavWriterLayout : public ::testing::TestWithParam<Layout>
{
};

// The header describes exactly the samples written, in any chunking, and the samples land
// little-endian after it; nothing carries the target's name before commit().
TEST_P(WavWriterLayout, HeaderMatchesTheSamples)
{
    const Layout c = GetParam();
    TempDir dir;
    const std::string target = dir / "out.wav";
    writeFile(target, "old");
    std::vector<std::int16_t> all;
    {
        WavWriter w(target, c.rate, c.channels);
        for (std::size_t n : c.chunks) {
            std::vector<std::int16_t> chunk(n);
            for (auto &s : chunk)
                s = static_cast<std::int16_t>(all.size() * 7919 - 20000);
            all.insert(all.end(), chunk.begin(), chunk.end());
            w.write(chunk);
        }
        EXPECT_EQ(readFile(target), "old");
        EXPECT_EQ(dir.names().size(), 2u) << "the file under a temporary name";
        w.commit();
    }
    const std::string wav = readFile(target);
    ASSERT_EQ(wav.size(), 44 + all.size() * 2);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le(wav, 16, 4), 16u);
    EXPECT_EQ(le(wav, 20, 2), 1u);
    EXPECT_EQ(le(wav, 22, 2), std::uint32_t(c.channels));
    EXPECT_EQ(le(wav, 24, 4), std::uint32_t(c.rate));
    EXPECT_EQ(le(wav, 28, 4), std::uint32_t(c.rate * c.channels * 2));
    EXPECT_EQ(le(wav, 32, 2), std::uint32_t(c.channels * 2));
    EXPECT_EQ(le(wav, 34, 2), 16u);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(le(wav, 40, 4), all.size() * 2);
    for (std::size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(static_cast<std::int16_t>(le(wav, 44 + 2 * i, 2)), all[i]) << "sample " << i;
    EXPECT_EQ(dir.names(), std::vector<std::string> {"out.wav"});
}

INSTANTIATE_TEST_SUITE_P(Layouts, WavWriterLayout,
    ::testing::Values(Layout {"NoSamples", 2, 44100, {}}, Layout {"OneMonoSample", 1, 8000, {1}},
        Layout {"OddMonoCount", 1, 11025, {3, 0, 4}},
        Layout {"StereoInChunks", 2, 48000, {2, 65536, 1000}}, Layout {"HighRate", 2, 96000, {10}}),
    [](const auto &info) { return std::string(info.param.name); });

// A writer that never commits, or cannot start, leaves the folder as it found it.
TEST(WavWriter, LeavesNothingUnlessCommitted)
{
    TempDir dir;
    const std::string target = dir / "out.wav";
    writeFile(target, "old");
    ::mkdir((dir / "folder.wav").c_str(), 0700);
    const std::vector<std::int16_t> samples(1000, 5);
    const auto before = dir.names();
    {
        WavWriter destroyed(target, 44100, 2);
        destroyed.write(samples);
    }
    {
        WavWriter discarded(target, 44100, 2);
        discarded.write(samples);
        discarded.discard();
        EXPECT_THROW(discarded.write(samples), std::runtime_error);
        EXPECT_THROW(discarded.commit(), std::runtime_error);
    }
    const struct
    {
        const char *name;
        std::string target;
        int rate, channels;
    } refused[] = {
        {"missing folder", dir / "no/out.wav", 44100, 2},
        {"target is a folder", dir / "folder.wav", 44100, 2},
        {"three channels", target, 44100, 3},
        {"no channels", target, 44100, 0},
        {"no rate", target, 0, 1},
    };
    for (const auto &c : refused)
        EXPECT_THROW(WavWriter(c.target, c.rate, c.channels), std::runtime_error) << c.name;
    EXPECT_EQ(dir.names(), before);
    EXPECT_EQ(readFile(target), "old");
}

} // namespace
