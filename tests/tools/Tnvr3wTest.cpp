#include "ToolTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tooltest;

namespace {

std::string fixture(const std::string &name)
{
    return std::string(TONVERA_TEST_DATA) + "/codecs/" + name;
}

std::uint32_t le(const std::string &s, std::size_t at, int n)
{
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

struct Expected
{
    const char *file;
    int channels;
    int rate;
};

class Tnvr3wDecode : public ::testing::TestWithParam<Expected>
{
};

// Same samples as an independent decoder (FFmpeg's), give or take rounding, with the same
// delay and padding trimmed, in a header a strict reader accepts.
TEST_P(Tnvr3wDecode, MatchesAReferenceDecode)
{
    const Expected e = GetParam();
    TempDir dir;
    const std::string target = dir / "out.wav";
    const RunResult r = run({toolPath("tnvr3w"), fixture(e.file), target});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");

    const std::string wav = readFile(target);
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le(wav, 20, 2), 1u);
    EXPECT_EQ(le(wav, 22, 2), static_cast<std::uint32_t>(e.channels));
    EXPECT_EQ(le(wav, 24, 4), static_cast<std::uint32_t>(e.rate));
    EXPECT_EQ(le(wav, 28, 4), static_cast<std::uint32_t>(e.rate * e.channels * 2));
    EXPECT_EQ(le(wav, 34, 2), 16u);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(le(wav, 40, 4), wav.size() - 44);

    const std::string ref = dir / "ref.raw";
    ASSERT_EQ(run({"ffmpeg", "-nostdin", "-v", "error", "-i", fixture(e.file), "-f", "s16le",
                      "-acodec", "pcm_s16le", ref})
                  .exitCode,
        0);
    const std::string expected = readFile(ref);
    ASSERT_EQ(wav.size() - 44, expected.size());
    int worst = 0;
    for (std::size_t i = 0; i + 1 < expected.size(); i += 2) {
        const auto a = static_cast<std::int16_t>(le(wav, 44 + i, 2));
        const auto b = static_cast<std::int16_t>(le(expected, i, 2));
        worst = std::max(worst, std::abs(a - b));
    }
    EXPECT_LE(worst, 2);
    EXPECT_EQ(dir.names(), (std::vector<std::string> {"out.wav", "ref.raw"}));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Tnvr3wDecode,
    ::testing::Values(Expected {"cbr128-stereo.mp3", 2, 44100},
        Expected {"vbr-stereo.mp3", 2, 44100}, Expected {"mono.mp3", 1, 44100},
        Expected {"mpeg2-22050.mp3", 2, 22050}, Expected {"mpeg25-11025-mono.mp3", 1, 11025},
        Expected {"no-info-frame.mp3", 2, 44100}, Expected {"tagged.mp3", 2, 44100}));

TEST(Tnvr3w, ReplacesAnExistingTargetOnlyOnSuccess)
{
    TempDir dir;
    const std::string target = dir / "out.wav";
    writeFile(target, "old");
    ASSERT_EQ(run({toolPath("tnvr3w"), fixture("mono.mp3"), target}).exitCode, 0);
    EXPECT_GT(readFile(target).size(), 1000u);
    // Like any new file, the result follows the umask instead of staying private.
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0044, 0u);

    EXPECT_NE(run({toolPath("tnvr3w"), fixture("not-audio.mp3"), target}).exitCode, 0);
    EXPECT_GT(readFile(target).size(), 1000u) << "a failed decode must not touch the old file";
}

TEST(Tnvr3w, FailuresLeaveNothingBehind)
{
    TempDir dir;
    const std::string mp3 = fixture("cbr128-stereo.mp3");
    writeFile(dir / "empty.mp3", "");
    writeFile(dir / "truncated-header.mp3", readFile(mp3).substr(0, 3));
    ::mkdir((dir / "folder.wav").c_str(), 0700);
    ::mkfifo((dir / "pipe.mp3").c_str(), 0600);
    struct Case
    {
        const char *name;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"missing source", {toolPath("tnvr3w"), dir / "nothing.mp3", dir / "a.wav"}},
        {"text file", {toolPath("tnvr3w"), fixture("not-audio.mp3"), dir / "a.wav"}},
        {"empty file", {toolPath("tnvr3w"), dir / "empty.mp3", dir / "a.wav"}},
        {"three bytes", {toolPath("tnvr3w"), dir / "truncated-header.mp3", dir / "a.wav"}},
        {"source is a folder", {toolPath("tnvr3w"), dir.path().string(), dir / "a.wav"}},
        {"source is a named pipe", {toolPath("tnvr3w"), dir / "pipe.mp3", dir / "a.wav"}},
        {"target folder missing", {toolPath("tnvr3w"), mp3, dir / "no/such/a.wav"}},
        {"target is a folder", {toolPath("tnvr3w"), mp3, dir / "folder.wav"}},
        {"target is the source", {toolPath("tnvr3w"), dir / "empty.mp3", dir / "empty.mp3"}},
        {"no target", {toolPath("tnvr3w"), mp3}},
    };
    const auto before = dir.names();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = run(c.args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(isOneLine(r.err)) << r.err;
        EXPECT_EQ(dir.names(), before);
    }
}

TEST(Tnvr3w, DecodesWhatIsThereOfACutOffFile)
{
    TempDir dir;
    const std::string whole = readFile(fixture("cbr128-stereo.mp3"));
    writeFile(dir / "cut.mp3", whole.substr(0, whole.size() / 2));
    const RunResult r = run({toolPath("tnvr3w"), dir / "cut.mp3", dir / "cut.wav"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string wav = readFile(dir / "cut.wav");
    EXPECT_EQ(le(wav, 40, 4), wav.size() - 44);
    EXPECT_GT(wav.size(), 44100u * 4 / 3); // about one of the two seconds
}

} // namespace
