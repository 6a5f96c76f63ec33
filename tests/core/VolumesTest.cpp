#include "core/Volumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

const QList<Volume> volumes {{"/", "ext4", "/dev/nvme0n1p2", "", true},
    {"/home", "ext4", "/dev/nvme0n1p3", "home", true},
    {"/media/cdrom", "iso9660", "/dev/sr0", "DISC", false},
    {"/media/stick", "vfat", "/dev/sdb1", "STICK", true},
    {"/mnt/share", "cifs", "//server/music", "", true},
    {"/media/p", "vfat", "/dev/sdp1", "", true}}; // "p" is the disk's own letter here

// A path belongs to the longest mount point holding it; only a CD-ROM without a disc is not
// ready; the removable flag is the partition's disk's (sdb for sdb1, nvme0n1 for nvme0n1p3).
TEST(VolumesTest, TheVolumeOfAPathAndWhatItIs)
{
    QTemporaryDir sys;
    for (const auto &[disk, flag] :
        {std::pair {"sdb", "0\n"}, {"nvme0n1", "1\n"}, {"sdp", "1\n"}}) {
        QDir(sys.path()).mkpath(disk);
        QFile f(sys.filePath(QString(disk) + "/removable"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(flag);
    }
    // path, mount point, ready, CD-ROM, removable
    const std::tuple<const char *, const char *, bool, bool, bool> cases[]
        = {{"/home/u/x.mp3", "/home", true, false, true}, {"/homer/x", "/", true, false, true},
            {"/home", "/home", true, false, true},
            {"/media/cdrom/t", "/media/cdrom", false, true, false},
            {"/media/stick/a", "/media/stick", true, false, false},
            {"/mnt/share/a", "/mnt/share", true, false, false},
            {"/media/p/a", "/media/p", true, false, true},
            {"\\\\server\\x", "", false, false, false}, // a name in the current folder, not a share
            {"relative", "", false, false, false}};
    for (const auto &[path, root, ready, cdRom, removable] : cases) {
        const Volume *v = Volumes::volumeOf(path, volumes);
        EXPECT_EQ(v ? v->root : "", root) << path;
        EXPECT_EQ(Volumes::Testa_CDPronto(path, volumes), ready) << path;
        EXPECT_EQ(Volumes::Testa_CDRom(path, volumes), cdRom) << path;
        EXPECT_EQ(Volumes::Testa_Rimovibile(path, volumes, sys.path()), removable) << path;
    }
    EXPECT_TRUE(Volumes::Testa_CDPronto("//server/x", volumes)); // a share is always there
    EXPECT_TRUE(Volumes::isNetwork(volumes[4]));
    EXPECT_TRUE(Volumes::isCdRom({"/x", "ext4", "/dev/sr1", "", true}));
}

TEST(VolumesTest, TheDriveBoxLeavesOutSystemMounts)
{
    const std::pair<Volume, bool> cases[]
        = {{volumes[0], true}, {{"/run/media/u/STICK", "vfat", "/dev/sdc1", "", true}, true},
            {{"/run/user/1000", "tmpfs", "tmpfs", "", true}, false},
            {{"/proc", "proc", "proc", "", true}, false},
            {{"/dev/shm", "tmpfs", "tmpfs", "", true}, false},
            {{"/scratch", "tmpfs", "tmpfs", "", true}, false},
            {{"/", "overlay", "overlay", "", true}, true}}; // a container's root
    for (const auto &[volume, shown] : cases)
        EXPECT_EQ(Volumes::isUserVolume(volume), shown) << volume.root.toStdString();
}
