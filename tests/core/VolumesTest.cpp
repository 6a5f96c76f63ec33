#include "core/Volumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QList<Volume> volumes {
    {"/", "ext4", "/dev/nvme0n1p2", "", true},
    {"/home", "ext4", "/dev/nvme0n1p3", "home", true},
    {"/media/cdrom", "iso9660", "/dev/sr0", "DISC", false},
    {"/media/stick", "vfat", "/dev/sdb1", "STICK", true},
    {"/mnt/share", "cifs", "//server/music", "", true},
};

TEST(VolumesTest, APathBelongsToTheLongestMountPointHoldingIt)
{
    struct Case
    {
        const char *path;
        const char *root;
    } cases[] = {{"/home/u/x.mp3", "/home"}, {"/homer/x", "/"}, {"/home", "/home"},
        {"/media/cdrom/track", "/media/cdrom"}, {"/etc", "/"}};
    for (const Case &c : cases) {
        const Volume *v = Volumes::volumeOf(QString::fromLatin1(c.path), volumes);
        ASSERT_NE(v, nullptr) << c.path;
        EXPECT_EQ(v->root, QString::fromLatin1(c.root)) << c.path;
    }
    EXPECT_EQ(Volumes::volumeOf(QStringLiteral("relative"), volumes), nullptr);
}

TEST(VolumesTest, OnlyACdRomWithoutDiscIsNotReady)
{
    EXPECT_FALSE(Volumes::Testa_CDPronto(QStringLiteral("/media/cdrom/a"), volumes));
    EXPECT_TRUE(Volumes::Testa_CDPronto(QStringLiteral("/home/u"), volumes));
    EXPECT_TRUE(Volumes::Testa_CDPronto(QStringLiteral("//server/x"), volumes));
    // Not a share: a name in the current folder, which no volume holds.
    EXPECT_FALSE(Volumes::Testa_CDPronto(QStringLiteral("\\\\server\\x"), volumes));
    EXPECT_FALSE(Volumes::Testa_CDPronto(QStringLiteral("nowhere"), volumes));
    EXPECT_TRUE(Volumes::Testa_CDRom(QStringLiteral("/media/cdrom"), volumes));
    EXPECT_FALSE(Volumes::Testa_CDRom(QStringLiteral("/media/stick"), volumes));
    EXPECT_TRUE(Volumes::isNetwork(volumes[4]));
    EXPECT_TRUE(Volumes::isCdRom({"/x", "ext4", "/dev/sr1", "", true}));
}

TEST(VolumesTest, RemovableComesFromTheDisksSysfsFlag)
{
    QTemporaryDir sys;
    auto flag = [&sys](const char *disk, const char *value) {
        QDir(sys.path()).mkpath(QString::fromLatin1(disk));
        QFile f(sys.filePath(QString::fromLatin1(disk) + QStringLiteral("/removable")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(value);
    };
    flag("sdb", "1\n");
    flag("nvme0n1", "0\n");
    EXPECT_TRUE(Volumes::Testa_Rimovibile(QStringLiteral("/media/stick/a"), volumes, sys.path()));
    EXPECT_FALSE(Volumes::Testa_Rimovibile(QStringLiteral("/home/u"), volumes, sys.path()));
    EXPECT_FALSE(Volumes::Testa_Rimovibile(QStringLiteral("/mnt/share"), volumes, sys.path()));
}

TEST(VolumesTest, TheDriveBoxLeavesOutSystemMounts)
{
    EXPECT_TRUE(Volumes::isUserVolume(volumes[0]));
    EXPECT_TRUE(Volumes::isUserVolume({"/run/media/u/STICK", "vfat", "/dev/sdc1", "", true}));
    EXPECT_FALSE(Volumes::isUserVolume({"/run/user/1000", "tmpfs", "tmpfs", "", true}));
    EXPECT_FALSE(Volumes::isUserVolume({"/proc", "proc", "proc", "", true}));
    EXPECT_FALSE(Volumes::isUserVolume({"/dev/shm", "tmpfs", "tmpfs", "", true}));
    EXPECT_FALSE(Volumes::isUserVolume({"/scratch", "tmpfs", "tmpfs", "", true}));
}

} // namespace
