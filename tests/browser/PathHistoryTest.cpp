#include "browser/PathHistory.h"

#include <QMap>
#include <gtest/gtest.h>

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
