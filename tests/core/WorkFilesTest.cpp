#include "core/WorkFiles.h"
#include "ScopedEnv.h"

#include "core/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

// The folder is private and emptied; a link planted under its name (to the user's music, say)
// is never taken for it nor emptied: a private folder of its own takes its place.
TEST(WorkFiles, WorkFolderIsPrivateEmptiedAndNeverAPlantedLink)
{
    QTemporaryDir dir;
    const ScopedEnv xdg("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    const QString work = OpenWorkFolder();
    EXPECT_EQ(work, dir.path() + "/Tnvm");
    EXPECT_EQ(QFileInfo(work).permissions() & 0x0077, 0); // no group or other bits
    const QString left = work + "/~tmpw_0.wav";
    ASSERT_TRUE(QFile(left).open(QIODevice::WriteOnly));
    chmod(QFile::encodeName(work).constData(), 0755); // as an older version or a user left it
    ASSERT_TRUE(PrepareWorkFolder(work));
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_EQ(QFileInfo(work).permissions() & 0x0077, 0);
    ASSERT_TRUE(QDir().rmdir(work) && QDir().mkpath(dir.path() + "/music"));
    const QString song = dir.path() + "/music/song.mp3";
    ASSERT_TRUE(QFile(song).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(dir.path() + "/music", work));
    EXPECT_FALSE(PrepareWorkFolder(work));
    const QString other = OpenWorkFolder();
    ASSERT_FALSE(other.isEmpty());
    EXPECT_NE(other, work);
    EXPECT_TRUE(QFileInfo(other).isDir() && !QFileInfo(other).isSymLink());
    EXPECT_EQ(QFileInfo(other).permissions() & 0x0077, 0);
    ClearFolder(other, true); // as the shutdown does
    EXPECT_FALSE(QFileInfo::exists(other));
    EXPECT_TRUE(QFile::exists(song));
    const ScopedEnv relative("XDG_RUNTIME_DIR", "run"); // not absolute: not used
    EXPECT_EQ(WorkFolderPath(), QDir::tempPath() + "/Tnvm-" + QString::number(getuid()));
}

TEST(WorkFiles, BatchScriptRunsEncoderWithQuotedPaths)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/it's here";
    QDir().mkpath(folder);
    const QString encoder = folder + "/fake enc";
    QFile enc(encoder);
    ASSERT_TRUE(enc.open(QIODevice::WriteOnly));
    enc.write("#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/args\"\n");
    enc.close();
    enc.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString batch = folder + "/tmpbat.sh", config = folder + "/tmpconf.weu";
    ASSERT_TRUE(WriteBatchFile(batch, encoder, config));
    QFile script(batch);
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_TRUE(script.readAll().contains("\nexec ")); // so that a stop reaches the encoder
    // The shell must hand the encoder exactly two arguments, blanks and quotes intact.
    QProcess sh;
    sh.start("/bin/sh", {batch});
    ASSERT_TRUE(sh.waitForFinished(30000));
    QFile args(folder + "/args");
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()), "-config|" + config + "|");
}

TEST(WorkFiles, DataFolderFallsBackToStateHome)
{
    QTemporaryDir dir;
    const QString app = dir.path() + "/bin";
    QDir().mkpath(app);
    EXPECT_EQ(ProgramDataFolder(app), app + "/");
    // Root writes anywhere but on a file system mounted read-only; where none can be mounted, a
    // folder that does not exist stands for a read-only one.
    const bool root = geteuid() == 0;
    const bool readOnly = root
        ? QProcess::execute("mount", {"-t", "tmpfs", "-o", "ro,size=4k", "tmpfs", app}) == 0
        : QFile::setPermissions(app, QFile::ReadOwner | QFile::ExeOwner);
    const ScopedEnv xdg("XDG_STATE_HOME", QFile::encodeName(dir.path() + "/state"));
    const QString data = ProgramDataFolder(readOnly ? app : dir.path() + "/not-there");
    if (root && readOnly)
        QProcess::execute("umount", {app});
    QFile::setPermissions(app, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(data, dir.path() + "/state/Tonvera/");
    EXPECT_TRUE(QFileInfo(data).isDir());
}

// Each file in flight has work files of its own, named after the designed ones; the first keeps
// the designed name, which clean-up at start-up and shutdown looks for.
TEST(WorkFiles, SlotNamesAndFilesAtOnce)
{
    for (const auto &[path, slot, expected] : {std::tuple {"/w/tmpconf.weu", 0, "/w/tmpconf.weu"},
             {"/w/tmpconf.weu", 2, "/w/tmpconf_2.weu"}, {"/w.d/tmpbat", 1, "/w.d/tmpbat_1"}})
        EXPECT_EQ(SlotFilePath(path, slot), expected) << path << " " << slot;
    EXPECT_EQ(FilesAtOnceOf(3), 3);
    for (const int automatic : {0, -1}) // one per core, at least one and at most eight
        EXPECT_TRUE(FilesAtOnceOf(automatic) >= 1 && FilesAtOnceOf(automatic) <= 8) << automatic;
}
