#include "TagFile.h"

#include <cstdlib>
#include <vector>

using namespace taglet;

namespace {

std::vector<std::pair<std::u16string, std::u16string>> textFrames(const Taglet &t)
{
    std::vector<std::pair<std::u16string, std::u16string>> out;
    for (std::int16_t i = 1; i <= t.TextFrameNum(); ++i)
        out.emplace_back(t.TextFrameName(i), t.TextFrame(i));
    return out;
}

} // namespace

using ReadTest = TagFileTest;

// Each fixture: what Read reports and what it leaves behind, failures included.
TEST_F(ReadTest, FixturesReadAsExpected)
{
    struct Case
    {
        const char *file;
        int error;
        std::vector<int> events;
        propHaveTag haveTag;
        std::int16_t bitrate;
        std::u16string song;
        std::int16_t textFrames;
    };
    const Case cases[] = {
        {"tone.mp3", 0, {}, tagNone, 64, u"", 0},
        {"v1_only.mp3", 0, {}, tagID3v1, 64, u"Title", 0},
        {"v11_track.mp3", 0, {}, tagID3v1, 64, u"Five5", 0},
        {"v1_v2_both.mp3", 0, {}, tagID3Both, 64, u"V1 Title", 6},
        {"v2_frames.mp3", 0, {}, tagID3v2, 64, u"", 2},
        {"big_tag.mp3", 0, {}, tagID3v2, 64, u"", 1},
        {"v24.mp3", 0, {100}, tagID3v2, 0, u"", 0},
        {"unsync.mp3", 0, {101}, tagID3v2, 0, u"", 0},
        {"apic_bad_jpeg.mp3", 0, {}, tagID3v2, 64, u"", 0}, // fails only when shown
        {"apic_type25.mp3", errNoSuchSlot, {}, tagID3v2, 0, u"", 0},
        {"txxx_no_zero.mp3", errInvalidArgument, {}, tagID3v2, 0, u"", 1},
        {"ipls_odd.mp3", errInvalidArgument, {}, tagID3v2, 0, u"", 0},
        {"frame_past_end.mp3", errPastEnd, {}, tagID3v2, 0, u"", 0},
        {"short_frame.mp3", errBadPosition, {}, tagNone, 64, u"", 0},
        {"tiny.mp3", errPastEnd, {}, tagNone, 0, u"", 0},
        {"truncated_header.mp3", errPastEnd, {}, tagID3v2, 0, u"", 0},
        {"no_such_file.mp3", errFileNotFound, {}, tagNone, 0, u"", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = fixture(c.file);
        const std::string before = slurp(path);
        Taglet t;
        const Observed seen = readFile(t, path);
        EXPECT_EQ(seen.error, c.error);
        EXPECT_EQ(seen.events, c.events);
        EXPECT_EQ(t.HaveTag(), c.haveTag);
        EXPECT_EQ(t.Bitrate(), c.bitrate);
        EXPECT_EQ(t.Song(), c.song);
        EXPECT_EQ(t.TextFrameNum(), c.textFrames);
        EXPECT_EQ(slurp(path), before) << "Read changed the file";
    }
}

TEST_F(ReadTest, BothTagsStayApart)
{
    Taglet t;
    ASSERT_EQ(readFile(t, fixture("v1_v2_both.mp3")).error, 0);
    EXPECT_EQ(t.Artist(), u"V1 Artist");
    EXPECT_EQ(t.Track(), 3);
    EXPECT_EQ(t.Genre(), u"Rock");
    const auto frames = textFrames(t);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[0].first, u"TIT2");
    EXPECT_EQ(frames[0].second, std::u16string(u"V2 Title\0", 9)); // the terminator stays
    EXPECT_EQ(frames[4].second, u"(17)Live");
    EXPECT_TAGLET_ERROR(t.TextFrame(7), errSubscript);
}

TEST_F(ReadTest, Id3v1FieldsTrimAndTrack)
{
    Taglet t;
    readFile(t, fixture("v1_only.mp3"));
    EXPECT_EQ(t.Album(), u"Album");
    EXPECT_EQ(t.Comment(), std::u16string(u"Note\0inside", 11)); // inner zero kept
    EXPECT_EQ(t.Track(), 0);

    t.setTrim(false);
    t.Read();
    EXPECT_EQ(t.Song(), u"Title" + std::u16string(25, u' '));

    readFile(t, fixture("v11_track.mp3"));
    EXPECT_EQ(t.Track(), 7);
    EXPECT_EQ(t.Comment(), std::u16string(28, u'C'));
    EXPECT_EQ(t.Genre(), u"");
}

TEST_F(ReadTest, EveryFrameKind)
{
    Taglet t;
    ASSERT_EQ(readFile(t, fixture("v2_frames.mp3")).error, 0);
    using Frames = decltype(textFrames(t));
    const Frames expected = {{u"TIT2", u""}, {u"TPE1", std::u16string(u"Artist\0", 7)}};
    EXPECT_EQ(textFrames(t), expected);
    ASSERT_EQ(t.UDTextFrameNum(), 1); // the UTF-16 TXXX is skipped
    EXPECT_EQ(t.UDTextFrameDescription(1), u"Mood");
    EXPECT_EQ(t.UDTextFrame(1), u"Calm");
    ASSERT_EQ(t.UFIDNum(), 1);
    EXPECT_EQ(t.UFIDURL(1), u"http://ids.example");
    EXPECT_EQ(t.UFID(1), u"ID-42");
    ASSERT_EQ(t.LinkFrameNum(), 2);
    EXPECT_EQ(t.LinkFrameName(2), u"WOAR");
    EXPECT_EQ(t.LinkFrame(2), u"http://artist.example/");
    ASSERT_EQ(t.UDLinkFrameNum(), 1);
    EXPECT_EQ(t.UDLinkFrame(1), u"http://home.example/");
    // Only the second IPLS frame counts.
    ASSERT_EQ(t.InvolvedPeopleNum(), 2);
    EXPECT_EQ(t.InvolvedPeopleInvolvement(1), u"mix");
    EXPECT_EQ(t.InvolvedPeople(2), u"Third");
    EXPECT_EQ(t.MCDI(),
        std::u16string(u"\0\x01\x02"
                       u"CD",
            5));

    // A PNG in slot 3 and a JPEG with a UTF-16 description in slot 4 both load.
    t.setPictureID(3);
    EXPECT_EQ(t.PictureDescription(), u"Front");
    EXPECT_EQ(t.Picture().width, 4);
    t.setPictureID(4);
    EXPECT_EQ(t.PictureDescription(), u"B"); // single-byte text up to the first zero
    EXPECT_FALSE(t.Picture().isNull());
    t.setPictureID(5);
    EXPECT_TRUE(t.Picture().isNull());
    EXPECT_EQ(t.PictureDescription(), u"");
}

TEST_F(ReadTest, TagsAbove32757BytesAreRead)
{
    Taglet t;
    ASSERT_EQ(readFile(t, fixture("big_tag.mp3")).error, 0);
    EXPECT_EQ(t.MPEGVersion(), 1);
    EXPECT_EQ(t.Layer(), 3);
    t.setPictureID(3);
    EXPECT_FALSE(t.Picture().isNull());
}

TEST_F(ReadTest, PicturesLeaveNoTemporaryFiles)
{
    const std::string tmp = (dir / "tmp").string();
    std::filesystem::create_directory(tmp);
    const char *old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", tmp.c_str(), 1);

    Taglet t;
    EXPECT_EQ(readFile(t, fixture("apic_bad_jpeg.mp3")).error, 0);
    t.setPictureID(3);
    EXPECT_EQ(t.PictureDescription(), u"Broken");
    EXPECT_TAGLET_ERROR(t.Picture(), errInvalidPicture);

    EXPECT_EQ(readFile(t, fixture("apic_bad_png.mp3")).error, 0);
    t.setPictureID(3);
    EXPECT_EQ(t.PictureDescription(), u"Undecodable");
    EXPECT_TRUE(t.Picture().isNull());

    const Observed seen = readFile(t, fixture("apic_unknown.mp3"));
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0].substr(0, tmp.size()), u16(tmp));
    t.setPictureID(3);
    EXPECT_EQ(t.PictureDescription(), u"");

    // Without a decoder a picture keeps only its description.
    Taglet bare;
    EXPECT_EQ(readFile(bare, fixture("v2_frames.mp3"), false).error, 0);
    bare.setPictureID(3);
    EXPECT_EQ(bare.PictureDescription(), u"Front");
    EXPECT_TRUE(bare.Picture().isNull());

    EXPECT_TRUE(std::filesystem::is_empty(tmp));
    if (old)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

// Audio header fields from bytes 1 to 3, for every version, layer and flag of interest.
TEST_F(ReadTest, MpegHeaderFields)
{
    struct Case
    {
        unsigned char b1, b2, b3;
        int version, layer, bitrate, frequency, mode;
        bool copyright, original, privateBit;
        int emphasis;
    };
    const Case cases[] = {
        {0xFB, 0x90, 0x64, 1, 3, 128, 44100, modeJointStereo, false, true, false, emphasisNone},
        {0xFD, 0xE4, 0xC0, 1, 2, 384, 48000, modeMono, false, false, false, emphasisNone},
        {0xFF, 0xE9, 0x89, 1, 1, 448, 32000, modeDualChannel, true, false, true, emphasis5015ms},
        {0xFF, 0xEC, 0x03, 1, 1, 448, 0, modeStereo, false, false, false, emphasisCCITTj17},
        {0xF3, 0x14, 0x02, 2, 3, 8, 24000, modeStereo, false, false, false, emphasisNone},
        {0xF5, 0xE0, 0x00, 2, 2, 160, 22050, modeStereo, false, false, false, emphasisNone},
        {0xF7, 0x90, 0x00, 2, 1, 144, 22050, modeStereo, false, false, false, emphasisNone},
        {0xE3, 0x88, 0x00, 2, 3, 64, 16000, modeStereo, false, false, false, emphasisNone},
        {0xF9, 0x90, 0x00, 1, 0, 0, 44100, modeStereo, false, false, false, emphasisNone},
        {0xFB, 0xF0, 0x00, 1, 3, 0, 44100, modeStereo, false, false, false, emphasisNone},
        {0xFB, 0x00, 0x00, 1, 3, 0, 44100, modeStereo, false, false, false, emphasisNone},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(
            testing::Message() << std::hex << int(c.b1) << " " << int(c.b2) << " " << int(c.b3));
        // No sync check: the first byte is not even looked at.
        std::string bytes = {'\0', char(c.b1), char(c.b2), char(c.b3)};
        bytes.resize(1000, '\x55');
        Taglet t;
        ASSERT_EQ(readFile(t, write("h.mp3", bytes)).error, 0);
        EXPECT_EQ(t.MPEGVersion(), c.version);
        EXPECT_EQ(t.Layer(), c.layer);
        EXPECT_EQ(t.Bitrate(), c.bitrate);
        EXPECT_EQ(t.Frequency(), c.frequency);
        EXPECT_EQ(t.Mode(), c.mode);
        EXPECT_EQ(t.Copyright(), c.copyright);
        EXPECT_EQ(t.Original(), c.original);
        EXPECT_EQ(t.PrivateBit(), c.privateBit);
        EXPECT_EQ(t.Emphasis(), c.emphasis);
    }
}

TEST_F(ReadTest, PlayingTimeAndItsOverflow)
{
    const std::string path = write("long.mp3", "\xFF\xFB\x90\x64");
    std::filesystem::resize_file(path, 4'000'000);
    Taglet t;
    ASSERT_EQ(readFile(t, path).error, 0);
    EXPECT_EQ(t.Length(), 249);

    // 8 kbit/s: about 1004 bytes a second, so 40 MB is past 32767 seconds.
    const std::string big = write("big.mp3", "\xFF\xF3\x14\x00");
    std::filesystem::resize_file(big, 40'000'000);
    EXPECT_EQ(readFile(t, big).error, errOverflow);
    EXPECT_EQ(t.Bitrate(), 8);
    EXPECT_EQ(t.Length(), 0);
}

TEST_F(ReadTest, FrameWalkEndsAtTagSizeOrPadding)
{
    const std::string tit2 = frame("TIT2", std::string("\0A", 2));
    const std::string audio = std::string("\xFF\xFB\x90\x64", 4) + std::string(200, '\0');
    Taglet t;
    // No padding: the walk stops at the tag size, the audio is not taken for a frame.
    ASSERT_EQ(readFile(t, write("a.mp3", id3v2(tit2 + tit2) + audio)).error, 0);
    EXPECT_EQ(t.TextFrameNum(), 2);
    EXPECT_EQ(t.Bitrate(), 128);
    // Padding: the walk stops at the first zero byte.
    ASSERT_EQ(readFile(t, write("b.mp3", id3v2(tit2 + std::string(50, '\0')) + audio)).error, 0);
    EXPECT_EQ(t.TextFrameNum(), 1);
    EXPECT_EQ(t.Bitrate(), 128);
    // Padding only: the header is found right after the 4096-byte tag.
    ASSERT_EQ(readFile(t, write("c.mp3", id3v2(std::string(4096, '\0')) + audio)).error, 0);
    EXPECT_EQ(t.TextFrameNum(), 0);
    EXPECT_EQ(t.Bitrate(), 128);
}

TEST_F(ReadTest, SecondReadForgetsTheFirstFile)
{
    Taglet t;
    readFile(t, fixture("v2_frames.mp3"));
    readFile(t, fixture("v24.mp3"));
    EXPECT_EQ(t.UFIDNum(), 0);
    EXPECT_EQ(t.MCDI(), u"");
    EXPECT_EQ(t.Bitrate(), 0);
    t.setPictureID(3);
    EXPECT_EQ(t.PictureDescription(), u"");
}

TEST_F(ReadTest, NonRegularFilesFailCleanly)
{
    Taglet t;
    EXPECT_EQ(readFile(t, dir.string()).error, errFileAccess);
    EXPECT_EQ(readFile(t, "").error, errFileNotFound);
}

TEST_F(ReadTest, MalformedAttachedPictures)
{
    const std::string audio = std::string("\xFF\xFB\x90\x64", 4) + std::string(200, '\0');
    struct Case
    {
        std::string data;
        int error;
        std::u16string description;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {""s, errInvalidArgument, u""},
        {"\0image/png"s, errInvalidArgument, u""}, // MIME without its zero
        {"\0image/png\0"s, errInvalidArgument, u""}, // no picture type
        {"\0image/png\0\3Desc"s, errInvalidArgument, u""}, // description without zero
        {"\1image/png\0\3D\0e\0"s, errInvalidArgument, u"D"}, // UTF-16 without a zero pair
        {"\1image/png\0\3D\0\0\0xyz"s, 0, u"D"}, // pair at an even offset
        {"\2image/png\0\3\0D\0\0xyz"s, 0, u""}, // big-endian UTF-16
        {"\3image/png\0\3Desc\0xyz"s, 0, u"Desc"}, // UTF-8: one zero byte
        {"\0image/png\0\x15"s
         "Desc\0xyz"s,
            errNoSuchSlot, u""}, // type 21
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.data));
        Taglet t;
        const std::string path = write("p.mp3", id3v2(frame("APIC", c.data)) + audio);
        EXPECT_EQ(readFile(t, path).error, c.error);
        t.setPictureID(3);
        EXPECT_EQ(t.PictureDescription(), c.error ? u"" : c.description);
    }
}

// A format without a signature loads by the name its MIME type gives.
TEST_F(ReadTest, DecoderFormatsLoadByName)
{
    using namespace std::string_literals;
    // Uncompressed 2x2 true-colour TGA, top-left origin, with the version 2 footer.
    const std::string tga = "\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x18\x20"s + std::string(12, '\x7F')
        + std::string(8, '\0') + "TRUEVISION-XFILE.\0"s;
    const std::string audio = std::string("\xFF\xFB\x90\x64", 4) + std::string(200, '\0');
    Taglet t;
    const std::string apic = "\0image/tga\0\4Targa\0"s + tga;
    EXPECT_EQ(readFile(t, write("t.mp3", id3v2(frame("APIC", apic)) + audio)).error, 0);
    t.setPictureID(4);
    EXPECT_EQ(t.PictureDescription(), u"Targa");
    EXPECT_EQ(t.Picture().width, 2);
    EXPECT_EQ(t.Picture().height, 2);
}
