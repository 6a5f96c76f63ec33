#pragma once
// Volumes stand in for drives: the drive box lists mount points, a path's "drive" is the
// mount point that holds it, and CD-ROM, removable, network and not-ready are told from the
// file system type, the device and the mount point.

#include <QByteArray>
#include <QList>
#include <QString>

struct Volume
{
    QString root; // mount point, e.g. "/" or "/media/cdrom"
    QByteArray fsType; // e.g. "ext4", "iso9660", "nfs4"
    QByteArray device; // e.g. "/dev/sr0"
    QString label; // volume name; "" when it has none
    bool ready = true; // mounted and readable
};

namespace Volumes {

// Every mounted volume of this machine (the drive box shows those isUserVolume accepts).
QList<Volume> current();

// True for a mount point a user would browse (not /proc, /sys, /dev, /run, /boot ...).
bool isUserVolume(const Volume &volume);

bool isCdRom(const Volume &volume);
bool isNetwork(const Volume &volume);
// A path on a network share written as "//server/share"; "\\server" is a name like any other.
bool isNetworkPath(const QString &path);
// /sys/block/<disk>/removable is 1; sysBlock is "/sys/block" outside tests.
bool isRemovable(const Volume &volume, const QString &sysBlock = QStringLiteral("/sys/block"));

// The volume whose mount point holds path (the longest matching mount point); nullptr when none.
const Volume *volumeOf(const QString &path, const QList<Volume> &volumes);

// The drive check of the browser: true for network paths; false when no volume holds the path
// or when it is a CD-ROM that is not ready; true otherwise.
bool Testa_CDPronto(const QString &path, const QList<Volume> &volumes);
bool Testa_CDRom(const QString &path, const QList<Volume> &volumes);
bool Testa_Rimovibile(const QString &path, const QList<Volume> &volumes,
    const QString &sysBlock = QStringLiteral("/sys/block"));

} // namespace Volumes
