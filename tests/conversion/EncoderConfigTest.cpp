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

QString Q(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

using T = EncoderTagFields;

// Tag fields with only the given ones set.
EncoderTagFields tags(
    std::initializer_list<std::pair<QString T::*, QString>> set, bool asIs = false)
{
    EncoderTagFields fields;
    for (const auto &[field, value] : set)
        fields.*field = value;
    fields.DescriptionAsIs = asIs;
    return fields;
}

// Sections: {cut only, cut by the MP3 decoder, MP3 source, start, end, times}. A WAV source's
// section, with the fields of an earlier MP3 left over: they must not be written.
const EncoderSectionFields WavSection = {true, false, false, 5, 9, "1500 62000"};

const std::string X300(300, 'x');
const std::string Emoji = "\xF0\x9F\x98\x80"; // one character, a surrogate pair in UTF-16

// name, section, tags, the bytes after the input and output lines
const std::tuple<const char *, EncoderSectionFields, EncoderTagFields, std::string> Cases[] = {
    {"album and track", {},
        tags({{&T::TagDescription, "old text"}, {&T::TagAlbum, "Best Of"}, {&T::TagTrack, "7"}}),
        Profile
            + "-description \"Album: Best Of (Trk #7)\r\nold text\"\r\n-album \"Best Of\"\r\n"
              "-track \"7\"\r\n"},
    {"album, track 0 (its frame too)", {},
        tags({{&T::TagDescription, "old"}, {&T::TagAlbum, "Best Of"}, {&T::TagTrack, "0"},
            {&T::TagTrackFrame, "0/12"}}),
        Profile + "-description \"Album: Best Of\r\nold\"\r\n-album \"Best Of\"\r\n"},
    {"description alone, track not a number", {},
        tags({{&T::TagDescription, "old"}, {&T::TagTrack, "abc"}}),
        Profile + "-description \"old\"\r\n"},
    {"track alone, read as its leading number", {}, tags({{&T::TagTrack, "7/12"}}),
        Profile + "-description \"(Trk #7/12)\r\n\"\r\n-track \"7/12\"\r\n"},
    {"composed description cut", {},
        tags({{&T::TagDescription, Q(X300)}, {&T::TagAlbum, "A"}, {&T::TagTrack, "1"}}),
        Profile + "-description \"Album: A (Trk #1)\r\n" + std::string(236, 'x')
            + "\"\r\n-album \"A\"\r\n-track \"1\"\r\n"},
    {"cut keeps a surrogate pair whole", {},
        tags({{&T::TagTitle, Q(std::string(254, 'a') + Emoji + "b")},
            {&T::TagArtist, Q(std::string(255, 'a') + Emoji)}}),
        Profile + "-title \"" + std::string(254, 'a') + Emoji + "\"\r\n-author \""
            + std::string(255, 'a') + "\"\r\n"},
    {"quotes unchanged", {},
        tags({{&T::TagTitle, "Caffè \"Roma\""}, {&T::TagArtist, "\""},
            {&T::TagDescription, "say \"hi\""}}),
        Profile + "-title \"Caffè \"Roma\"\"\r\n-author \"\"\"\r\n-description \"say \"hi\"\"\r\n"},
    {"line breaks only in the description", {},
        tags({{&T::TagTitle, "Line one\r\nLine two"}, {&T::TagArtist, "A\nB"},
            {&T::TagCopyright, "\r\n(c) 2001\r"}, {&T::TagDescription, "one\r\ntwo"}}),
        Profile
            + "-title \"Line one Line two\"\r\n-author \"A B\"\r\n-copyright \" (c) 2001 \"\r\n"
              "-description \"one\r\ntwo\"\r\n"},
    {"texts end at a NUL", {},
        tags({{&T::TagTitle, Q("V2 Title\0junk"s)}, {&T::TagArtist, Q("\0"s)},
            {&T::TagDescription, Q("d\0x"s)}, {&T::TagAlbum, Q("Alb\0x"s)},
            {&T::TagTrack, Q("2\0"s)}}),
        Profile
            + "-title \"V2 Title\"\r\n-description \"Album: Alb (Trk #2)\r\nd\"\r\n-album "
              "\"Alb\"\r\n-track \"2\"\r\n"},
    {"broken UTF-16 written as valid UTF-8", {},
        tags({{&T::TagTitle, QString("a") + QChar(0xD800) + u'b'}}),
        Profile + "-title \"a?b\"\r\n"},
    {"every field on a line of its own, after the description", {},
        tags({{&T::TagTitle, "T"}, {&T::TagDescription, "one\r\n-genre \"x\"\r\nthree"},
            {&T::TagAlbum, "Al\r\nbum"}, {&T::TagTrack, "5"}, {&T::TagYear, "2001"},
            {&T::TagGenre, "Jazz"}, {&T::TagAlbumArtist, "The Band"}, {&T::TagComposer, "Zoë"},
            {&T::TagTrackFrame, "5/12"}, {&T::CoverSource, "/music/a \"b\".mp3"}}),
        Profile
            + "-title \"T\"\r\n-description \"Album: Al\r\nbum (Trk #5)\r\none\r\n -genre "
              "\"x\"\r\nthree\"\r\n-album \"Al bum\"\r\n-track \"5/12\"\r\n-year \"2001\"\r\n"
              "-genre \"Jazz\"\r\n-albumartist \"The Band\"\r\n-composer \"Zoë\"\r\n"
              "-picture \"/music/a \"b\".mp3\"\r\n"},
    {"a track number the editor changed leaves the frame's total behind", {},
        tags({{&T::TagTrack, "7"}, {&T::TagTrackFrame, "5/12"}}),
        Profile + "-description \"(Trk #7)\r\n\"\r\n-track \"7\"\r\n"},
    {"a WMA's own description is not composed again", {},
        tags({{&T::TagDescription, "Album: A (Trk #5)\r\nx"}, {&T::TagAlbum, "A"},
                 {&T::TagTrack, "5"}, {&T::TagTrackFrame, "5"}, {&T::CoverSource, "/music/a.wma"}},
            true),
        Profile
            + "-description \"Album: A (Trk #5)\r\nx\"\r\n-album \"A\"\r\n-track \"5\"\r\n"
              "-picture \"/music/a.wma\"\r\n"},
    {"a cover path the file cannot carry is left out", {},
        tags({{&T::CoverSource, "/music/a\nb.mp3"}}), Profile},
    {"nor one with a CR", {}, tags({{&T::CoverSource, "/music/a\rb.mp3"}}), Profile},
    {"section of a WAV source after the profile", WavSection, tags({{&T::TagTitle, "T"}}),
        Profile + "-time 1500 62000\r\n-title \"T\"\r\n"},
    {"MP3 decoded whole: the encoder cuts, never before the start, once",
        {true, false, true, -40, 62000, "1500 62000"}, {}, "-time 0 62000\r\n" + Profile},
    {"MP3 section cut by the decoder", {true, true, true, 1500, 62000, {}}, {}, Profile},
    {"MP3 converted whole, no texts", {false, false, true, 1500, 62000, {}}, {}, Profile},
};

TEST(EncoderConfig, BytesAndTheirRoundTripThroughTheEncodersReader)
{
    for (const auto &[name, section, given, bytes] : Cases) {
        SCOPED_TRACE(name);
        const EncoderConfig config(Input, Output, "a64", section, given);
        ASSERT_TRUE(config.isWritable());
        EXPECT_EQ(config.bytes().toStdString(), Head + bytes);
        // Album and track are inputs of the description only.
        EXPECT_EQ(config.tags().TagAlbum, given.TagAlbum);
        EXPECT_EQ(config.tags().TagTrack, given.TagTrack);
        // The encoder reads back the job, and the texts that are stored back.
        const auto read = tonvera::EncoderConfigReader::parse(config.bytes().toStdString());
        const EncoderTagFields &sent = config.tags();
        EXPECT_EQ(std::tie(read.input, read.output, read.profile),
            std::tuple(Input.toStdString(), Output.toStdString(), "a64"));
        // The times read back are those written; without times, no "-time" at all.
        std::string time = "-time";
        if (read.section)
            time += ' ' + std::to_string(read.section->startMs) + ' '
                + std::to_string(read.section->endMs) + "\r\n";
        EXPECT_EQ(bytes.find(time) != std::string::npos, read.section.has_value()) << time;
        for (const auto &[got, given] :
            {std::pair {read.title, sent.TagTitle}, {read.author, sent.TagArtist},
                {read.copyright, sent.TagCopyright}, {read.description, sent.TagDescription},
                {read.year, given.TagYear}, {read.genre, given.TagGenre},
                {read.albumArtist, given.TagAlbumArtist}, {read.composer, given.TagComposer}})
            EXPECT_EQ(got, given.toStdString());
    }
}

// A job the file cannot carry is refused, and the previous job never stays behind.
TEST(EncoderConfig, WriteReplacesTheFileOrLeavesNone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tmpconf.weu");
    const EncoderTagFields fields = tags({{&T::TagTitle, "T"}, {&T::TagDescription, "d"}});
    const auto write = [&](const QString &input, const QString &output, const QString &profile,
                           const QString &times = {}) {
        QFile old(path);
        EXPECT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4000, 'o')); // longer than any new file: no tail may remain
        old.close();
        return EncoderConfig(input, output, profile, {false, false, false, 0, 0, times}, fields)
            .write(path);
    };
    ASSERT_TRUE(write(Input, Output, "a64"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), EncoderConfig(Input, Output, "a64", {}, fields).bytes());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList {"tmpconf.weu"});
    const std::tuple<const char *, QString, QString, QString, QString> refused[] = {
        {"line break in the input", "/a\n-output /b", Output, "a64", {}},
        {"NUL in the output", Input, QString("/b") + QChar(0) + "c", "a64", {}},
        {"line break in the section", Input, Output, "a64", "1 2\n-time 3 4"},
        {"no profile", Input, Output, {}, {}},
        {"no input", {}, Output, "a64", {}},
    };
    for (const auto &[name, input, output, profile, times] : refused) {
        EXPECT_FALSE(write(input, output, profile, times)) << name;
        EXPECT_FALSE(QFile::exists(path)) << name;
    }
    // A folder that does not exist: nothing written, no error beyond the result.
    EXPECT_FALSE(EncoderConfig(Input, Output, "a64", {}, {}).write(dir.filePath("missing/x.weu")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing")));
}

} // namespace
