#include "ToolTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tooltest;

namespace {

std::string fixture(const std::string &name)
{
    return std::string(TONVERA_TEST_DATA) + "/codecs/" + name;
}

// Same samples as an independent decoder (FFmpeg's), give or take rounding, with the same
// delay and padding trimmed, in a header a strict reader accepts.
TEST(Tnvr3w, MatchesAReferenceDecode)
{
    const std::tuple<const char *, int, int> cases[]
        = {{"cbr128-stereo.mp3", 2, 44100}, {"vbr-stereo.mp3", 2, 44100}, {"mono.mp3", 1, 44100},
            {"mpeg2-22050.mp3", 2, 22050}, {"mpeg25-11025-mono.mp3", 1, 11025},
            {"no-info-frame.mp3", 2, 44100}, {"tagged.mp3", 2, 44100}};
    for (const auto &[file, channels, rate] : cases) {
        SCOPED_TRACE(file);
        TempDir dir;
        const RunResult r = run({toolPath("tnvr3w"), fixture(file), dir / "out.wav"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const std::string wav = readFile(dir / "out.wav");
        ASSERT_GE(wav.size(), 44u);
        EXPECT_EQ(wav.substr(0, 44), wavHeader(channels, rate, wav.size() - 44));
        const RunResult ref = run({"ffmpeg", "-nostdin", "-v", "error", "-i", fixture(file), "-f",
            "s16le", "-acodec", "pcm_s16le", dir / "ref.raw"});
        ASSERT_EQ(ref.exitCode, 0) << ref.err;
        const std::string expected = readFile(dir / "ref.raw");
        ASSERT_EQ(wav.size() - 44, expected.size());
        int worst = 0;
        for (std::size_t i = 0; i + 1 < expected.size(); i += 2)
            worst = std::max(worst,
                std::abs(std::int16_t(le(wav, 44 + i, 2)) - std::int16_t(le(expected, i, 2))));
        EXPECT_LE(worst, 2);
        EXPECT_EQ(dir.names(), (std::vector<std::string> {"out.wav", "ref.raw"}));
    }
}

// Failures leave nothing behind and an existing target as it was; only a finished decode
// replaces it, and a file cut off mid-stream decodes as far as it goes.
TEST(Tnvr3w, ReplacesAnExistingTargetOnlyOnSuccess)
{
    TempDir dir;
    const std::string mp3 = fixture("cbr128-stereo.mp3"), target = dir / "out.wav";
    const std::string whole = readFile(mp3);
    writeFile(dir / "cut.mp3", whole.substr(0, whole.size() / 2));
    writeFile(target, "old");
    writeFile(dir / "empty.mp3", "");
    writeFile(dir / "truncated-header.mp3", whole.substr(0, 3));
    ::mkdir((dir / "folder.wav").c_str(), 0700);
    ::mkfifo((dir / "pipe.mp3").c_str(), 0600);
    const std::string tool = toolPath("tnvr3w"), a = dir / "a.wav";
    const std::pair<const char *, std::vector<std::string>> cases[]
        = {{"missing source", {tool, dir / "nothing.mp3", a}},
            {"text file", {tool, fixture("not-audio.mp3"), target}},
            {"empty file", {tool, dir / "empty.mp3", a}},
            {"three bytes", {tool, dir / "truncated-header.mp3", a}},
            {"source is a folder", {tool, dir.path(), a}},
            {"source is a named pipe", {tool, dir / "pipe.mp3", a}},
            {"target folder missing", {tool, mp3, dir / "no/such/a.wav"}},
            {"target is a folder", {tool, mp3, dir / "folder.wav"}},
            {"target is the source", {tool, dir / "empty.mp3", dir / "empty.mp3"}},
            {"no target", {tool, mp3}}};
    for (const auto &[name, command] : cases) {
        SCOPED_TRACE(name);
        expectRefused(dir, command);
    }
    EXPECT_EQ(readFile(target), "old");
    const RunResult r = run({tool, dir / "cut.mp3", target});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string wav = readFile(target);
    EXPECT_EQ(le(wav, 40, 4), wav.size() - 44);
    EXPECT_GT(wav.size(), 44100u * 4 / 3); // about one of the two seconds
    // Like any new file, the result follows the umask instead of staying private.
    EXPECT_NE(QFileInfo(QString::fromStdString(target)).permissions() & 0x0044, 0);
    EXPECT_EQ(dir.names(),
        (std::vector<std::string> {
            "cut.mp3", "empty.mp3", "folder.wav", "out.wav", "pipe.mp3", "truncated-header.mp3"}))
        << "no file beside the output";
}

} // namespace
