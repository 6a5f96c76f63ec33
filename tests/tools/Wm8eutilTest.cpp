#include "EncoderProfiles.h"
#include "ToolTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace tooltest;

namespace {

// The few fields of ffprobe's JSON we look at, numbers as text.
std::map<std::string, std::string> probe(const std::string &file)
{
    const RunResult r = run({"ffprobe", "-v", "error", "-show_entries",
        "stream=codec_name,channels,sample_rate:format=duration:"
        "format_tags=title,artist,copyright,comment",
        "-of", "json", file});
    const QJsonObject all = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    const QJsonObject format = all["format"].toObject();
    std::map<std::string, std::string> fields;
    for (const QJsonObject &part :
        {all["streams"].toArray()[0].toObject(), format, format["tags"].toObject()})
        for (auto it = part.begin(); it != part.end(); ++it)
            fields[it.key().toStdString()]
                = it->isString() ? it->toString().toStdString() : std::to_string(it->toInt());
    return fields;
}

std::string config(const std::string &input, const std::string &output, const std::string &rest)
{
    return "-input " + input + "\r\n-output " + output + "\r\n" + rest;
}

RunResult encode(const TempDir &dir, const std::string &input, const std::string &output,
    const std::string &lines)
{
    writeFile(dir / "job.weu", config(input, output, lines));
    return run({toolPath("wm8eutil"), "-config", dir / "job.weu"});
}

// FFmpeg's command line makes the other input formats and is the reference for their samples.
RunResult ffmpeg(
    const std::string &from, const std::vector<std::string> &codec, const std::string &to)
{
    std::vector<std::string> args {"ffmpeg", "-nostdin", "-v", "error", "-y", "-i", from};
    args.insert(args.end(), codec.begin(), codec.end());
    args.push_back(to);
    return run(args);
}

class Wm8eutilProfile : public ::testing::TestWithParam<tonvera::EncoderProfile>
{
};

TEST_P(Wm8eutilProfile, EncodesWithTheProfileAndTheTexts)
{
    const tonvera::EncoderProfile p = GetParam();
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(2, 44100, 3.0));
    writeFile(dir / "job.weu",
        config(dir / "in.wav", dir / "out.wma",
            "-profile " + std::string(p.name)
                + "\r\n-title \"Perché \"sì\"\"\r\n-author \"Zoë Ørsted\"\r\n"
                  "-copyright \"© 2001 \"Q\"\"\r\n"
                  "-description \"Album: Été (Trk #7)\r\nsecond line\"\r\n"));
    const RunResult r = run({toolPath("wm8eutil"), "-config", dir / "job.weu"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out.ends_with("progress 100\n"));

    auto f = probe(dir / "out.wma");
    EXPECT_EQ(f["codec_name"], "wmav2");
    EXPECT_EQ(f["channels"], std::to_string(p.channels));
    EXPECT_EQ(f["sample_rate"], std::to_string(p.sampleRate));
    EXPECT_NEAR(std::stod(f["duration"]), 3.0, 0.08);
    EXPECT_EQ(f["title"], "Perché \"sì\"");
    EXPECT_EQ(f["artist"], "Zoë Ørsted");
    EXPECT_EQ(f["copyright"], "© 2001 \"Q\"");
    EXPECT_EQ(f["comment"], "Album: Été (Trk #7)\r\nsecond line");
    EXPECT_EQ(dir.names(), (std::vector<std::string> {"in.wav", "job.weu", "out.wma"}));
}

INSTANTIATE_TEST_SUITE_P(AllProfiles, Wm8eutilProfile,
    ::testing::ValuesIn(tonvera::encoderProfiles()),
    [](const auto &info) { return std::string(info.param.name); });

// What mutagen, a reader independent of ours, finds: see tests/support/asf_attributes.py.
std::map<std::string, std::string> asfAttributes(const std::string &file)
{
    const RunResult r
        = run({"/usr/bin/python3", TONVERA_SOURCE_DIR "/tests/support/asf_attributes.py", file});
    std::map<std::string, std::string> attributes;
    std::size_t start = 0;
    for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = r.out.substr(start, end - start);
        attributes[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    }
    return attributes;
}

std::string sha1Of(const std::string &file)
{
    const RunResult r = run({"sha1sum", file});
    return r.out.substr(0, 40);
}

// Album, track, year, genre, album artist and composer become the attributes a player reads,
// and the MP3's front cover goes in byte for byte; a job without them writes none of them.
TEST(Wm8eutil, WritesEveryFieldAsItsOwnAttributeAndTheCover)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(2, 44100, 1.0));
    // A back cover first, then the front cover, as an MP3 a tagger wrote.
    for (const auto &[name, size] : {std::pair {"back.jpg", "320x320"}, {"front.jpg", "900x900"}})
        ASSERT_EQ(run({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                          std::string("testsrc=size=") + size + ":duration=1", "-frames:v", "1",
                          "-q:v", "2", dir / name})
                      .exitCode,
            0);
    ASSERT_GT(readFile(dir / "front.jpg").size(), 65536u); // beyond an ASF attribute's 16 bits
    ASSERT_EQ(
        run({"ffmpeg", "-nostdin", "-v", "error", "-i", dir / "in.wav", "-i", dir / "back.jpg",
                "-i", dir / "front.jpg", "-map", "0", "-map", "1", "-map", "2", "-c:v", "copy",
                "-id3v2_version", "3", "-metadata:s:v:0", "comment=Cover (back)", "-metadata:s:v:1",
                "comment=Cover (front)", dir / "source.mp3"})
            .exitCode,
        0);

    const RunResult r = encode(dir, dir / "in.wav", dir / "out.wma",
        "-profile a64\r\n-title \"Evening Tone\"\r\n-author \"Test Band\"\r\n"
        "-description \"Album: Fixtures Album (Trk #5/12)\r\nnice\"\r\n"
        "-album \"Fixtures Album\"\r\n-track \"5/12\"\r\n-year \"2001\"\r\n-genre \"Jazz\"\r\n"
        "-albumartist \"The Band\"\r\n-composer \"Zoë Ørsted\"\r\n-picture \""
            + dir / "source.mp3" + "\"\r\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dir.names(),
        (std::vector<std::string> {
            "back.jpg", "front.jpg", "in.wav", "job.weu", "out.wma", "source.mp3"}));

    // ffprobe, as most players, for the texts.
    const RunResult tags = run({"ffprobe", "-v", "error", "-show_entries", "format_tags", "-of",
        "default=noprint_wrappers=1", dir / "out.wma"});
    for (const char *line : {"TAG:title=Evening Tone\n", "TAG:artist=Test Band\n",
             "TAG:album=Fixtures Album\n", "TAG:track=5/12\n", "TAG:WM/Year=2001\n",
             "TAG:genre=Jazz\n", "TAG:album_artist=The Band\n", "TAG:composer=Zoë Ørsted\n",
             "TAG:comment=Album: Fixtures Album (Trk #5/12)\r\nnice\n"})
        EXPECT_NE(tags.out.find(line), std::string::npos) << line << "in\n" << tags.out;

    // mutagen for the attributes by their ASF names, and the picture.
    auto asf = asfAttributes(dir / "out.wma");
    EXPECT_EQ(asf["WM/AlbumTitle"], "Fixtures Album");
    EXPECT_EQ(asf["WM/TrackNumber"], "5/12");
    EXPECT_EQ(asf["WM/Year"], "2001");
    EXPECT_EQ(asf["WM/Genre"], "Jazz");
    EXPECT_EQ(asf["WM/AlbumArtist"], "The Band");
    EXPECT_EQ(asf["WM/Composer"], "Zoë Ørsted");
    EXPECT_EQ(asf["Description"], "Album: Fixtures Album (Trk #5/12)<CR><LF>nice");
    EXPECT_EQ(asf["WM/Picture"], "3 image/jpeg " + sha1Of(dir / "front.jpg"));
    // The header grew by the picture: its length and play time still hold for FFmpeg's reader.
    EXPECT_NEAR(std::stod(probe(dir / "out.wma")["duration"]), 1.0, 0.08);
    EXPECT_EQ(run({"ffmpeg", "-v", "error", "-i", dir / "out.wma", "-f", "null", "-"}).exitCode, 0);

    // Without the fields, none of their attributes; a source without a picture adds none.
    ASSERT_EQ(
        run({"ffmpeg", "-nostdin", "-v", "error", "-i", dir / "in.wav", dir / "bare.mp3"}).exitCode,
        0);
    ASSERT_EQ(encode(dir, dir / "in.wav", dir / "plain.wma",
                  "-profile a64\r\n-title \"T\"\r\n-picture \"" + dir / "bare.mp3" + "\"\r\n")
                  .exitCode,
        0);
    asf = asfAttributes(dir / "plain.wma");
    for (const char *name : {"WM/AlbumTitle", "WM/TrackNumber", "WM/Year", "WM/Genre",
             "WM/AlbumArtist", "WM/Composer", "WM/Picture", "Description", "Author"})
        EXPECT_EQ(asf.count(name), 0u) << name;
    EXPECT_EQ(asf["Title"], "T");
}

TEST(Wm8eutil, EncodesOnlyTheSection)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(1, 22050, 10.0));
    struct Case
    {
        const char *name;
        std::string lines;
        double seconds;
    };
    const Case cases[] = {
        {"before profile", "-time 2000 5000\r\n-profile a64\r\n", 3.0},
        {"after profile", "-profile a48\r\n-time 1500 2500\r\n", 1.0},
        {"end past the input", "-profile a32\r\n-time 9000 60000\r\n", 1.0},
        {"end before start runs to the end", "-time 8000 0\r\n-profile a20_2\r\n", 2.0},
        {"no section", "-profile a64\r\n", 10.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir / "job.weu", config(dir / "in.wav", dir / "out.wma", c.lines));
        const RunResult r = run({toolPath("wm8eutil"), "-config", dir / "job.weu"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NEAR(std::stod(probe(dir / "out.wma")["duration"]), c.seconds, 0.08);
    }
}

// The same samples in a wider or float WAV are decoded exactly, so the output must match the
// 16-bit original byte for byte; with a section that also proves the cut falls on the same sample.
TEST(Wm8eutil, WiderWavSamplesEncodeLikeTheSixteenBitOriginal)
{
    TempDir dir;
    writeFile(dir / "s16.wav", makeWav(2, 44100, 2.0));
    const char *codecs[] = {"pcm_s24le", "pcm_f32le"};
    for (const std::string codec : codecs)
        ASSERT_EQ(ffmpeg(dir / "s16.wav", {"-c:a", codec}, dir / (codec + ".wav")).exitCode, 0);
    for (const std::string section : {"", "-time 1234 1789\r\n", "-time 1500 0\r\n"}) {
        SCOPED_TRACE(section);
        const std::string lines = "-profile a64\r\n" + section;
        ASSERT_EQ(encode(dir, dir / "s16.wav", dir / "ref.wma", lines).exitCode, 0);
        for (const std::string codec : codecs) {
            SCOPED_TRACE(codec);
            const RunResult r = encode(dir, dir / (codec + ".wav"), dir / "out.wma", lines);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_TRUE(readFile(dir / "out.wma") == readFile(dir / "ref.wma"));
        }
    }
}

// A WMA source re-encoded, as the program does when converting onto itself (the source set aside
// under a name ending in ".wma.tmp.wma"). FFmpeg's own decoding of the source, as a float WAV,
// must give the very same output: same samples, same section boundaries.
TEST(Wm8eutil, ReencodesWmaSources)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(2, 44100, 3.0));
    struct Case
    {
        const char *profile;
        const char *section;
        double seconds;
    };
    const Case cases[] = {
        {"a20_1", "", 3.0},
        {"a32", "-time 500 1500\r\n", 1.0},
        {"a64", "-time 2000 0\r\n", 1.0},
    };
    for (const std::string codec : {"wmav1", "wmav2"}) {
        SCOPED_TRACE(codec);
        const std::string source = dir / "a.wma.tmp.wma";
        ASSERT_EQ(ffmpeg(dir / "in.wav", {"-c:a", codec, "-b:a", "128k"}, source).exitCode, 0);
        ASSERT_EQ(ffmpeg(source, {"-c:a", "pcm_f32le"}, dir / "decoded.wav").exitCode, 0);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.profile);
            const std::string lines = "-profile " + std::string(c.profile) + "\r\n" + c.section;
            const RunResult r = encode(dir, source, dir / "out.wma", lines);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_TRUE(r.out.ends_with("progress 100\n"));
            auto f = probe(dir / "out.wma");
            const tonvera::EncoderProfile *p = tonvera::findEncoderProfile(c.profile);
            EXPECT_EQ(f["codec_name"], "wmav2");
            EXPECT_EQ(f["channels"], std::to_string(p->channels));
            EXPECT_EQ(f["sample_rate"], std::to_string(p->sampleRate));
            EXPECT_NEAR(std::stod(f["duration"]), c.seconds, 0.08);

            ASSERT_EQ(encode(dir, dir / "decoded.wav", dir / "ref.wma", lines).exitCode, 0);
            EXPECT_TRUE(readFile(dir / "out.wma") == readFile(dir / "ref.wma"));
        }
    }
    EXPECT_EQ(dir.names(),
        (std::vector<std::string> {
            "a.wma.tmp.wma", "decoded.wav", "in.wav", "job.weu", "out.wma", "ref.wma"}));
}

TEST(Wm8eutil, EncodesEightBitWav)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(1, 8000, 1.5, 8));
    const RunResult r = encode(dir, dir / "in.wav", dir / "out.wma", "-profile a20_2\r\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto f = probe(dir / "out.wma");
    EXPECT_EQ(f["channels"], "2");
    EXPECT_EQ(f["sample_rate"], "22050");
    EXPECT_NEAR(std::stod(f["duration"]), 1.5, 0.08);
}

double rmsOf(const std::string &s16, std::size_t offset, int stride)
{
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = offset; i + 1 < s16.size(); i += 2 * static_cast<std::size_t>(stride)) {
        const auto v = static_cast<std::int16_t>(
            static_cast<unsigned char>(s16[i]) | (static_cast<unsigned char>(s16[i + 1]) << 8));
        sum += double(v) * v;
        ++n;
    }
    return n ? std::sqrt(sum / n) : 0;
}

// A mono recording encoded with a stereo profile keeps its level on both sides.
TEST(Wm8eutil, MonoSourceKeepsItsLevelInStereo)
{
    TempDir dir;
    const std::string wav = makeWav(1, 44100, 2.0);
    writeFile(dir / "in.wav", wav);
    writeFile(dir / "job.weu", config(dir / "in.wav", dir / "out.wma", "-profile a64\r\n"));
    ASSERT_EQ(run({toolPath("wm8eutil"), "-config", dir / "job.weu"}).exitCode, 0);
    ASSERT_EQ(run({"ffmpeg", "-nostdin", "-v", "error", "-i", dir / "out.wma", "-f", "s16le",
                      dir / "out.raw"})
                  .exitCode,
        0);
    const std::string decoded = readFile(dir / "out.raw");
    const double in = rmsOf(wav, 44, 1);
    for (std::size_t side : {0, 2}) {
        SCOPED_TRACE(side ? "right" : "left");
        EXPECT_NEAR(20 * std::log10(rmsOf(decoded, side, 2) / in), 0.0, 0.5);
    }
}

TEST(Wm8eutil, RefusalsAndFailuresLeaveNoOutput)
{
    TempDir dir;
    const std::string wav = dir / "in.wav";
    writeFile(wav, makeWav(2, 44100, 1.0));
    writeFile(dir / "silent.wav", makeWav(2, 44100, 0.0));
    writeFile(dir / "song.mp3", readFile(std::string(TONVERA_TEST_DATA) + "/codecs/mono.mp3"));
    ::mkfifo((dir / "pipe.wav").c_str(), 0600);
    const std::string out = dir / "out.wma";
    const std::string profile = "-profile a64\r\n";
    struct Case
    {
        const char *name;
        std::string text;
    };
    const std::string wma = dir / "in.wma";
    ASSERT_EQ(ffmpeg(wav, {"-c:a", "wmav2"}, wma).exitCode, 0);
    const std::string wmaBytes = readFile(wma);
    writeFile(dir / "header-only.wma", readFile(wma).substr(0, 700));
    writeFile(dir / "text.wma", std::string(4000, 'x'));
    const Case cases[] = {
        {"unknown profile", config(wav, out, "-profile a80\r\n")},
        {"missing input", config(dir / "none.wav", out, profile)},
        {"repeated input", "-input " + wav + "\r\n" + config(wav, out, profile)},
        {"repeated output", config(wav, out, profile + "-output " + dir / "other.wma\r\n")},
        {"unknown option", config(wav, out, profile + "-codec mp3\r\n")},
        {"MP3 input", config(dir / "song.mp3", out, profile)},
        {"text named .wma", config(dir / "text.wma", out, profile)},
        {"WMA cut short after its header", config(dir / "header-only.wma", out, profile)},
        {"WMA section after the end", config(wma, out, profile + "-time 5000 6000\r\n")},
        {"WMA output is its input", config(wma, wma, profile)},
        {"input is a named pipe", config(dir / "pipe.wav", out, profile)},
        {"input without samples", config(dir / "silent.wav", out, profile)},
        {"section after the end", config(wav, out, profile + "-time 5000 6000\r\n")},
        {"output folder missing", config(wav, dir / "no/out.wma", profile)},
        {"output is the input", config(wav, wav, profile)},
        {"output is a folder", config(wav, dir.path().string(), profile)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir / "job.weu", c.text);
        const auto before = dir.names();
        const RunResult r = run({toolPath("wm8eutil"), "-config", dir / "job.weu"});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(isOneLine(r.err)) << r.err;
        EXPECT_EQ(dir.names(), before);
    }
    EXPECT_EQ(readFile(wav), makeWav(2, 44100, 1.0));
    EXPECT_EQ(readFile(wma), wmaBytes);

    for (const auto &args : std::vector<std::vector<std::string>> {{toolPath("wm8eutil")},
             {toolPath("wm8eutil"), "-config", dir / "no.weu"},
             {toolPath("wm8eutil"), "-input", wav}}) {
        const RunResult r = run(args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(isOneLine(r.err)) << r.err;
    }
}

// The program stops a running encoder by signal; the half-written output must go with it.
TEST(Wm8eutil, StoppedMidwayLeavesNoOutput)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(2, 44100, 120.0));
    ASSERT_EQ(ffmpeg(dir / "in.wav", {"-c:a", "wmav2"}, dir / "in.wma").exitCode, 0);
    for (const std::string input : {"in.wav", "in.wma"}) {
        SCOPED_TRACE(input);
        writeFile(dir / "job.weu", config(dir / input, dir / "out.wma", "-profile a128\r\n"));
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const std::string tool = toolPath("wm8eutil"), flag = "-config", job = dir / "job.weu";
        char *argv[] = {const_cast<char *>(tool.c_str()), const_cast<char *>(flag.c_str()),
            const_cast<char *>(job.c_str()), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);

        // Wait for real progress, so the encoder is surely writing.
        std::string seen;
        char buf[256];
        while (seen.find("progress 1\n") == std::string::npos) {
            const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
            ASSERT_GT(n, 0) << "encoder ended before it could be stopped: " << seen;
            seen.append(buf, static_cast<std::size_t>(n));
        }
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(pipeFds[0]);
        EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0));
        EXPECT_EQ(dir.names(), (std::vector<std::string> {"in.wav", "in.wma", "job.weu"}));
    }
}

} // namespace
