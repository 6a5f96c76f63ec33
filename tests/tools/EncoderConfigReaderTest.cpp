#include "EncoderConfigReader.h"
#include "EncoderProfiles.h"

#include <gtest/gtest.h>

using tonvera::ConfigError;
using tonvera::EncoderConfig;
using tonvera::EncoderConfigReader;

namespace {

EncoderConfig parse(const std::string &text)
{
    return EncoderConfigReader::parse(text);
}

TEST(EncoderConfigReader, ReadsEveryLineAsTheProgramWritesThem)
{
    const EncoderConfig c = parse("-input /in/~tmpw_0.wav\r\n"
                                  "-output /out dir/~tmpw_0.wma\r\n"
                                  "-profile a64\r\n"
                                  "-time 1500 62000\r\n"
                                  "-title \"Caffè \"Roma\"\"\r\n"
                                  "-author \"Ångström\"\r\n"
                                  "-copyright \"(c) 2001\"\r\n"
                                  "-description \"Album: X (Trk #7)\r\nold text\"\r\n");
    EXPECT_EQ(c.input, "/in/~tmpw_0.wav");
    EXPECT_EQ(c.output, "/out dir/~tmpw_0.wma");
    EXPECT_EQ(c.profile, "a64");
    ASSERT_TRUE(c.section);
    EXPECT_EQ(c.section->startMs, 1500u);
    EXPECT_EQ(c.section->endMs, 62000u);
    EXPECT_EQ(c.title, "Caffè \"Roma\"");
    EXPECT_EQ(c.author, "Ångström");
    EXPECT_EQ(c.copyright, "(c) 2001");
    EXPECT_EQ(c.description, "Album: X (Trk #7)\r\nold text");
}

// The fields after the designed lines, each on a line of its own; the description still runs
// over lines to its closing quote before them.
TEST(EncoderConfigReader, ReadsTheFieldLinesAfterTheDesignedOnes)
{
    const std::string head = "-input a\r\n-output b\r\n-profile a64\r\n";
    const std::string all = "-album \"Fixtures \"Album\"\"\r\n-track \"5/12\"\r\n-year \"2001\"\r\n"
                            "-genre \"Jazz\"\r\n-albumartist \"Band\"\r\n-composer \"Zoë\"\r\n"
                            "-picture \"/music/a \"b\".mp3\"\r\n";
    struct Case
    {
        const char *name;
        std::string text;
        std::string description, album, track, genre, composer, picture;
    };
    const Case cases[] = {
        {"after a description of several lines",
            head + "-description \"Album: X (Trk #5)\r\n\"quoted\"\"\r\n" + all,
            "Album: X (Trk #5)\r\n\"quoted\"", "Fixtures \"Album\"", "5/12", "Jazz", "Zoë",
            "/music/a \"b\".mp3"},
        {"without a description", head + "-title \"t\"\r\n" + all, "", "Fixtures \"Album\"", "5/12",
            "Jazz", "Zoë", "/music/a \"b\".mp3"},
        {"some of them", head + "-description \"d\"\r\n-track \"3\"\r\n-composer \"C\"\r\n", "d",
            "", "3", "", "C", ""},
        {"a description line kept by its blank",
            head + "-description \"x\"\r\n -album \"y\"\r\n-genre \"Pop\"\r\n",
            "x\"\r\n -album \"y", "", "", "Pop", "", ""},
        {"bare LF lines",
            "-input a\n-output b\n-profile a64\n-description \"d\ne\"\n-year \"1999\"\n", "d\ne",
            "", "", "", "", ""},
        {"no final line end", head + "-album \"A\"", "", "A", "", "", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const EncoderConfig config = parse(c.text);
        EXPECT_EQ(config.profile, "a64");
        EXPECT_EQ(config.description, c.description);
        EXPECT_EQ(config.album, c.album);
        EXPECT_EQ(config.track, c.track);
        EXPECT_EQ(config.genre, c.genre);
        EXPECT_EQ(config.composer, c.composer);
        EXPECT_EQ(config.picture, c.picture);
    }
    const EncoderConfig full = parse(head + all);
    EXPECT_EQ(full.year, "2001");
    EXPECT_EQ(full.albumArtist, "Band");
}

// Tag texts keep their inner quotes and end at a zero (ID3 texts may keep the tagger's
// terminator, or junk after it).
TEST(EncoderConfigReader, AcceptsTheShapesTheProgramCanWrite)
{
    using namespace std::string_literals;
    const std::string head = "-input a\r\n-output b\r\n-profile a64\r\n";
    struct Case
    {
        const char *name;
        std::string text;
        bool section;
        std::string description, title;
    };
    const Case cases[] = {
        {"minimal", "-input a\r\n-output b\r\n-profile a20_1\r\n", false, "", ""},
        {"time before profile", "-input a\r\n-output b\r\n-time 0 10\r\n-profile a32\r\n", true, "",
            ""},
        {"time after profile", "-input a\r\n-output b\r\n-profile a32\r\n-time 5 10\r\n", true, "",
            ""},
        {"bare LF lines", "-input a\n-output b\n-profile a128\n-description \"x\ny\"\n", false,
            "x\ny", ""},
        {"no final line end", "-input a\r\n-output b\r\n-profile a48", false, "", ""},
        {"description of a track only", head + "-description \"(Trk #3)\r\n\"\r\n", false,
            "(Trk #3)\r\n", ""},
        {"description with quotes and three lines", head + "-description \"\"q\"\r\n\r\nz\"\"\r\n",
            false, "\"q\"\r\n\r\nz\"", ""},
        {"quote before the line end of a description", head + "-description \"a\"\r\nb\"\r\n",
            false, "a\"\r\nb", ""},
        {"description with junk after a zero", head + "-description \"Note\0ins\xFFide\"\r\n"s,
            false, "Note", ""},
        {"title that is one quote", head + "-title \"\"\"\r\n", false, "", "\""},
        {"empty title", head + "-title \"\"\r\n", false, "", ""},
        {"title with its terminator", head + "-title \"V2 Title\0\"\r\n"s, false, "", "V2 Title"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const EncoderConfig config = parse(c.text);
        EXPECT_EQ(config.input, "a");
        EXPECT_EQ(config.output, "b");
        EXPECT_EQ(config.section.has_value(), c.section);
        EXPECT_EQ(config.description, c.description);
        EXPECT_EQ(config.title, c.title);
    }
}

TEST(EncoderConfigReader, RefusesAnythingElse)
{
    const std::string head = "-input a\r\n-output b\r\n";
    struct Case
    {
        const char *name;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"no input", "-output b\r\n-profile a64\r\n"},
        {"no output", "-input a\r\n-profile a64\r\n"},
        {"no profile", head},
        {"unknown profile", head + "-profile a65\r\n"},
        {"profile in other case", head + "-profile A64\r\n"},
        {"repeated input", "-input a\r\n-input c\r\n-output b\r\n-profile a64\r\n"},
        {"second output after profile", head + "-profile a64\r\n-output /etc/passwd\r\n"},
        {"repeated profile", head + "-profile a64\r\n-profile a32\r\n"},
        {"time before and after profile", head + "-time 0 5\r\n-profile a64\r\n-time 0 5\r\n"},
        {"time not numbers", head + "-profile a64\r\n-time -5 10\r\n"},
        {"time with one number", head + "-profile a64\r\n-time 5\r\n"},
        {"time too large", head + "-profile a64\r\n-time 0 99999999999\r\n"},
        {"unknown option", head + "-profile a64\r\n-overwrite yes\r\n"},
        {"ffmpeg option", head + "-profile a64\r\n-f mp3\r\n"},
        {"options out of order", head + "-profile a64\r\n-author \"x\"\r\n-title \"y\"\r\n"},
        {"tag before profile", head + "-title \"y\"\r\n-profile a64\r\n"},
        {"unquoted title", head + "-profile a64\r\n-title y\r\n"},
        {"title missing closing quote", head + "-profile a64\r\n-title \"y\r\n"},
        {"description not closed", head + "-profile a64\r\n-description \"y\r\nz\r\n"},
        {"text after description", head + "-profile a64\r\n-description \"y\"\r\nmore\r\n"},
        {"empty line in the middle", "-input a\r\n\r\n-output b\r\n-profile a64\r\n"},
        {"input without value", "-input \r\n-output b\r\n-profile a64\r\n"},
        {"keyword without blank", "-inputa\r\n-output b\r\n-profile a64\r\n"},
        {"byte order mark", "\xEF\xBB\xBF" + head + "-profile a64\r\n"},
        {"invalid UTF-8 title", head + "-profile a64\r\n-title \"\xE9t\xE9\"\r\n"},
        {"NUL in output", "-input a\r\n-output b" + std::string(1, '\0') + "c\r\n-profile a64\r\n"},
        {"field line before the designed ones", head + "-album \"A\"\r\n-profile a64\r\n"},
        {"field lines out of order", head + "-profile a64\r\n-year \"1\"\r\n-album \"A\"\r\n"},
        {"repeated field line", head + "-profile a64\r\n-album \"A\"\r\n-album \"B\"\r\n"},
        {"unquoted field", head + "-profile a64\r\n-genre Jazz\r\n"},
        {"empty line before the fields", head + "-profile a64\r\n\r\n-album \"A\"\r\n"},
        {"field between title and description",
            head + "-profile a64\r\n-title \"t\"\r\n-album \"A\"\r\n-description \"d\"\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(parse(c.text), ConfigError);
    }
}

TEST(EncoderProfiles, TableMatchesTheEncoderLimits)
{
    const auto &profiles = tonvera::encoderProfiles();
    EXPECT_EQ(profiles[4].name, "a64");
    for (const auto &p : profiles) {
        SCOPED_TRACE(std::string(p.name));
        EXPECT_EQ(tonvera::findEncoderProfile(p.name), &p);
        EXPECT_TRUE(p.entryText.starts_with(std::string(p.name) + " - "));
        EXPECT_GE(p.encoderBitRate(), 24000);
        EXPECT_EQ(p.channels, p.name == "a20_1" ? 1 : 2);
    }
    EXPECT_EQ(tonvera::findEncoderProfile("a20_2")->encoderBitRate(), 24000);
    EXPECT_EQ(tonvera::findEncoderProfile("a128")->encoderBitRate(), 128000);
}

} // namespace
