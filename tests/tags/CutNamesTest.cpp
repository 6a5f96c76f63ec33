// Names of cut files: strings and numbers before or after, numbered past the files already there.
#include "tags/CutNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

using CutNames::Rule;

const Rule NumberAfter {true, true, {}};
const Rule NumberBefore {true, false, {}};

TEST(CutNamesTest, NameTheCutFile)
{
    const std::tuple<const char *, Rule, QString, QStringList, QString> cases[] = {
        {"the first number", NumberAfter, "B", {}, "B_[1]"},
        {"past the largest, any extension", NumberAfter, "B", {"B_[3].mp3", "B_[1].wma", "B.mp3"},
            "B_[4]"},
        {"leading zeros are numbers", NumberAfter, "B", {"B_[007].wma"}, "B_[8]"},
        {"no number counts for nothing", NumberAfter, "B",
            {"B_[x].wma", "B_[2a].wma", "B_[].wma", "B_[-4].wma", "B_[9"}, "B_[1]"},
        {"another name's numbers do not count", NumberAfter, "B",
            {"Bx_[9].wma", "A_[5].wma", "[6]_B.wma"}, "B_[1]"},
        {"a base holding brackets", NumberAfter, "a_[1]", {"a_[1]_[2].wma"}, "a_[1]_[3]"},
        {"number before", NumberBefore, "B", {"[2]_B.wma", "[5]_B.wav", "B_[9].wma", "[7]_C"},
            "[6]_B"},
        {"number before, none yet", NumberBefore, "B", {"[2]_C.wma", "[3", "x[4]_B"}, "[1]_B"},
        {"string after", Rule {false, true, "cut"}, "B", {"B_[cut].wma"}, "B_[cut]"},
        {"string before", Rule {false, false, "live"}, "B", {}, "[live]_B"},
        {"a slash of the string stays in the name", Rule {false, true, "a/b"}, "B", {}, "B_[a_b]"}};
    for (const auto &[what, rule, base, existing, expected] : cases)
        EXPECT_EQ(CutNames::CutFileName(rule, base, existing), expected) << what;
}

TEST(CutNamesTest, TheNumberLooksInEveryFolderGiven)
{
    QTemporaryDir input, output;
    for (const QString &path :
        {input.filePath("song_[1].mp3"), output.filePath("song_[4].wma"), input.filePath("x.mp3")})
        ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    QDir(input.path()).mkdir("song_[9]"); // a folder is no file
    EXPECT_EQ(
        CutNames::ApplyCutNameRule(NumberAfter, "song", {input.path(), output.path()}), "song_[5]");
}
