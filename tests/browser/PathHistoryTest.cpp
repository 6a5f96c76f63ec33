#include "browser/PathHistory.h"

#include "MapStore.h"

#include <gtest/gtest.h>

namespace {

TEST(PathHistoryTest, LoadStopsAtTheFirstEmptyKey)
{
    MapStore store;
    store.keys = {{"0", "/a"}, {"1", "/b"}, {"3", "/d"}};
    EXPECT_EQ(PathHistory::load(store), QStringList({"/a", "/b"}));
}

TEST(PathHistoryTest, InsertPutsTheFolderFirstOnceAndKeepsAtMost41)
{
    MapStore store;
    QStringList list = PathHistory::insert(store, {}, QStringLiteral("/a"));
    list = PathHistory::insert(store, list, QStringLiteral("/b"));
    list = PathHistory::insert(store, list, QStringLiteral("/A")); // same folder, other case
    EXPECT_EQ(list, QStringList({"/A", "/b"}));

    for (int i = 0; i < 60; ++i)
        list = PathHistory::insert(store, list, QStringLiteral("/f%1").arg(i));
    EXPECT_EQ(list.size(), PathHistory::MaxEntries);
    EXPECT_EQ(list.first(), QStringLiteral("/f59"));
    EXPECT_FALSE(store.keys.contains(QStringLiteral("41")));
}

TEST(PathHistoryTest, ClearDeletesTheKeysOfTheListedEntries)
{
    MapStore store;
    store.keys = {{"0", "/a"}, {"1", "/b"}, {"2", "/c"}, {"5", "/left-over"}};
    PathHistory::clear(store, {"/a", "/b", "/c"});
    EXPECT_EQ(store.keys.keys(), QStringList({"5"}));
}

TEST(PathHistoryTest, CompletesTypedTextFromTheFirstMatchingEntry)
{
    const QStringList entries {"/home/u/Music", "/home/u/Songs", "/"};
    struct Case
    {
        const char *typed;
        const char *completed; // nullptr: no completion
    } cases[] = {
        {"/home/u/so", "/home/u/Songs/"},
        {"  /HOME/U/M ", "/home/u/Music/"},
        {"/home/u/Songs/", nullptr}, // already complete
        {"/home/u/x", nullptr},
        {"", nullptr},
        {"/h", "/home/u/Music/"},
    };
    for (const Case &c : cases) {
        const auto result = PathHistory::complete(entries, QString::fromLatin1(c.typed));
        if (c.completed) {
            ASSERT_TRUE(result.has_value()) << c.typed;
            EXPECT_EQ(*result, QString::fromLatin1(c.completed)) << c.typed;
        } else {
            EXPECT_FALSE(result.has_value()) << c.typed;
        }
    }
}

} // namespace
