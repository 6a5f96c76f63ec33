#include "Mp3SectionDecoder.h"
#include "ToolTestSupport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <gtest/gtest.h>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA "/playback/");

// marker.mp3: 4 s, 44.1 kHz stereo, a loud tone from exactly 1 s to 3 s, silence around it.
constexpr qint64 Rate = 44100;
// Sample-exact cuts put the tone's edges within a few milliseconds (the codec smears them a
// little); forgetting the encoder delay moves them by about 25 ms.
constexpr qint64 EdgeTolerance = Rate * 5 / 1000;

// The first channel of a canonical 16-bit WAV of this format; empty when the header is not.
std::vector<int16_t> firstChannel(const QString &path, int rate, int channels)
{
    const std::string wav = tooltest::readFile(path.toStdString());
    if (wav.size() < 44
        || wav.substr(0, 44) != tooltest::wavHeader(channels, rate, wav.size() - 44))
        return {};
    return tooltest::channelOf(wav, 44, 0, channels);
}

// What a decode reported until it ended: whether it completed, its failure, the frames it went
// through, and whether every signal came on the decoder's own thread.
struct Outcome
{
    bool completed = false;
    QString failure;
    std::vector<int> frames;
    bool onOwnerThread = true;
};

Outcome waitForEnd(Mp3SectionDecoder &d)
{
    Outcome o;
    QEventLoop loop;
    const auto seen = [&](bool end) {
        o.onOwnerThread &= QThread::currentThread() == d.thread();
        if (end)
            loop.quit();
    };
    QObject::connect(&d, &Mp3SectionDecoder::progress, &loop, [&](int frame) {
        seen(false);
        o.frames.push_back(frame);
    });
    QObject::connect(&d, &Mp3SectionDecoder::completed, &loop, [&] { seen(o.completed = true); });
    QObject::connect(&d, &Mp3SectionDecoder::failed, &loop, [&](const QString &m) {
        o.failure = m;
        seen(true);
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return o;
}

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
}

// Only MPEG audio, never over the source itself nor into a missing folder; only ranges
// inside the file, one per prepared decode. A whole decode keeps the source's format.
TEST(Mp3SectionDecoder, RefusalsAndTheSourceFormat)
{
    QTemporaryDir dir;
    const QString text = dir.filePath("notes.mp3");
    tooltest::writeFile(text.toStdString(), std::string(4000, 'x'));
    Mp3SectionDecoder d;
    EXPECT_LT(d.setRangeByFrames(0, 10), 0) << "nothing prepared";
    EXPECT_EQ(d.status(Data + "marker.mp3"), 0);
    for (const QString &bad :
        {Data + "short.wav", Data + "clip.wma", text, dir.filePath("missing.mp3"), dir.path()}) {
        EXPECT_NE(d.status(bad), 0) << qPrintable(bad);
        EXPECT_NE(d.decodeToWav(bad, dir.filePath("out.wav")), 0) << qPrintable(bad);
    }
    const QString self = dir.filePath("self.mp3");
    ASSERT_TRUE(QFile::copy(Data + "marker.mp3", self));
    EXPECT_EQ(d.decodeToWav(self, self), 2) << "the target is the source itself";
    EXPECT_NE(d.decodeToWav(Data + "marker.mp3", dir.filePath("none/out.wav")), 0);
    EXPECT_EQ(d.frameCount(), 0);
    ASSERT_EQ(d.decodeToWav(Data + "marker.mp3", dir.filePath("cut.wav")), 0);
    const int n = d.frameCount();
    for (auto [first, last] : {std::pair {-1, 5}, {10, 5}, {n, n + 5}})
        EXPECT_LT(d.setRangeByFrames(first, last), 0) << first << ".." << last;
    for (auto [start, end] : {std::pair {3.f, 2.f}, {1.f, 1.f}, {-1.f, 2.f}, {5.f, 6.f},
             {1e30f, 2e30f}, {NAN, 2.f}, {0.f, INFINITY}})
        EXPECT_LT(d.setRangeByTime(start, end), 0) << start << ".." << end;
    d.stop();
    EXPECT_EQ(filesIn(dir), QStringList({"notes.mp3", "self.mp3"}))
        << "the prepared output is discarded";
    // MPEG-2 mono at 22.05 kHz: 576 samples a frame.
    ASSERT_EQ(d.decodeToWav(Data + "plain.mp3", dir.filePath("w.wav")), 0);
    EXPECT_NEAR(d.frameDuration(), 576 * 1000.0 / 22050, 0.001);
    ASSERT_EQ(d.setRangeByFrames(0, d.frameCount() - 1), 0);
    ASSERT_TRUE(waitForEnd(d).completed);
    const auto left = firstChannel(dir.filePath("w.wav"), 22050, 1);
    EXPECT_EQ(qint64(left.size()), d.sampleCount());
    EXPECT_NEAR(left.size(), d.frameCount() * 576, 576 * 2);
}

// A section in frames or seconds, computed from milliseconds as the conversion does.
TEST(Mp3SectionDecoder, SectionsStartAndEndWhereAsked)
{
    // name, by frames, start and end in ms, and the samples of the source expected
    const std::tuple<const char *, bool, double, double, qint64, qint64> cases[] = {
        // Encoder delay and padding trimmed: exactly 4 s, tone at 1 s.
        {"time around the tone", false, 500, 3500, Rate / 2, 7 * Rate / 2},
        {"time inside to past the end", false, 2000, 1e30, 2 * Rate, 4 * Rate},
        // Frames 19 .. 134, whole frames of 1152 samples.
        {"frames around the tone", true, 500, 3500, 19 * 1152, 135 * 1152},
        {"frames inside to past the end", true, 1500, 60000, 57 * 1152, 4 * Rate},
    };
    for (const auto &[name, byFrames, startMs, endMs, expectedStart, expectedEnd] : cases) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const QString target = dir.filePath("~tmpw_0.wav");
        Mp3SectionDecoder d;
        ASSERT_EQ(d.decodeToWav(Data + "marker.mp3", target), 0) << qPrintable(d.errorString());
        const float frameMs = d.frameDuration();
        EXPECT_NEAR(frameMs, 1152 * 1000.0 / Rate, 0.001);
        ASSERT_EQ(byFrames ? d.setRangeByFrames(int(std::lround(startMs / frameMs)),
                      int(std::min(1e9, std::round(endMs / frameMs))))
                           : d.setRangeByTime(float(startMs / 1000), float(endMs / 1000)),
            0);
        EXPECT_LT(d.setRangeByFrames(0, 1), 0) << "one range per prepared decode";
        EXPECT_FALSE(QFile::exists(target)) << "nothing under the final name before the end";
        const Outcome o = waitForEnd(d);
        ASSERT_TRUE(o.completed) << qPrintable(o.failure);
        EXPECT_TRUE(o.onOwnerThread);
        EXPECT_TRUE(std::is_sorted(o.frames.begin(), o.frames.end()));
        ASSERT_FALSE(o.frames.empty());
        EXPECT_EQ(o.frames.back(),
            byFrames ? std::min<qint64>(d.frameCount() - 1, std::llround(endMs / frameMs))
                     : (expectedEnd - 1) / 1152);
        const auto left = firstChannel(target, Rate, 2);
        ASSERT_EQ(qint64(left.size()), expectedEnd - expectedStart);
        const auto loud = [](int16_t s) {
            return std::abs(int(s)) > 4000;
        };
        const qint64 on = std::find_if(left.begin(), left.end(), loud) - left.begin();
        const qint64 off = left.rend() - std::find_if(left.rbegin(), left.rend(), loud) - 1;
        EXPECT_NEAR(on, std::max<qint64>(0, Rate - expectedStart), EdgeTolerance);
        EXPECT_NEAR(off, std::min(3 * Rate, expectedEnd) - expectedStart, EdgeTolerance);
        // The caller's stop after completion releases the source but keeps the result.
        d.stop();
        EXPECT_EQ(filesIn(dir), QStringList {"~tmpw_0.wav"});
    }
}

// A long stream: copies of the untagged CBR fixture joined end to end.
QString makeLongMp3(const QTemporaryDir &dir, int copies)
{
    std::string bytes;
    for (const std::string one = tooltest::readFile((Data + "plain.mp3").toStdString()); copies--;)
        bytes += one;
    tooltest::writeFile(dir.filePath("long.mp3").toStdString(), bytes);
    return dir.filePath("long.mp3");
}

// Stopped, destroyed or given a new decode on the way: no output, no late signal.
TEST(Mp3SectionDecoder, CancelLeavesNoOutputAndNoLateSignal)
{
    for (const int way : {0, 1, 2}) {
        SCOPED_TRACE(way);
        QTemporaryDir src, out;
        auto d = std::make_unique<Mp3SectionDecoder>();
        ASSERT_EQ(d->decodeToWav(makeLongMp3(src, 400), out.filePath("~tmpw_0.wav")), 0);
        ASSERT_EQ(d->setRangeByFrames(0, d->frameCount() - 1), 0);
        bool interrupted = false, lateSignal = false;
        QObject::connect(d.get(), &Mp3SectionDecoder::completed, [&] { lateSignal = true; });
        QObject::connect(d.get(), &Mp3SectionDecoder::failed, [&] { lateSignal = true; });
        QEventLoop loop;
        QObject::connect(d.get(), &Mp3SectionDecoder::progress, &loop, [&] {
            if (std::exchange(interrupted, true))
                return;
            if (way == 0)
                d->stop();
            else if (way == 1)
                d.release()->deleteLater();
            else
                EXPECT_EQ(d->decodeToWav(Data + "plain.mp3", out.filePath("other.wav")), 0);
            QTimer::singleShot(300, &loop, &QEventLoop::quit);
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        ASSERT_TRUE(interrupted);
        EXPECT_FALSE(lateSignal);
        d.reset();
        EXPECT_TRUE(filesIn(out).isEmpty()) << qPrintable(filesIn(out).join(' '));
    }
}

TEST(Mp3SectionDecoder, SourceCutShortWhileDecodingFails)
{
    QTemporaryDir dir;
    const QString source = makeLongMp3(dir, 50);
    Mp3SectionDecoder d;
    ASSERT_EQ(d.decodeToWav(source, dir.filePath("~tmpw_0.wav")), 0);
    ASSERT_TRUE(QFile::resize(source, QFileInfo(source).size() / 2));
    ASSERT_EQ(d.setRangeByFrames(0, d.frameCount() - 1), 0);
    const Outcome o = waitForEnd(d);
    EXPECT_FALSE(o.completed || o.failure.isEmpty());
    EXPECT_TRUE(o.onOwnerThread);
    EXPECT_EQ(filesIn(dir), QStringList {"long.mp3"});
}

} // namespace
