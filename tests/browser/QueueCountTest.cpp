#include "browser/QueueCount.h"
#include "browser/TypeFilter.h"

#include <gtest/gtest.h>

namespace {

const std::vector<QueueEntry> entries {{"/a/1.mp3", true}, {"/a/2.WAV", true}, {"/a/3.wma", true},
    {"/a/4.mp3", false}, {"/a/5.Mp3", true}};

TEST(QueueCountTest, CountsMarkedFilesTheTickedOutputsCanTake)
{
    struct Case
    {
        bool wma, wav;
        int count;
        bool enableWma, enableWav;
    } cases[] = {
        {true, false, 3, true, true}, // two MP3s and the WAV
        {false, true, 2, false, true}, // WAV input needs WMA output
        {true, true, 3, true, true},
        {false, false, 0, false, false} // nothing ticked, nothing to convert
    };
    for (const Case &c : cases) {
        const QueueCounting r = CountQueue(entries, c.wma, c.wav, QStringLiteral("/a/1.mp3"));
        EXPECT_EQ(r.count, c.count) << c.wma << c.wav;
        EXPECT_EQ(r.enableWma, c.enableWma) << c.wma << c.wav;
        EXPECT_EQ(r.enableWav, c.enableWav) << c.wma << c.wav;
    }
}

TEST(QueueCountTest, WithoutMarksTheCurrentFileCountsOnce)
{
    const std::vector<QueueEntry> none {{"/a/1.mp3", false}, {"/a/2.wav", false}};
    EXPECT_EQ(CountQueue(none, false, true, QStringLiteral("/a/1.mp3")).count, 1);
    EXPECT_EQ(CountQueue(none, false, true, QStringLiteral("/a/2.wav")).count, 0);
    EXPECT_EQ(CountQueue(none, true, false, QStringLiteral("/a/2.wav")).count, 1);
    // A WMA alone is encoded again, for WMA output only; marked among others it is passed over.
    EXPECT_EQ(CountQueue(none, true, false, QStringLiteral("/a/3.wma")).count, 1);
    EXPECT_EQ(CountQueue(none, false, true, QStringLiteral("/a/3.wma")).count, 0);
    const std::vector<QueueEntry> wmaAlone {{"/a/3.wma", true}, {"/a/4.wma", false}};
    EXPECT_EQ(CountQueue(wmaAlone, true, true, QStringLiteral("/a/3.wma")).count, 1);
    const std::vector<QueueEntry> wmaAmongOthers {{"/a/1.mp3", true}, {"/a/3.wma", true}};
    EXPECT_EQ(CountQueue(wmaAmongOthers, true, true, QStringLiteral("/a/3.wma")).count, 1);
    EXPECT_EQ(QueueLabel(QStringLiteral("2 - Select files to be converted"), 3, 12),
        QStringLiteral("2 - Select files to be converted   (3/12)"));
}

// Which files each entry lists is checked on a real folder in the browser's tests.
TEST(TypeFilterTest, EntryCodesStayHiddenOnScreen)
{
    const QStringList box = TypeBoxEntries(QStringLiteral("Supported"));
    ASSERT_EQ(box.size(), 5);
    EXPECT_EQ(box[3], QStringLiteral("WM Audio                WMA"));

    // On screen the codes stay hidden; a single blank belongs to the name.
    const char *shown[] = {"MP3", "WAV", "MP3, WAV", "WM Audio", "Supported"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(VisibleTypeText(box[i]), QString::fromLatin1(shown[i])) << i;
    EXPECT_EQ(VisibleTypeText(TypeBoxEntries(QStringLiteral("Supportati"))[4]), "Supportati");
}

} // namespace
