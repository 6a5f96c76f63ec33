#include "browser/ListLine.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace {

TEST(AggiungiPlaylistTest, OutputListKeepsEachFileOnceAndPathsSurviveBlanks)
{
    QListWidget list;
    Aggiungi_Playlist(
        &list, QStringLiteral("/o/data.wma"), QStringLiteral("2 K"), ListLine::OutputSizeEnd);
    Aggiungi_Playlist(
        &list, QStringLiteral("/o/a.wma"), QStringLiteral("2 K"), ListLine::OutputSizeEnd);
    Aggiungi_Playlist(
        &list, QStringLiteral("/o/a.wma"), QStringLiteral("3 K"), ListLine::OutputSizeEnd);
    ASSERT_EQ(list.count(), 2); // "a.wma" replaced, "data.wma" kept
    EXPECT_EQ(PathOfItem(list.item(0)), QStringLiteral("/o/data.wma"));
    EXPECT_TRUE(list.item(1)->text().contains(QStringLiteral(" 3 K")));

    // The input list never drops entries; a name ending in a blank keeps it.
    Aggiungi_Playlist(
        &list, QStringLiteral("/o/a.wma "), QStringLiteral("1 K"), ListLine::InputSizeEnd);
    Aggiungi_Playlist(
        &list, QStringLiteral("/o/a.wma "), QStringLiteral("1 K"), ListLine::InputSizeEnd);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(PathOfItem(list.item(3)), QStringLiteral("/o/a.wma "));
}

} // namespace
