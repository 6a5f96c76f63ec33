#include "browser/DropData.h"
#include "browser/ListLine.h"
#include "browser/PathHistory.h"
#include "browser/QueueCount.h"
#include "browser/SizeText.h"
#include "browser/SortKeys.h"
#include "browser/TypeFilter.h"

#include <QFile>
#include <QMap>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <tuple>

// The first local file of a URL list, else a path given as text.
TEST(DropDataTest, TakesTheFirstLocalFileOrAPathGivenAsText)
{
    QMimeData urls, nothing;
    urls.setUrls({QUrl("https://example.org/x.mp3"), QUrl::fromLocalFile("/m/a b.mp3"),
        QUrl::fromLocalFile("/m/c.mp3")});
    EXPECT_EQ(DropData::pathOf(urls), "/m/a b.mp3");
    const std::pair<const char *, const char *> cases[]
        = {{"FILE:/m/a.wav", "/m/a.wav"}, {"file:/m/5%25.wav", "/m/5%25.wav"},
            {"file:///m/a%20b.wav\r\nfile:///m/c.wav", "/m/a b.wav"}, {"  /m/x  \n", "/m/x"}};
    for (const auto &[text, path] : cases) {
        QMimeData data;
        data.setText(text);
        EXPECT_EQ(DropData::pathOf(data), path) << text;
    }
    nothing.setData("image/png", "x");
    EXPECT_FALSE(DropData::canTake(nothing));
}

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

// An in-memory history, so that the test sees exactly which keys are written.
struct MapStore : HistoryStore
{
    QMap<QString, QString> keys;
    QString value(const QString &key) const override { return keys.value(key); }
    void setValue(const QString &key, const QString &value) override { keys[key] = value; }
    void remove(const QString &key) override { keys.remove(key); }
};

// Loading stops at the first gap; a folder goes first, once, whatever its case; at most 41
// entries are kept; clearing deletes the keys of the listed entries only.
TEST(PathHistoryTest, LoadInsertAndClear)
{
    MapStore store;
    store.keys = {{"0", "/a"}, {"1", "/b"}, {"3", "/d"}};
    EXPECT_EQ(PathHistory::load(store), QStringList({"/a", "/b"}));
    QStringList list = PathHistory::insert(store, {}, "/a");
    list = PathHistory::insert(store, list, "/b");
    EXPECT_EQ(PathHistory::insert(store, list, "/A"), QStringList({"/A", "/b"}));
    for (int i = 0; i < 60; ++i)
        list = PathHistory::insert(store, list, QString("/f%1").arg(i));
    EXPECT_EQ(list.first() + list.last(), "/f59/f19");
    EXPECT_FALSE(store.keys.contains("41"));
    store.keys = {{"0", "/a"}, {"1", "/b"}, {"2", "/c"}, {"5", "/left-over"}};
    PathHistory::clear(store, {"/a", "/b", "/c"});
    EXPECT_EQ(store.keys.keys(), QStringList({"5"}));
}

TEST(PathHistoryTest, CompletesTypedTextFromTheFirstMatchingEntry)
{
    const QStringList entries {"/home/u/Music", "/home/u/Songs", "/"};
    const std::pair<const char *, const char *> cases[]
        = {{"/home/u/so", "/home/u/Songs/"}, {"  /HOME/U/M ", "/home/u/Music/"},
            {"/h", "/home/u/Music/"}, {"/home/u/Songs/", "none"}, // already complete
            {"/home/u/x", "none"}, {"", "none"}};
    for (const auto &[typed, completed] : cases)
        EXPECT_EQ(PathHistory::complete(entries, typed).value_or("none"), completed) << typed;
}

// Marked files the ticked outputs can take (a WAV needs WMA output); without marks the current
// file counts once; a WMA alone is encoded again, for WMA output only, and passed over among
// others.
TEST(QueueCountTest, CountsTheFilesARunWouldConvert)
{
    const std::vector<QueueEntry> marked {{"/a/1.mp3", true}, {"/a/2.WAV", true},
        {"/a/3.wma", true}, {"/a/4.mp3", false}, {"/a/5.Mp3", true}};
    const std::vector<QueueEntry> none {{"/a/1.mp3", false}, {"/a/2.wav", false}};
    const std::vector<QueueEntry> wmaAlone {{"/a/3.wma", true}, {"/a/4.wma", false}};
    const std::vector<QueueEntry> wmaAmongOthers {{"/a/1.mp3", true}, {"/a/3.wma", true}};
    // entries, WMA ticked, WAV ticked, current; count, WMA enabled, WAV enabled
    const std::tuple<const std::vector<QueueEntry> *, bool, bool, const char *, int, bool, bool>
        cases[] = {{&marked, true, false, "/a/1.mp3", 3, true, true},
            {&marked, false, true, "/a/1.mp3", 2, false, true},
            {&marked, false, false, "/a/1.mp3", 0, false, false},
            {&none, false, true, "/a/1.mp3", 1, false, false},
            {&none, false, true, "/a/2.wav", 0, false, false},
            {&none, true, false, "/a/2.wav", 1, false, false},
            {&none, true, false, "/a/3.wma", 1, false, false},
            {&none, false, false, "/a/1.mp3", 0, false, false},
            {&wmaAlone, true, true, "/a/3.wma", 1, true, false},
            {&wmaAlone, false, true, "/a/3.wma", 0, false, false},
            {&wmaAmongOthers, true, true, "/a/3.wma", 1, false, true}};
    for (const auto &[entries, wma, wav, current, count, enableWma, enableWav] : cases) {
        const QueueCounting r = CountQueue(*entries, wma, wav, current);
        EXPECT_EQ(
            std::tuple(r.count, r.enableWma, r.enableWav), std::tuple(count, enableWma, enableWav))
            << current << " " << wma << wav << " of " << entries->size();
    }
}

// On screen the codes of the type box stay hidden; a single blank belongs to the name.
TEST(TypeFilterTest, EntryCodesStayHiddenOnScreen)
{
    const QStringList box = TypeBoxEntries("Supportati");
    const QStringList shown = {"MP3", "WAV", "MP3, WAV", "WM Audio", "Supportati"};
    ASSERT_EQ(box.size(), shown.size());
    for (int i = 0; i < box.size(); ++i)
        EXPECT_EQ(VisibleTypeText(box[i]), shown[i]) << i;
}

TEST(SizeTextTest, BytesAndRoundedUpKilobytesOfAFileOrAGivenSize)
{
    const std::pair<qint64, const char *> cases[]
        = {{0, "0 bytes"}, {-1, "0 bytes"}, {1023, "1023 bytes"}, // 0.99 K is still bytes
            {1024, "1 K"}, // exactly 1.00 K, not rounded up
            {1034, "1 K"}, // 1.0097 K truncates to 1.00
            {1035, "2 K"}, // 1.01 K rounds up
            {1023999, "1.000 K"}, {1099511627776LL, "1.073.741.824 K"}};
    for (const auto &[length, text] : cases)
        EXPECT_EQ(SizeTextOfLength(length, "bytes"), text) << length;
    // A file's own size counts, not the one given; an empty file still has one.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("empty.mp3")).open(QIODevice::WriteOnly));
    EXPECT_EQ(SizeText(dir.filePath("empty.mp3"), 5, "bytes"), "0 bytes");
    EXPECT_EQ(SizeText(dir.filePath("missing.mp3"), 5, "bytes"), "");
    EXPECT_EQ(SizeText(dir.path(), 5, "bytes"), ""); // a folder
    EXPECT_EQ(SizeText("", 0, "bytes"), "");
    EXPECT_EQ(SizeText("", 700, "byte"), "700 byte");
}
