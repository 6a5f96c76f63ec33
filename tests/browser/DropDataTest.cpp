#include "browser/DropData.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

TEST(DropDataTest, TakesTheFirstLocalFileOrAPathGivenAsText)
{
    QMimeData urls;
    urls.setUrls({QUrl(QStringLiteral("https://example.org/x.mp3")),
        QUrl::fromLocalFile(QStringLiteral("/m/a b.mp3")),
        QUrl::fromLocalFile(QStringLiteral("/m/c.mp3"))});
    EXPECT_EQ(DropData::pathOf(urls), QStringLiteral("/m/a b.mp3"));

    struct Case
    {
        const char *text;
        const char *path;
    } cases[] = {{"/m/a.wav", "/m/a.wav"}, {"FILE:/m/a.wav", "/m/a.wav"},
        {"file:/m/a.wav", "/m/a.wav"}, {"file:///m/a%20b.wav\r\nfile:///m/c.wav", "/m/a b.wav"},
        {"  /m/x  \n", "/m/x"}, {"", ""}};
    for (const Case &c : cases) {
        QMimeData text;
        text.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(DropData::pathOf(text), QString::fromLatin1(c.path)) << c.text;
    }
    QMimeData nothing;
    nothing.setData(QStringLiteral("image/png"), "x");
    EXPECT_FALSE(DropData::canTake(nothing));
}

} // namespace
