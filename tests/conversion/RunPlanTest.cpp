#include "conversion/RunPlan.h"

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
    for (const auto &[name, base] : {std::pair {"song.mp3", "song"}, {"a.b.WAV", "a.b"},
             {".mp3", ".mp3"}, {"noext", "noext"}, {"x.", "x"}}) // never an output named ".wma"
        EXPECT_EQ(baseNameOf(name), base);
    const FileNames mp3 = namesFor("my song", "MP3", "/out", "/run/Tnvm", false);
    EXPECT_EQ(QStringList({mp3.OutputFileName, mp3.OutputPath, mp3.WaveOutputPath, mp3.TempWavePath,
                  mp3.TempWmaPath}),
        QStringList({"my song.wma", "/out/my song.wma", "/out/my song.wav", "/out/~tmpw_0.wav",
            "/out/~tmpw_0.wma"}));
    EXPECT_FALSE(mp3.TempWaveOnWorkFolder);
    // A removable output drive: the decoded WAV waits in the working folder.
    const FileNames wav = namesFor("x", "WAV", "/", "/run/Tnvm", true);
    EXPECT_EQ(QStringList({wav.OutputPath, wav.WaveOutputPath, wav.TempWavePath}),
        QStringList({"/x.wma", "", "/run/Tnvm/~tmpw_0.wav"}));
    EXPECT_TRUE(wav.TempWaveOnWorkFolder);
    EXPECT_FALSE(namesFor("x", "WAV", "/", "", true).TempWaveOnWorkFolder);
    // Each file in flight has temporary names of its own.
    const FileNames second = namesFor("y", "MP3", "/out", "/run/Tnvm", false, 1);
    EXPECT_EQ(second.TempWavePath + " " + second.TempWmaPath, "/out/~tmpw_1.wav /out/~tmpw_1.wma");
    EXPECT_EQ(outputsOf(second, true, true), QStringList({"/out/y.wma", "/out/y.wav"}));
    EXPECT_EQ(outputsOf(second, false, true), QStringList({"/out/y.wav"}));
    EXPECT_EQ(outputsOf(wav, true, true), QStringList({"/x.wma"})); // a WAV makes no WAV
    EXPECT_EQ(
        outputsOf(namesFor("z", "WMA", "/o", "", false), true, true), QStringList({"/o/z.wma"}));
}

TEST(RunPlan, SectionsForTheEncoderAndTheDecoder)
{
    // A start alone: from the start to the end of the file. A finish before the start is no
    // section at all.
    const std::tuple<double, double, bool, QString> times[]
        = {{1500.7, 8000.2, true, "1500 8000"}, {0, 8000, true, "0 8000"}, {1500, 8000, false, ""},
            {5000, 0, true, "5000 0"}, {8000, 1500, true, ""}, {0, 0, true, ""}, {-5, 0, true, ""}};
    for (const auto &[start, end, cutOnly, text] : times)
        EXPECT_EQ(sectionTimes(cut(start, end), cutOnly), text) << start << ".." << end;
    // start, end, frame length (0: by seconds), valid, first and last frame, or seconds
    const std::tuple<double, double, float, bool, int, int, float, float> cases[] = {
        {5000, 8000, 26.122f, true, 191, 306, 0, 0},
        {0, 8000, 26.122f, true, 0, 306, 0, 0},
        {5010, 8000, 26.122f, true, 192, 306, 0, 0}, // the nearest frame, not the one before
        {5000, 0, 26.122f, true, 191, 999, 0, 0}, // to the last frame
        {5000, 4000, 26.122f, true, 191, 999, 0, 0},
        {5000, 900000, 26.122f, true, 191, 999, 0, 0}, // never beyond the file
        {26095.9, 0, 26.122f, true, 999, 999, 0, 0}, // the last frame alone
        {26200, 0, 26.122f, false, 999, 999, 0, 0}, // after the end: nothing to decode
        {5000, 8000, 0, true, 0, 0, 5, 8},
        {5000, 0, 0, true, 0, 0, 5, 42.5f}, // by seconds to the file's length
        {42500, 0, 0, false, 0, 0, 42.5f, 42.5f},
    };
    for (const auto &[start, end, frameMs, valid, first, last, startSec, endSec] : cases) {
        const DecodeRange r = sectionDecodeRange(cut(start, end), 42500, frameMs, 1000);
        EXPECT_EQ(std::tie(r.valid, r.byFrames), std::tuple(valid, frameMs > 0)) << start;
        if (r.byFrames)
            EXPECT_EQ(std::tie(r.firstFrame, r.lastFrame), std::tie(first, last)) << start;
        else
            EXPECT_EQ(std::tie(r.startSeconds, r.endSeconds), std::tie(startSec, endSec)) << start;
    }
    const WholeFileSection whole = wholeFileSection(cut(1500.5, 8000.4));
    EXPECT_EQ(std::tuple(whole.start, whole.end), std::tuple(1501, 8000));
}

TEST(RunPlan, ProgressCaptions)
{
    for (const auto &[fraction, caption] :
        {std::pair {0.3, "30%"}, {0.994, "99%"}, {0.996, "100%"}, {1.7, "100%"}, {-1.0, "0%"}})
        EXPECT_EQ(percentCaption(fraction), caption) << fraction;
    EXPECT_DOUBLE_EQ(queueFraction(1, 4), 0.25);
    EXPECT_DOUBLE_EQ(queueFraction(5, 4), 1.0);
    EXPECT_DOUBLE_EQ(queueFraction(1, 0), 0.0);
    EXPECT_EQ(queueCaption(2, 3), "2/3");
}
