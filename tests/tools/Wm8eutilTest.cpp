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
    writeFile(dir / "8bit.wav", makeWav(1, 8000, 1.0, 8));
    writeFile(dir / "float.wav", makeWav(2, 44100, 1.0, 32, 3));
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
    const Case cases[] = {
        {"unknown profile", config(wav, out, "-profile a80\r\n")},
        {"missing input", config(dir / "none.wav", out, profile)},
        {"repeated input", "-input " + wav + "\r\n" + config(wav, out, profile)},
        {"repeated output", config(wav, out, profile + "-output " + dir / "other.wma\r\n")},
        {"unknown option", config(wav, out, profile + "-codec mp3\r\n")},
        {"8-bit input", config(dir / "8bit.wav", out, profile)},
        {"float input", config(dir / "float.wav", out, profile)},
        {"MP3 input", config(dir / "song.mp3", out, profile)},
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
    writeFile(dir / "job.weu", config(dir / "in.wav", dir / "out.wma", "-profile a128\r\n"));
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
    EXPECT_EQ(dir.names(), (std::vector<std::string> {"in.wav", "job.weu"}));
}

} // namespace
