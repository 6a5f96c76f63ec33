#include "MediaProbe.h"
#include "ToolTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA "/playback/");

bool heldOpen(const QString &path)
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    return std::ranges::any_of(
        fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), [&](auto &fd) {
            return QFile::symLinkTarget(fds.filePath(fd)) == QFileInfo(path).canonicalFilePath();
        });
}

TEST(MediaProbe, ReadsClipTextsAndDurations)
{
    MediaProbe p;
    ASSERT_TRUE(p.setFileName(Data + "clip.wma")) << qPrintable(p.errorString());
    EXPECT_EQ(p.codecName(), "wmav2");
    EXPECT_EQ(p.channels(), 2);
    QStringList texts;
    for (int i = MediaProbe::Title; i <= MediaProbe::Description; ++i)
        texts << p.GetMediaInfoString(i);
    EXPECT_EQ(texts,
        QStringList({"Tïtle \"quoted\" ü", "Ärtist Ñame", "© 2024 Owner", "",
            "First line\r\nSecond line"}));
    const std::tuple<const char *, double, double> durations[]
        = {{"clip.wma", 1.5, 0.1}, {"plain.mp3", 2.06, 0.06}, {"short.wav", 0.5, 0.001}};
    for (auto [file, seconds, tolerance] : durations) {
        ASSERT_TRUE(p.setFileName(Data + file)) << qPrintable(p.errorString());
        EXPECT_NEAR(p.Duration(), seconds, tolerance) << file;
        EXPECT_FALSE(heldOpen(Data + file)) << file;
    }
    EXPECT_TRUE(p.GetMediaInfoString(MediaProbe::Title).isEmpty()) << "texts of the last file";
    EXPECT_TRUE(p.setFileName(QString()) && p.fileName().isEmpty() && p.Duration() == 0.0);
}

TEST(MediaProbe, ReportsFilesItCannotRead)
{
    QTemporaryDir dir;
    const QString junk = dir.filePath("junk.wma");
    tooltest::writeFile(junk.toStdString(), std::string(64, '\0'));
    // A name that looks like a protocol is still a local file.
    const QString odd = dir.filePath("http:x.wav");
    ASSERT_TRUE(QFile::copy(Data + "short.wav", odd));
    MediaProbe p;
    for (const QString &bad : {dir.filePath("missing.wma"), junk, dir.path()}) {
        ASSERT_TRUE(p.setFileName(Data + "clip.wma"));
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
