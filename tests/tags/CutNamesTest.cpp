// Names of cut files: strings and numbers before or after, numbered past the files already there.
#include "tags/CutNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using CutNames::Rule;

namespace {

struct CutCase
{
    const char *what;
    Rule rule;
    QString base;
    QStringList existing;
    QString expected;
};

class CutFileNames : public ::testing::TestWithParam<CutCase>
{
};

TEST_P(CutFileNames, NameTheCutFile)
{
    const CutCase &c = GetParam();
    EXPECT_EQ(
        CutNames::CutFileName(c.rule, c.base, c.existing).toStdString(), c.expected.toStdString())
        << c.what;
}

const Rule NumberAfter {true, true, {}};
const Rule NumberBefore {true, false, {}};

INSTANTIATE_TEST_SUITE_P(Cases, CutFileNames,
    ::testing::Values(CutCase {"the first number", NumberAfter, "B", {}, "B_[1]"},
        CutCase {"past the largest, any extension", NumberAfter, "B",
            {"B_[1].wma", "B_[3].mp3", "B.mp3"}, "B_[4]"},
        CutCase {"leading zeros are numbers", NumberAfter, "B", {"B_[007].wma"}, "B_[8]"},
        CutCase {"a text that is no number counts for nothing", NumberAfter, "B",
            {"B_[x].wma", "B_[2a].wma", "B_[].wma", "B_[-4].wma"}, "B_[1]"},
        CutCase {"another name's numbers do not count", NumberAfter, "B",
            {"Bx_[9].wma", "A_[5].wma", "[6]_B.wma"}, "B_[1]"},
        CutCase {"a base holding brackets", NumberAfter, "a_[1]", {"a_[1]_[2].wma"}, "a_[1]_[3]"},
        CutCase {
            "number before", NumberBefore, "B", {"[2]_B.wma", "[5]_B.wav", "B_[9].wma"}, "[6]_B"},
        CutCase {"number before, none yet", NumberBefore, "B", {"[2]_C.wma"}, "[1]_B"},
        CutCase {"string after", Rule {false, true, "cut"}, "B", {"B_[cut].wma"}, "B_[cut]"},
        CutCase {"string before", Rule {false, false, "live"}, "B", {}, "[live]_B"},
        CutCase {"a slash of the string stays in the name", Rule {false, true, "a/b"}, "B", {},
            "B_[a_b]"}),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

TEST(CutNamesTest, TheNumberLooksInEveryFolderGiven)
{
    QTemporaryDir input, output;
    ASSERT_TRUE(input.isValid() && output.isValid());
    for (const QString &path :
        {input.filePath("song_[1].mp3"), output.filePath("song_[4].wma"), input.filePath("x.mp3")})
        QFile(path).open(QIODevice::WriteOnly);
    QDir(input.path()).mkdir("song_[9]"); // a folder is no file

    EXPECT_EQ(CutNames::ApplyCutNameRule(NumberAfter, "song", {input.path()}), "song_[2]");
    EXPECT_EQ(
        CutNames::ApplyCutNameRule(NumberAfter, "song", {input.path(), output.path()}), "song_[5]");
    EXPECT_EQ(CutNames::ApplyCutNameRule(Rule {false, true, "cut"}, "song", {input.path()}),
        "song_[cut]");
}

} // namespace
