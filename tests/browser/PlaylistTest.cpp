#include "browser/ListLine.h"

#include <QListWidget>
#include <gtest/gtest.h>
#include <tuple>

// The output list keeps each file once, matched by its whole path; the input list never drops
// entries, and a name ending in a blank keeps it.
TEST(AggiungiPlaylistTest, OutputListKeepsEachFileOnceAndPathsSurviveBlanks)
{
    QListWidget list;
    const std::tuple<const char *, const char *, int> added[] = {
        {"/o/data.wma", "2 K", ListLine::OutputSizeEnd},
        {"/o/a.wma", "2 K", ListLine::OutputSizeEnd}, {"/o/a.wma", "3 K", ListLine::OutputSizeEnd},
        {"/o/a.wma ", "1 K", ListLine::InputSizeEnd}, {"/o/a.wma ", "1 K", ListLine::InputSizeEnd}};
    for (const auto &[path, size, sizeEnd] : added)
        Aggiungi_Playlist(&list, path, size, sizeEnd);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(PathOfItem(list.item(0)), QStringLiteral("/o/data.wma"));
    EXPECT_TRUE(list.item(1)->text().contains(QStringLiteral(" 3 K")));
    EXPECT_EQ(PathOfItem(list.item(3)), QStringLiteral("/o/a.wma "));
}
