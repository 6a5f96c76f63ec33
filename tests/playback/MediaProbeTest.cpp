#include "MediaProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA "/playback/");

// True when this process has the file open.
bool heldOpen(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() == target)
            return true;
    }
    return false;
}

TEST(MediaProbe, ReadsTheClipTextsOfAWmaFile)
{
    MediaProbe p;
    ASSERT_TRUE(p.setFileName(Data + "clip.wma")) << qPrintable(p.errorString());
    EXPECT_FALSE(heldOpen(Data + "clip.wma"));
    EXPECT_EQ(p.fileName(), Data + "clip.wma");
    EXPECT_NEAR(p.Duration(), 1.5, 0.1);
    EXPECT_EQ(p.codecName(), "wmav2");
    EXPECT_EQ(p.channels(), 2);
    EXPECT_EQ(p.sampleRate(), 44100);
    EXPECT_EQ(p.GetMediaInfoString(MediaProbe::Title), QString::fromUtf8("Tïtle \"quoted\" ü"));
    EXPECT_EQ(p.GetMediaInfoString(9), QString::fromUtf8("Ärtist Ñame"));
    EXPECT_EQ(p.GetMediaInfoString(10), QString::fromUtf8("© 2024 Owner"));
    EXPECT_EQ(p.GetMediaInfoString(12), QString::fromUtf8("First line\r\nSecond line"));
    for (int other : {0, 7, 11, 13})
        EXPECT_TRUE(p.GetMediaInfoString(other).isEmpty()) << other;

    // Unloading forgets everything.
    EXPECT_TRUE(p.setFileName(QString()));
    EXPECT_TRUE(p.fileName().isEmpty());
    EXPECT_EQ(p.Duration(), 0.0);
    EXPECT_TRUE(p.GetMediaInfoString(MediaProbe::Title).isEmpty());
}

struct DurationCase
{
    const char *file;
    double seconds;
    double tolerance;
};

class Duration : public ::testing::TestWithParam<DurationCase>
{
};

TEST_P(Duration, MeasuresWithoutHoldingTheFile)
{
    const DurationCase c = GetParam();
    MediaProbe p;
    ASSERT_TRUE(p.setFileName(Data + c.file)) << qPrintable(p.errorString());
    EXPECT_NEAR(p.Duration(), c.seconds, c.tolerance);
    EXPECT_FALSE(heldOpen(Data + c.file));
}

INSTANTIATE_TEST_SUITE_P(Files, Duration,
    ::testing::Values(DurationCase {"marker.mp3", 4.0, 0.06},
        DurationCase {"plain.mp3", 2.06, 0.06}, DurationCase {"short.wav", 0.5, 0.001}));

TEST(MediaProbe, ReportsFilesItCannotRead)
{
    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.wma"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(64, '\0'));
    junk.close();
    // A name that looks like a protocol must still be taken as a local file.
    const QString odd = dir.filePath("http:x.wav");
    ASSERT_TRUE(QFile::copy(Data + "short.wav", odd));

    MediaProbe p;
    ASSERT_TRUE(p.setFileName(Data + "clip.wma"));
    for (const QString &bad : {dir.filePath("missing.wma"), junk.fileName(), dir.path()}) {
        EXPECT_FALSE(p.setFileName(bad)) << qPrintable(bad);
        EXPECT_FALSE(p.errorString().isEmpty());
        EXPECT_TRUE(p.fileName().isEmpty()) << "a failed load leaves nothing loaded";
        EXPECT_EQ(p.Duration(), 0.0);
        EXPECT_TRUE(p.GetMediaInfoString(MediaProbe::Author).isEmpty());
    }
    EXPECT_TRUE(p.setFileName(odd)) << qPrintable(p.errorString());
    EXPECT_NEAR(p.Duration(), 0.5, 0.001);
}

} // namespace
