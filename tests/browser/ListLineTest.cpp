#include "browser/ListLine.h"
#include "browser/SortKeys.h"

#include <gtest/gtest.h>

// Columns are 1-based in the layout: name in 1-40, size ending at the given column, path from 60.
static QString columns(const QString &line, int from, int to)
{
    return line.mid(from - 1, to - from + 1);
}

TEST(ListLineTest, PlacesNameSizeAndPathInTheirColumns)
{
    const QString path = "/music/song.mp3";
    for (int sizeEnd : {ListLine::InputSizeEnd, ListLine::OutputSizeEnd}) {
        const QString line = ListLine::make(path, "1.500 K", sizeEnd);
        EXPECT_EQ(columns(line, 1, 8), "song.mp3");
        EXPECT_EQ(columns(line, sizeEnd - 7, sizeEnd + 1), " 1.500 K ");
        EXPECT_EQ(columns(line, 60, 59 + path.size()), path);
        EXPECT_EQ(ListLine::pathOf(line), path);
    }
    // A name is cut at 40 and the size may overlap its end.
    const QString longPath = "/a/" + QString(41, 'n') + ".wav";
    const QString line = ListLine::make(longPath, "1023 bytes", 48);
    EXPECT_EQ(columns(line, 1, 48), QString(37, 'n') + " 1023 bytes");
    EXPECT_EQ(ListLine::pathOf(line), longPath);
    const std::pair<const char *, const char *> names[] = {{"/a/b/c.mp3", "c.mp3"},
        {"/a/AC\\DC - x.mp3", "AC\\DC - x.mp3"}, {"plain.wma", "plain.wma"}};
    for (const auto &[path, name] : names)
        EXPECT_EQ(ListLine::fileNameOf(path), name) << path;
}

// The orders on real files are covered by the browser tests; these are the cases a folder of
// test files cannot easily hold.
TEST(SortKeysTest, HugeSizesAndShortExtensions)
{
    std::vector<SortKeys::Entry> entries;
    for (const auto &[name, size] :
        {std::pair {"huge.wav", 12000000000LL}, {"big.wav", 9999999999LL}, {"small.wav", 900LL}})
        entries.push_back({ListLine::make(name, "x", 48), name, size, {}});
    SortKeys::sortEntries("S", entries);
    EXPECT_EQ(
        QStringList({entries[0].path, entries[1].path}), QStringList({"small.wav", "big.wav"}));
    SortKeys::sortEntries("", entries); // no order: left as it is
    EXPECT_EQ(entries[0].path, "small.wav");
    EXPECT_EQ(SortKeys::extensionKey("/a/b.mp3  "), " mp3");
    EXPECT_EQ(SortKeys::extensionKey("/a/b.ra"), "  ra");
    EXPECT_EQ(SortKeys::extensionKey("/a/bflac"), "flac");
}
