#include "Mpg123Source.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

using namespace tooltest;
using tonvera::Mpg123Source;

namespace {

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
