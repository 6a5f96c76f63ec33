#include "dialogs/clsCommonDialog.h"

#include <gtest/gtest.h>

TEST(clsCommonDialog, FilterPairsBecomeNameFilters)
{
    EXPECT_EQ(clsCommonDialog::nameFilters("MP3 files|*.mp3|Audio|*.wav;*.wma"),
        QStringList({"MP3 files (*.mp3)", "Audio (*.wav *.wma)"}));
    EXPECT_EQ(clsCommonDialog::nameFilters("odd|*.mp3|dangling"), QStringList({"odd (*.mp3)"}));
    EXPECT_TRUE(clsCommonDialog::nameFilters("").isEmpty());
}

TEST(clsCommonDialog, ProposedNameIsCutTo255)
{
    EXPECT_EQ(clsCommonDialog::proposedName(QString(300, 'a')).size(), 255);
    EXPECT_EQ(clsCommonDialog::proposedName("song.wma"), "song.wma");
}
