#include "core/WorkFiles.h"

#include "core/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(WorkFiles, WorkFolderIsPrivateAndEmptied)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    const QString work = WorkFolderPath();
    qputenv("XDG_RUNTIME_DIR", saved);
    EXPECT_EQ(work, dir.path() + "/Tnvm");

    ASSERT_TRUE(PrepareWorkFolder(work));
    struct stat st
    {
    };
    ASSERT_EQ(stat(QFile::encodeName(work).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    QFile left(work + "/~tmpw_0.wav");
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    ASSERT_TRUE(PrepareWorkFolder(work));
    EXPECT_FALSE(left.exists());

    // A link planted under the name is not taken as our folder.
    const QString linked = dir.path() + "/Linked";
    QFile::link(dir.path(), linked);
    EXPECT_FALSE(PrepareWorkFolder(linked));
}

TEST(WorkFiles, PlantedWorkFolderNameIsNotEmptied)
{
    QTemporaryDir dir;
    const QString victim = dir.path() + "/music";
    QDir().mkpath(victim);
    QFile song(victim + "/song.mp3");
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.close();
    ASSERT_TRUE(QFile::link(victim, dir.path() + "/Tnvm"));

    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    const QString work = OpenWorkFolder();
    qputenv("XDG_RUNTIME_DIR", saved);

    ASSERT_FALSE(work.isEmpty());
    EXPECT_NE(work, dir.path() + "/Tnvm");
    EXPECT_TRUE(QFileInfo(work).isDir() && !QFileInfo(work).isSymLink());
    EXPECT_EQ(QFileInfo(work).permissions() & 0x0077, 0); // no group or other bits
    ClearFolder(work, true); // as the shutdown does
    EXPECT_FALSE(QFileInfo::exists(work));
    EXPECT_TRUE(song.exists());
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

    const QString batch = folder + "/tmpbat.sh";
    const QString config = folder + "/tmpconf.weu";
    ASSERT_TRUE(WriteBatchFile(batch, encoder, config));
    QFile script(batch);
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = script.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3); // two lines, each ended by a line feed
    EXPECT_TRUE(lines[0].startsWith('#') && lines[0].contains("WM8EUTIL"));
    EXPECT_TRUE(lines[1].startsWith("exec "));

    // The shell must hand the encoder exactly two arguments, blanks and quotes intact.
    QProcess sh;
    sh.start("/bin/sh", {batch});
    ASSERT_TRUE(sh.waitForFinished(5000));
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

    // Root writes anywhere, so there a folder that does not exist stands for a read-only one.
    const bool root = geteuid() == 0;
    const QString unusable = root ? dir.path() + "/not-there" : app;
    if (!root)
        QFile::setPermissions(app, QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.path() + "/state"));
    const QString data = ProgramDataFolder(unusable);
    qputenv("XDG_STATE_HOME", saved);
    QFile::setPermissions(app, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(data, dir.path() + "/state/Tonvera/");
    EXPECT_TRUE(QFileInfo(data).isDir());
}
