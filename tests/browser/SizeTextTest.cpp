#include "browser/SizeText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SizeTextTest, BytesAndRoundedUpKilobytesOfAFileOrAGivenSize)
{
    const std::pair<qint64, const char *> cases[]
        = {{0, "0 bytes"}, {-1, "0 bytes"}, {1023, "1023 bytes"}, // 0.99 K is still bytes
            {1024, "1 K"}, // exactly 1.00 K, not rounded up
            {1034, "1 K"}, // 1.0097 K truncates to 1.00
            {1035, "2 K"}, // 1.01 K rounds up
            {1023999, "1.000 K"}, {1099511627776LL, "1.073.741.824 K"}};
    for (const auto &[length, text] : cases)
        EXPECT_EQ(SizeTextOfLength(length, "bytes"), text) << length;
    // A file's own size counts, not the one given; an empty file still has one.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("empty.mp3")).open(QIODevice::WriteOnly));
    EXPECT_EQ(SizeText(dir.filePath("empty.mp3"), 5, "bytes"), "0 bytes");
    EXPECT_EQ(SizeText(dir.filePath("missing.mp3"), 5, "bytes"), "");
    EXPECT_EQ(SizeText(dir.path(), 5, "bytes"), ""); // a folder
    EXPECT_EQ(SizeText("", 0, "bytes"), "");
    EXPECT_EQ(SizeText("", 700, "byte"), "700 byte");
}
