// The file operations on real folders: nothing is replaced unasked, copies are whole, deleted
// files land in the freedesktop trash. Each test ends with what is on disk.
#include "tags/FileActions.h"
#include "ScopedEnv.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using FileActions::Result;
using Steps = std::initializer_list<std::tuple<const char *, const char *, bool, Result>>;

class FileActionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(root.path()).mkpath("music");
        QDir(root.path()).mkpath("other");
    }
    QString at(const QString &relative) const { return root.filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes)
    {
        QFile f(at(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString &relative) const
    {
        QFile f(at(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void rename(Steps steps)
    {
        for (const auto &[from, to, replace, result] : steps)
            EXPECT_EQ(FileActions::RenameThisFile(at(from), at(to), replace).result, result)
                << from << " -> " << to << (replace ? " replacing" : "");
    }
    // Every file below the root but the trash, with its content; "link" for a symbolic link.
    QStringList disk(const char *under = "") const
    {
        QStringList found;
        QDirIterator it(
            at(under), QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = QDir(root.path()).relativeFilePath(it.next());
            found << file + "=" + (QFileInfo(at(file)).isSymLink() ? "link" : read(file));
        }
        found.sort();
        return found;
    }
    QTemporaryDir root;
    // The trash of a file on the home volume is $XDG_DATA_HOME/Trash; this data folder is not
    // made yet, as in a fresh home.
    const ScopedEnv home {"HOME", QFile::encodeName(root.path())};
    const ScopedEnv data {"XDG_DATA_HOME", QFile::encodeName(root.path() + "/share")};
};

// Onto itself nothing is lost; a missing source or folder changes nothing; a dangling link holds
// its name as a file does; a change of case is a new name.
TEST_F(FileActionsTest, RenameNeverReplacesUnasked)
{
    write("music/a.mp3", "A");
    write("music/b.mp3", "B");
    rename({{"music/a.mp3", "music/b.mp3", false, Result::TargetExists}});
    QFile::link(at("nowhere"), at("other/link.mp3"));
    rename({{"music/a.mp3", "music/b.mp3", true, Result::Done},
        {"music/b.mp3", "other/B.mp3", false, Result::Done},
        {"music/b.mp3", "music/c.mp3", false, Result::SourceMissing},
        {"other/B.mp3", "other/B.mp3", false, Result::Done},
        {"other/B.mp3", "none/B.mp3", false, Result::Failed},
        {"other/B.mp3", "other/link.mp3", false, Result::TargetExists}});
    EXPECT_EQ(disk(), QStringList({"other/B.mp3=A", "other/link.mp3=link"}));
    EXPECT_FALSE(FileActions::RenameThisFile(at("other/B.mp3"), at("none/B.mp3")).error.isEmpty());
}

// rename(2) between two names of one file succeeds and does nothing: a hard link and a symbolic
// link hold the name as another file would, and with replace the old name goes. The same entry
// through a link to its folder is left alone.
TEST_F(FileActionsTest, RenameOntoAnotherNameOfTheSameFile)
{
    write("music/a.mp3", "A");
    ASSERT_EQ(
        ::link(QFile::encodeName(at("music/a.mp3")), QFile::encodeName(at("music/b.mp3"))), 0);
    EXPECT_FALSE(FileActions::SameEntry(at("music/a.mp3"), at("music/b.mp3")));
    rename({{"music/a.mp3", "music/b.mp3", false, Result::TargetExists},
        {"music/a.mp3", "music/b.mp3", true, Result::Done}});
    EXPECT_EQ(disk(), QStringList {"music/b.mp3=A"});
    QFile::link(at("music/b.mp3"), at("other/link.mp3"));
    rename({{"music/b.mp3", "other/link.mp3", false, Result::TargetExists},
        {"music/b.mp3", "other/link.mp3", true, Result::Done}});
    QFile::link(at("other"), at("alias"));
    EXPECT_TRUE(FileActions::SameEntry(at("other/link.mp3"), at("alias/link.mp3")));
    rename({{"other/link.mp3", "alias/link.mp3", true, Result::Done}});
    EXPECT_EQ(disk(), QStringList {"other/link.mp3=A"});
}

// Another file system: a whole copy with its time, then the original goes; back onto an
// existing file is refused.
TEST_F(FileActionsTest, MovingToAnotherFileSystemCopiesThenRemoves)
{
    const QByteArray mountPoint = QFile::encodeName(at("mounted"));
    QDir(root.path()).mkpath("mounted");
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=8m") != 0)
        GTEST_SKIP() << "no second file system to move to: " << std::strerror(errno);
    const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
    const QByteArray bytes(3 << 20, 'x'); // more than one buffer
    write("music/big.wav", bytes);
    const QDateTime stamp = QDateTime::currentDateTime().addDays(-3);
    QFile file(at("music/big.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(stamp, QFileDevice::FileModificationTime);
    file.close();
    rename({{"music/big.wav", "mounted/big.wav", false, Result::Done}});
    EXPECT_EQ(disk("music"), QStringList());
    EXPECT_EQ(read("mounted/big.wav"), bytes);
    EXPECT_EQ(QFileInfo(at("mounted/big.wav")).lastModified().toSecsSinceEpoch(),
        stamp.toSecsSinceEpoch());
    write("music/big.wav", "other");
    rename({{"mounted/big.wav", "music/big.wav", false, Result::TargetExists}});
    EXPECT_EQ(disk("music"), QStringList {"music/big.wav=other"});
    // A replace that fails for want of room leaves the file there whole, and nothing beside it.
    write("music/huge.wav", QByteArray(9 << 20, 'h'));
    rename({{"music/huge.wav", "mounted/big.wav", true, Result::Failed}});
    EXPECT_EQ(FileActions::CopyThisFile(at("music/huge.wav"), at("mounted/big.wav"), true).result,
        Result::Failed);
    EXPECT_EQ(read("mounted/big.wav"), bytes);
    EXPECT_EQ(disk("mounted").size(), 1);
}

// A copy takes the permissions along; onto itself nothing happens, from nowhere nothing is made,
// and no half-written file is left beside a copy that failed.
TEST_F(FileActionsTest, CopyIsWholeAndAsksBeforeReplacing)
{
    const auto copy = [this](const char *from, const char *to, bool replace) {
        return FileActions::CopyThisFile(at(from), at(to), replace).result;
    };
    write("music/a.mp3", "AAAA");
    QFile::setPermissions(
        at("music/a.mp3"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    write("other/a.mp3", "old");
    QDir(at("other")).mkdir("folder.mp3");
    QFile::link(at("nowhere"), at("other/dangling.mp3"));
    EXPECT_EQ(copy("music/a.mp3", "other/b.mp3", false), Result::Done);
    EXPECT_EQ(QFile::permissions(at("other/b.mp3")), QFile::permissions(at("music/a.mp3")));
    EXPECT_EQ(copy("music/a.mp3", "other/a.mp3", false), Result::TargetExists);
    EXPECT_EQ(copy("music/a.mp3", "other/a.mp3", true), Result::Done);
    EXPECT_EQ(copy("music/a.mp3", "music/a.mp3", true), Result::Done);
    EXPECT_EQ(copy("music/x.mp3", "other/x.mp3", false), Result::SourceMissing);
    EXPECT_EQ(copy("music/a.mp3", "other/folder.mp3", true), Result::Failed);
    EXPECT_EQ(copy("music/a.mp3", "other/dangling.mp3", false), Result::TargetExists);
    EXPECT_EQ(disk(),
        QStringList({"music/a.mp3=AAAA", "other/a.mp3=AAAA", "other/b.mp3=AAAA",
            "other/dangling.mp3=link"}));
}

// A fresh home gets its trash made in its data folder; nothing is set up beside the files or in
// the working folder.
TEST_F(FileActionsTest, DeletedFilesGoToTheTrash)
{
    write("music/gone.mp3", "G");
    write("music/also gone.wav", "W");
    const QString working = QDir::currentPath();
    QDir::setCurrent(at("music"));
    EXPECT_EQ(FileActions::RecycleFiles({at("music/gone.mp3"), at("music/also gone.wav")}), 0);
    QDir::setCurrent(working);
    EXPECT_EQ(QDir(at("music")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(disk("share/Trash/files"),
        QStringList({"share/Trash/files/also gone.wav=W", "share/Trash/files/gone.mp3=G"}));
    EXPECT_TRUE(read("share/Trash/info/gone.mp3.trashinfo")
                    .contains("Path=" + QUrl::toPercentEncoding(at("music/gone.mp3"), "/")));
    QString error;
    EXPECT_EQ(FileActions::RecycleFiles({at("music/never.mp3")}, &error), 1);
    EXPECT_FALSE(error.isEmpty());
}

TEST(FileActionsNames, TheRenameBoxMoveTitleAndSaveAs)
{
    EXPECT_EQ(FileActions::RenameBoxResult("  b.mp3 ", "a.mp3"), "b.mp3");
    EXPECT_EQ(FileActions::RenameBoxResult("a.mp3 ", "a.mp3"), "");
    EXPECT_EQ(FileActions::RenameBoxResult("A.mp3", "a.mp3"), "A.mp3");
    // typed; the path, folder and name of the target ("" for none)
    const std::tuple<QString, QString, QString, QString> cases[]
        = {{"b.mp3", "/m/b.mp3", "/m", "b.mp3"}, {"/x/y/b.mp3", "/x/y/b.mp3", "/x/y", "b.mp3"},
            {"sub/b.mp3", "/m/sub/b.mp3", "/m/sub", "b.mp3"}, // from the list's folder
            {"../b.mp3", "/b.mp3", "/", "b.mp3"}, {".", "", "", ""}, {"..", "", "", ""},
            {"sub/", "", "", ""}, {"sub/..", "", "", ""}};
    for (const auto &[typed, path, folder, name] : cases) {
        const FileActions::RenameTarget t = FileActions::RenameTargetOf(typed, "/m");
        EXPECT_EQ(t.valid ? QStringList({t.path, t.folder, t.name}) : QStringList({"", "", ""}),
            QStringList({path, folder, name}))
            << typed.toStdString();
    }
    EXPECT_EQ(FileActions::MoveDisplayName(QString(45, 'a')), QString(45, 'a'));
    EXPECT_EQ(FileActions::MoveDisplayName(QString(46, 'a')), QString(42, 'a') + " ..");
    const auto here
        = FileActions::SaveAsProposalFor("song.mp3", "MP3", "/m/", "/m", "All", "Copy of");
    EXPECT_EQ(QStringList({here.extension, here.filter, here.fileName}),
        QStringList({"mp3", "*.mp3|*.mp3|All (*.*)|*.*", "Copy of song"}));
    EXPECT_EQ(
        FileActions::SaveAsProposalFor("song.wav", "WAV", "/o", "/m", "A", "C").fileName, "song");
    const std::tuple<QString, int, QString> chosen[]
        = {{"/o/copy", 1, "/o/copy.mp3"}, {"/o/copy", 2, "/o/copy"}, // All Files
            {"/o/copy.x", 1, "/o/copy.x"}, {"/o/v1.2 copy", 1, "/o/v1.2 copy.mp3"},
            {QString("/o/c") + QChar(0) + "junk", 1, "/o/c.mp3"}, {"", 1, ""}};
    for (const auto &[name, filter, result] : chosen)
        EXPECT_EQ(FileActions::SaveAsChosenName(name, filter, "mp3"), result) << filter;
}
