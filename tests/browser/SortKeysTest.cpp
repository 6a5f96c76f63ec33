#include "browser/SortKeys.h"
#include "browser/ListLine.h"

#include <gtest/gtest.h>

namespace {

SortKeys::Entry entry(const QString &name, qint64 size, const QString &stamp)
{
    const QString path = QStringLiteral("/f/") + name;
    return {ListLine::make(path, QStringLiteral("x"), ListLine::InputSizeEnd), path, size,
        QDateTime::fromString(stamp, Qt::ISODate)};
}

QStringList namesOf(const std::vector<SortKeys::Entry> &entries)
{
    QStringList names;
    for (const auto &e : entries)
        names << ListLine::fileNameOf(e.path);
    return names;
}

struct OrderCase
{
    const char *order;
    QStringList expected;
};

class SortOrderTest : public ::testing::TestWithParam<OrderCase>
{
};

TEST_P(SortOrderTest, OrdersCaseInsensitivelyAscending)
{
    std::vector<SortKeys::Entry> entries {
        entry(QStringLiteral("beta.WMA"), 900, QStringLiteral("2024-03-01T10:00:00")),
        entry(QStringLiteral("Alpha.wav"), 10000, QStringLiteral("2023-12-31T23:59:59")),
        entry(QStringLiteral("gamma.mp3"), 12000000000LL, QStringLiteral("2024-03-01T09:00:00")),
        entry(QStringLiteral("delta.MP3"), 5000, QStringLiteral("2024-03-01T10:00:01")),
    };
    SortKeys::sortEntries(QString::fromLatin1(GetParam().order), entries);
    EXPECT_EQ(namesOf(entries), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(AllOrders, SortOrderTest,
    ::testing::Values(OrderCase {"A", {"Alpha.wav", "beta.WMA", "delta.MP3", "gamma.mp3"}},
        // MP3 before WAV before WMA; equal extensions by name
        OrderCase {"E", {"delta.MP3", "gamma.mp3", "Alpha.wav", "beta.WMA"}},
        OrderCase {"D", {"Alpha.wav", "gamma.mp3", "beta.WMA", "delta.MP3"}},
        // 900 before 10000 (padded keys), 12 GB last
        OrderCase {"S", {"beta.WMA", "delta.MP3", "Alpha.wav", "gamma.mp3"}},
        // anything else keeps the filled order
        OrderCase {"", {"beta.WMA", "Alpha.wav", "gamma.mp3", "delta.MP3"}}));

TEST(SortKeysTest, ExtensionKeyIsPaddedToFourCharacters)
{
    EXPECT_EQ(SortKeys::extensionKey(QStringLiteral("/a/b.mp3  ")), QStringLiteral(" mp3"));
    EXPECT_EQ(SortKeys::extensionKey(QStringLiteral("/a/b.ra")), QStringLiteral("  ra"));
    EXPECT_EQ(SortKeys::extensionKey(QStringLiteral("/a/bflac")), QStringLiteral("flac"));
}

} // namespace
