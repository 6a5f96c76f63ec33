#include "browser/SortKeys.h"
#include "browser/ListLine.h"

#include <gtest/gtest.h>

namespace {

SortKeys::Entry entry(const QString &name, qint64 size)
{
    const QString path = QStringLiteral("/f/") + name;
    return {ListLine::make(path, QStringLiteral("x"), ListLine::InputSizeEnd), path, size, {}};
}

// The orders on real files are covered by the browser tests; these are the cases a folder
// of test files cannot easily hold.
TEST(SortKeysTest, SizesBeyondTenGigabytesStillSortAfterSmallerOnes)
{
    std::vector<SortKeys::Entry> entries {entry(QStringLiteral("huge.wav"), 12000000000LL),
        entry(QStringLiteral("big.wav"), 9999999999LL), entry(QStringLiteral("small.wav"), 900)};
    SortKeys::sortEntries(QStringLiteral("S"), entries);
    EXPECT_EQ(ListLine::fileNameOf(entries[0].path), QStringLiteral("small.wav"));
    EXPECT_EQ(ListLine::fileNameOf(entries[2].path), QStringLiteral("huge.wav"));

    SortKeys::sortEntries(QString(), entries); // no order: left as it is
    EXPECT_EQ(ListLine::fileNameOf(entries[0].path), QStringLiteral("small.wav"));
}

TEST(SortKeysTest, ExtensionKeyIsPaddedToFourCharacters)
{
    EXPECT_EQ(SortKeys::extensionKey(QStringLiteral("/a/b.mp3  ")), QStringLiteral(" mp3"));
    EXPECT_EQ(SortKeys::extensionKey(QStringLiteral("/a/b.ra")), QStringLiteral("  ra"));
    EXPECT_EQ(SortKeys::extensionKey(QStringLiteral("/a/bflac")), QStringLiteral("flac"));
}

} // namespace
