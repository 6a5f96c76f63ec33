#include "Mp3SectionDecoder.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA "/playback/");

// marker.mp3: 4 s, 44.1 kHz stereo, a loud tone from exactly 1 s to 3 s, silence around it.
constexpr int Rate = 44100;
constexpr qint64 ToneOn = 1 * Rate;
constexpr qint64 ToneOff = 3 * Rate;
// Sample-exact seeking should put edges within a few milliseconds (the codec smears a
// transient a little); a decoder that forgets the encoder delay is off by about 25 ms.
constexpr qint64 EdgeTolerance = Rate * 5 / 1000;

struct Wav
{
    bool valid = false;
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> left; // first channel only
};

Wav readWav(const QString &path)
{
    Wav w;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return w;
    const QByteArray b = f.readAll();
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 8) != "WAVEfmt "
        || b.mid(36, 4) != "data")
        return w;
    const auto u32 = [&](int o) {
        return quint32(quint8(b[o])) | quint32(quint8(b[o + 1])) << 8
            | quint32(quint8(b[o + 2])) << 16 | quint32(quint8(b[o + 3])) << 24;
    };
    const auto u16 = [&](int o) {
        return quint16(quint8(b[o]) | quint8(b[o + 1]) << 8);
    };
    w.channels = u16(22);
    w.rate = int(u32(24));
    const quint32 dataBytes = u32(40);
    if (u16(20) != 1 || u16(34) != 16 || u32(4) != 36 + dataBytes
        || qsizetype(44 + dataBytes) != b.size() || u32(28) != quint32(w.rate * w.channels * 2))
        return w;
    const auto *samples = reinterpret_cast<const int16_t *>(b.constData() + 44);
    for (quint32 i = 0; i < dataBytes / 2; i += quint32(w.channels))
        w.left.push_back(samples[i]);
    w.valid = true;
    return w;
}

// First and last sample clearly inside the tone, -1 when there is none.
std::pair<qint64, qint64> toneEdges(const std::vector<int16_t> &s)
{
    qint64 first = -1, last = -1;
    for (qint64 i = 0; i < qint64(s.size()); ++i) {
        if (std::abs(int(s[size_t(i)])) > 4000) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return {first, last};
}

struct Outcome
{
    bool completed = false;
    QString failure;
    std::vector<int> frames;
    bool onOwnerThread = true;
};

// Runs the event loop until the decoder reports its end. onProgress may act mid-decode.
Outcome waitForEnd(
    Mp3SectionDecoder &d, const std::function<void()> &onProgress = {}, int timeoutMs = 60000)
{
    Outcome o;
    QEventLoop loop;
    const auto check = [&] {
        o.onOwnerThread &= QThread::currentThread() == d.thread();
    };
    QObject guard;
    QObject::connect(&d, &Mp3SectionDecoder::progress, &guard, [&](int frame) {
        check();
        o.frames.push_back(frame);
        if (onProgress)
            onProgress();
    });
    QObject::connect(&d, &Mp3SectionDecoder::completed, &guard, [&] {
        check();
        o.completed = true;
        loop.quit();
    });
    QObject::connect(&d, &Mp3SectionDecoder::failed, &guard, [&](const QString &m) {
        check();
        o.failure = m;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return o;
}

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
}

TEST(Mp3SectionDecoder, StatusAcceptsMpegAudioOnly)
{
    QTemporaryDir dir;
    QFile text(dir.filePath("notes.mp3"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4000, 'x'));
    text.close();

    Mp3SectionDecoder d;
    EXPECT_EQ(d.status(Data + "marker.mp3"), 0);
    EXPECT_EQ(d.status(Data + "plain.mp3"), 0);
    for (const QString &bad : {Data + "short.wav", Data + "clip.wma", text.fileName(),
             dir.filePath("missing.mp3"), QString()}) {
        EXPECT_NE(d.status(bad), 0) << qPrintable(bad);
        EXPECT_NE(d.decodeToWav(bad, dir.filePath("out.wav")), 0) << qPrintable(bad);
        EXPECT_FALSE(d.errorString().isEmpty());
    }
    EXPECT_EQ(d.frameCount(), 0);
    EXPECT_EQ(d.frameDuration(), 0.0f);
    EXPECT_EQ(filesIn(dir), QStringList {"notes.mp3"});
}

struct WholeCase
{
    const char *file;
    int rate;
    int channels;
    double frameMs;
};

class WholeFile : public ::testing::TestWithParam<WholeCase>
{
};

TEST_P(WholeFile, DecodesEveryFrameAtTheSourceFormat)
{
    const WholeCase c = GetParam();
    QTemporaryDir dir;
    const QString target = dir.filePath("~tmpw_0.wav");
    Mp3SectionDecoder d;
    ASSERT_EQ(d.decodeToWav(Data + c.file, target), 0) << qPrintable(d.errorString());
    EXPECT_NEAR(d.frameDuration(), c.frameMs, 0.01);
    ASSERT_GT(d.frameCount(), 0);
    EXPECT_FALSE(QFile::exists(target)) << "nothing under the final name before the end";

    ASSERT_EQ(d.setRangeByFrames(0, d.frameCount() - 1), 0);
    EXPECT_LT(d.setRangeByFrames(0, 1), 0) << "one range per prepared decode";
    const Outcome o = waitForEnd(d);
    ASSERT_TRUE(o.completed) << qPrintable(o.failure);
    EXPECT_TRUE(o.onOwnerThread);
    ASSERT_FALSE(o.frames.empty());
    EXPECT_TRUE(std::is_sorted(o.frames.begin(), o.frames.end()));
    EXPECT_GE(o.frames.back(), d.frameCount() - 2);
    EXPECT_LT(o.frames.back(), d.frameCount());

    const Wav w = readWav(target);
    ASSERT_TRUE(w.valid);
    EXPECT_EQ(w.rate, c.rate);
    EXPECT_EQ(w.channels, c.channels);
    EXPECT_EQ(qint64(w.left.size()), d.sampleCount());
    // The frames hold the whole source: no more than one frame of encoder delay and padding.
    EXPECT_NEAR(double(w.left.size()) / c.rate * 1000.0, d.frameCount() * c.frameMs, 2 * c.frameMs);

    // The caller's stop after completion releases the decoder but keeps the result.
    d.stop();
    EXPECT_EQ(d.frameCount(), 0);
    EXPECT_EQ(filesIn(dir), QStringList {"~tmpw_0.wav"});
}

INSTANTIATE_TEST_SUITE_P(Sources, WholeFile,
    ::testing::Values(WholeCase {"marker.mp3", 44100, 2, 1152 * 1000.0 / 44100},
        WholeCase {"plain.mp3", 22050, 1, 576 * 1000.0 / 22050}));

TEST(Mp3SectionDecoder, WholeFileKeepsTheTimeLine)
{
    QTemporaryDir dir;
    Mp3SectionDecoder d;
    ASSERT_EQ(d.decodeToWav(Data + "marker.mp3", dir.filePath("w.wav")), 0);
    ASSERT_EQ(d.setRangeByFrames(0, d.frameCount() - 1), 0);
    ASSERT_TRUE(waitForEnd(d).completed);
    const Wav w = readWav(dir.filePath("w.wav"));
    EXPECT_EQ(qint64(w.left.size()), 4 * Rate) << "encoder delay and padding are trimmed";
    const auto [on, off] = toneEdges(w.left);
    EXPECT_NEAR(on, ToneOn, EdgeTolerance);
    EXPECT_NEAR(off, ToneOff, EdgeTolerance);
}

// A section, given in frames or in seconds, as the conversion computes them from milliseconds.
struct SectionCase
{
    const char *name;
    bool byFrames;
    double startMs;
    double endMs;
    qint64 expectedStart; // in samples of the source
    qint64 expectedEnd;
};

class Section : public ::testing::TestWithParam<SectionCase>
{
};

TEST_P(Section, StartsAndEndsWhereAsked)
{
    const SectionCase c = GetParam();
    QTemporaryDir dir;
    const QString target = dir.filePath("cut.wav");
    Mp3SectionDecoder d;
    ASSERT_EQ(d.decodeToWav(Data + "marker.mp3", target), 0);
    const float frameMs = d.frameDuration();
    int status = 0;
    if (c.byFrames)
        status = d.setRangeByFrames(
            int(std::lround(c.startMs / frameMs)), int(std::lround(c.endMs / frameMs)));
    else
        status = d.setRangeByTime(float(c.startMs / 1000), float(c.endMs / 1000));
    ASSERT_EQ(status, 0) << qPrintable(d.errorString());
    const Outcome o = waitForEnd(d);
    ASSERT_TRUE(o.completed) << qPrintable(o.failure);

    const Wav w = readWav(target);
    ASSERT_TRUE(w.valid);
    // Within one frame of the asked times, and exactly the computed number of samples.
    const qint64 frame = 1152;
    EXPECT_NEAR(double(c.expectedStart), c.startMs * Rate / 1000, double(frame));
    EXPECT_EQ(qint64(w.left.size()), c.expectedEnd - c.expectedStart);
    const auto [on, off] = toneEdges(w.left);
    const qint64 wantOn = std::max<qint64>(0, ToneOn - c.expectedStart);
    const qint64 wantOff = std::min(ToneOff, c.expectedEnd) - c.expectedStart;
    EXPECT_NEAR(on, wantOn, EdgeTolerance);
    EXPECT_NEAR(off, wantOff, EdgeTolerance);
}

INSTANTIATE_TEST_SUITE_P(Cuts, Section,
    ::testing::Values(
        // 0.5 s .. 3.5 s, to the sample: the tone starts 0.5 s in and lasts 2 s.
        SectionCase {"TimeAroundTheTone", false, 500, 3500, 22050, 154350},
        // Start inside the tone, end beyond the file: runs to the last sample.
        SectionCase {"TimePastTheEnd", false, 2000, 9000, 88200, 4 * Rate},
        // Frames 19 .. 134 (rounded from 0.5 s and 3.5 s), whole frames of 1152 samples.
        SectionCase {"FramesAroundTheTone", true, 500, 3500, 19 * 1152, 135 * 1152},
        // Last frame asked beyond the end is taken as the end of the file.
        SectionCase {"FramesPastTheEnd", true, 1500, 60000, 57 * 1152, 4 * Rate}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Mp3SectionDecoder, RefusesImpossibleRanges)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("cut.wav");
    Mp3SectionDecoder d;
    EXPECT_LT(d.setRangeByFrames(0, 10), 0) << "nothing prepared";
    EXPECT_LT(d.setRangeByTime(0, 1), 0) << "nothing prepared";
    ASSERT_EQ(d.decodeToWav(Data + "marker.mp3", target), 0);
    const int n = d.frameCount();
    const std::pair<int, int> frames[] = {{-1, 5}, {10, 5}, {n, n + 5}};
    for (auto [first, last] : frames)
        EXPECT_LT(d.setRangeByFrames(first, last), 0) << first << ".." << last;
    const std::pair<float, float> times[]
        = {{3.f, 2.f}, {1.f, 1.f}, {-1.f, 2.f}, {5.f, 6.f}, {NAN, 2.f}, {0.f, INFINITY}};
    for (auto [start, end] : times)
        EXPECT_LT(d.setRangeByTime(start, end), 0) << start << ".." << end;
    d.stop();
    EXPECT_TRUE(filesIn(dir).isEmpty()) << "the prepared output is discarded";
}

TEST(Mp3SectionDecoder, NeverWritesOverTheSourceOrIntoAMissingFolder)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("song.mp3");
    ASSERT_TRUE(QFile::copy(Data + "marker.mp3", source));
    const QByteArray before = [&] {
        QFile f(source);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    Mp3SectionDecoder d;
    EXPECT_NE(d.decodeToWav(source, source), 0);
    EXPECT_NE(d.decodeToWav(source, dir.filePath("no/such/folder/x.wav")), 0);
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(filesIn(dir), QStringList {"song.mp3"});
}

// A long stream: copies of the untagged CBR fixture joined end to end.
QString makeLongMp3(const QTemporaryDir &dir, int copies)
{
    QFile in(Data + "plain.mp3");
    in.open(QIODevice::ReadOnly);
    const QByteArray one = in.readAll();
    const QString path = dir.filePath("long.mp3");
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    for (int i = 0; i < copies; ++i)
        out.write(one);
    return path;
}

enum class Interrupt { Stop, Destroy, NewDecode };

class Cancel : public ::testing::TestWithParam<Interrupt>
{
};

TEST_P(Cancel, LeavesNoOutputAndNoLateSignal)
{
    QTemporaryDir src, out;
    const QString source = makeLongMp3(src, 400);
    auto d = std::make_unique<Mp3SectionDecoder>();
    ASSERT_EQ(d->decodeToWav(source, out.filePath("~tmpw_0.wav")), 0);
    ASSERT_EQ(d->setRangeByFrames(0, d->frameCount() - 1), 0);
    bool interrupted = false, lateSignal = false;
    QObject::connect(d.get(), &Mp3SectionDecoder::completed, [&] { lateSignal = interrupted; });
    QObject::connect(d.get(), &Mp3SectionDecoder::failed, [&] { lateSignal = interrupted; });
    QEventLoop loop;
    QObject::connect(d.get(), &Mp3SectionDecoder::progress, &loop, [&] {
        if (interrupted)
            return;
        interrupted = true;
        switch (GetParam()) {
        case Interrupt::Stop:
            d->stop();
            break;
        case Interrupt::Destroy:
            d.release()->deleteLater();
            break;
        case Interrupt::NewDecode:
            // Prepares a different output; the running one must vanish.
            EXPECT_EQ(d->decodeToWav(Data + "plain.mp3", out.filePath("other.wav")), 0);
            break;
        }
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(interrupted) << "the decode ended before it could be interrupted";
    EXPECT_FALSE(lateSignal);
    EXPECT_FALSE(QFile::exists(out.filePath("~tmpw_0.wav")));
    d.reset();
    EXPECT_TRUE(filesIn(out).isEmpty()) << qPrintable(filesIn(out).join(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Cancel, ::testing::Values(Interrupt::Stop, Interrupt::Destroy, Interrupt::NewDecode));

TEST(Mp3SectionDecoder, SourceCutShortWhileDecodingFails)
{
    QTemporaryDir dir;
    const QString source = makeLongMp3(dir, 50);
    const QString target = dir.filePath("~tmpw_0.wav");
    Mp3SectionDecoder d;
    ASSERT_EQ(d.decodeToWav(source, target), 0);
    ASSERT_TRUE(QFile::resize(source, QFileInfo(source).size() / 2));
    ASSERT_EQ(d.setRangeByFrames(0, d.frameCount() - 1), 0);
    const Outcome o = waitForEnd(d);
    EXPECT_FALSE(o.completed);
    EXPECT_FALSE(o.failure.isEmpty());
    EXPECT_TRUE(o.onOwnerThread);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(filesIn(dir), QStringList {"long.mp3"});
}

} // namespace
