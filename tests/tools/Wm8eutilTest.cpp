// The encoder run as the program runs it, on real audio; FFmpeg's tools and mutagen, readers
// independent of ours, are the reference.
#include "AsfAttributes.h"
#include "ToolTestSupport.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tooltest;
using namespace std::string_literals;

namespace {

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
int ffmpeg(const std::vector<std::string> &args)
{
    std::vector<std::string> command {"ffmpeg", "-nostdin", "-v", "error", "-y"};
    command.insert(command.end(), args.begin(), args.end());
    return run(command).exitCode;
}

// Encodes into out.wma, which must succeed with its progress at 100 only at the end; gives the
// stream ("wmav2,44100,2": codec, rate, channels) and the length in seconds ffprobe reads.
std::pair<std::string, double> encoded(
    const TempDir &dir, const std::string &input, const std::string &lines)
{
    const RunResult r = encode(dir, input, dir / "out.wma", lines);
    EXPECT_EQ(std::tuple(r.exitCode, r.err, r.out.find("progress 100\n")),
        std::tuple(0, "", r.out.size() - 13));
    auto f = fieldsOf("ffprobe",
        {"-v", "error", "-show_entries", "stream=codec_name,sample_rate,channels:format=duration",
            "-of", "default=noprint_wrappers=1", QString::fromStdString(dir / "out.wma")});
    return {(f["codec_name"] + ',' + f["sample_rate"] + ',' + f["channels"]).toStdString(),
        f["duration"].toDouble()};
}

// Album, track, year, genre, album artist and composer become the attributes a player reads,
// and the MP3's front cover goes in byte for byte; a job without them writes none of them.
TEST(Wm8eutil, WritesEveryFieldAsItsOwnAttributeAndTheCover)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(2, 44100, 1.0));
    // A back cover first, then the front cover, as an MP3 a tagger wrote.
    for (const auto &[name, size] : {std::pair {"back.jpg", "320x320"}, {"front.jpg", "900x900"}})
        ASSERT_EQ(ffmpeg({"-f", "lavfi", "-i", "testsrc=size="s + size + ":duration=1", "-frames:v",
                      "1", "-q:v", "2", dir / name}),
            0);
    const std::string front = readFile(dir / "front.jpg");
    ASSERT_GT(front.size(), 65536u); // beyond an ASF attribute's 16 bits
    ASSERT_EQ(ffmpeg({"-i", dir / "in.wav", "-i", dir / "back.jpg", "-i", dir / "front.jpg", "-map",
                  "0", "-map", "1", "-map", "2", "-c:v", "copy", "-id3v2_version", "3",
                  "-metadata:s:v:0", "comment=Cover (back)", "-metadata:s:v:1",
                  "comment=Cover (front)", dir / "source.mp3"}),
        0);
    const RunResult r = encode(dir, dir / "in.wav", dir / "out.wma",
        "-profile a64\r\n-title \"Perché \"sì\"\"\r\n-author \"Zoë Ørsted\"\r\n"
        "-copyright \"© 2001 \"Q\"\"\r\n-description \"Album: Été (Trk #5/12)\r\nnice\"\r\n"
        "-album \"Fixtures Album\"\r\n-track \"5/12\"\r\n-year \"2001\"\r\n-genre \"Jazz\"\r\n"
        "-albumartist \"The Band\"\r\n-composer \"Zoë Ørsted\"\r\n-picture \""
            + dir / "source.mp3" + "\"\r\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dir.names().size(), 6u) << "no file beside the output";
    // ffprobe, as most players, for the texts of the content description and the play time: the
    // header grew by the picture, and its length still holds for FFmpeg's reader.
    const auto f = ffprobeFormat(QString::fromStdString(dir / "out.wma"));
    EXPECT_EQ(QStringList({f["tag:title"], f["tag:artist"], f["tag:copyright"]}),
        QStringList({"Perché \"sì\"", "Zoë Ørsted", "© 2001 \"Q\""}));
    EXPECT_NEAR(f["duration"].toDouble(), 1.0, 0.08);
    EXPECT_EQ(ffmpeg({"-i", dir / "out.wma", "-f", "null", "-"}), 0);
    // mutagen for the attributes by their ASF names, and the picture.
    const QString sha1
        = QCryptographicHash::hash(QByteArray::fromStdString(front), QCryptographicHash::Sha1)
              .toHex();
    auto asf = asfAttributes(QString::fromStdString(dir / "out.wma"));
    for (const auto &[name, value] :
        std::map<QString, QString> {{"WM/AlbumTitle", "Fixtures Album"}, {"WM/TrackNumber", "5/12"},
            {"WM/Year", "2001"}, {"WM/Genre", "Jazz"}, {"WM/AlbumArtist", "The Band"},
            {"WM/Composer", "Zoë Ørsted"}, {"Description", "Album: Été (Trk #5/12)<CR><LF>nice"},
            {"WM/Picture", "3 image/jpeg " + sha1}})
        EXPECT_EQ(asf[name], value) << name.toStdString();
    // Without the fields, none of their attributes; a source without a picture adds none.
    ASSERT_EQ(ffmpeg({"-i", dir / "in.wav", dir / "bare.mp3"}), 0);
    ASSERT_EQ(encode(dir, dir / "in.wav", dir / "plain.wma",
                  "-profile a64\r\n-title \"T\"\r\n-picture \"" + dir / "bare.mp3" + "\"\r\n")
                  .exitCode,
        0);
    asf = asfAttributes(QString::fromStdString(dir / "plain.wma"));
    for (const char *name : {"WM/AlbumTitle", "WM/TrackNumber", "WM/Year", "WM/Genre",
             "WM/AlbumArtist", "WM/Composer", "WM/Picture", "Description", "Author"})
        EXPECT_FALSE(asf.contains(name)) << name;
    EXPECT_EQ(asf["Title"], "T");
    // A WMA source without a front cover gives its first picture (mutagen puts in two).
    const RunResult tagged = run({"/usr/bin/python3", "-c",
        "import sys, mutagen.asf as m; f = m.ASF(sys.argv[1]); f['WM/Picture'] = [m.ASFByteArray"
        "Attribute(b'\\4' + len(d).to_bytes(4, 'little') + 'image/jpeg\\0\\0'.encode('utf-16-le')"
        " + d) for d in map(lambda p: open(p, 'rb').read(), sys.argv[2:])]; f.save()",
        dir / "plain.wma", dir / "front.jpg", dir / "back.jpg"});
    ASSERT_EQ(tagged.exitCode, 0) << tagged.err;
    const std::string lines = "-profile a64\r\n-picture \"" + dir / "plain.wma" + "\"\r\n";
    ASSERT_EQ(encode(dir, dir / "in.wav", dir / "out.wma", lines).exitCode, 0);
    EXPECT_EQ(asfAttributes(QString::fromStdString(dir / "out.wma"))["WM/Picture"],
        "4 image/jpeg " + sha1);
}

// Any WAV the program may hand over, with every profile, whole or a section of it: before or
// after the profile, past the end, or from a start to the end (an end before the start).
// The same samples in a wider or float WAV, or in a WMA source re-encoded (as the program does
// when converting onto itself, the source set aside under a name ending in ".wma.tmp.wma"),
// must give the very output of the same samples in a 16-bit or float WAV byte for byte.
TEST(Wm8eutil, EncodesTheSectionOfAnyInput)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(1, 22050, 10.0));
    writeFile(dir / "8bit.wav", makeWav(1, 8000, 1.5, 8));
    writeFile(dir / "s16.wav", makeWav(2, 44100, 3.0));
    const std::tuple<const char *, std::string, std::string, double> cases[] = {
        {"in.wav", "-time 2000 5000\r\n-profile a64\r\n", "wmav2,44100,2", 3.0},
        {"in.wav", "-profile a48\r\n-time 1500 2500\r\n", "wmav2,44100,2", 1.0},
        {"in.wav", "-profile a32\r\n-time 9000 60000\r\n", "wmav2,32000,2", 1.0},
        {"in.wav", "-time 8000 0\r\n-profile a20_2\r\n", "wmav2,22050,2", 2.0},
        {"in.wav", "-profile a20_1\r\n", "wmav2,22050,1", 10.0},
        {"8bit.wav", "-profile a20_2\r\n", "wmav2,22050,2", 1.5},
        {"s16.wav", "-profile a96\r\n", "wmav2,44100,2", 3.0},
        {"s16.wav", "-profile a128\r\n-time 0 2500\r\n", "wmav2,44100,2", 2.5},
    };
    for (const auto &[input, lines, expected, length] : cases) {
        SCOPED_TRACE(input + " "s + lines);
        const auto [codec, seconds] = encoded(dir, dir / input, lines);
        EXPECT_EQ(codec, expected);
        EXPECT_NEAR(seconds, length, 0.08);
    }
    std::vector<std::pair<std::string, std::string>> inputs; // input, its samples in a WAV
    for (const std::string codec : {"pcm_s24le", "pcm_f32le"}) {
        ASSERT_EQ(ffmpeg({"-i", dir / "s16.wav", "-c:a", codec, dir / (codec + ".wav")}), 0);
        inputs.emplace_back(dir / (codec + ".wav"), dir / "s16.wav");
    }
    for (const std::string codec : {"wmav1", "wmav2"}) {
        const std::string source = dir / (codec + ".wma.tmp.wma");
        ASSERT_EQ(ffmpeg({"-i", dir / "s16.wav", "-c:a", codec, "-b:a", "128k", source}), 0);
        ASSERT_EQ(ffmpeg({"-i", source, "-c:a", "pcm_f32le", dir / (codec + ".decoded.wav")}), 0);
        inputs.emplace_back(source, dir / (codec + ".decoded.wav"));
    }
    const std::pair<std::string, double> sections[] = {{"-profile a20_1\r\n", 3.0},
        {"-profile a64\r\n-time 1234 1789\r\n", 0.555}, {"-profile a32\r\n-time 1500 0\r\n", 1.5}};
    const auto before = dir.names();
    for (const auto &[input, samples] : inputs) {
        for (const auto &[lines, length] : sections) {
            SCOPED_TRACE(input + " " + lines);
            EXPECT_NEAR(encoded(dir, samples, lines).second, length, 0.08);
            const std::string reference = readFile(dir / "out.wma");
            EXPECT_NEAR(encoded(dir, input, lines).second, length, 0.08);
            EXPECT_TRUE(readFile(dir / "out.wma") == reference);
        }
    }
    EXPECT_EQ(dir.names(), before) << "nothing beside job.weu and out.wma";
}

// Mono made stereo keeps its level on both sides; stereo made mono averages (two tones: -3 dB).
TEST(Wm8eutil, ChannelsChangeWithoutChangingTheLevel)
{
    TempDir dir;
    const auto rms = [](const std::vector<std::int16_t> &samples) {
        double sum = 0;
        for (const std::int16_t v : samples)
            sum += double(v) * v;
        return std::sqrt(sum / std::max<std::size_t>(1, samples.size()));
    };
    for (const auto &[channels, lines, level] :
        {std::tuple {1, "-profile a64\r\n", 0.0}, {2, "-profile a20_1\r\n", -3.0}}) {
        const std::string wav = makeWav(channels, 44100, 2.0);
        writeFile(dir / "in.wav", wav);
        ASSERT_EQ(encode(dir, dir / "in.wav", dir / "out.wma", lines).exitCode, 0);
        ASSERT_EQ(ffmpeg({"-i", dir / "out.wma", "-f", "s16le", dir / "out.raw"}), 0);
        const std::string decoded = readFile(dir / "out.raw");
        for (int side = 0; side < 3 - channels; ++side) { // one channel made two, or two one
            const double gain = rms(channelOf(decoded, 0, side, 3 - channels))
                / rms(channelOf(wav, 44, 0, channels));
            EXPECT_NEAR(20 * std::log10(gain), level, 0.5) << lines << side;
        }
    }
}

TEST(Wm8eutil, RefusalsAndFailuresLeaveNoOutput)
{
    TempDir dir;
    const std::string wav = dir / "in.wav", wma = dir / "in.wma", out = dir / "out.wma";
    writeFile(wav, makeWav(2, 44100, 1.0));
    writeFile(dir / "silent.wav", makeWav(2, 44100, 0.0));
    writeFile(dir / "song.mp3", readFile(TONVERA_TEST_DATA "/codecs/mono.mp3"));
    ::mkfifo((dir / "pipe.wav").c_str(), 0600);
    ASSERT_EQ(ffmpeg({"-i", wav, "-c:a", "wmav2", wma}), 0);
    const std::string wmaBytes = readFile(wma);
    writeFile(dir / "header-only.wma", wmaBytes.substr(0, 700));
    writeFile(dir / "text.wma", std::string(4000, 'x'));
    const std::string a64 = "-profile a64\r\n", after = a64 + "-time 5000 6000\r\n";
    const std::pair<const char *, std::string> cases[] = {
        {"a job the reader refuses", config(wav, out, "-profile a80\r\n")},
        {"missing input", config(dir / "none.wav", out, a64)},
        {"MP3 input", config(dir / "song.mp3", out, a64)},
        {"text named .wma", config(dir / "text.wma", out, a64)},
        {"WMA cut short after its header", config(dir / "header-only.wma", out, a64)},
        {"WMA section after the end", config(wma, out, after)},
        {"WMA output is its input", config(wma, wma, a64)},
        {"input is a named pipe", config(dir / "pipe.wav", out, a64)},
        {"input without samples", config(dir / "silent.wav", out, a64)},
        {"section after the end", config(wav, out, after)},
        {"output folder missing", config(wav, dir / "no/out.wma", a64)},
        {"output is the input", config(wav, wav, a64)},
        {"output is a folder", config(wav, dir.path(), a64)},
    };
    for (const auto &[name, text] : cases) {
        SCOPED_TRACE(name);
        writeFile(dir / "job.weu", text);
        expectRefused(dir, {toolPath("wm8eutil"), "-config", dir / "job.weu"});
    }
    EXPECT_EQ(readFile(wav), makeWav(2, 44100, 1.0));
    EXPECT_EQ(readFile(wma), wmaBytes);
    for (const auto &args : std::vector<std::vector<std::string>> {{toolPath("wm8eutil")},
             {toolPath("wm8eutil"), "-config", dir / "no.weu"},
             {toolPath("wm8eutil"), "-input", wav}})
        expectRefused(dir, args);
}

// The program stops a running encoder by signal; the half-written output must go with it.
TEST(Wm8eutil, StoppedMidwayLeavesNoOutput)
{
    TempDir dir;
    writeFile(dir / "in.wav", makeWav(2, 44100, 120.0));
    ASSERT_EQ(ffmpeg({"-i", dir / "in.wav", "-c:a", "wmav2", dir / "in.wma"}), 0);
    for (const std::string input : {"in.wav", "in.wma"}) {
        SCOPED_TRACE(input);
        writeFile(dir / "job.weu", config(dir / input, dir / "out.wma", "-profile a128\r\n"));
        QProcess encoder;
        encoder.start(QString::fromStdString(toolPath("wm8eutil")),
            {"-config", QString::fromStdString(dir / "job.weu")});
        // Wait for real progress, so the encoder is surely writing.
        QByteArray seen;
        while (!seen.contains("progress 1\n") && encoder.waitForReadyRead(30000))
            seen += encoder.readAllStandardOutput();
        ASSERT_TRUE(seen.contains("progress 1\n"))
            << "ended before it could be stopped: " << seen.data();
        encoder.terminate();
        ASSERT_TRUE(encoder.waitForFinished(30000));
        EXPECT_TRUE(encoder.exitStatus() == QProcess::CrashExit || encoder.exitCode() != 0);
        EXPECT_EQ(dir.names(), (std::vector<std::string> {"in.wav", "in.wma", "job.weu"}));
    }
}

} // namespace
