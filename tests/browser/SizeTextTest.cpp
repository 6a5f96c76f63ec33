#include "browser/SizeText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SizeCase
{
    qint64 length;
    const char *text;
};

class SizeTextOfLengthTest : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(SizeTextOfLengthTest, FormatsBytesAndRoundedUpKilobytes)
{
    EXPECT_EQ(SizeTextOfLength(GetParam().length, QStringLiteral("bytes")),
        QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Boundaries, SizeTextOfLengthTest,
    ::testing::Values(SizeCase {0, "0 bytes"}, SizeCase {512, "512 bytes"},
        SizeCase {1023, "1023 bytes"}, // 0.99 K is still bytes
        SizeCase {1024, "1 K"}, // exactly 1.00 K, not rounded up
        SizeCase {1034, "1 K"}, // 1.0097 K truncates to 1.00
        SizeCase {1035, "2 K"}, // 1.01 K rounds up
        SizeCase {1500, "2 K"}, SizeCase {102400, "100 K"}, SizeCase {1023999, "1.000 K"},
        SizeCase {1536000, "1.500 K"}, SizeCase {1024000000, "1.000.000 K"},
        SizeCase {1099511627776LL, "1.073.741.824 K"}));

TEST(SizeTextTest, ReadsTheFileOrTakesTheGivenSize)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.mp3"));
    const QString small = dir.filePath(QStringLiteral("small.wav"));
    {
        QFile f(empty);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QFile g(small);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        g.write(QByteArray(1500, 'x'));
    }
    EXPECT_EQ(SizeText(empty, 0, QStringLiteral("bytes")), QStringLiteral("0 bytes"));
    EXPECT_EQ(SizeText(small, 99, QStringLiteral("byte")), QStringLiteral("2 K"));
    EXPECT_EQ(SizeText(dir.filePath(QStringLiteral("missing.mp3")), 5, QStringLiteral("bytes")),
        QString());
    EXPECT_EQ(SizeText(dir.path(), 5, QStringLiteral("bytes")), QString()); // a folder
    EXPECT_EQ(SizeText(QString(), 0, QStringLiteral("bytes")), QString());
    EXPECT_EQ(SizeText(QString(), 700, QStringLiteral("byte")), QStringLiteral("700 byte"));
}

} // namespace
