#include "browser/PanelText.h"
#include "browser/OutputFolder.h"
#include "browser/WavInfo.h"

#include <gtest/gtest.h>

using namespace PanelText;

TEST(PanelText, TimeLineShowsMinutesAndPaddedSeconds)
{
    const std::pair<double, const char *> cases[]
        = {{185400, "3' 05"}, {600000, "10' 01"}, {0, "0' 01"}, {9999, "0' 09"}, {10000, "0' 10"},
            {59999, "0' 59"}, {60000, "1' 01"}, {-5, "0' 01"}};
    for (const auto &[ms, text] : cases)
        EXPECT_EQ(TimeLine(ms), "Time: " + QString::fromUtf8(text) + "\"") << ms;
}

TEST(PanelText, TrackSuffixOnlyForTracksAboveZero)
{
    const std::pair<const char *, const char *> cases[] = {{"", ""}, {"0", ""}, {"abc", ""},
        {"-3", ""}, {"3", "    Track #3"}, {"7/12", "    Track #7/12"}};
    for (const auto &[track, suffix] : cases)
        EXPECT_EQ(TrackSuffix(track), QString::fromUtf8(suffix)) << track;
}

TEST(PanelText, DateLineAndCorruptWavRate)
{
    const QString header
        = HeaderLines("1.234 K", QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7)), QLocale::c());
    EXPECT_TRUE(header.startsWith("Size: 1.234 K\n\nDate: ")) << header.toStdString();
    EXPECT_TRUE(header.endsWith(" 14:05:07")) << header.toStdString(); // seconds, no time zone

    WavInfo info;
    info.bytesPerSecond = 0xFFFFFFFFu; // shown, never overflowed
    EXPECT_TRUE(WavInfoText(info).contains("Bit rate (bps): 34359738360\n"));
}

TEST(OutputFolder, LabelAt37And38CharactersAndTrailingSeparators)
{
    const QString f37 = "/home/user/" + QString(26, u'a');
    const auto whole = OutputFolder::LabelFor(f37);
    EXPECT_EQ(whole.text, f37 + " ");
    EXPECT_FALSE(whole.centred);
    EXPECT_TRUE(whole.toolTip.isEmpty());

    const QString f38 = f37 + "b";
    const auto tail = OutputFolder::LabelFor(f38);
    EXPECT_EQ(tail.text, " ..ome/user/" + QString(26, u'a') + "b");
    EXPECT_TRUE(tail.centred);
    EXPECT_EQ(tail.toolTip, " " + f38 + " ");
}

TEST(PanelText, AnId3v1TextThatOnlyLostCharactersGivesWayToTheFrame)
{
    const struct
    {
        const char *v1, *v2;
        bool shadow;
    } cases[] = {
        {"????????", "日本語のタイトル", true},
        {"Bj?rk & ??????", "Björk & Сергей", false}, // ö fits Latin-1: not what an encoder writes
        {"Bjrk & ??????", "Bjrk & Сергей", true},
        {"Own Title", "Frame Title", false}, // two real values: the ID3v1 one stands
        {"Same", "Same", false},
        {"???", "日本語のタイトル", false}, // not cut at 30
        {"", "日本", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(
            PanelText::IsLatin1Shadow(QString::fromUtf8(c.v1), QString::fromUtf8(c.v2)), c.shadow)
            << c.v1;
    // 40 characters of frame text against the 30 an ID3v1 field holds.
    const QString longText = QString(40, QChar(0x65E5));
    EXPECT_TRUE(PanelText::IsLatin1Shadow(QString(30, u'?'), longText));

    PanelText::TagFields fields;
    fields.Title = QStringLiteral("????");
    fields.Artist = QStringLiteral("Kept");
    PanelText::FillFromTextFrames(fields,
        {{"TIT2", QString::fromUtf8("日本語の")}, {"TPE1", QStringLiteral("Other")}}, nullptr);
    EXPECT_EQ(fields.Title, QString::fromUtf8("日本語の"));
    EXPECT_EQ(fields.Artist, "Kept");
}
