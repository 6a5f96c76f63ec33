#include "core/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

// Only "/" separates folders: "\" is a character of a name on Linux, wherever it stands.
TEST(PathHelpers, FoldersNamesSeparatorsAndTypes)
{
    const std::tuple<const char *, const char *, const char *> split[] = {
        {"/home/u/a.mp3", "/home/u", "a.mp3"},
        {"/a.mp3", "/a.mp3", "a.mp3"}, // a separator at the start keeps the whole path
        {"plain.mp3", "unchanged", "plain.mp3"},
        {"/music/AC\\DC - x.mp3", "/music", "AC\\DC - x.mp3"},
        {"AC\\DC - x.mp3", "unchanged", "AC\\DC - x.mp3"},
        {"/a\\b/c\\d/e.mp3", "/a\\b/c\\d", "e.mp3"}, {"/music/ends in\\", "/music", "ends in\\"},
        {"\\\\server\\share", "unchanged", "\\\\server\\share"},
        {"//server/share", "//server", "share"}, {"/folder/", "/folder", ""}};
    for (const auto &[path, folder, name] : split) {
        QString result = QStringLiteral("unchanged");
        FolderOfPath(QString::fromUtf8(path), result);
        EXPECT_EQ(result, QString::fromUtf8(folder)) << path;
        EXPECT_EQ(FileNameOfPath(QString::fromUtf8(path)), QString::fromUtf8(name)) << path;
    }
    const auto trailing = [](const QString &path) {
        QString p = path;
        AddTrailingSeparator(p);
        return p;
    };
    // The extension of at most three characters is the type, WMV counted as WMA.
    const std::tuple<QString (*)(const QString &), const char *, const char *> unary[]
        = {{+trailing, "/home/u", "/home/u/"}, {+trailing, "/home/u/", "/home/u/"},
            {+trailing, "/", "/"}, {+trailing, "/AC\\", "/AC\\/"}, {+trailing, "/x  ", "/x/"},
            {+trailing, "", "/"}, {WithoutTrailingSeparator, "/data/Out//", "/data/Out"},
            {WithoutTrailingSeparator, "/data/Out\\", "/data/Out\\"},
            {WithoutTrailingSeparator, "/data/Out\\/", "/data/Out\\"},
            {WithoutTrailingSeparator, "/", "/"}, {FileTypeOf, "/m/a.mp3", "MP3"},
            {FileTypeOf, "a.Wav", "WAV"}, {FileTypeOf, "x.wmv", "WMA"}, {FileTypeOf, "b.ra", "RA"},
            {FileTypeOf, "a.flac", ""}, {FileTypeOf, "noext", ""}};
    for (const auto &[function, in, out] : unary)
        EXPECT_EQ(function(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    for (const auto &[folder, name, joined] : {std::tuple {"/", "a.mp3", "/a.mp3"},
             {"/music/", "a.mp3", "/music/a.mp3"}, {"/music", "//a.mp3", "/music/a.mp3"},
             {"", "a.mp3", "a.mp3"}, {"/AC\\", "DC.mp3", "/AC\\/DC.mp3"}})
        EXPECT_EQ(JoinPath(folder, name), joined) << folder << " " << name;
    EXPECT_EQ(TrimAtNul(QString::fromUtf8("abc\0def", 7)), "abc");
}

// Read-only and hidden files go, subfolders stay; a link goes by itself and the file behind it
// (someone else's) keeps its content and permissions.
TEST(PathHelpers, ClearFolderRemovesFilesAndLinksButNotWhatTheyPointAt)
{
    QTemporaryDir dir, elsewhere;
    const QString work = dir.filePath("work"), users = elsewhere.filePath("user's file.wav");
    QDir().mkpath(work + "/sub");
    for (const QString &name : {work + "/a.wav", work + "/.hidden", work + "/ro.wma", users})
        ASSERT_TRUE(QFile(name).open(QIODevice::WriteOnly));
    QFile::setPermissions(work + "/ro.wma", QFile::ReadOwner);
    QFile::setPermissions(users, QFile::ReadOwner);
    QString link = work + "/~tmpw_0.wav";
    ASSERT_TRUE(QFile::link(work + "/gone", link)); // dangling
    RemoveTemporaryFile(link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    ClearFolder(work, false);
    EXPECT_EQ(QDir(work).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 0);
    EXPECT_TRUE(QFileInfo(work + "/sub").isDir()); // subfolders are not the program's
    QDir().rmdir(work + "/sub");
    ASSERT_TRUE(QFile::link(users, link));
    ClearFolder(work + "/", true);
    EXPECT_FALSE(QFileInfo::exists(work));
    ASSERT_TRUE(QFileInfo::exists(users));
    EXPECT_EQ(QFile::permissions(users) & QFile::WriteOwner, 0);
    ClearFolder(work, true); // a missing folder is no error
    EXPECT_FALSE(MakeTempFileName(work, "~tmpw_", link)); // nor a temporary name in it
}
