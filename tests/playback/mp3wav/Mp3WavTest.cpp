#include "Mpg123Source.h"
#include "ToolTestSupport.h"
#include "WavWriter.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace tooltest;
using tonvera::Mpg123Source;
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

const std::string Marker = TONVERA_TEST_DATA "/playback/marker.mp3";

// A seek lands on the very sample a continuous decode has there, across frame edges, and the
// scan's length is what a decode yields (delay and padding trimmed alike in both).
TEST(Mpg123Source, SeeksToTheExactSample)
{
    Mpg123Source source(Marker);
    const Mpg123Source::Length length = source.scan();
    const int ch = source.channels();
    ASSERT_EQ(ch, 2);
    std::vector<std::int16_t> whole, buffer(10000);
    while (const std::size_t n = source.read(buffer))
        whole.insert(whole.end(), buffer.begin(), buffer.begin() + std::ptrdiff_t(n));
    ASSERT_EQ(std::int64_t(whole.size()), length.samples * ch);
    std::vector<std::int16_t> more(100);
    EXPECT_EQ(source.read(more), 0u) << "the end stays the end";
    const std::int64_t spf = length.samplesPerFrame;
    for (std::int64_t at : {std::int64_t(0), spf - 1, spf, 50 * spf + 17, length.samples - 5}) {
        SCOPED_TRACE(at);
        source.seek(at);
        std::vector<std::int16_t> part(std::size_t(std::min<std::int64_t>(4000, whole.size())));
        part.resize(source.read(part));
        ASSERT_FALSE(part.empty());
        EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin() + at * ch));
    }
}

// The target-is-the-source guard must see through other names for the same file.
TEST(Mpg123Source, KnowsItsFileUnderAnyName)
{
    TempDir dir;
    const std::string source = dir / "a.mp3";
    writeFile(source, readFile(Marker));
    writeFile(dir / "copy.mp3", readFile(Marker));
    ASSERT_EQ(::symlink(source.c_str(), (dir / "soft.mp3").c_str()), 0);
    ASSERT_EQ(::link(source.c_str(), (dir / "hard.mp3").c_str()), 0);
    const Mpg123Source opened(source);
    for (const auto &[path, same] :
        {std::pair {source, true}, {dir / "./a.mp3", true}, {dir / "soft.mp3", true},
            {dir / "hard.mp3", true}, {dir / "copy.mp3", false}, {dir / "missing.mp3", false}})
        EXPECT_EQ(opened.isSameFile(path), same) << path;
}

} // namespace
