// The name rules of the tag editor in both directions, and the names they may never produce.
#include "tags/NameRules.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace NameRules;

// genre, year, artist, album, track, title
const ParamTexts Values = {"Rock", "1999", "X", "Album", "7", "Y"};
const ParamPositions Designed = {1, 2, 3, 4, 5, 6};

static ParamTexts titled(const QString &title)
{
    return {"", "", "", "", "", title};
}

static ParamChecks ticked(std::initializer_list<Param> params)
{
    ParamChecks checks {};
    for (Param p : params)
        checks[size_t(p - 1)] = true;
    return checks;
}

TEST(NameRulesTest, TheStandardRuleJoinsTheTickedValuesInTheirOrder)
{
    const ParamChecks artistTitle = ticked({Artist, Title});
    const std::tuple<const char *, ParamTexts, ParamChecks, ParamPositions, QString, QString>
        cases[] = {
            {"artist then title", Values, artistTitle, Designed, "-", "X-Y"},
            {"title moved first", Values, artistTitle, {1, 2, 6, 4, 5, 3}, " - ", "Y - X"},
            {"an empty value leaves no separator", titled("Y"), artistTitle, Designed, "-", "Y"},
            {"nothing ticked: the opened name", Values, {}, Designed, "-", "opened"},
            {"ticked but empty: the opened name", {}, ticked({Title}), Designed, "-", "opened"},
            {"no separator", Values, ticked({Year, Artist}), Designed, "", "1999X"},
        };
    for (const auto &[what, values, checks, positions, separator, expected] : cases)
        EXPECT_EQ(Imposta_Nome(values, checks, positions, separator, "opened"), expected) << what;
    EXPECT_EQ(TemplateOfChecks(ticked({Artist, Title, Year}), {1, 3, 2, 4, 5, 6}), "$3 $2 $6");
}

TEST(NameRulesTest, TheTemplateRuleReplacesTheCodesInAnyCase)
{
    const std::tuple<QString, ParamTexts, QString> cases[]
        = {{"$a - $t (live)", Values, "X - Y (LIVE)"}, {"$g$y$b$k", Values, "Rock1999Album7"},
            {"$3 $6", Values, "X Y"}, {"$7$0$", Values, "$7$0$"},
            // A value is put in as it is: neither in capitals nor read for codes.
            {"$T", {"", "$2", "", "", "", "mixed Case $2"}, "mixed Case $2"},
            {"", Values, "opened"}, // nothing left: the opened name
            {"$T", titled(""), "opened"}, {"$A/$T", Values, "X_Y"}, // a slash of the template too
            {"$T", titled(QString("a") + QChar(0) + "b"), "a_b"}};
    for (const auto &[tmpl, values, expected] : cases)
        EXPECT_EQ(Imposta_NomeAdv(tmpl, values, "opened"), expected) << tmpl.toStdString();
}

TEST(NameRulesTest, TagsReadFromTheName)
{
    const int RockAndRoll = int(GenreList().indexOf("Rock & Roll"));
    // name, separator, template; title, artist, album, year, genre
    const std::tuple<QString, QString, QString, QString, QString, QString, QString, int> cases[]
        = {{"X - Y", "-", "$3 $6", "Y", "X", "", "", -1}, // pieces are trimmed
            {"X - Y", "-", "$a $t", "Y", "X", "", "", -1},
            {"X", "-", "$3 $6", "", "X", "", "", -1}, // fewer pieces than codes
            {"X-Y-Z", "-", "$6", "X", "", "", "", -1}, // more pieces than codes
            {"X - Y", "", "$6 $3", "X - Y", "", "", "", -1}, // no separator: one piece
            {"1999-2000x", "-", "$2 $4", "", "", "2000x", "1999", -1},
            {"later-X", "-", "$2 $3", "", "X", "", "", -1}, // a year only when it is a number
            {"Rock-X", "-", "$1 $3", "", "X", "", "", RockAndRoll}, // the first entry starting so
            {"rock-X", "-", "$G $A", "", "X", "", "", -1}, // with its case only
            {"7-Y", "-", "$5 $6", "Y", "", "", "", -1}, // the track is not read back
            {"X Y Z", " ", "$3 $4 $6", "Z", "X", "Y", "", -1},
            // "$A, " is no number: its piece is passed over, the next code still counts.
            {"X - Y", "-", "by $A, $T", "Y", "", "", "", -1}};
    for (const auto &[name, separator, tmpl, title, artist, album, year, genre] : cases) {
        const NameTags t = Imposta_TagAdv(name, separator, tmpl);
        EXPECT_EQ(std::tuple(t.title, t.artist, t.album, t.year, t.genreIndex),
            std::tuple(title, artist, album, year, genre))
            << (name + " / " + tmpl).toStdString();
    }
    const std::pair<const char *, int> genres[]
        = {{"Rock ", RockAndRoll}, {"Trip", int(GenreList().indexOf("Trip-Hop"))},
            {"Vocal", int(GenreList().size() - 1)}, {"Polkas", -1}, {"", 0}};
    for (const auto &[piece, index] : genres)
        EXPECT_EQ(GenreIndexForPiece(piece), index) << piece;
    EXPECT_EQ(GenreList().first(), "[none]");
}

TEST(NameRulesTest, SeparatorsTracksAndYears)
{
    const std::pair<QString, QString> found[] = {{"a_b-c", "-"}, {"Artist_Title.live", "_"},
        {"a.b;c", "."}, {"50% off!", "%"}, {"plain name", ""}, {"", ""}};
    for (const auto &[name, separator] : found)
        EXPECT_EQ(Ricava_Delimitatore(name), separator) << name.toStdString();
    for (const char *bad : {"/", "\\", "?", "|", " / "})
        EXPECT_TRUE(SeparatorIsForbidden(bad)) << bad;
    for (const char *good : {"-", " - ", "_", " ", ".", "+", ""})
        EXPECT_FALSE(SeparatorIsForbidden(good)) << good;
    // The track counts from 1; the name rules make its slash harmless.
    const std::pair<const char *, const char *> tracks[]
        = {{"0", ""}, {"", ""}, {"-3", ""}, {"1", "1"}, {"07", "07"}, {"3/12", "3/12"}};
    for (const auto &[track, param] : tracks)
        EXPECT_EQ(TrackParam(track), param) << track;
    for (const char *ok : {" ", " 1999 ", "-5", "2.5"})
        EXPECT_TRUE(IsNumericText(ok)) << ok;
    for (const char *bad : {"19x9", "year", "inf", "nan", "1999a"})
        EXPECT_FALSE(IsNumericText(bad)) << bad;
}

TEST(NameRulesTest, SafeNamesFitTheFileSystem)
{
    const std::pair<const char *, const char *> names[] = {{"a/b", "a_b"}, {"/", "_"}, {".", "_"},
        {"..", "__"}, {"...", "..."}, {".hidden", ".hidden"}, {"a\\b", "a\\b"}};
    for (const auto &[name, safe] : names)
        EXPECT_EQ(SafeFileName(name), safe) << name;
    // Whole letters within 255 bytes less the reserve; a pair (one character outside the basic
    // plane) is never cut in half.
    EXPECT_EQ(SafeFileName(QString(300, QChar(0xe9)), 16), QString(119, QChar(0xe9)));
    EXPECT_EQ(SafeFileName(QString(240, 'a'), 16), QString(239, 'a'));
    const QString note = QString::fromUtf8("\xF0\x9F\x8E\xB5");
    EXPECT_EQ(SafeFileName(note.repeated(100), 16), note.repeated(59));
    // The characters an ID3v1 tag cannot hold, each once.
    EXPECT_EQ(NonLatin1Characters("Caf\u00e9 \u00fc\u00df\u00ff"), "");
    EXPECT_EQ(
        NonLatin1Characters(QString::fromUtf8("Price 5\u20ac, 5\u20ac\u0100")), "\u20ac\u0100");
    EXPECT_EQ(NonLatin1Characters(QString::fromUtf8("a\xF0\x9F\x8E\xB5")),
        QString::fromUtf8("\xF0\x9F\x8E\xB5"));
}
