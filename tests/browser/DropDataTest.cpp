#include "browser/DropData.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
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

TEST(DropDataTest, ActionDependsOnWhatThePathNames)
{
    QTemporaryDir root;
    QDir(root.path()).mkdir(QStringLiteral("other"));
    const QString here = root.filePath(QStringLiteral("a.mp3"));
    const QString there = root.filePath(QStringLiteral("other/b.mp3"));
    for (const QString &p : {here, there}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    using DropData::Action;
    EXPECT_EQ(DropData::actionFor(here, root.path()), Action::CurrentFileOnly);
    EXPECT_EQ(DropData::actionFor(there, root.path()), Action::OpenFileFolder);
    EXPECT_EQ(DropData::actionFor(root.filePath(QStringLiteral("other")), root.path()),
        Action::OpenFolder);
    EXPECT_EQ(DropData::actionFor(root.filePath(QStringLiteral("gone.mp3")), root.path()),
        Action::Nothing);
}

} // namespace
