#include "WavWriter.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace tooltest;
using tonvera::WavWriter;

namespace {

// The header describes exactly the samples written, in any chunking, and the samples land
// little-endian after it; nothing carries the target's name before commit().
TEST(WavWriter, HeaderMatchesTheSamplesInAnyChunking)
{
    const std::tuple<int, int, std::vector<std::size_t>> layouts[]
        = {{2, 44100, {}}, {1, 8000, {1}}, {1, 11025, {3, 0, 4}}, {2, 48000, {2, 65536, 1000}}};
    for (const auto &[channels, rate, chunks] : layouts) {
        SCOPED_TRACE(testing::Message() << channels << " channels at " << rate);
        TempDir dir;
        const std::string target = dir / "out.wav";
        writeFile(target, "old");
        std::string samples;
        {
            WavWriter w(target, rate, channels);
            for (std::size_t n : chunks) {
                std::vector<std::int16_t> chunk(n);
                for (auto &s : chunk) {
                    s = static_cast<std::int16_t>(samples.size() * 7919 - 20000);
                    samples += {char(s & 0xFF), char((s >> 8) & 0xFF)};
                }
                w.write(chunk);
            }
            EXPECT_EQ(dir.names().size(), 2u) << "the file under a temporary name";
            w.commit();
        }
        EXPECT_TRUE(readFile(target) == wavHeader(channels, rate, samples.size()) + samples);
        EXPECT_EQ(dir.names(), std::vector<std::string> {"out.wav"});
    }
}

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
    const std::tuple<const char *, std::string, int, int> refused[] = {
        {"missing folder", dir / "no/out.wav", 44100, 2},
        {"target is a folder", dir / "folder.wav", 44100, 2}, {"three channels", target, 44100, 3},
        {"no channels", target, 44100, 0}, {"no rate", target, 0, 1}};
    for (const auto &[name, path, rate, channels] : refused)
        EXPECT_THROW(WavWriter(path, rate, channels), std::runtime_error) << name;
    EXPECT_EQ(dir.names(), before);
    EXPECT_EQ(readFile(target), "old");
}

} // namespace
