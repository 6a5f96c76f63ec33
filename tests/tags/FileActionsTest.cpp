// The file operations on real folders: nothing is replaced unasked, copies are whole, deleted
// files land in the freedesktop trash.
#include "tags/FileActions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using FileActions::Result;

namespace {

class FileActionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        // The trash of a file on the home volume is $XDG_DATA_HOME/Trash: both point here.
        for (const char *name : {"HOME", "XDG_DATA_HOME"}) {
            saved.append({name, qgetenv(name)});
            qputenv(name, QFile::encodeName(root.path()));
        }
        QDir(root.path()).mkpath("music");
        QDir(root.path()).mkpath("other");
    }
    void TearDown() override
    {
        for (const auto &[name, value] : saved)
            qputenv(name, value);
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

    QTemporaryDir root;
    QList<std::pair<const char *, QByteArray>> saved;
};

TEST_F(FileActionsTest, RenameNeverReplacesUnasked)
{
    write("music/a.mp3", "A");
    write("music/b.mp3", "B");

    const auto refused = FileActions::RenameThisFile(at("music/a.mp3"), at("music/b.mp3"));
    EXPECT_EQ(refused.result, Result::TargetExists);
    EXPECT_EQ(read("music/a.mp3"), "A");
    EXPECT_EQ(read("music/b.mp3"), "B");

    EXPECT_TRUE(FileActions::RenameThisFile(at("music/a.mp3"), at("music/b.mp3"), true).ok());
    EXPECT_FALSE(QFileInfo::exists(at("music/a.mp3")));
    EXPECT_EQ(read("music/b.mp3"), "A");
}

TEST_F(FileActionsTest, RenameCases)
{
    write("music/a.mp3", "A");
    // Into another folder, with a change of case counting as a new name.
    EXPECT_TRUE(FileActions::RenameThisFile(at("music/a.mp3"), at("other/A.mp3")).ok());
    EXPECT_EQ(read("other/A.mp3"), "A");
    // A missing source does nothing.
    EXPECT_EQ(FileActions::RenameThisFile(at("music/a.mp3"), at("music/c.mp3")).result,
        Result::SourceMissing);
    EXPECT_FALSE(QFileInfo::exists(at("music/c.mp3")));
    // Onto itself: nothing to do, nothing lost.
    EXPECT_TRUE(FileActions::RenameThisFile(at("other/A.mp3"), at("other/A.mp3")).ok());
    EXPECT_EQ(read("other/A.mp3"), "A");
    // Into a folder that is not there: the system's reason comes back.
    const auto failed = FileActions::RenameThisFile(at("other/A.mp3"), at("none/A.mp3"));
    EXPECT_EQ(failed.result, Result::Failed);
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_EQ(read("other/A.mp3"), "A");
    // A dangling link holds the name too.
    QFile::link(at("nowhere"), at("other/link.mp3"));
    EXPECT_EQ(FileActions::RenameThisFile(at("other/A.mp3"), at("other/link.mp3")).result,
        Result::TargetExists);
}

TEST_F(FileActionsTest, RenameOntoAnotherNameOfTheSameFile)
{
    write("music/a.mp3", "A");
    const auto hardLink = [this](const QString &from, const QString &to) {
        return ::link(
            QFile::encodeName(at(from)).constData(), QFile::encodeName(at(to)).constData());
    };
    // A hard link holds the name as another file would: asked about, and with replace the old
    // name goes (rename(2) alone would leave both and succeed).
    ASSERT_EQ(hardLink("music/a.mp3", "music/b.mp3"), 0);
    EXPECT_FALSE(FileActions::SameEntry(at("music/a.mp3"), at("music/b.mp3")));
    EXPECT_EQ(FileActions::RenameThisFile(at("music/a.mp3"), at("music/b.mp3")).result,
        Result::TargetExists);
    EXPECT_TRUE(QFileInfo::exists(at("music/a.mp3")));
    EXPECT_TRUE(FileActions::RenameThisFile(at("music/a.mp3"), at("music/b.mp3"), true).ok());
    EXPECT_FALSE(QFileInfo::exists(at("music/a.mp3")));
    EXPECT_EQ(read("music/b.mp3"), "A");
    // The same in another folder.
    ASSERT_EQ(hardLink("music/b.mp3", "other/b.mp3"), 0);
    EXPECT_EQ(FileActions::RenameThisFile(at("music/b.mp3"), at("other/b.mp3")).result,
        Result::TargetExists);
    EXPECT_TRUE(FileActions::RenameThisFile(at("music/b.mp3"), at("other/b.mp3"), true).ok());
    EXPECT_FALSE(QFileInfo::exists(at("music/b.mp3")));
    EXPECT_EQ(read("other/b.mp3"), "A");

    // A symbolic link to the file is a name of its own, replaced by the file only when asked.
    QFile::link(at("other/b.mp3"), at("other/link.mp3"));
    EXPECT_EQ(FileActions::RenameThisFile(at("other/b.mp3"), at("other/link.mp3")).result,
        Result::TargetExists);
    EXPECT_TRUE(QFileInfo(at("other/link.mp3")).isSymLink());
    EXPECT_TRUE(FileActions::RenameThisFile(at("other/b.mp3"), at("other/link.mp3"), true).ok());
    EXPECT_FALSE(QFileInfo(at("other/link.mp3")).isSymLink());
    EXPECT_EQ(read("other/link.mp3"), "A");
    EXPECT_FALSE(QFileInfo::exists(at("other/b.mp3")));

    // The same entry reached through a link to its folder: nothing to do, and nothing lost.
    QFile::link(at("other"), at("alias"));
    EXPECT_TRUE(FileActions::SameEntry(at("other/link.mp3"), at("alias/link.mp3")));
    EXPECT_TRUE(FileActions::RenameThisFile(at("other/link.mp3"), at("alias/link.mp3"), true).ok());
    EXPECT_EQ(read("other/link.mp3"), "A");
}

TEST_F(FileActionsTest, MovingToAnotherFileSystemCopiesThenRemoves)
{
    // A file system of its own inside the test's folder, as root may mount one.
    const QByteArray mountPoint = QFile::encodeName(at("mounted"));
    QDir(root.path()).mkpath("mounted");
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=8m") != 0)
        GTEST_SKIP() << "no second file system to move to: " << std::strerror(errno);
    const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
    struct stat a
    {
    };
    struct stat b
    {
    };
    ASSERT_EQ(::stat(mountPoint.constData(), &a), 0);
    ASSERT_EQ(::stat(QFile::encodeName(root.path()).constData(), &b), 0);
    ASSERT_NE(a.st_dev, b.st_dev);
    const QDir shm(at("mounted"));
    const QByteArray bytes(3 << 20, 'x'); // more than one buffer
    write("music/big.wav", bytes);
    const QDateTime stamp = QDateTime::currentDateTime().addDays(-3);
    QFile file(at("music/big.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(stamp, QFileDevice::FileModificationTime);
    file.close();

    const QString target = shm.filePath("big.wav");
    ASSERT_TRUE(FileActions::RenameThisFile(at("music/big.wav"), target).ok());
    EXPECT_FALSE(QFileInfo::exists(at("music/big.wav")));
    QFile moved(target);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), bytes);
    EXPECT_EQ(QFileInfo(target).lastModified().toSecsSinceEpoch(), stamp.toSecsSinceEpoch());

    // Back onto an existing file: refused, both kept.
    write("music/big.wav", "other");
    EXPECT_EQ(
        FileActions::RenameThisFile(target, at("music/big.wav")).result, Result::TargetExists);
    EXPECT_EQ(read("music/big.wav"), "other");
    EXPECT_TRUE(QFileInfo::exists(target));
}

TEST_F(FileActionsTest, CopyIsWholeAndAsksBeforeReplacing)
{
    write("music/a.mp3", "AAAA");
    QFile::setPermissions(
        at("music/a.mp3"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    write("other/a.mp3", "old");

    EXPECT_TRUE(FileActions::CopyThisFile(at("music/a.mp3"), at("other/b.mp3")).ok());
    EXPECT_EQ(read("other/b.mp3"), "AAAA");
    EXPECT_EQ(QFile::permissions(at("other/b.mp3")), QFile::permissions(at("music/a.mp3")));

    EXPECT_EQ(FileActions::CopyThisFile(at("music/a.mp3"), at("other/a.mp3")).result,
        Result::TargetExists);
    EXPECT_EQ(read("other/a.mp3"), "old");
    EXPECT_TRUE(FileActions::CopyThisFile(at("music/a.mp3"), at("other/a.mp3"), true).ok());
    EXPECT_EQ(read("other/a.mp3"), "AAAA");

    // Onto itself nothing happens; from nowhere nothing is made.
    EXPECT_TRUE(FileActions::CopyThisFile(at("music/a.mp3"), at("music/a.mp3"), true).ok());
    EXPECT_EQ(read("music/a.mp3"), "AAAA");
    EXPECT_EQ(FileActions::CopyThisFile(at("music/x.mp3"), at("other/x.mp3")).result,
        Result::SourceMissing);
    EXPECT_FALSE(QFileInfo::exists(at("other/x.mp3")));
    // No half-written file is left beside a copy that failed.
    QDir(at("other")).mkdir("folder.mp3");
    EXPECT_EQ(FileActions::CopyThisFile(at("music/a.mp3"), at("other/folder.mp3"), true).result,
        Result::Failed);
    EXPECT_EQ(QDir(at("other")).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(FileActionsTest, DeletedFilesGoToTheTrash)
{
    write("music/gone.mp3", "G");
    write("music/also gone.wav", "W");
    EXPECT_EQ(FileActions::RecycleFiles({at("music/gone.mp3"), at("music/also gone.wav")}), 0);
    EXPECT_FALSE(QFileInfo::exists(at("music/gone.mp3")));
    EXPECT_EQ(read("Trash/files/gone.mp3"), "G");
    EXPECT_EQ(read("Trash/files/also gone.wav"), "W");
    const QByteArray info = read("Trash/info/gone.mp3.trashinfo");
    EXPECT_TRUE(info.contains("Path=" + QUrl::toPercentEncoding(at("music/gone.mp3"), "/")))
        << info.toStdString();

    QString error;
    EXPECT_EQ(FileActions::RecycleFiles({at("music/never.mp3")}, &error), 1);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(FileActionsTest, AFreshHomeGetsItsTrashMade)
{
    // No data folder yet: it is made, and nothing is set up beside the files or in the working
    // folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(at("fresh/share")));
    const QString working = QDir::currentPath();
    QDir::setCurrent(at("music"));
    write("music/gone.mp3", "G");
    EXPECT_EQ(FileActions::RecycleFiles({at("music/gone.mp3")}), 0);
    QDir::setCurrent(working);
    EXPECT_EQ(read("fresh/share/Trash/files/gone.mp3"), "G");
    EXPECT_EQ(QDir(at("music")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST(FileActionsNames, TheRenameBox)
{
    EXPECT_EQ(FileActions::RenameBoxResult("  b.mp3 ", "a.mp3"), "b.mp3");
    EXPECT_EQ(FileActions::RenameBoxResult("a.mp3 ", "a.mp3"), "");
    EXPECT_EQ(FileActions::RenameBoxResult("A.mp3", "a.mp3"), "A.mp3");

    const struct
    {
        QString typed, path, folder, name;
        bool valid;
    } cases[] = {
        {"b.mp3", "/m/b.mp3", "/m", "b.mp3", true},
        {"/x/y/b.mp3", "/x/y/b.mp3", "/x/y", "b.mp3", true},
        {"sub/b.mp3", "/m/sub/b.mp3", "/m/sub", "b.mp3", true}, // from the list's folder
        {"../b.mp3", "/b.mp3", "/", "b.mp3", true},
        {".", "", "", "", false},
        {"..", "", "", "", false},
        {"sub/", "", "", "", false},
        {"sub/..", "", "", "", false},
    };
    for (const auto &c : cases) {
        const FileActions::RenameTarget t = FileActions::RenameTargetOf(c.typed, "/m");
        EXPECT_EQ(t.valid, c.valid) << c.typed.toStdString();
        if (c.valid) {
            EXPECT_EQ(t.path, c.path) << c.typed.toStdString();
            EXPECT_EQ(t.folder, c.folder) << c.typed.toStdString();
            EXPECT_EQ(t.name, c.name) << c.typed.toStdString();
        }
    }
}

TEST(FileActionsNames, MoveAndSaveAs)
{
    EXPECT_EQ(FileActions::MoveDisplayName(QString(45, 'a')), QString(45, 'a'));
    EXPECT_EQ(FileActions::MoveDisplayName(QString(46, 'a')), QString(42, 'a') + " ..");

    const auto here
        = FileActions::SaveAsProposalFor("song.mp3", "MP3", "/m/", "/m", "All Files", "Copy of");
    EXPECT_EQ(here.extension, "mp3");
    EXPECT_EQ(here.baseName, "song");
    EXPECT_EQ(here.filter, "*.mp3|*.mp3|All Files (*.*)|*.*");
    EXPECT_EQ(here.fileName, "Copy of song");
    EXPECT_EQ(FileActions::SaveAsProposalFor("song.wav", "WAV", "/other", "/m", "A", "C").fileName,
        "song");

    EXPECT_EQ(FileActions::SaveAsChosenName("/o/copy", 1, "mp3"), "/o/copy.mp3");
    EXPECT_EQ(FileActions::SaveAsChosenName("/o/copy", 2, "mp3"), "/o/copy"); // All Files
    EXPECT_EQ(FileActions::SaveAsChosenName("/o/copy.x", 1, "mp3"), "/o/copy.x");
    EXPECT_EQ(
        FileActions::SaveAsChosenName(QString("/o/c") + QChar(0) + "junk", 1, "mp3"), "/o/c.mp3");
    EXPECT_EQ(FileActions::SaveAsChosenName("", 1, "mp3"), "");
}

} // namespace
