#include "browser/ListLine.h"
#include "browser/SizeText.h"

#include <gtest/gtest.h>

namespace {

// Columns are 1-based in the layout; these helpers keep the assertions readable.
QString columns(const QString &line, int from, int to)
{
    return line.mid(from - 1, to - from + 1);
}

TEST(ListLineTest, PlacesNameSizeAndPathInTheirColumns)
{
    const QString path = QStringLiteral("/music/song.mp3");
    for (int sizeEnd : {ListLine::InputSizeEnd, ListLine::OutputSizeEnd}) {
        const QString line = ListLine::make(path, QStringLiteral("1.500 K"), sizeEnd);
        EXPECT_EQ(line.size(), 8 + path.size() + 100);
        EXPECT_EQ(columns(line, 1, 8), QStringLiteral("song.mp3"));
        EXPECT_EQ(columns(line, sizeEnd - 7, sizeEnd), QStringLiteral(" 1.500 K"));
        EXPECT_EQ(line.at(sizeEnd), QLatin1Char(' '));
        EXPECT_EQ(columns(line, 60, 59 + path.size()), path);
        EXPECT_EQ(ListLine::pathOf(line), path);
    }
}

TEST(ListLineTest, LongNamesAreCutAt40AndTheSizeMayOverlapTheirEnd)
{
    const QString name = QString(41, QLatin1Char('n')) + QStringLiteral(".wav"); // 45 characters
    const QString path = QStringLiteral("/a/") + name;
    const QString line = ListLine::make(path, QStringLiteral("1023 bytes"), ListLine::InputSizeEnd);
    EXPECT_EQ(line.size(), 40 + path.size() + 100);
    EXPECT_EQ(columns(line, 1, 37), QString(37, QLatin1Char('n')));
    EXPECT_EQ(columns(line, 38, 48), QStringLiteral(" 1023 bytes"));
    EXPECT_EQ(ListLine::pathOf(line), path);
}

TEST(ListLineTest, FileNameOfSplitsAtSlashesOnly)
{
    EXPECT_EQ(ListLine::fileNameOf(QStringLiteral("/a/b/c.mp3")), QStringLiteral("c.mp3"));
    EXPECT_EQ(ListLine::fileNameOf(QStringLiteral("/a/AC\\DC - x.mp3")),
        QStringLiteral("AC\\DC - x.mp3"));
    EXPECT_EQ(ListLine::fileNameOf(QStringLiteral("//c.mp3")), QStringLiteral("c.mp3"));
    EXPECT_EQ(ListLine::fileNameOf(QStringLiteral("plain.wma")), QStringLiteral("plain.wma"));
}

} // namespace
