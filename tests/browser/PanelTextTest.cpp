#include "browser/PanelText.h"
#include "browser/WavInfo.h"

#include <gtest/gtest.h>

using namespace PanelText;

TEST(PanelText, TimeLineShowsMinutesAndPaddedSeconds)
{
    const struct
    {
        double ms;
        const char *text;
    } cases[] = {
        {185400, "Time: 3' 05\""},
        {187000, "Time: 3' 07\""},
        {600000, "Time: 10' 01\""},
        {0, "Time: 0' 01\""},
        {999, "Time: 0' 01\""},
        {9999, "Time: 0' 09\""},
        {10000, "Time: 0' 10\""},
        {59999, "Time: 0' 59\""},
        {60000, "Time: 1' 01\""},
        {3725000, "Time: 62' 05\""},
        {-5, "Time: 0' 01\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TimeLine(c.ms), QString::fromUtf8(c.text)) << c.ms;
}

TEST(PanelText, TrackSuffixOnlyForTracksAboveZero)
{
    const struct
    {
        const char *track;
        const char *suffix;
    } cases[] = {
        {"", ""},
        {"0", ""},
        {"abc", ""},
        {"-3", ""},
        {"3", "    Track #3"},
        {"7/12", "    Track #7/12"},
        {" 12 ", "    Track # 12 "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TrackSuffix(QString::fromUtf8(c.track)), QString::fromUtf8(c.suffix)) << c.track;
}

TEST(PanelText, HeaderAndClipLines)
{
    const QDateTime when(QDate(2024, 3, 9), QTime(14, 5, 7));
    const QString header = HeaderLines("1.234 K", when, QLocale::c());
    EXPECT_TRUE(header.startsWith("Size: 1.234 K\n\nDate: ")) << header.toStdString();
    EXPECT_TRUE(header.endsWith("14:05:07")) << header.toStdString(); // seconds, no time zone

    EXPECT_EQ(WmaInfoText("T", "A", "C", "D"), "Title: T\nArtist: A\nCopyright: C\nD");
}

TEST(PanelText, WavLinesShowFormatAndBitRate)
{
    WavInfo info;
    info.channels = 2;
    info.sampleRate = 44100;
    info.bytesPerSecond = 176400;
    info.bitsPerSample = 16;
    EXPECT_EQ(WavInfoText(info),
        "WaveAudio Stereo\n\nSampling rate (Hz): 44100\n"
        "Bit rate (bps): 1411200\nBits per sample: 16");
    info.channels = 1;
    info.bytesPerSecond = 0xFFFFFFFFu; // corrupt field: shown, never overflowed
    EXPECT_TRUE(WavInfoText(info).startsWith("WaveAudio Mono\n"));
    EXPECT_TRUE(WavInfoText(info).contains("Bit rate (bps): 34359738360\n"));
}

TEST(PanelText, TextFramesFillOnlyEmptyFields)
{
    const std::vector<TextFrame> frames = {
        {"TIT2", "Frame Title"},
        {"TPE1", "Frame Artist"},
        {"TALB", "Frame Album"},
        {"TRCK", "7/12"},
        {"TCON", "(13)"},
        {"TIT2", "Second Title Frame"},
    };
    const auto decode = [](const QString &t) {
        return t == "(13)" ? QString("Pop") : t;
    };

    TagFields empty;
    empty.Track = "0"; // what a v1 tag without track number leaves
    FillFromTextFrames(empty, frames, decode);
    EXPECT_EQ(empty.Title, "Frame Title"); // the first frame wins
    EXPECT_EQ(empty.Artist, "Frame Artist");
    EXPECT_EQ(empty.Album, "Frame Album");
    EXPECT_EQ(empty.Track, "7/12");
    EXPECT_EQ(empty.Genre, "Pop");

    TagFields filled {"V1 Title", "V1 Artist", "V1 Album", "", "", "Rock", "1999", "3"};
    FillFromTextFrames(filled, frames, decode);
    EXPECT_EQ(filled.Title, "V1 Title");
    EXPECT_EQ(filled.Artist, "V1 Artist");
    EXPECT_EQ(filled.Album, "V1 Album");
    EXPECT_EQ(filled.Track, "3");
    EXPECT_EQ(filled.Genre, "Rock");
}

TEST(PanelText, Mp3LinesAndCopyrightBit)
{
    const struct
    {
        const char *artist;
        bool copyrightBit, tagOnly;
        const char *copyright;
        const char *artistLine;
    } cases[] = {
        {"Owner", false, false, "", "Artist: Owner\n"},
        {"Owner", true, false, "Owner", "Artist: Owner (c)\n"},
        {"Owner", true, true, "(c)", "Artist: Owner\n"},
        {"", true, false, "(c)", "Artist: \n"},
    };
    for (const auto &c : cases) {
        TagFields f;
        f.Title = "Song";
        f.Artist = c.artist;
        f.Album = "Album";
        f.Genre = "Jazz";
        const QString text = Mp3InfoText(f, c.copyrightBit, c.tagOnly);
        EXPECT_EQ(f.Copyright, QString::fromUtf8(c.copyright)) << c.artist << c.copyrightBit;
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.artistLine))) << text.toStdString();
        EXPECT_TRUE(text.startsWith("Title: Song\nArtist: "));
        EXPECT_TRUE(text.endsWith("\nAlbum: Album\nGenre: Jazz"));
    }
    TagFields withYear;
    withYear.Title = "Song";
    withYear.Year = "1987";
    EXPECT_TRUE(Mp3InfoText(withYear, false, false).startsWith("Title: Song  (1987)\nArtist: "));
}
