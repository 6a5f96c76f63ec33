#include "core/Volumes.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace Volumes {

namespace {

bool startsWithFolder(const QString &path, const QString &folder)
{
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// "/dev/sdb1" -> "sdb1"; the disk itself is tried first, then the name without its partition.
QStringList diskNamesOf(const QByteArray &device)
{
    QString name = QString::fromLocal8Bit(device);
    if (!name.startsWith(QLatin1String("/dev/")))
        return {};
    name = name.mid(5);
    QStringList names {name};
    QString disk = name;
    while (!disk.isEmpty() && disk.back().isDigit())
        disk.chop(1);
    // nvme0n1p1 and mmcblk0p1 name their partitions with a "p" after a digit.
    if (disk.size() >= 2 && disk.back() == QLatin1Char('p') && disk.at(disk.size() - 2).isDigit())
        disk.chop(1);
    if (disk != name && !disk.isEmpty())
        names.append(disk);
    return names;
}

} // namespace

QList<Volume> current()
{
    QList<Volume> volumes;
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &info : mounted) {
        Volume volume;
        volume.root = info.rootPath();
        volume.fsType = info.fileSystemType();
        volume.device = info.device();
        volume.label = info.name();
        volume.ready = info.isValid() && info.isReady() && QFileInfo(volume.root).isReadable();
        volumes.append(volume);
    }
    return volumes;
}

bool isUserVolume(const Volume &volume)
{
    static const char *const systemFolders[]
        = {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib", "/tmp"};
    const QString &root = volume.root;
    if (root.isEmpty())
        return false;
    if (root.startsWith(QLatin1String("/run/media/")))
        return true;
    for (const char *folder : systemFolders) {
        if (startsWithFolder(root, QLatin1String(folder)))
            return false;
    }
    static const char *const pseudo[] = {"tmpfs", "devtmpfs", "proc", "sysfs", "cgroup2", "overlay",
        "squashfs", "autofs", "fuse.portal"};
    for (const char *type : pseudo) {
        if (volume.fsType == type)
            return root == QLatin1String("/"); // a container's root is still the user's root
    }
    return true;
}

bool isCdRom(const Volume &volume)
{
    return volume.fsType == "iso9660" || volume.fsType == "udf"
        || volume.device.startsWith("/dev/sr");
}

bool isNetwork(const Volume &volume)
{
    static const char *const types[]
        = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs"};
    for (const char *type : types) {
        if (volume.fsType == type)
            return true;
    }
    return isNetworkPath(volume.root);
}

bool isNetworkPath(const QString &path)
{
    return path.startsWith(QLatin1String("//"));
}

bool isRemovable(const Volume &volume, const QString &sysBlock)
{
    for (const QString &disk : diskNamesOf(volume.device)) {
        QFile flag(sysBlock + QLatin1Char('/') + disk + QLatin1String("/removable"));
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
    }
    return false;
}

const Volume *volumeOf(const QString &path, const QList<Volume> &volumes)
{
    const Volume *best = nullptr;
    for (const Volume &volume : volumes) {
        if (!startsWithFolder(path, volume.root))
            continue;
        if (!best || volume.root.size() > best->root.size())
            best = &volume;
    }
    return best;
}

bool Testa_CDPronto(const QString &path, const QList<Volume> &volumes)
{
    if (isNetworkPath(path))
        return true;
    const Volume *volume = volumeOf(path, volumes);
    if (!volume)
        return false;
    return !(isCdRom(*volume) && !volume->ready);
}

bool Testa_CDRom(const QString &path, const QList<Volume> &volumes)
{
    const Volume *volume = volumeOf(path, volumes);
    return volume && isCdRom(*volume);
}

bool Testa_Rimovibile(const QString &path, const QList<Volume> &volumes, const QString &sysBlock)
{
    const Volume *volume = volumeOf(path, volumes);
    return volume && isRemovable(*volume, sysBlock);
}

} // namespace Volumes
