#include "browser/QueueCount.h"
#include "browser/TypeFilter.h"

#include <gtest/gtest.h>
#include <tuple>

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
