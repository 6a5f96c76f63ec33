#include "conversion/RunPlan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace RunPlan;

namespace {
CutSection cut(double start, double end)
{
    CutSection c;
    c.setStartMs(start);
    c.setEndMs(end);
    return c;
}
} // namespace

TEST(RunPlan, NamesForEachSourceAndOutputDrive)
{
    EXPECT_EQ(baseNameOf("song.mp3"), "song");
    EXPECT_EQ(baseNameOf("a.b.WAV"), "a.b");
    EXPECT_EQ(baseNameOf(".mp3"), ".mp3"); // never an output named ".wma"
    EXPECT_EQ(baseNameOf("noext"), "noext");

    const FileNames mp3 = namesFor("my song", "MP3", "/out", "/run/Tnvm", false);
    EXPECT_EQ(mp3.OutputFileName, "my song.wma");
    EXPECT_EQ(mp3.OutputPath, "/out/my song.wma");
    EXPECT_EQ(mp3.WaveOutputPath, "/out/my song.wav");
    EXPECT_EQ(mp3.TempWavePath, "/out/~tmpw_0.wav");
    EXPECT_EQ(mp3.TempWmaPath, "/out/~tmpw_0.wma");
    EXPECT_FALSE(mp3.TempWaveOnWorkFolder);

    // A removable output drive: the decoded WAV waits in the working folder.
    const FileNames wav = namesFor("x", "WAV", "/", "/run/Tnvm", true);
    EXPECT_EQ(wav.OutputPath, "/x.wma");
    EXPECT_TRUE(wav.WaveOutputPath.isEmpty());
    EXPECT_EQ(wav.TempWavePath, "/run/Tnvm/~tmpw_0.wav");
    EXPECT_TRUE(wav.TempWaveOnWorkFolder);

    // Each file in flight has temporary names of its own.
    const FileNames second = namesFor("y", "MP3", "/out", "/run/Tnvm", false, 1);
    EXPECT_EQ(second.TempWavePath, "/out/~tmpw_1.wav");
    EXPECT_EQ(second.TempWmaPath, "/out/~tmpw_1.wma");
    EXPECT_EQ(outputsOf(second, true, true), QStringList({"/out/y.wma", "/out/y.wav"}));
    EXPECT_EQ(outputsOf(second, false, true), QStringList({"/out/y.wav"}));
    EXPECT_EQ(outputsOf(wav, true, true), QStringList({"/x.wma"})); // a WAV keeps no WAV
}

TEST(RunPlan, SectionsForTheEncoderAndTheDecoder)
{
    EXPECT_EQ(sectionTimes(cut(1500.7, 8000.2), true), "1500 8000");
    EXPECT_EQ(sectionTimes(cut(0, 8000), true), "0 8000");
    EXPECT_EQ(sectionTimes(cut(1500, 8000), false), "");
    // A start alone: from the start to the end of the file. A finish before the start is no
    // section at all.
    EXPECT_EQ(sectionTimes(cut(5000, 0), true), "5000 0");
    EXPECT_EQ(sectionTimes(cut(8000, 1500), true), "");
    EXPECT_EQ(sectionTimes(cut(0, 0), true), "");

    const struct
    {
        double start, end;
        float frameMs;
        bool valid, byFrames;
        int first, last;
        float startSec, endSec;
    } cases[] = {
        {5000, 8000, 26.122f, true, true, 191, 306, 0, 0},
        {0, 8000, 26.122f, true, true, 0, 306, 0, 0},
        {5000, 0, 26.122f, true, true, 191, 999, 0, 0}, // to the last frame
        {5000, 4000, 26.122f, true, true, 191, 999, 0, 0},
        {5000, 900000, 26.122f, true, true, 191, 999, 0, 0}, // never beyond the file
        {26095.9, 0, 26.122f, true, true, 999, 999, 0, 0}, // the last frame alone
        {26200, 0, 26.122f, false, true, 999, 999, 0, 0}, // after the end: nothing to decode
        {5000, 8000, 0, true, false, 0, 0, 5, 8},
        {5000, 0, 0, true, false, 0, 0, 5, 42.5f}, // by seconds to the file's length
        {42500, 0, 0, false, false, 0, 0, 42.5f, 42.5f},
    };
    for (const auto &c : cases) {
        const DecodeRange r = sectionDecodeRange(cut(c.start, c.end), 42500, c.frameMs, 1000);
        EXPECT_EQ(r.valid, c.valid) << c.start << ".." << c.end;
        EXPECT_EQ(r.byFrames, c.byFrames) << c.start << ".." << c.end;
        if (c.byFrames) {
            EXPECT_EQ(r.firstFrame, c.first) << c.start << ".." << c.end;
            EXPECT_EQ(r.lastFrame, c.last) << c.start << ".." << c.end;
        } else {
            EXPECT_FLOAT_EQ(r.startSeconds, c.startSec);
            EXPECT_FLOAT_EQ(r.endSeconds, c.endSec);
        }
    }
    const WholeFileSection whole = wholeFileSection(cut(1500.5, 8000.4));
    EXPECT_EQ(whole.start, 1501);
    EXPECT_EQ(whole.end, 8000);
}

TEST(RunPlan, ProgressCaptions)
{
    EXPECT_EQ(percentCaption(0.3), "30%");
    EXPECT_EQ(percentCaption(0.996), "100%");
    EXPECT_EQ(percentCaption(1.7), "100%");
    EXPECT_EQ(percentCaption(-1), "0%");
    EXPECT_DOUBLE_EQ(queueFraction(1, 4), 0.25);
    EXPECT_DOUBLE_EQ(queueFraction(5, 4), 1.0);
    EXPECT_DOUBLE_EQ(queueFraction(1, 0), 0.0);
    EXPECT_EQ(queueCaption(2, 3), "2/3");
}
