#include "TagFile.h"

using namespace taglet;

using ReadTest = TagFileTest;

// Each fixture: what Read reports and what it leaves behind, failures included.
TEST_F(ReadTest, FixturesReadAsExpected)
{
    const std::tuple<const char *, int, std::vector<int>, propHaveTag, int, std::u16string, int>
        cases[] = {
            // file, error, events, tags, bit rate, song, text frames
            {"tone.mp3", 0, {}, tagNone, 64, u"", 0},
            {"v1_only.mp3", 0, {}, tagID3v1, 64, u"Title", 0},
            {"v11_track.mp3", 0, {}, tagID3v1, 64, u"Five5", 0},
            {"v1_v2_both.mp3", 0, {}, tagID3Both, 64, u"V1 Title", 6},
            {"big_tag.mp3", 0, {}, tagID3v2, 64, u"", 1}, // a tag above 32757 bytes
            {"v24.mp3", 0, {100}, tagID3v2, 0, u"", 0},
            {"unsync.mp3", 0, {101}, tagID3v2, 0, u"", 0},
            {"apic_type25.mp3", errNoSuchSlot, {}, tagID3v2, 0, u"", 0},
            {"txxx_no_zero.mp3", errInvalidArgument, {}, tagID3v2, 0, u"", 1},
            {"ipls_odd.mp3", errInvalidArgument, {}, tagID3v2, 0, u"", 0},
            {"frame_past_end.mp3", errPastEnd, {}, tagID3v2, 0, u"", 0},
            {"short_frame.mp3", errBadPosition, {}, tagNone, 64, u"", 0},
            {"tiny.mp3", errPastEnd, {}, tagNone, 0, u"", 0},
            {"truncated_header.mp3", errPastEnd, {}, tagID3v2, 0, u"", 0},
        };
    for (const auto &[file, error, events, haveTag, bitrate, song, frames] : cases) {
        SCOPED_TRACE(file);
        const std::string before = slurp(fixture(file));
        Taglet t;
        const Observed seen = readFile(t, fixture(file));
        EXPECT_EQ(std::tie(seen.error, seen.events), std::tie(error, events));
        EXPECT_EQ(std::tuple(t.HaveTag(), int(t.Bitrate()), t.Song(), int(t.TextFrameNum())),
            std::tie(haveTag, bitrate, song, frames));
        EXPECT_EQ(t.LengthMs(), t.Length() * 1000) << "whole seconds in this mode";
        EXPECT_EQ(slurp(fixture(file)), before) << "Read changed the file";
    }
    Taglet t;
    EXPECT_EQ(readFile(t, dir.path()).error, errFileAccess);
    EXPECT_EQ(readFile(t, fixture("no_such_file.mp3")).error, errFileNotFound);
    // A frame the reader does not keep, reaching past the end of the file, is refused too.
    std::string past = id3v2(frame("PRIV", "x"));
    EXPECT_EQ(readFile(t, write("past.mp3", past.replace(14, 4, "\0\x7F\xFF\xFF") + Audio)).error,
        errPastEnd);
    // A name beyond 16 bits (a surrogate pair) opens the file it names.
    const std::string music = write("\xF0\x9F\x8E\xB5.mp3", slurp(fixture("tone.mp3")));
    t.setFilename(QString::fromStdString(music).toStdU16String());
    EXPECT_NO_THROW(t.Read());
}

TEST_F(ReadTest, Id3v1FieldsBesideId3v2)
{
    Taglet t;
    ASSERT_EQ(readFile(t, fixture("v1_v2_both.mp3")).error, 0);
    // TIT2 keeps its terminator.
    EXPECT_EQ(std::tuple(t.Artist(), t.Track(), t.Genre(), t.TextFrame(1), t.TextFrame(5)),
        std::tuple(u"V1 Artist", 3, u"Rock", u"V2 Title\0"s, u"(17)Live"));
    EXPECT_TAGLET_ERROR(t.TextFrame(7), errSubscript);
    readFile(t, fixture("v1_only.mp3"));
    EXPECT_EQ(
        std::tuple(t.Album(), t.Comment(), t.Track()), std::tuple(u"Album", u"Note\0inside"s, 0));
    readFile(t, fixture("v11_track.mp3"));
    EXPECT_EQ(std::tuple(t.Track(), t.Comment(), t.Genre()),
        std::tuple(7, std::u16string(28, u'C'), u""));
}

// Audio header fields from bytes 1 to 3, for every version, layer and flag of interest.
TEST_F(ReadTest, MpegHeaderFields)
{
    // version, layer, bit rate, frequency, mode, copyright, original, private bit, emphasis
    using Fields = std::tuple<int, int, int, int, int, bool, bool, bool, int>;
    const std::pair<std::string, Fields> cases[] = {
        {"\xFB\x90\x64", {1, 3, 128, 44100, modeJointStereo, 0, 1, 0, emphasisNone}},
        {"\xFD\xE4\xC0", {1, 2, 384, 48000, modeMono, 0, 0, 0, emphasisNone}},
        {"\xFF\xE9\x89", {1, 1, 448, 32000, modeDualChannel, 1, 0, 1, emphasis5015ms}},
        {"\xFF\xEC\x03", {1, 1, 448, 0, modeStereo, 0, 0, 0, emphasisCCITTj17}},
        {"\xF3\x14\x02", {2, 3, 8, 24000, modeStereo, 0, 0, 0, emphasisNone}},
        {"\xF7\x90\x00"s, {2, 1, 144, 22050, modeStereo, 0, 0, 0, emphasisNone}},
        {"\xF9\x90\x00"s, {1, 0, 0, 44100, modeStereo, 0, 0, 0, emphasisNone}}, // no layer
        {"\xFB\xF0\x00"s, {1, 3, 0, 44100, modeStereo, 0, 0, 0, emphasisNone}}, // bad bit rate
    };
    for (const auto &[bytes, fields] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        // No sync check: the first byte is not even looked at.
        Taglet t;
        ASSERT_EQ(readFile(t, write("h.mp3", '\0' + bytes + std::string(996, '\x55'))).error, 0);
        EXPECT_EQ(Fields(t.MPEGVersion(), t.Layer(), t.Bitrate(), t.Frequency(), t.Mode(),
                      t.Copyright(), t.Original(), t.PrivateBit(), t.Emphasis()),
            fields);
    }
}

TEST_F(ReadTest, PlayingTimeAndItsOverflow)
{
    const std::string path = write("long.mp3", "\xFF\xFB\x90\x64");
    std::filesystem::resize_file(path, 4'010'000);
    Taglet t;
    ASSERT_EQ(readFile(t, path).error, 0);
    EXPECT_EQ(t.Length(), 250) << "249.69 seconds, rounded";
    // 8 kbit/s: about 1004 bytes a second, so 40 MB is past 32767 seconds.
    const std::string big = write("big.mp3", "\xFF\xF3\x14\x00"s);
    std::filesystem::resize_file(big, 40'000'000);
    EXPECT_EQ(readFile(t, big).error, errOverflow);
    EXPECT_EQ(std::tuple(t.Bitrate(), t.Length()), std::tuple(8, 0));
}
