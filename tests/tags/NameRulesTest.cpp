// The name rules of the tag editor in both directions, and the names they may never produce.
#include "tags/NameRules.h"

#include <gtest/gtest.h>

using namespace NameRules;

namespace {

// genre, year, artist, album, track, title
const ParamTexts Values = {"Rock", "1999", "X", "Album", "7", "Y"};
const ParamPositions Designed = {1, 2, 3, 4, 5, 6};

ParamChecks ticked(std::initializer_list<Param> params)
{
    ParamChecks checks {};
    for (Param p : params)
        checks[size_t(p - 1)] = true;
    return checks;
}

struct StandardCase
{
    const char *what;
    ParamTexts values;
    ParamChecks checks;
    ParamPositions positions;
    QString separator;
    QString expected;
};

class StandardRule : public ::testing::TestWithParam<StandardCase>
{
};

TEST_P(StandardRule, JoinsTheTickedValuesInTheirOrder)
{
    const StandardCase &c = GetParam();
    EXPECT_EQ(Imposta_Nome(c.values, c.checks, c.positions, c.separator, "opened").toStdString(),
        c.expected.toStdString())
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, StandardRule,
    ::testing::Values(
        StandardCase {"artist then title", Values, ticked({Artist, Title}), Designed, "-", "X-Y"},
        StandardCase {"title moved before the artist", Values, ticked({Artist, Title}),
            {1, 2, 6, 4, 5, 3}, " - ", "Y - X"},
        StandardCase {"an empty artist leaves no separator", {"", "", "", "", "", "Y"},
            ticked({Artist, Title}), Designed, "-", "Y"},
        StandardCase {"nothing ticked keeps the opened name", Values, {}, Designed, "-", "opened"},
        StandardCase {"ticked but all empty keeps the opened name", {}, ticked({Title}), Designed,
            "-", "opened"},
        StandardCase {"no separator joins them directly", Values, ticked({Year, Artist}), Designed,
            "", "1999X"},
        StandardCase {"all six", Values, ticked({Genre, Year, Artist, Album, Track, Title}),
            Designed, "_", "Rock_1999_X_Album_7_Y"},
        StandardCase {"a tag holding a slash never makes a folder",
            {"", "", "AC/DC", "", "", "T/N/T"}, ticked({Artist, Title}), Designed, " - ",
            "AC_DC - T_N_T"},
        StandardCase {"a tag of a single dot is no name of its own", {"", "", "", "", "", "."},
            ticked({Title}), Designed, "-", "_"},
        StandardCase {
            "two dots neither", {"", "", "", "", "", ".."}, ticked({Title}), Designed, "-", "__"}),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

struct TemplateCase
{
    QString tmpl;
    ParamTexts values;
    QString expected;
};

class TemplateRule : public ::testing::TestWithParam<TemplateCase>
{
};

TEST_P(TemplateRule, ReplacesTheCodesInAnyCase)
{
    const TemplateCase &c = GetParam();
    EXPECT_EQ(Imposta_NomeAdv(c.tmpl, c.values, "opened").toStdString(), c.expected.toStdString())
        << c.tmpl.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, TemplateRule,
    ::testing::Values(TemplateCase {"$a - $t (live)", Values, "X - Y (LIVE)"},
        TemplateCase {"$A - $T", Values, "X - Y"},
        TemplateCase {"$g$y$b$k", Values, "Rock1999Album7"},
        TemplateCase {"$3 $6", Values, "X Y"}, // the numbers work as they are
        TemplateCase {"[$Y] $a", Values, "[1999] X"},
        // A value is put in as it is: neither in capitals nor read for codes.
        TemplateCase {"$T", {"", "$2", "", "", "", "mixed Case $2"}, "mixed Case $2"},
        TemplateCase {"", Values, "opened"}, // nothing left: the opened name
        TemplateCase {"$T", {"", "", "", "", "", ""}, "opened"},
        TemplateCase {"$A/$T", Values, "X_Y"}, // a slash of the template too
        TemplateCase {"$T", {"", "", "", "", "", QString("a") + QChar(0) + "b"}, "a_b"},
        TemplateCase {"$T", {"", "", "", "", "", ".."}, "__"}));

TEST(NameRulesTest, TheStandardTemplateOfTheTickedRows)
{
    EXPECT_EQ(TemplateOfChecks(ticked({Artist, Title}), Designed), "$3 $6");
    EXPECT_EQ(TemplateOfChecks(ticked({Artist, Title, Year}), {1, 3, 2, 4, 5, 6}), "$3 $2 $6");
    EXPECT_EQ(TemplateOfChecks({}, Designed), "");
}

struct ReadCase
{
    const char *what;
    QString name, separator, tmpl;
    QString title, artist, album, year;
    int genre;
};

class ReadingTags : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ReadingTags, FillsTheFieldsFromTheName)
{
    const ReadCase &c = GetParam();
    const NameTags tags = Imposta_TagAdv(c.name, c.separator, c.tmpl);
    EXPECT_EQ(tags.title, c.title) << c.what;
    EXPECT_EQ(tags.artist, c.artist) << c.what;
    EXPECT_EQ(tags.album, c.album) << c.what;
    EXPECT_EQ(tags.year, c.year) << c.what;
    EXPECT_EQ(tags.genreIndex, c.genre) << c.what;
}

const int RockAndRoll = int(GenreList().indexOf("Rock & Roll"));

INSTANTIATE_TEST_SUITE_P(Cases, ReadingTags,
    ::testing::Values(ReadCase {"pieces are trimmed", "X - Y", "-", "$3 $6", "Y", "X", "", "", -1},
        ReadCase {"codes in any case", "X - Y", "-", "$a $t", "Y", "X", "", "", -1},
        ReadCase {"fewer pieces than codes", "X", "-", "$3 $6", "", "X", "", "", -1},
        ReadCase {"more pieces than codes", "X-Y-Z", "-", "$6", "X", "", "", "", -1},
        ReadCase {"no separator: the whole name is one piece", "X - Y", "", "$6 $3", "X - Y", "",
            "", "", -1},
        ReadCase {"a year only when it is a number", "1999-2000x", "-", "$2 $4", "", "", "2000x",
            "1999", -1},
        ReadCase {"a year that is not a number stays empty", "later-X", "-", "$2 $3", "", "X", "",
            "", -1},
        ReadCase {"the genre is the first entry starting with the piece", "Rock-X", "-", "$1 $3",
            "", "X", "", "", RockAndRoll},
        ReadCase {
            "a genre matches with its case only", "rock-X", "-", "$G $A", "", "X", "", "", -1},
        ReadCase {"the track is not read back", "7-Y", "-", "$5 $6", "Y", "", "", "", -1},
        ReadCase {"a blank separator", "X Y Z", " ", "$3 $4 $6", "Z", "X", "Y", "", -1},
        // "$A, " is no number: its piece is passed over, the next code still counts.
        ReadCase {"a code followed by text is passed over", "X - Y", "-", "by $A, $T", "Y", "", "",
            "", -1}));

TEST(NameRulesTest, TheFirstSeparatorFoundInTheFirstFile)
{
    const struct
    {
        QString name, expected;
    } cases[] = {{"Artist - Title", "-"}, {"Artist_Title.live", "_"}, {"a.b;c", "."},
        {"one;two", ";"}, {"50% off!", "%"}, {"a,b", ","}, {"plain name", ""}, {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(Ricava_Delimitatore(c.name), c.expected) << c.name.toStdString();
}

TEST(NameRulesTest, SeparatorsThatCannotBeInAName)
{
    for (const char *bad : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|", " / "})
        EXPECT_TRUE(SeparatorIsForbidden(bad)) << bad;
    for (const char *good : {"-", " - ", "_", " ", ".", "+", ""})
        EXPECT_FALSE(SeparatorIsForbidden(good)) << good;
    EXPECT_EQ(ForbiddenSeparatorText(), "  \\/:*?\">");
}

TEST(NameRulesTest, TheGenrePrefixRule)
{
    const QStringList &list = GenreList();
    ASSERT_EQ(list.size(), 127);
    EXPECT_EQ(list.first(), "[none]");
    EXPECT_EQ(list.last(), "Vocal");
    EXPECT_EQ(list.indexOf("Psychadelic"), 89);
    EXPECT_EQ(GenreIndexForPiece("Rock"), RockAndRoll); // before "Rock"
    EXPECT_EQ(GenreIndexForPiece("Rock "), RockAndRoll);
    EXPECT_EQ(GenreIndexForPiece("Rock & Roll"), RockAndRoll);
    EXPECT_EQ(GenreIndexForPiece("Trip"), list.indexOf("Trip-Hop"));
    EXPECT_EQ(GenreIndexForPiece("Polkas"), -1);
    EXPECT_EQ(GenreIndexForPiece(""), 0);
}

TEST(NameRulesTest, TheTrackCountsFromOne)
{
    EXPECT_EQ(TrackParam("0"), "");
    EXPECT_EQ(TrackParam(""), "");
    EXPECT_EQ(TrackParam("-3"), "");
    EXPECT_EQ(TrackParam("1"), "1");
    EXPECT_EQ(TrackParam("07"), "07");
    EXPECT_EQ(TrackParam("3/12"), "3/12"); // and the name rules make the slash harmless
}

TEST(NameRulesTest, TheYearBoxTakesNumbersOnly)
{
    for (const char *ok : {"", " ", "1999", " 1999 ", "-5", "2.5"})
        EXPECT_TRUE(IsNumericText(ok)) << ok;
    for (const char *bad : {"19x9", "year", "inf", "nan", "1999a"})
        EXPECT_FALSE(IsNumericText(bad)) << bad;
}

TEST(NameRulesTest, SafeNamesFitTheFileSystem)
{
    EXPECT_EQ(SafeFileName("a/b"), "a_b");
    EXPECT_EQ(SafeFileName("/"), "_");
    EXPECT_EQ(SafeFileName("."), "_");
    EXPECT_EQ(SafeFileName(".."), "__");
    EXPECT_EQ(SafeFileName("..."), "..."); // a name like any other
    EXPECT_EQ(SafeFileName(".hidden"), ".hidden");
    EXPECT_EQ(SafeFileName("a\\b"), "a\\b"); // a character of a name on Linux

    // 300 two-byte letters are cut to whole letters within 255 bytes less the reserve.
    const QString longName(300, QChar(0xe9));
    const QString cut = SafeFileName(longName, 16);
    EXPECT_EQ(cut.toUtf8().size(), 238);
    EXPECT_TRUE(longName.startsWith(cut));
    // A character outside the basic plane is never cut in half.
    QString pairs;
    for (int i = 0; i < 100; ++i)
        pairs += QString::fromUtf8("\xF0\x9F\x8E\xB5"); // one note, a surrogate pair
    const QString cutPairs = SafeFileName(pairs, 16);
    EXPECT_LE(cutPairs.toUtf8().size(), 239);
    EXPECT_EQ(cutPairs.size() % 2, 0);
    EXPECT_FALSE(cutPairs.toUtf8().contains("\xEF\xBF\xBD")); // no replacement character
}

TEST(NameRulesTest, CharactersAnId3v1TagCannotHold)
{
    EXPECT_EQ(NonLatin1Characters("Caf\u00e9 \u00fc\u00df"), "");
    EXPECT_EQ(NonLatin1Characters(QString::fromUtf8("Price 5\u20ac, 5\u20ac")), "\u20ac");
    EXPECT_EQ(NonLatin1Characters(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC")),
        QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"));
    EXPECT_EQ(NonLatin1Characters(QString::fromUtf8("a\xF0\x9F\x8E\xB5")),
        QString::fromUtf8("\xF0\x9F\x8E\xB5"));
}

TEST(NameRulesTest, TemplatesAreNormalised)
{
    EXPECT_EQ(NormaliseTemplate("$a - $t (live)"), "$3 - $6 (LIVE)");
    EXPECT_EQ(NormaliseTemplate("$G$Y$A$B$K$T"), "$1$2$3$4$5$6");
    EXPECT_EQ(NormaliseTemplate("no codes"), "NO CODES");
}

} // namespace
