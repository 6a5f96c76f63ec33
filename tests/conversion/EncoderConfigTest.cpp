#include "conversion/EncoderConfig.h"

#include "EncoderConfigReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

const QString Input = QStringLiteral("/run/user/1000/Tnvm/~tmpw_0.wav");
const QString Output = QStringLiteral("/home/u/Out dir/~tmpw_0.wma");
const std::string Head = "-input /run/user/1000/Tnvm/~tmpw_0.wav\r\n"
                         "-output /home/u/Out dir/~tmpw_0.wma\r\n";
const std::string Profile = "-profile a64\r\n";

EncoderConfig Config(const EncoderSectionFields &section, const EncoderTagFields &tags)
{
    return EncoderConfig(Input, Output, QStringLiteral("a64"), section, tags);
}

QString Q(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

EncoderTagFields Tags(const std::string &title, const std::string &artist,
    const std::string &copyright, const std::string &description, const std::string &album = {},
    const std::string &track = {})
{
    EncoderTagFields tags;
    tags.TagTitle = Q(title);
    tags.TagArtist = Q(artist);
    tags.TagCopyright = Q(copyright);
    tags.TagDescription = Q(description);
    tags.TagAlbum = Q(album);
    tags.TagTrack = Q(track);
    return tags;
}

struct Case
{
    const char *name;
    EncoderSectionFields section;
    EncoderTagFields tags;
    std::string bytes;
    bool timed; // the encoder reads the section 1500 to 62000 ms
};

EncoderSectionFields WavSection()
{
    EncoderSectionFields s;
    s.CutSectionOnly = true;
    s.SectionTimes = QStringLiteral("1500 62000");
    s.SectionStart = 5; // left over from an earlier MP3; must not be written
    s.SectionEnd = 9;
    return s;
}

EncoderSectionFields Mp3Section(bool decoded, bool cutOnly = true)
{
    EncoderSectionFields s;
    s.CutSectionOnly = cutOnly;
    s.SectionDecoded = decoded;
    s.mp3Source = true;
    s.SectionStart = 1500;
    s.SectionEnd = 62000;
    return s;
}

const std::string X300(300, 'x');
const std::string Emoji = "\xF0\x9F\x98\x80"; // one character, a surrogate pair in UTF-16

const Case Cases[] = {
    {"album and track", {}, Tags("", "", "", "old text", "Best Of", "7"),
        Head + Profile + "-description \"Album: Best Of (Trk #7)\r\nold text\"\r\n"
            + "-album \"Best Of\"\r\n-track \"7\"\r\n",
        false},
    {"track alone, empty description", {}, Tags("", "", "", "", "", "3"),
        Head + Profile + "-description \"(Trk #3)\r\n\"\r\n-track \"3\"\r\n", false},
    {"album, track 0", {}, Tags("", "", "", "old", "Best Of", "0"),
        Head + Profile + "-description \"Album: Best Of\r\nold\"\r\n-album \"Best Of\"\r\n", false},
    {"description alone, track not a number", {}, Tags("", "", "", "old", "", "abc"),
        Head + Profile + "-description \"old\"\r\n", false},
    {"track read as its leading number", {}, Tags("", "", "", "", "", "7/12"),
        Head + Profile + "-description \"(Trk #7/12)\r\n\"\r\n-track \"7/12\"\r\n", false},
    {"no texts", {}, Tags("", "", "", ""), Head + Profile, false},
    {"title of 300 characters", {}, Tags(X300, "", "", ""),
        Head + Profile + "-title \"" + std::string(255, 'x') + "\"\r\n", false},
    {"composed description cut", {}, Tags("", "", "", X300, "A", "1"),
        Head + Profile + "-description \"Album: A (Trk #1)\r\n" + std::string(236, 'x')
            + "\"\r\n-album \"A\"\r\n-track \"1\"\r\n",
        false},
    {"cut keeps a surrogate pair whole", {},
        Tags(std::string(254, 'a') + Emoji + "b", std::string(255, 'a') + Emoji, "", ""),
        Head + Profile + "-title \"" + std::string(254, 'a') + Emoji + "\"\r\n-author \""
            + std::string(255, 'a') + "\"\r\n",
        false},
    {"quotes unchanged", {}, Tags("Caff\xC3\xA8 \"Roma\"", "\"", "", "say \"hi\""),
        Head + Profile
            + "-title \"Caff\xC3\xA8 \"Roma\"\"\r\n-author \"\"\"\r\n-description \"say "
              "\"hi\"\"\r\n",
        false},
    {"line breaks only in the description", {},
        Tags("Line one\r\nLine two", "A\nB", "\r\n(c) 2001\r", "one\r\ntwo"),
        Head + Profile
            + "-title \"Line one Line two\"\r\n-author \"A B\"\r\n-copyright \" (c) 2001 \"\r\n"
              "-description \"one\r\ntwo\"\r\n",
        false},
    {"texts end at a NUL", {}, Tags("V2 Title\0junk"s, "\0"s, "", "d\0x"s, "Alb\0x"s, "2\0"s),
        Head + Profile
            + "-title \"V2 Title\"\r\n-description \"Album: Alb (Trk #2)\r\nd\"\r\n-album "
              "\"Alb\"\r\n-track \"2\"\r\n",
        false},
    {"broken UTF-16 written as valid UTF-8", {},
        {QStringLiteral("a") + QChar(0xD800) + u'b', {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}},
        Head + Profile + "-title \"a?b\"\r\n", false},
    {"every field on a line of its own, after the description", {},
        {Q("T"), {}, {}, Q("one\r\n-genre \"x\"\r\nthree"), Q("Al\r\nbum"), Q("5"), Q("2001"),
            Q("Jazz"), Q("The Band"), Q("Zo\xC3\xAB"), Q("5/12"), Q("/music/a \"b\".mp3")},
        Head + Profile
            + "-title \"T\"\r\n-description \"Album: Al\r\nbum (Trk #5)\r\none\r\n "
              "-genre \"x\"\r\nthree\"\r\n-album \"Al bum\"\r\n-track \"5/12\"\r\n-year "
              "\"2001\"\r\n-genre \"Jazz\"\r\n-albumartist \"The Band\"\r\n-composer "
              "\"Zo\xC3\xAB\"\r\n-picture \"/music/a \"b\".mp3\"\r\n",
        false},
    {"a track number the editor changed leaves the frame's total behind", {},
        {{}, {}, {}, {}, {}, Q("7"), {}, {}, {}, {}, Q("5/12"), {}},
        Head + Profile + "-description \"(Trk #7)\r\n\"\r\n-track \"7\"\r\n", false},
    {"a WMA's own description is not composed again", {},
        {{}, {}, {}, Q("Album: A (Trk #5)\r\nx"), Q("A"), Q("5"), {}, {}, {}, {}, Q("5"),
            Q("/music/a.wma"), true},
        Head + Profile
            + "-description \"Album: A (Trk #5)\r\nx\"\r\n-album \"A\"\r\n-track \"5\"\r\n-picture "
              "\"/music/a.wma\"\r\n",
        false},
    {"a cover path the file cannot carry is left out", {},
        {{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, Q("/music/a\nb.mp3")}, Head + Profile, false},
    {"section of a WAV source after the profile", WavSection(), Tags("T", "", "", ""),
        Head + Profile + "-time 1500 62000\r\n-title \"T\"\r\n", true},
    {"MP3 decoded whole: the encoder cuts", Mp3Section(false), Tags("", "", "", ""),
        Head + "-time 1500 62000\r\n" + Profile, true},
    {"MP3 section cut by the decoder", Mp3Section(true), Tags("", "", "", ""), Head + Profile,
        false},
    {"MP3 converted whole", Mp3Section(false, false), Tags("", "", "", ""), Head + Profile, false},
};

TEST(EncoderConfig, BytesAndTheirRoundTripThroughTheEncodersReader)
{
    for (const Case &c : Cases) {
        SCOPED_TRACE(c.name);
        const EncoderTagFields &tags = c.tags;
        const EncoderConfig config = Config(c.section, tags);
        ASSERT_TRUE(config.isWritable());
        const QByteArray bytes = config.bytes();
        EXPECT_EQ(bytes.toStdString(), c.bytes);

        // Album and track are inputs of the description only.
        EXPECT_EQ(config.tags().TagAlbum, tags.TagAlbum);
        EXPECT_EQ(config.tags().TagTrack, tags.TagTrack);

        // The encoder reads back the job and the texts that are stored back.
        const tonvera::EncoderConfig read
            = tonvera::EncoderConfigReader::parse(bytes.toStdString());
        EXPECT_EQ(read.input, Input.toStdString());
        EXPECT_EQ(read.output, Output.toStdString());
        EXPECT_EQ(read.profile, "a64");
        ASSERT_EQ(read.section.has_value(), c.timed);
        if (c.timed) {
            EXPECT_EQ(read.section->startMs, 1500u);
            EXPECT_EQ(read.section->endMs, 62000u);
        }
        EXPECT_EQ(read.title, config.tags().TagTitle.toStdString());
        EXPECT_EQ(read.author, config.tags().TagArtist.toStdString());
        EXPECT_EQ(read.copyright, config.tags().TagCopyright.toStdString());
        EXPECT_EQ(read.description, config.tags().TagDescription.toStdString());
        // The fields of their own lines come back as written.
        EXPECT_EQ(read.year, tags.TagYear.toStdString());
        EXPECT_EQ(read.genre, tags.TagGenre.toStdString());
        EXPECT_EQ(read.albumArtist, tags.TagAlbumArtist.toStdString());
        EXPECT_EQ(read.composer, tags.TagComposer.toStdString());
    }
}

// A job the file cannot carry is refused, and the previous job never stays behind.
TEST(EncoderConfig, WriteReplacesTheFileOrLeavesNone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tmpconf.weu"));
    const auto write = [&path](const QString &input, const QString &output, const QString &profile,
                           const QString &times = {}) {
        QFile old(path);
        EXPECT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4000, 'o')); // longer than any new file: no tail may remain
        old.close();
        EncoderSectionFields section;
        section.SectionTimes = times;
        return EncoderConfig(input, output, profile, section, Tags("T", "", "", "d")).write(path);
    };

    ASSERT_TRUE(write(Input, Output, QStringLiteral("a64")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
        Config({}, Tags("T", "", "", "d")).bytes()); // exactly the bytes, nothing of the old file
    file.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("tmpconf.weu")});

    struct Refused
    {
        const char *name;
        QString input, output, profile, times;
    };
    const Refused refused[] = {
        {"line break in the input", QStringLiteral("/a\n-output /b"), Output, "a64", {}},
        {"NUL in the output", Input, QStringLiteral("/b") + QChar(0) + QStringLiteral("c"), "a64",
            {}},
        {"line break in the section", Input, Output, "a64", QStringLiteral("1 2\n-time 3 4")},
        {"no profile", Input, Output, {}, {}},
        {"no input", {}, Output, "a64", {}},
    };
    for (const Refused &r : refused) {
        SCOPED_TRACE(r.name);
        EXPECT_FALSE(write(r.input, r.output, r.profile, r.times));
        EXPECT_FALSE(QFile::exists(path));
    }

    // A folder that does not exist: nothing written, no error beyond the result.
    EXPECT_FALSE(Config({}, {}).write(dir.filePath(QStringLiteral("missing/tmpconf.weu"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing"))));
}

} // namespace
