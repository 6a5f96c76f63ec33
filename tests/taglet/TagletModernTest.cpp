#include "TagFile.h"

#include <cmath>
#include <fstream>

using namespace taglet;

namespace {

Observed readModern(Taglet &t, const std::string &path)
{
    return readFile(t, path, false, true);
}

// What the control read, under the keys the fixture script writes for what mutagen read.
std::map<std::string, std::string> observed(Taglet &t)
{
    std::map<std::string, std::string> seen;
    const auto put = [&seen](const std::string &key, const std::u16string &value) {
        seen.emplace(key, utf8(value)); // the first frame of an id counts
    };
    for (std::int16_t i = 1; i <= t.TextFrameNum(); ++i) {
        const std::string id = utf8(t.TextFrameName(i));
        std::u16string value = t.TextFrame(i);
        put(id == "TCON"       ? "genre"
                : id == "TYER" ? "year"
                               : id,
            id == "TCON" ? t.DecodeTCON(value) : value);
    }
    for (std::int16_t i = 1; i <= t.UDTextFrameNum(); ++i)
        put("TXXX:" + utf8(t.UDTextFrameDescription(i)), t.UDTextFrame(i));
    for (std::int16_t i = 1; i <= t.InvolvedPeopleNum(); ++i)
        put("people:" + utf8(t.InvolvedPeopleInvolvement(i)), t.InvolvedPeople(i));
    for (std::int16_t slot = 0; slot < Taglet::PictureSlots; ++slot) {
        t.setPictureID(slot);
        if (!t.PictureDescription().empty())
            put("picture:" + std::to_string(slot), t.PictureDescription());
    }
    return seen;
}

} // namespace

using ModernTest = TagFileTest;

// Files from real taggers and encoders: every field mutagen reads, and ffprobe's playing time
// (file, key and value per line, written by scripts/fixtures/taglet_modern.sh).
TEST_F(ModernTest, TaggerFilesReadAsTheirTaggersWroteThem)
{
    std::map<std::string, std::map<std::string, std::string>> files;
    std::ifstream in(fixture("modern/expected.tsv"));
    for (std::string file, key, value;
         std::getline(in, file, '\t') && std::getline(in, key, '\t') && std::getline(in, value);)
        files[file][key] = value;
    ASSERT_GE(files.size(), 18u);
    for (const auto &[file, expected] : files) {
        SCOPED_TRACE(file);
        Taglet t;
        const Observed seen = readFile(t, fixture("modern/" + file), true, true);
        ASSERT_EQ(seen.error, 0);
        EXPECT_TRUE(seen.events.empty());
        // All are mono MPEG 2 layer III; a variable stream's Bitrate is its average.
        EXPECT_EQ(std::tuple(t.Frequency(), t.MPEGVersion(), t.Layer(), t.Mode()),
            std::tuple(file == "lame_v5_mpeg25.mp3" ? 11025 : 22050, 2, 3, modeMono));
        if (!expected.count("bitrate") && file != "lame_v5_noheader.mp3") { // constant
            EXPECT_EQ(t.Bitrate(), 32);
        }
        const auto values = observed(t);
        for (const auto &[key, value] : expected) {
            if (key == "lengthMs") {
                EXPECT_NEAR(t.LengthMs(), std::stoi(value), 100);
                EXPECT_EQ(t.Length(), std::lround(std::stoi(value) / 1000.0));
            } else if (key == "bitrate") {
                EXPECT_NEAR(t.Bitrate(), std::stoi(value), 2);
            } else {
                EXPECT_EQ(values.count(key) ? values.at(key) : "(none)", value) << key;
            }
        }
        // Pictures of every version, unsynchronised or not, reach the decoder whole.
        t.setPictureID(3);
        const int side = expected.count("picture:3") ? 4 : 0;
        EXPECT_EQ(std::tuple(t.Picture().width, t.Picture().height), std::tuple(side, side));
    }
    // ID3v1 stays Latin-1 and apart.
    Taglet t;
    ASSERT_EQ(readModern(t, fixture("modern/id3v2_tool.mp3")).error, 0);
    EXPECT_EQ(
        std::tuple(t.HaveTag(), t.Song(), t.Track()), std::tuple(tagID3Both, u"Plain Title", 3));
}

// Hand-built tags for what taggers write only sometimes: texts in every encoding, and the
// storage forms of every version; the walk stops where a tag really ends.
TEST_F(ModernTest, TextsAndFrameWalkOfEveryVersion)
{
    const std::string tit2 = frame("TIT2", "\0A"s);
    const auto v4 = [](const std::string &frames, int flags = 0) {
        return id3v2(frames, 4, flags);
    };
    const std::pair<std::string, std::string> cases[] = {
        {id3v2(frame("TIT2", "\0Caf\xE9\0junk"s)), "TIT2=Café"}, // ends at the terminator
        {id3v2(frame("TIT2", "\1\xFF\xFE\x41\0\x42\0\0\0"s)), "TIT2=AB"}, // UTF-16LE
        {id3v2(frame("TIT2", "\1\x41\0\x42\0"s)), "TIT2=AB"}, // no mark: little-endian, no end
        {v4(frame("TIT2", "\2\x30\x42\0\x41"s, 4)), "TIT2=あA"}, // UTF-16BE
        {v4(frame("TIT2", "\3\xEF\xBB\xBF\xE6\x97\xA5\0"s, 4)), "TIT2=日"}, // UTF-8, its mark
        {v4(frame("TIT2", "\3\xF0\x9F\x8E\xB5"s, 4)), "TIT2=🎵"}, // beyond 16 bits
        {v4(frame("TPE1", "\3A\0B\0\0"s, 4)), "TPE1=A / B"}, // v2.4 values joined
        {v4(frame("TPE1", "\1\xFE\xFF\0\x41\0\0\0\x42"s, 4)), "TPE1=A / B"}, // big-endian too
        {id3v2(frame("TPE1", "\0A\0B"s)), "TPE1=A"}, // before v2.4 the first text counts
        {v4(frame("TCON", "\0"s + "17\0Pop\0RX\0"s + "255\0"s + "300", 4)),
            "TCON=(17) / Pop / (RX) / (255) / 300"},
        {v4(frame("TDOR", "\0"s + "1999-05", 4)), "TORY=1999"},
        {v4(frame("TIT2", "\3\xE0\x81\x81"s, 4)), "TIT2=\u00E0\u0081\u0081"}, // overlong: bytes
        {v4(frame("TIT2", "\0\xFF\0A"s, 4), 0x80), "TIT2=\u00FFA"}, // unsynchronised tag
        {v4(frame("TDRC", "\0"s + "2004-05-06T12:00", 4)), "TYER=2004"},
        {id3v2(frame("TALB", "")), "TALB="},
        {id3v2(frame("TT2", "\0A"s, 2) + frame("TP1", "\0B"s, 2) + frame("XYZ", "\0C"s, 2), 2),
            "TIT2=A|TPE1=B"},
        {id3v2(frame("TT2", "\0A"s, 2), 2, 0x40), ""}, // v2.2 compressed
        // A frame whose size reaches past the tag ends the walk; the frames before it stand.
        {id3v2(tit2 + "TPE1\0\0\1\0\0\0"s), "TIT2=A"},
        {id3v2(tit2 + "ab\1\2\0\0\0\1\0\0x"s), "TIT2=A"}, // garbage id
        // Plain sizes in a v2.4 tag, as an old writer left them (256 reads as syncsafe 128).
        {v4(frame("TIT2", "\0"s + std::string(255, 'x')) + frame("TPE1", "\0B"s)),
            "TIT2=" + std::string(255, 'x') + "|TPE1=B"},
        {v4(frame("TIT2", "\0"s + std::string(199, 'x')) + frame("TPE1", "\0B"s)), // 0xC8: plain
            "TIT2=" + std::string(199, 'x') + "|TPE1=B"},
        {v4(frame("TIT2", "\0A"s, 4).replace(9, 1, "\x08")
             + frame("TPE1", "\0B"s, 4).replace(9, 1, "\x04") + frame("TALB", "\0C"s, 4)),
            "TALB=C"}, // v2.4 compressed and encrypted
        {id3v2(frame("TIT2", "G\0A"s).replace(9, 1, "\x20")
             + frame("TPE1", "\0B"s).replace(9, 1, "\x80")),
            "TIT2=A"}, // v2.3 grouping and compression
    };
    for (const auto &[tag, listed] : cases) {
        SCOPED_TRACE(testing::PrintToString(tag));
        Taglet t;
        ASSERT_EQ(readModern(t, write("t.mp3", tag + Audio)).error, 0);
        EXPECT_EQ(textFrames(t), listed);
        EXPECT_EQ(t.Bitrate(), 128) << "the audio after the tag";
    }
}

TEST_F(ModernTest, OddTagsInBothModes)
{
    const std::string v23 = frame("TIT2", "\0A"s) + frame("TPE1", "\0B"s);
    const std::string v24 = frame("TIT2", "\0A"s, 4) + frame("TPE1", "\0B"s, 4);
    const std::string both = "TIT2=A|TPE1=B";
    const auto tpe1 = [](const char *text) {
        return frame("TPE1", "\0"s + text);
    };
    const std::tuple<const char *, std::string, std::string, std::string> cases[] = {
        // name, tag, listed in the modern mode, listed in the default mode
        {"v2.3, flag only", id3v2(v23, 3, 0x40), both, both},
        {"v2.3 unsynchronised, flag only", id3v2(v23, 3, 0xC0), both, ""},
        // The walk stops at the first zero byte of padding.
        {"padding", id3v2(v23 + std::string(50, '\0')), both, both},
        // Real extended headers are still skipped.
        {"v2.3 with a CRC", id3v2("\0\0\0\x0A\x80\0\0\0\0\0\1\2\3\4"s + v23, 3, 0x40), both, ""},
        {"v2.4 with a CRC", id3v2("\0\0\0\x0C\1\x20\5\1\2\3\4\5"s + v24, 4, 0x40), both, ""},
        {"at the first one's place", id3v2(tpe1("A") + frame("TIT2", "\0T"s) + tpe1("B")),
            "TPE1=A / B|TIT2=T", "TPE1=A|TIT2=T|TPE1=B"},
        {"a value once", id3v2(tpe1("A") + tpe1("A")), "TPE1=A", "TPE1=A|TPE1=A"},
        {"an empty one adds nothing",
            id3v2(tpe1("") + tpe1("B") + tpe1("") + std::string(10, '\0')), "TPE1=B",
            "TPE1=|TPE1=B|TPE1="},
        {"UTF-16 and Latin-1", id3v2(frame("TPE1", "\1\xFF\xFE\x41\0\0\0"s) + tpe1("Caf\xE9")),
            "TPE1=A / Café", "TPE1=|TPE1=Café"},
        // Some taggers put the v2.4 date beside TYER in a v2.3 tag.
        {"TYER and TDRC",
            id3v2(frame("TYER", "\0"s + "2004") + frame("TDRC", "\0"s + "2004-05-06")), "TYER=2004",
            "TYER=2004"},
        {"v2.4", id3v2(frame("TPE1", "\0A\0B"s, 4) + frame("TPE1", "\0C"s, 4), 4), "TPE1=A / B / C",
            ""},
    };
    for (const auto &[name, tag, modern, byDefault] : cases) {
        SCOPED_TRACE(name);
        for (const bool isModern : {false, true}) {
            Taglet t;
            const Observed seen = readFile(t, write("x.mp3", tag + Audio), false, isModern);
            ASSERT_EQ(seen.error, 0);
            EXPECT_EQ(textFrames(t), isModern ? modern : byDefault) << isModern;
            // The audio right after the tag, unless the default mode gave up on the tag.
            EXPECT_EQ(t.Bitrate(), seen.events.empty() ? 128 : 0) << isModern;
        }
    }
}

// The frames other than texts and pictures; COMM frames with language, description and text in
// every encoding.
TEST_F(ModernTest, UserFramesPeopleLinksAndComments)
{
    const std::string frames = frame("TXXX", "\1\xFF\xFE\x4D\0\0\0\xFF\xFEx\0y\0"s)
        + frame("WXXX", "\1\xFF\xFE\x48\0\0\0http://h.example/\0"s)
        + frame("WOAR", "http://a.example/\0junk"s)
        + frame(
            "IPLS", "\1\xFF\xFEm\0\0\0\xFF\xFE\x41\0\0\0\0\0\xFF\xFE\x42\0\0\0\xFF\xFEorphan\0"s)
        + frame("UFID", "owner\0id"s) + frame("TXXX", "\0no zero"s) // passed over
        + frame("MCDI", "\0\1\2"s) + frame("COMM", "\0eng\0Plain text"s)
        + frame("COMM", "\1deu\xFF\xFEi\0\0\0\xFF\xFE\xFC\0\0\0"s) // UTF-16 "i" and "ü"
        + frame("COMM", "\3\0\0\0Note\0Caf\xC3\xA9\0junk"s) // UTF-8, no language
        + frame("COMM", "\0en"s) // too short: passed over
        + frame("COMM", "\0engno terminator"s) // passed over
        + frame("COMM", "\7eng\0x"s); // unknown encoding: passed over
    const auto comments = [](const Taglet &t) {
        std::string out;
        for (std::int16_t i = 1; i <= t.CommentFrameNum(); ++i)
            out += utf8(t.CommentFrameLanguage(i) + u"," + t.CommentFrameDescription(i) + u","
                + t.CommentFrame(i) + u";");
        return out;
    };
    Taglet t;
    ASSERT_EQ(readModern(t, write("u.mp3", id3v2(frames) + std::string(300, '\0'))).error, 0);
    // The orphan has no person; a person without an involvement is kept.
    EXPECT_EQ(observed(t),
        (std::map<std::string, std::string> {
            {"TXXX:M", "xy"}, {"people:m", "A"}, {"people:", "B"}}));
    ASSERT_EQ(t.UDLinkFrameNum(), 1);
    EXPECT_EQ(t.UDLinkFrameDescription(1) + u"=" + t.UDLinkFrame(1), u"H=http://h.example/");
    EXPECT_EQ(t.LinkFrame(1) + t.UFIDURL(1), u"http://a.example/owner");
    EXPECT_EQ(t.MCDI(), u"\0\1\2"s);
    EXPECT_EQ(comments(t), "eng,,Plain text;deu,i,ü;,Note,Café;");
    // v2.2's COM is the same frame.
    ASSERT_EQ(
        readModern(t, write("c22.mp3", id3v2(frame("COM", "\0engD\0T"s, 2), 2) + Audio)).error, 0);
    EXPECT_EQ(comments(t), "eng,D,T;");
}

TEST_F(ModernTest, AudioBehindJunkSecondTagsAndOtherVersions)
{
    std::string audio;
    // 38 frames of 128 kbit/s MPEG 1 layer III at 44.1 kHz (417 bytes, no padding).
    for (int i = 0; i < 38; ++i)
        audio += "\xFF\xFB\x90\x64"s + std::string(413, '\0');
    const std::string tit2 = frame("TIT2", "\0A"s), tag = id3v2(tit2);
    const auto info = [](const char *mode, const std::string &fields) {
        return ("\xFF\xFB\x90"s + mode + std::string(32, '\0') + "Info" + fields)
            .append(377 - fields.size(), '\0');
    };
    const std::tuple<const char *, std::string, std::vector<int>, int> cases[] = {
        {"junk before the audio", tag + "junk\xFF\xFB"s + audio, {}, 1},
        {"a second tag", tag + id3v2(std::string(3000, '\0')) + audio, {}, 1},
        {"v2.5", id3v2(tit2, 5) + audio, {100}, 0},
        {"footer", id3v2(tit2, 4, 0x10) + "3DI\4\0\x10\0\0\0\x0C"s + audio, {}, 1},
        {"free format is no frame", tag + "\xFF\xFB\x00\x64"s + audio, {}, 1},
        // The frame of an Info header holds no audio: counted by the header (its side
        // information is 32 bytes long for two channels) or passed over by the scan.
        {"Info with a frame count", tag + info("\x80", "\0\0\0\1\0\0\0\x26"s) + audio, {}, 1},
        {"Info without", tag + info("\x64", "\0\0\0\0"s) + audio, {}, 1},
        // A last frame cut off by an ID3v1 tag does not play.
        {"ID3v1", tag + audio + audio.substr(0, 300) + "TAG"s + std::string(125, '\0'), {}, 1},
    };
    for (const auto &[name, bytes, events, frames] : cases) {
        SCOPED_TRACE(name);
        Taglet t;
        const Observed seen = readModern(t, write("a.mp3", bytes));
        // 0.99 seconds, rounded.
        EXPECT_EQ(std::tuple(seen.error, seen.events, int(t.TextFrameNum()), t.Bitrate(),
                      t.Frequency(), t.Length()),
            std::tuple(0, events, frames, 128, 44100, 1));
        EXPECT_NEAR(t.LengthMs(), 38 * 1152 * 1000 / 44100, 1);
    }
    // Without a header the scan averages the rates, in kbit/s of 1000 bits.
    std::string mixed;
    for (int i = 0; i < 10; ++i)
        mixed += "\xFF\xFB\x90\x64"s + std::string(413, '\0') + "\xFF\xFB\xE0\x64"s
            + std::string(1040, '\0');
    Taglet v;
    ASSERT_EQ(readModern(v, write("v.mp3", mixed)).error, 0);
    EXPECT_EQ(v.Bitrate(), 224);
    // A tag that claims more than the file holds gives what the file has.
    const std::string claims = id3v2(tit2 + std::string(2000, '\0'));
    EXPECT_EQ(readModern(v, write("c.mp3", claims.substr(0, 10 + tit2.size()))).error, errPastEnd);
    EXPECT_EQ(textFrames(v), "TIT2=A") << "the frames before the missing audio";
    // No frame sync anywhere: the plain header decoding and estimate apply.
    Taglet t;
    const std::string path = write("x.mp3", "\0\xFB\x90\x64"s);
    std::filesystem::resize_file(path, 4'000'000);
    ASSERT_EQ(readModern(t, path).error, 0);
    EXPECT_EQ(std::tuple(t.Bitrate(), t.Length(), t.LengthMs()), std::tuple(128, 249, 249'000));
    EXPECT_EQ(readModern(t, fixture("tiny.mp3")).error, errPastEnd);
    EXPECT_EQ(readModern(t, fixture("truncated_header.mp3")).error, errPastEnd);
}
