#include "browser/OutputFolder.h"

#include <gtest/gtest.h>

TEST(OutputFolder, LabelShowsShortFoldersWholeAndLongOnesByTheirEnd)
{
    const QString f37 = "/home/user/" + QString(26, u'a'); // 37 characters
    ASSERT_EQ(f37.size(), 37);
    const auto shortLabel = OutputFolder::LabelFor(f37);
    EXPECT_EQ(shortLabel.text, f37 + " ");
    EXPECT_FALSE(shortLabel.centred);
    EXPECT_TRUE(shortLabel.toolTip.isEmpty());

    const QString f38 = "/home/user/music/" + QString(21, u'b');
    ASSERT_EQ(f38.size(), 38);
    const auto longLabel = OutputFolder::LabelFor(f38);
    EXPECT_EQ(longLabel.text, " .." + f38.right(36));
    EXPECT_EQ(longLabel.text, " ..ome/user/music/" + QString(21, u'b'));
    EXPECT_TRUE(longLabel.centred);
    EXPECT_EQ(longLabel.toolTip, " " + f38 + " ");
}

TEST(OutputFolder, TrailingSeparatorIsRemovedButRootStays)
{
    EXPECT_EQ(OutputFolder::WithoutTrailingSeparator("/data/Out/"), "/data/Out");
    EXPECT_EQ(OutputFolder::WithoutTrailingSeparator("/data/Out//"), "/data/Out");
    EXPECT_EQ(OutputFolder::WithoutTrailingSeparator("D:\\Out\\"), "D:\\Out");
    EXPECT_EQ(OutputFolder::WithoutTrailingSeparator("/data/Out"), "/data/Out");
    EXPECT_EQ(OutputFolder::WithoutTrailingSeparator("/"), "/");
}
