#include "EncoderConfigReader.h"
#include "EncoderProfiles.h"

#include <gtest/gtest.h>

using tonvera::ConfigError;
using tonvera::EncoderConfig;
using namespace std::string_literals;

namespace {

// Every field the reader found, as "key=value;" in the order of the file.
std::string parsed(const std::string &text)
{
    const EncoderConfig c = tonvera::EncoderConfigReader::parse(text);
    const std::string time = c.section
        ? std::to_string(c.section->startMs) + " " + std::to_string(c.section->endMs)
        : "";
    const std::pair<const char *, std::string> fields[] = {{"input", c.input}, {"output", c.output},
        {"profile", c.profile}, {"time", time}, {"title", c.title}, {"author", c.author},
        {"copyright", c.copyright}, {"description", c.description}, {"album", c.album},
        {"track", c.track}, {"year", c.year}, {"genre", c.genre}, {"albumartist", c.albumArtist},
        {"composer", c.composer}, {"picture", c.picture}};
    std::string out;
    for (const auto &[key, value] : fields)
        out += value.empty() ? "" : key + "="s + value + ";";
    return out;
}

} // namespace

// Every shape the program can write (its own jobs read back in the tests of EncoderConfig), and
// line ends it does not. Tag texts keep their inner quotes and end at a zero (ID3 texts may keep
// the tagger's terminator, or junk after it); the description runs over lines to its closing
// quote, and the field lines follow it, each on a line of its own.
TEST(EncoderConfigReader, ReadsWhatTheProgramWrites)
{
    const std::string head = "-input a\r\n-output b\r\n-profile a64\r\n", ab = "input=a;output=b;";
    const std::string fields = "-album \"Fixtures \"Album\"\"\r\n-track \"5/12\"\r\n-year "
                               "\"2001\"\r\n-genre \"Jazz\"\r\n-albumartist \"Band\"\r\n-composer "
                               "\"Zoë\"\r\n-picture \"/music/a \"b\".mp3\"\r\n";
    const std::string read = "album=Fixtures \"Album\";track=5/12;year=2001;genre=Jazz;"
                             "albumartist=Band;composer=Zoë;picture=/music/a \"b\".mp3;";
    const std::pair<std::string, std::string> cases[] = {
        {"-input a\r\n-output b\r\n-profile a20_1\r\n", ab + "profile=a20_1;"},
        {"-input a\r\n-output b\r\n-time 0 10\r\n-profile a32\r\n", ab + "profile=a32;time=0 10;"},
        {"-input a\r\n-output b\r\n-profile a32\r\n-time 5 10\r\n", ab + "profile=a32;time=5 10;"},
        {"-input a\r\n-output b\r\n-profile a48", ab + "profile=a48;"}, // no final line end
        {"-input a\n-output b\n-profile a128\n-description \"x\ny\"\n-year \"1999\"\n",
            ab + "profile=a128;description=x\ny;year=1999;"}, // bare LF lines
        {head + "-description \"(Trk #3)\r\n\"\r\n", ab + "profile=a64;description=(Trk #3)\r\n;"},
        {head + "-description \"\"q\"\r\n\r\nz\"\"\r\n",
            ab + "profile=a64;description=\"q\"\r\n\r\nz\";"},
        {head + "-description \"a\"\r\nb\"\r\n", ab + "profile=a64;description=a\"\r\nb;"},
        {head + "-description \"Note\0ins\xFFide\"\r\n"s, ab + "profile=a64;description=Note;"},
        {head + "-title \"\"\"\r\n", ab + "profile=a64;title=\";"},
        {head + "-title \"\"\r\n", ab + "profile=a64;"},
        {head + "-description \"Album: X\r\n\"quoted\"\"\r\n" + fields,
            ab + "profile=a64;description=Album: X\r\n\"quoted\";" + read},
        {head + "-title \"t\"\r\n" + fields, ab + "profile=a64;title=t;" + read},
        {head + "-description \"d\"\r\n-track \"3\"\r\n-composer \"C\"\r\n",
            ab + "profile=a64;description=d;track=3;composer=C;"},
        // A line beginning with a blank belongs to the description.
        {head + "-description \"x\"\r\n -album \"y\"\r\n-genre \"Pop\"\r\n",
            ab + "profile=a64;description=x\"\r\n -album \"y;genre=Pop;"},
        {head + "-album \"A\"", ab + "profile=a64;album=A;"},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(parsed(text), expected) << text;
}

TEST(EncoderConfigReader, RefusesAnythingElse)
{
    const std::string head = "-input a\r\n-output b\r\n", a64 = head + "-profile a64\r\n";
    const std::pair<const char *, std::string> cases[] = {
        {"empty", ""},
        {"no input", "-output b\r\n-profile a64\r\n"},
        {"no profile", head},
        {"unknown profile", head + "-profile a65\r\n"},
        {"repeated input", "-input a\r\n-input c\r\n-output b\r\n-profile a64\r\n"},
        {"second output after profile", a64 + "-output /etc/passwd\r\n"},
        {"time before and after profile", head + "-time 0 5\r\n-profile a64\r\n-time 0 5\r\n"},
        {"time not numbers", a64 + "-time -5 10\r\n"},
        {"time with an empty number", a64 + "-time 5 \r\n"},
        {"time past 2^31 - 1 ms", a64 + "-time 0 2147483648\r\n"},
        {"unknown option", a64 + "-overwrite yes\r\n"},
        {"options out of order", a64 + "-author \"x\"\r\n-title \"y\"\r\n"},
        {"unquoted title", a64 + "-title y\r\n"},
        {"title a lone quote", a64 + "-title \"\r\n"},
        {"description not closed", a64 + "-description \"y\r\nz\r\n"},
        {"text after description", a64 + "-description \"y\"\r\nmore\r\n"},
        {"empty line in the middle", "-input a\r\n\r\n-output b\r\n-profile a64\r\n"},
        {"keyword without blank", "-inputa\r\n-output b\r\n-profile a64\r\n"},
        {"byte order mark", "\xEF\xBB\xBF" + a64},
        {"UTF-8 surrogate", a64 + "-title \"\xED\xA0\x80\"\r\n"},
        {"overlong UTF-8", a64 + "-title \"\xC1\xBF\"\r\n"},
        {"NUL in output", "-input a\r\n-output b\0c\r\n-profile a64\r\n"s},
        {"field line before the designed ones", head + "-album \"A\"\r\n-profile a64\r\n"},
        {"field lines out of order", a64 + "-year \"1\"\r\n-album \"A\"\r\n"},
        {"repeated field line", a64 + "-album \"A\"\r\n-album \"B\"\r\n"},
        {"empty line before the fields", a64 + "\r\n-album \"A\"\r\n"},
        {"field between title and description",
            a64 + "-title \"t\"\r\n-album \"A\"\r\n-description \"d\"\r\n"},
    };
    for (const auto &[name, text] : cases)
        EXPECT_THROW(tonvera::EncoderConfigReader::parse(text), ConfigError) << name;
}

TEST(EncoderProfiles, EveryNameFindsItsEntry)
{
    for (const auto &p : tonvera::encoderProfiles()) {
        EXPECT_EQ(tonvera::findEncoderProfile(p.name), &p);
        EXPECT_TRUE(p.entryText.starts_with(std::string(p.name) + " - ")) << p.name;
    }
    // The encoder's lowest rate is the floor.
    EXPECT_EQ(tonvera::findEncoderProfile("a20_2")->encoderBitRate(), 24000);
    EXPECT_EQ(tonvera::findEncoderProfile("a128")->encoderBitRate(), 128000);
}
