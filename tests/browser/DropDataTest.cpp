#include "browser/DropData.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

// The first local file of a URL list, else a path given as text.
TEST(DropDataTest, TakesTheFirstLocalFileOrAPathGivenAsText)
{
    QMimeData urls, nothing;
    urls.setUrls({QUrl("https://example.org/x.mp3"), QUrl::fromLocalFile("/m/a b.mp3"),
        QUrl::fromLocalFile("/m/c.mp3")});
    EXPECT_EQ(DropData::pathOf(urls), "/m/a b.mp3");
    const std::pair<const char *, const char *> cases[]
        = {{"FILE:/m/a.wav", "/m/a.wav"}, {"file:/m/5%25.wav", "/m/5%25.wav"},
            {"file:///m/a%20b.wav\r\nfile:///m/c.wav", "/m/a b.wav"}, {"  /m/x  \n", "/m/x"}};
    for (const auto &[text, path] : cases) {
        QMimeData data;
        data.setText(text);
        EXPECT_EQ(DropData::pathOf(data), path) << text;
    }
    nothing.setData("image/png", "x");
    EXPECT_FALSE(DropData::canTake(nothing));
}
