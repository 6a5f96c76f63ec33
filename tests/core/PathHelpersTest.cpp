#include "core/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PathHelpers, SplitsFolderAndName)
{
    const struct
    {
        const char *path, *folder, *name;
    } cases[] = {
        {"/home/u/a.mp3", "/home/u", "a.mp3"},
        {"/a.mp3", "/a.mp3", "a.mp3"}, // a separator at the start keeps the whole path
        {"plain.mp3", "unchanged", "plain.mp3"},
        // "\\" is a character of a name on Linux, wherever it stands.
        {"/music/AC\\DC - x.mp3", "/music", "AC\\DC - x.mp3"},
        {"AC\\DC - x.mp3", "unchanged", "AC\\DC - x.mp3"},
        {"/a\\b/c\\d/e.mp3", "/a\\b/c\\d", "e.mp3"},
        {"/music/ends in\\", "/music", "ends in\\"},
        {"\\\\server\\share", "unchanged", "\\\\server\\share"},
        {"//server/share", "//server", "share"},
        {"/folder/", "/folder", ""},
    };
    for (const auto &c : cases) {
        QString folder = QStringLiteral("unchanged");
        FolderOfPath(QString::fromUtf8(c.path), folder);
        EXPECT_EQ(folder, QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(FileNameOfPath(QString::fromUtf8(c.path)), QString::fromUtf8(c.name)) << c.path;
    }
}

TEST(PathHelpers, SeparatorsAndNul)
{
    const struct
    {
        const char *in, *out;
    } trailing[] = {{"/home/u", "/home/u/"}, {"/home/u/", "/home/u/"}, {"/", "/"},
        {"/AC\\", "/AC\\/"}, {"/x  ", "/x/"}, {"", "/"}};
    for (const auto &c : trailing) {
        QString p = QString::fromUtf8(c.in);
        AddTrailingSeparator(p);
        EXPECT_EQ(p, QString::fromUtf8(c.out)) << c.in;
    }
    EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
    EXPECT_EQ(JoinPath("/music/", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("/music", "/a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("", "a.mp3"), "a.mp3");
    EXPECT_EQ(JoinPath("/AC\\", "DC.mp3"), "/AC\\/DC.mp3");
    const struct
    {
        const char *in, *out;
    } bare[] = {{"/data/Out//", "/data/Out"}, {"/data/Out\\", "/data/Out\\"},
        {"/data/Out\\/", "/data/Out\\"}, {"/", "/"}};
    for (const auto &c : bare)
        EXPECT_EQ(WithoutTrailingSeparator(QString::fromUtf8(c.in)), QString::fromUtf8(c.out))
            << c.in;
    EXPECT_EQ(TrimAtNul(QString::fromUtf8("abc\0def", 7)), "abc");
    EXPECT_EQ(TrimAtNul("abc"), "abc");
    EXPECT_EQ(ShortPathOf("/a b/c"), "/a b/c");
}

TEST(PathHelpers, MakeTempFileNameCreatesUniqueFiles)
{
    QTemporaryDir dir;
    QString first, second;
    ASSERT_TRUE(MakeTempFileName(dir.path(), "tnv", first));
    ASSERT_TRUE(MakeTempFileName(dir.path(), "tnv", second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo(first).isFile());
    EXPECT_TRUE(QFileInfo(first).fileName().startsWith("tnv"));

    QString untouched = "keep";
    EXPECT_FALSE(MakeTempFileName(dir.filePath("missing"), "tnv", untouched));
    EXPECT_EQ(untouched, "keep");
}

TEST(PathHelpers, ClearFolderRemovesFilesThenFolder)
{
    QTemporaryDir dir;
    const QString work = dir.filePath("work");
    QDir().mkpath(work + "/sub");
    for (const char *name : {"a.wav", ".hidden", "ro.wma"}) {
        QFile f(work + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(work + "/ro.wma", QFile::ReadOwner);

    ClearFolder(work, false);
    EXPECT_EQ(QDir(work).entryList(QDir::Files | QDir::Hidden).size(), 0);
    EXPECT_TRUE(QFileInfo(work + "/sub").isDir()); // subfolders are not the program's

    QDir().rmdir(work + "/sub");
    ClearFolder(work + "/", true);
    EXPECT_FALSE(QFileInfo::exists(work));
    ClearFolder(work, true); // a missing folder is no error
}

TEST(PathHelpers, RemovingATemporaryLinkLeavesTheFileBehindItAlone)
{
    QTemporaryDir dir, elsewhere;
    const QString users = elsewhere.filePath("user's file.wav"), link = dir.filePath("~tmpw_0.wav");
    QFile(users).open(QIODevice::WriteOnly);
    QFile::setPermissions(users, QFile::ReadOwner);
    ASSERT_TRUE(QFile::link(users, link));
    RemoveTemporaryFile(link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(users));
    EXPECT_EQ(QFile::permissions(users) & QFile::WriteOwner, 0);

    // A link planted in the working folder goes the same way when the folder is emptied.
    ASSERT_TRUE(QFile::link(users, link));
    ClearFolder(dir.path(), false);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    ASSERT_TRUE(QFileInfo::exists(users));
    EXPECT_EQ(QFile::permissions(users) & QFile::WriteOwner, 0);
}
