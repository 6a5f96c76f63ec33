#include "TagFile.h"

#include <QString>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

using namespace taglet;

namespace {

Observed readModern(Taglet &t, const std::string &path)
{
    return readFile(t, path, false, true);
}

// UTF-8 of the control's text, so that failures print readably.
std::string utf8(const std::u16string &text)
{
    return QString::fromStdU16String(text).toStdString();
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
        if (id == "TCON")
            put("genre", t.DecodeTCON(value));
        else if (id == "TYER")
            put("year", value);
        else
            put(id, value);
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
    t.setPictureID(0);
    return seen;
}

// file -> key -> value, as written by scripts/fixtures/taglet_modern.sh.
std::map<std::string, std::map<std::string, std::string>> expectedValues()
{
    std::map<std::string, std::map<std::string, std::string>> files;
    std::ifstream in(std::string(TONVERA_TEST_DATA) + "/taglet/modern/expected.tsv");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string file, key, value;
        std::getline(fields, file, '\t');
        std::getline(fields, key, '\t');
        std::getline(fields, value);
        files[file][key] = value;
    }
    return files;
}

} // namespace

using ModernTest = TagFileTest;

// Files from real taggers and encoders: every field mutagen reads, and ffprobe's playing time.
TEST_F(ModernTest, TaggerFilesReadAsTheirTaggersWroteThem)
{
    const auto files = expectedValues();
    ASSERT_GE(files.size(), 18u);
    for (const auto &[file, expected] : files) {
        SCOPED_TRACE(file);
        Taglet t;
        const Observed seen = readModern(t, fixture("modern/" + file));
        ASSERT_EQ(seen.error, 0);
        EXPECT_TRUE(seen.events.empty());
        const auto values = observed(t);
        for (const auto &[key, value] : expected) {
            if (key == "lengthMs") {
                EXPECT_NEAR(t.LengthMs(), std::stoi(value), 100);
                EXPECT_EQ(t.Length(), std::lround(std::stoi(value) / 1000.0));
            } else if (key == "bitrate") {
                EXPECT_NEAR(t.Bitrate(), std::stoi(value), 2);
            } else {
                const auto it = values.find(key);
                ASSERT_NE(it, values.end()) << key;
                EXPECT_EQ(it->second, value) << key;
            }
        }
    }
}

TEST_F(ModernTest, StreamsAreMeasured)
{
    struct Case
    {
        const char *file;
        int frequency;
        int mpegVersion;
        bool variable; // Bitrate is an average, not the first frame's
    };
    const Case cases[] = {
        {"lame_v0.mp3", 22050, 2, true}, {"lame_v5_mpeg25.mp3", 11025, 2, true},
        {"lame_v5_noheader.mp3", 22050, 2, true}, {"vbri.mp3", 22050, 2, true},
        {"cbr_noheader.mp3", 22050, 2, false}, {"lame_latin1.mp3", 22050, 2, false},
        {"ffmpeg_v24.mp3", 22050, 2, false}, // its Info frame is larger than the audio's
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        Taglet t;
        ASSERT_EQ(readModern(t, fixture(std::string("modern/") + c.file)).error, 0);
        EXPECT_EQ(t.Frequency(), c.frequency);
        EXPECT_EQ(t.MPEGVersion(), c.mpegVersion);
        EXPECT_EQ(t.Layer(), 3);
        EXPECT_EQ(t.Mode(), modeMono);
        if (!c.variable) {
            EXPECT_EQ(t.Bitrate(), 32);
        }
    }
}

// The default mode reads the same files as it always did.
TEST_F(ModernTest, DefaultModeIsUnchanged)
{
    struct Case
    {
        const char *file;
        std::vector<int> events;
        std::int16_t textFrames;
    };
    const Case cases[] = {
        {"modern/eyed3_v24.mp3", {100}, 0},
        {"modern/unsync_v23.mp3", {101}, 0},
        {"modern/mutagen_v22.mp3", {100}, 0},
        {"modern/lame_utf16.mp3", {}, 8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        Taglet t;
        std::vector<int> events;
        t.setErrorHandler([&](std::int16_t &n) { events.push_back(n); });
        t.setFilename(u16(fixture(c.file)));
        t.Read();
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(t.TextFrameNum(), c.textFrames);
        EXPECT_EQ(t.LengthMs(), t.Length() * 1000);
    }
    // UTF-16 texts are listed empty, as they always were.
    Taglet t;
    t.setFilename(u16(fixture("modern/lame_utf16.mp3")));
    t.Read();
    EXPECT_EQ(t.TextFrameName(2), u"TIT2");
    EXPECT_EQ(t.TextFrame(2), u"");
}

// Hand-built frames for what taggers write only sometimes.
TEST_F(ModernTest, TextEncodingsAndValues)
{
    using namespace std::string_literals;
    struct Case
    {
        int major;
        std::string id, data;
        std::u16string value;
    };
    const Case cases[] = {
        {3, "TIT2", "\0Caf\xE9\0junk"s, u"Caf\u00E9"}, // ends at the terminator
        {3, "TIT2", "\1\xFF\xFE\x41\0\x42\0\0\0"s, u"AB"}, // UTF-16 little-endian
        {3, "TIT2", "\1\xFE\xFF\0\x41\x30\x42\0\0"s, u"A\u3042"}, // UTF-16 big-endian mark
        {3, "TIT2", "\1\x41\0\x42\0"s, u"AB"}, // no mark: little-endian, no terminator
        {4, "TIT2", "\2\x30\x42\0\x41"s, u"\u3042A"}, // UTF-16BE
        {4, "TIT2", "\3\xEF\xBB\xBF\xE6\x97\xA5\0"s, u"\u65E5"}, // UTF-8 with its mark
        {4, "TIT2", "\3\xF0\x9F\x8E\xB5"s, u"\U0001F3B5"}, // outside the 16-bit plane
        {4, "TPE1", "\3A\0B\0\0"s, u"A / B"}, // v2.4 values joined
        {4, "TPE1", "\1\xFF\xFE\x41\0\0\0\x42\0\0\0"s, u"A / B"}, // the mark carries over
        {3, "TPE1", "\0A\0B"s, u"A"}, // before v2.4 the first text counts
        {4, "TCON",
            "\0"
            "17\0Pop\0RX\0"
            "300"s,
            u"(17) / Pop / (RX) / 300"},
        {4, "TDRC",
            "\0"
            "2004-05-06T12:00"s,
            u"2004"},
        {4, "TDRC",
            "\0"
            "soon"s,
            u"soon"},
        {3, "TALB", "\7bytes"s, u""}, // an unknown encoding lists the frame empty
        {3, "TALB", ""s, u""},
    };
    const std::string audio = std::string("\xFF\xFB\x90\x64", 4) + std::string(200, '\0');
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.data));
        std::string f = c.id;
        const size_t n = c.data.size();
        for (int shift : c.major == 4 ? std::vector {21, 14, 7, 0} : std::vector {24, 16, 8, 0})
            f += static_cast<char>((n >> shift) & (c.major == 4 ? 0x7F : 0xFF));
        f += std::string(2, '\0') + c.data;
        Taglet t;
        ASSERT_EQ(readModern(t, write("t.mp3", id3v2(f, c.major) + audio)).error, 0);
        ASSERT_EQ(t.TextFrameNum(), 1);
        EXPECT_EQ(t.TextFrameName(1), c.id == "TDRC" ? u"TYER" : u16(c.id));
        EXPECT_EQ(t.TextFrame(1), c.value);
    }
}

TEST_F(ModernTest, UserFramesPeopleAndLinks)
{
    using namespace std::string_literals;
    const std::string frames = frame("TXXX", "\1\xFF\xFE\x4D\0\0\0\xFF\xFEx\0y\0"s)
        + frame("WXXX", "\1\xFF\xFE\x48\0\0\0http://h.example/\0"s)
        + frame("WOAR", "http://a.example/\0junk"s)
        + frame(
            "IPLS", "\1\xFF\xFEm\0\0\0\xFF\xFE\x41\0\0\0\0\0\xFF\xFE\x42\0\0\0\xFF\xFEorphan\0"s)
        + frame("UFID", "owner\0id"s) + frame("TXXX", "\0no zero"s) // passed over
        + frame("MCDI", "\0\1\2"s);
    Taglet t;
    ASSERT_EQ(readModern(t, write("u.mp3", id3v2(frames) + std::string(300, '\0'))).error, 0);
    ASSERT_EQ(t.UDTextFrameNum(), 1);
    EXPECT_EQ(t.UDTextFrameDescription(1), u"M");
    EXPECT_EQ(t.UDTextFrame(1), u"xy");
    ASSERT_EQ(t.UDLinkFrameNum(), 1);
    EXPECT_EQ(t.UDLinkFrameDescription(1), u"H");
    EXPECT_EQ(t.UDLinkFrame(1), u"http://h.example/");
    EXPECT_EQ(t.LinkFrame(1), u"http://a.example/");
    ASSERT_EQ(t.InvolvedPeopleNum(), 2); // the orphan has no person
    EXPECT_EQ(t.InvolvedPeopleInvolvement(1), u"m");
    EXPECT_EQ(t.InvolvedPeople(1), u"A");
    EXPECT_EQ(t.InvolvedPeopleInvolvement(2), u""); // an empty involvement keeps its pair
    EXPECT_EQ(t.InvolvedPeople(2), u"B");
    EXPECT_EQ(t.UFIDURL(1), u"owner");
    EXPECT_EQ(t.MCDI(), std::u16string(u"\0\1\2", 3));
}

// Storage forms: the walk follows each version's rules and stops where a tag really ends.
TEST_F(ModernTest, FrameWalkOfEveryVersion)
{
    using namespace std::string_literals;
    const auto v22 = [](const std::string &id, const std::string &data) {
        const size_t n = data.size();
        return id + static_cast<char>(n >> 16) + static_cast<char>(n >> 8) + static_cast<char>(n)
            + data;
    };
    const auto v24 = [](const std::string &id, const std::string &data, char format = 0) {
        std::string f = id;
        for (int shift : {21, 14, 7, 0})
            f += static_cast<char>((data.size() >> shift) & 0x7F);
        return f + '\0' + format + data;
    };
    const std::string longText = "\0"s + std::string(255, 'x');
    struct Case
    {
        const char *name;
        std::string tag;
        std::vector<std::u16string> ids;
    };
    const Case cases[] = {
        {"v2.2", id3v2(v22("TT2", "\0A"s) + v22("TP1", "\0B"s) + v22("XYZ", "\0C"s), 2),
            {u"TIT2", u"TPE1"}},
        {"v2.2 compressed", id3v2(v22("TT2", "\0A"s), 2, 0x40), {}},
        // A frame whose size reaches past the tag ends the walk; the frames before it stand.
        {"past the tag", id3v2(frame("TIT2", "\0A"s) + "TPE1\0\0\1\0\0\0"s), {u"TIT2"}},
        {"garbage id", id3v2(frame("TIT2", "\0A"s) + "ab\1\2\0\0\0\1\0\0x"s), {u"TIT2"}},
        // Plain sizes in a v2.4 tag, as an old writer left them (256 reads as syncsafe 128).
        {"plain v2.4 size", id3v2(frame("TIT2", longText) + frame("TPE1", "\0B"s), 4),
            {u"TIT2", u"TPE1"}},
        {"v2.4 compressed and encrypted",
            id3v2(v24("TIT2", "\0A"s, 0x08) + v24("TPE1", "\0B"s, 0x04) + v24("TALB", "\0C"s), 4),
            {u"TALB"}},
        {"v2.3 grouping and compression",
            id3v2(frame("TIT2", "G\0A"s).replace(9, 1, "\x20")
                + frame("TPE1", "\0B"s).replace(9, 1, "\x80")),
            {u"TIT2"}},
        {"v2.3 extended header", id3v2("\0\0\0\6\0\0\0\0\0\0"s + frame("TIT2", "\0A"s), 3, 0x40),
            {u"TIT2"}},
        {"v2.4 extended header", id3v2("\0\0\0\6\1\0"s + v24("TIT2", "\0A"s), 4, 0x40), {u"TIT2"}},
    };
    const std::string audio = std::string("\xFF\xFB\x90\x64", 4) + std::string(500, '\0');
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Taglet t;
        ASSERT_EQ(readModern(t, write("w.mp3", c.tag + audio)).error, 0);
        std::vector<std::u16string> ids;
        for (std::int16_t i = 1; i <= t.TextFrameNum(); ++i)
            ids.push_back(t.TextFrameName(i));
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(t.Bitrate(), 128) << "the audio after the tag";
    }
}

TEST_F(ModernTest, AudioBehindJunkSecondTagsAndOtherVersions)
{
    using namespace std::string_literals;
    std::string audio;
    // 38 frames of 128 kbit/s MPEG 1 layer III at 44.1 kHz (417 bytes, no padding).
    for (int i = 0; i < 38; ++i)
        audio += "\xFF\xFB\x90\x64"s + std::string(413, '\0');
    const std::string tag = id3v2(frame("TIT2", "\0A"s));
    struct Case
    {
        const char *name;
        std::string bytes;
        std::vector<int> events;
        std::int16_t textFrames;
    };
    const Case cases[] = {
        {"junk before the audio", tag + "junk\xFF\xFB"s + audio, {}, 1},
        {"a second tag", tag + id3v2(std::string(3000, '\0')) + audio, {}, 1},
        {"v2.5", id3v2(frame("TIT2", "\0A"s), 5) + audio, {100}, 0},
        {"footer", id3v2(frame("TIT2", "\0A"s), 4, 0x10) + "3DI\4\0\x10\0\0\0\x0C"s + audio, {}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Taglet t;
        const Observed seen = readModern(t, write("a.mp3", c.bytes));
        ASSERT_EQ(seen.error, 0);
        EXPECT_EQ(seen.events, c.events);
        EXPECT_EQ(t.TextFrameNum(), c.textFrames);
        EXPECT_EQ(t.Bitrate(), 128);
        EXPECT_EQ(t.Frequency(), 44100);
        EXPECT_NEAR(t.LengthMs(), 38 * 1152 * 1000 / 44100, 1);
    }
}

TEST_F(ModernTest, FilesWithoutFramesFallBackToTheEstimate)
{
    using namespace std::string_literals;
    Taglet t;
    // No frame sync anywhere: the plain header decoding and estimate apply.
    const std::string path = write("x.mp3", "\0\xFB\x90\x64"s);
    std::filesystem::resize_file(path, 4'000'000);
    ASSERT_EQ(readModern(t, path).error, 0);
    EXPECT_EQ(t.Bitrate(), 128);
    EXPECT_EQ(t.Length(), 249);
    EXPECT_EQ(t.LengthMs(), 249'000);
    EXPECT_EQ(readModern(t, fixture("tiny.mp3")).error, errPastEnd);
    EXPECT_EQ(readModern(t, fixture("truncated_header.mp3")).error, errPastEnd);
}

TEST_F(ModernTest, Id3v1StaysLatin1AndApart)
{
    Taglet t;
    ASSERT_EQ(readModern(t, fixture("modern/id3v2_tool.mp3")).error, 0);
    EXPECT_EQ(t.HaveTag(), tagID3Both);
    EXPECT_EQ(t.Song(), u"Plain Title");
    EXPECT_EQ(t.Track(), 3);
    ASSERT_EQ(readModern(t, fixture("v1_only.mp3")).error, 0);
    EXPECT_EQ(t.Comment(), std::u16string(u"Note\0inside", 11));
    EXPECT_EQ(t.HaveTag(), tagID3v1);
}

TEST_F(ModernTest, TheModeIsAPropertyKeptOnlyWhenOn)
{
    class Bag : public PropertyBag
    {
    public:
        std::optional<PropertyValue> read(const std::string &key) override
        {
            const auto it = values.find(key);
            return it == values.end() ? std::nullopt : std::optional(it->second);
        }
        void write(const std::string &key, const PropertyValue &value) override
        {
            values[key] = value;
        }
        std::map<std::string, PropertyValue> values;
    };
    Taglet t;
    std::vector<std::string> changed;
    t.setPropertyChangedHandler([&](std::string_view name) { changed.emplace_back(name); });
    EXPECT_FALSE(t.Modern());
    Bag off;
    t.WriteProperties(off);
    EXPECT_EQ(off.values.count("Modern"), 0u);

    t.setUserMode(false); // settable at design time too
    t.setModern(true);
    EXPECT_EQ(changed, std::vector<std::string> {"Modern"});
    t.Clear();
    EXPECT_TRUE(t.Modern());
    Bag on;
    t.WriteProperties(on);
    Taglet copy;
    copy.ReadProperties(on);
    EXPECT_TRUE(copy.Modern());
    copy.InitProperties();
    EXPECT_FALSE(copy.Modern());
}

// Pictures of v2.2 and unsynchronised ones reach the decoder whole.
TEST_F(ModernTest, PicturesReachTheDecoder)
{
    for (const char *file :
        {"modern/mutagen_v22.mp3", "modern/unsync_v23.mp3", "modern/v24_unsync_dli.mp3"}) {
        SCOPED_TRACE(file);
        Taglet t;
        t.setPictureDecoder(std::make_shared<QtPictureDecoder>());
        ASSERT_EQ(readModern(t, fixture(file)).error, 0);
        t.setPictureID(3);
        EXPECT_EQ(t.Picture().width, 4);
        EXPECT_EQ(t.Picture().height, 4);
    }
}

namespace {

// "TIT2" and "TPE1" frames of a v2.4 tag (syncsafe sizes).
std::string v24Frame(const std::string &id, const std::string &data)
{
    std::string f = id;
    for (int shift : {21, 14, 7, 0})
        f += static_cast<char>((data.size() >> shift) & 0x7F);
    return f + std::string(2, '\0') + data;
}

// The text frames the control lists, name and value.
std::vector<std::pair<std::u16string, std::u16string>> listed(const Taglet &t)
{
    std::vector<std::pair<std::u16string, std::u16string>> out;
    for (std::int16_t i = 1; i <= t.TextFrameNum(); ++i)
        out.emplace_back(t.TextFrameName(i), t.TextFrame(i));
    return out;
}

const std::string ShortAudio = std::string("\xFF\xFB\x90\x64", 4) + std::string(500, '\0');

} // namespace

// Some writers set the extended-header flag without writing one: the frames start at once.
// The modern mode reads them; the default mode reads as it always did.
TEST_F(ModernTest, ExtendedHeaderFlagWithoutTheHeader)
{
    using namespace std::string_literals;
    const std::string v23 = frame("TIT2", "\0A"s) + frame("TPE1", "\0B"s);
    const std::string v24 = v24Frame("TIT2", "\0A"s) + v24Frame("TPE1", "\0B"s);
    const std::vector<std::u16string> both = {u"TIT2", u"TPE1"};
    struct Case
    {
        const char *name;
        std::string tag;
        std::vector<std::u16string> modern, byDefault;
    };
    const Case cases[] = {
        {"v2.3, flag only", id3v2(v23, 3, 0x40), both, both}, // the default mode ignores it
        {"v2.4, flag only", id3v2(v24, 4, 0x40), both, {}},
        {"v2.3 unsynchronised, flag only", id3v2(v23, 3, 0xC0), both, {}},
        {"v2.3, flag only, padding", id3v2(std::string(20, '\0'), 3, 0x40), {}, {}},
        // Real extended headers are still skipped.
        {"v2.3 with a CRC", id3v2("\0\0\0\x0A\x80\0\0\0\0\0\1\2\3\4"s + v23, 3, 0x40), both, {}},
        {"v2.4 with a CRC", id3v2("\0\0\0\x0C\1\x20\5\1\2\3\4\5"s + v24, 4, 0x40), both, {}},
        {"v2.4 with restrictions", id3v2("\0\0\0\x08\1\x10\1\0"s + v24, 4, 0x40), both, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool modern : {false, true}) {
            Taglet t;
            ASSERT_EQ(readFile(t, write("x.mp3", c.tag + ShortAudio), false, modern).error, 0);
            std::vector<std::u16string> ids;
            for (const auto &frame : listed(t))
                ids.push_back(frame.first);
            EXPECT_EQ(ids, modern ? c.modern : c.byDefault) << (modern ? "modern" : "default");
        }
    }
}

// A text frame repeated in one tag: the modern mode lists it once with its values joined, the
// default mode lists every frame.
TEST_F(ModernTest, RepeatedTextFramesAreJoined)
{
    using namespace std::string_literals;
    using Frames = std::vector<std::pair<std::u16string, std::u16string>>;
    struct Case
    {
        const char *name;
        std::string tag;
        Frames modern, byDefault;
    };
    const Case cases[] = {
        {"two artists",
            id3v2(frame("TIT2", "\0T"s) + frame("TPE1", "\0A"s) + frame("TPE1", "\0B"s)),
            {{u"TIT2", u"T"}, {u"TPE1", u"A / B"}},
            {{u"TIT2", u"T"}, {u"TPE1", u"A"}, {u"TPE1", u"B"}}},
        {"at the first one's place",
            id3v2(frame("TPE1", "\0A"s) + frame("TIT2", "\0T"s) + frame("TPE1", "\0B"s)),
            {{u"TPE1", u"A / B"}, {u"TIT2", u"T"}},
            {{u"TPE1", u"A"}, {u"TIT2", u"T"}, {u"TPE1", u"B"}}},
        {"a value once", id3v2(frame("TPE1", "\0A"s) + frame("TPE1", "\0A"s)), {{u"TPE1", u"A"}},
            {{u"TPE1", u"A"}, {u"TPE1", u"A"}}},
        {"an empty one adds nothing",
            id3v2(frame("TPE1", "\0"s) + frame("TPE1", "\0B"s) + frame("TPE1", "\0"s)
                + std::string(10, '\0')),
            {{u"TPE1", u"B"}}, {{u"TPE1", u""}, {u"TPE1", u"B"}, {u"TPE1", u""}}},
        {"UTF-16 and Latin-1",
            id3v2(frame("TPE1", "\1\xFF\xFE\x41\0\0\0"s) + frame("TPE1", "\0Caf\xE9"s)),
            {{u"TPE1", u"A / Caf\u00E9"}}, {{u"TPE1", u""}, {u"TPE1", u"Caf\u00E9"}}},
        {"genres", id3v2(frame("TCON", "\0(17)"s) + frame("TCON", "\0(20)"s)),
            {{u"TCON", u"(17) / (20)"}}, {{u"TCON", u"(17)"}, {u"TCON", u"(20)"}}},
        // Some taggers put the v2.4 date beside TYER in a v2.3 tag.
        {"TYER and TDRC",
            id3v2(frame("TYER",
                      "\0"
                      "2004"s)
                + frame("TDRC",
                    "\0"
                    "2004-05-06"s)),
            {{u"TYER", u"2004"}}, {{u"TYER", u"2004"}}},
        {"v2.2", id3v2("TP1\0\0\2\0A"s + "TP1\0\0\2\0B"s, 2), {{u"TPE1", u"A / B"}}, {}},
        {"v2.4", id3v2(v24Frame("TPE1", "\0A\0B"s) + v24Frame("TPE1", "\0C"s), 4),
            {{u"TPE1", u"A / B / C"}}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool modern : {false, true}) {
            Taglet t;
            ASSERT_EQ(readFile(t, write("r.mp3", c.tag + ShortAudio), false, modern).error, 0);
            EXPECT_EQ(listed(t), modern ? c.modern : c.byDefault)
                << (modern ? "modern" : "default");
        }
    }
    // Joined genres still decode.
    Taglet t;
    readModern(t, write("g.mp3", cases[5].tag + ShortAudio));
    std::u16string genres = t.TextFrame(1);
    EXPECT_EQ(t.DecodeTCON(genres), u"Rock / Alternative");
}

// COMM frames in the modern mode: language, description and text, in every encoding.
TEST_F(ModernTest, CommentFrames)
{
    using namespace std::string_literals;
    const std::string tag = id3v2(frame("COMM", "\0eng\0Plain text"s)
        + frame("COMM", "\1deu\xFF\xFEi\0\0\0\xFF\xFE\xFC\0\0\0"s) // UTF-16 "i" and "ü"
        + frame("COMM", "\3\0\0\0Note\0Caf\xC3\xA9\0junk"s) // UTF-8, no language
        + frame("COMM", "\0en"s) // too short: passed over
        + frame("COMM", "\0engno terminator"s) // passed over
        + frame("COMM", "\7eng\0x"s)); // unknown encoding: passed over
    const struct
    {
        std::u16string language, description, text;
    } expected[] = {
        {u"eng", u"", u"Plain text"},
        {u"deu", u"i", u"\u00FC"},
        {u"", u"Note", u"Caf\u00E9"},
    };
    Taglet t;
    ASSERT_EQ(readModern(t, write("c.mp3", tag + ShortAudio)).error, 0);
    ASSERT_EQ(t.CommentFrameNum(), 3);
    for (std::int16_t i = 1; i <= 3; ++i) {
        const auto &e = expected[i - 1];
        EXPECT_EQ(t.CommentFrameLanguage(i), e.language) << i;
        EXPECT_EQ(t.CommentFrameDescription(i), e.description) << i;
        EXPECT_EQ(t.CommentFrame(i), e.text) << i;
    }
    EXPECT_EQ(t.CommentFrame(0), u"");
    EXPECT_TAGLET_ERROR(t.CommentFrame(4), errSubscript);
    EXPECT_EQ(t.TextFrameNum(), 0) << "a comment is not a text frame";

    // As a tagger wrote it, in UTF-16.
    ASSERT_EQ(readModern(t, fixture("modern/mutagen_v23_utf16.mp3")).error, 0);
    ASSERT_EQ(t.CommentFrameNum(), 1);
    EXPECT_EQ(t.CommentFrameLanguage(1), u"eng");
    EXPECT_EQ(t.CommentFrame(1), u"Kommentar");

    // v2.2's COM is the same frame; the default mode lists no comments.
    ASSERT_EQ(
        readModern(t, write("c22.mp3", id3v2("COM\0\0\x07\0engD\0T"s, 2) + ShortAudio)).error, 0);
    ASSERT_EQ(t.CommentFrameNum(), 1);
    EXPECT_EQ(t.CommentFrame(1), u"T");
    Taglet byDefault;
    ASSERT_EQ(readFile(byDefault, write("d.mp3", tag + ShortAudio), false).error, 0);
    EXPECT_EQ(byDefault.CommentFrameNum(), 0);
    Taglet fresh;
    EXPECT_TAGLET_ERROR(fresh.CommentFrameNum(), errSubscript);
}
