#include "browser/PanelText.h"
#include "browser/OutputFolder.h"
#include "browser/WavInfo.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace PanelText;

TEST(PanelText, TimeTrackDateAndWavLines)
{
    const std::pair<double, const char *> times[] = {{600000, "10' 01"}, {0, "0' 01"},
        {9999, "0' 09"}, {10000, "0' 10"}, {59999, "0' 59"}, {60000, "1' 01"}, {-5, "0' 01"}};
    for (const auto &[ms, text] : times)
        EXPECT_EQ(TimeLine(ms), "Time: " + QString::fromUtf8(text) + "\"") << ms;
    const std::pair<const char *, const char *> tracks[]
        = {{"0", ""}, {"abc", ""}, {"-3", ""}, {"7/12", "    Track #7/12"}};
    for (const auto &[track, suffix] : tracks)
        EXPECT_EQ(TrackSuffix(track), QString::fromUtf8(suffix)) << track;
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
    const auto whole = OutputFolder::LabelFor(f37), tail = OutputFolder::LabelFor(f37 + "b");
    EXPECT_EQ(std::tuple(whole.text, whole.centred, whole.toolTip),
        std::tuple(f37 + " ", false, QString()));
    EXPECT_EQ(std::tuple(tail.text, tail.centred, tail.toolTip),
        std::tuple(" ..ome/user/" + QString(26, u'a') + "b", true, " " + f37 + "b "));
}

TEST(PanelText, AnId3v1TextThatOnlyLostCharactersOrWasCutGivesWayToTheFrame)
{
    const QString chemistry = QStringLiteral("Better Living Through Chemistry");
    const QString blankAt30 = QStringLiteral("The Best Of Everything In The World");
    const QString japanese = QString::fromUtf8("日本語のタイトル");
    const std::tuple<QString, QString, qsizetype, bool> cases[] = {
        {"????????", japanese, 30, true},
        // ö fits Latin-1: not what an encoder writes.
        {QString::fromUtf8("Bj?rk & ??????"), QString::fromUtf8("Björk & Сергей"), 30, false},
        {QString(30, u'?'), QString(40, QChar(0x65E5)), 30, true},
        // One short of the field's width: a value of its own, not a cut.
        {chemistry.left(29), chemistry, 30, false},
        {chemistry.left(30), chemistry.left(30), 30, false}, // nothing was cut
        {blankAt30.left(29), blankAt30, 30, true}, // the cut ended in a blank, trimmed off
    };
    for (const auto &[v1, v2, width, shadow] : cases)
        EXPECT_EQ(IsId3v1Shadow(v1, v2, width), shadow)
            << v1.toStdString() << " / " << v2.toStdString() << " at " << width;
}

// What ends up in the fields from an ID3v1 tag and the frames beside it.
TEST(PanelText, FramesFillWhatTheId3v1TagLeftEmptyOrCut)
{
    const QString chemistry = QStringLiteral("Better Living Through Chemistry");
    const QString longComment = QStringLiteral("Recorded live at the old town hall in 1971");
    using Frames = std::vector<TextFrame>;
    using Comments = std::vector<CommentFrame>;
    // What: ID3v1 title, year, comment and track; the frames; the title, year and comment shown.
    const std::tuple<const char *, QString, QString, QString, QString, Frames, Comments, QString,
        QString, QString>
        cases[] = {
            {"a v2.4 date", "", "", "", "0", {{"TDRC", "2004-05-06T12:00"}}, {}, "", "2004", ""},
            {"no year in it", "", "", "", "0", {{"TYER", " 98 "}}, {}, "", "98", ""},
            {"v1 year and comment stand", "", "1999", "Kept", "0", {{"TYER", "2004"}},
                {{"", "Other"}}, "", "1999", "Kept"},
            {"a comment without a description wins", "", "", "", "0", {},
                {{"iTunNORM", " 0000044E"}, {"", "Real one"}, {"", "Second"}}, "", "", "Real one"},
            {"a player's own data is no comment", "", "", "", "0", {},
                {{"iTunNORM", " 0000044E 00000000"}, {"iTunSMPB", " 00000000"}}, "", "", ""},
            {"an empty comment fills nothing", "", "", "", "0", {},
                {{"", ""}, {"Note", "Described"}}, "", "", "Described"},
            {"the title cut at 30", chemistry.left(30), "", "", "0", {{"TIT2", chemistry}}, {},
                chemistry, "", ""},
            {"a title of its own", "Own", "", "", "0", {{"TIT2", chemistry}}, {}, "Own", "", ""},
            {"the comment cut at 28 beside a track", "", "", longComment.left(28), "5", {},
                {{"", longComment}}, "", "", longComment},
            {"28 characters without a track are the v1 text", "", "", longComment.left(28), "0", {},
                {{"", longComment}}, "", "", longComment.left(28)},
        };
    for (const auto &[what, v1Title, v1Year, v1Comment, v1Track, frames, comments, title, year,
             comment] : cases) {
        TagFields f;
        std::tie(f.Title, f.Year, f.Description, f.Track)
            = std::tie(v1Title, v1Year, v1Comment, v1Track);
        FillFromTextFrames(f, frames, comments, nullptr);
        EXPECT_EQ(
            QStringList({f.Title, f.Year, f.Description}), QStringList({title, year, comment}))
            << what;
    }
}
