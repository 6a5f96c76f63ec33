#include "tags/FileActions.h"

#include "core/PathHelpers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileActions {

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

Outcome failed(const QString &why)
{
    return {Result::Failed, why};
}

// Copies the bytes, permissions and modification time of from into a new file at to, written
// beside it first and put in place as a whole.
Outcome copyBytes(const QString &from, const QString &to, bool replace)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return failed(source.errorString());
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return failed(target.errorString());
    QByteArray buffer;
    while (!source.atEnd()) {
        buffer = source.read(1 << 20);
        if (buffer.isEmpty() && source.error() != QFileDevice::NoError)
            return failed(source.errorString());
        if (target.write(buffer) != buffer.size())
            return failed(target.errorString());
    }
    target.setPermissions(source.permissions());
    target.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
    // The last moment to find that another file took the name meanwhile.
    if (!replace && QFileInfo::exists(to)) {
        target.cancelWriting();
        return {Result::TargetExists, QString()};
    }
    if (!target.commit())
        return failed(target.errorString());
    return {};
}

// rename(2) that never replaces: -1 with errno EEXIST when the target's name is taken.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    const int status
        = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (status == 0 || (errno != EINVAL && errno != ENOSYS))
        return status;
    // A file system without the no-replace rename: look first.
    struct stat taken
    {
    };
    if (::lstat(to.constData(), &taken) == 0) {
        errno = EEXIST;
        return -1;
    }
    return std::rename(from.constData(), to.constData());
}

// Whether the path to is another name of the file at from, and which kind. rename(2) between
// two names of one file succeeds and does nothing, so each kind needs its own handling.
enum class Naming {
    Apart, // another file, or no file
    SameName, // the same entry: same folder, same name
    OtherSpelling, // the same entry under a spelling the file system takes for it (case)
    OtherLink, // another entry, here or in another folder, of the same file (a hard link)
};

Naming namingOf(const QString &from, const QString &to)
{
    // The last part is not followed: a symbolic link at to is a name of its own.
    struct stat a
    {
    };
    struct stat b
    {
    };
    if (::lstat(native(from).constData(), &a) != 0 || ::lstat(native(to).constData(), &b) != 0
        || a.st_dev != b.st_dev || a.st_ino != b.st_ino)
        return Naming::Apart;
    const QFileInfo source(from);
    const QFileInfo target(to);
    if (!SameFile(source.absolutePath(), target.absolutePath()))
        return Naming::OtherLink;
    if (source.fileName() == target.fileName())
        return Naming::SameName;
    const QStringList names
        = QDir(source.absolutePath())
              .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDir::NoSort);
    return names.contains(target.fileName()) ? Naming::OtherLink : Naming::OtherSpelling;
}

// The file system finds the file under either spelling, and a plain rename would keep the old
// one: the file takes a free name first, then the new one, and goes back if that fails.
Outcome respell(const QString &from, const QString &to)
{
    const QByteArray source = native(from);
    QByteArray middle;
    for (int attempt = 0;; ++attempt) {
        middle = native(JoinPath(QFileInfo(from).absolutePath(),
            QStringLiteral(".tonvera-rename-") + QString::number(attempt)));
        if (renameNoReplace(source, middle) == 0)
            break;
        if (errno != EEXIST || attempt == 99)
            return failed(systemError(errno));
    }
    if (renameNoReplace(middle, native(to)) != 0) {
        const int error = errno;
        std::rename(middle.constData(), source.constData());
        return failed(systemError(error));
    }
    const QFileInfo target(to);
    if (!QDir(target.absolutePath())
             .entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::NoSort)
             .contains(target.fileName()))
        return failed(QStringLiteral("the file system keeps names in its own spelling"));
    return {};
}

} // namespace

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool SameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    struct stat sa
    {
    };
    struct stat sb
    {
    };
    if (::stat(native(a).constData(), &sa) != 0 || ::stat(native(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool SameEntry(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const Naming naming = namingOf(a, b);
    return naming == Naming::SameName || naming == Naming::OtherSpelling;
}

Outcome RenameThisFile(const QString &from, const QString &to, bool replace)
{
    if (!FileExists(from))
        return {Result::SourceMissing, QString()};
    if (from == to)
        return {};
    switch (namingOf(from, to)) {
    case Naming::Apart:
        break;
    case Naming::SameName:
        return {};
    case Naming::OtherSpelling:
        return respell(from, to);
    case Naming::OtherLink:
        // The new name already leads to this very file: giving the file that name is taking
        // the old name away, once the user agreed that the entry there goes.
        if (!replace)
            return {Result::TargetExists, QString()};
        if (::unlink(native(from).constData()) != 0)
            return failed(systemError(errno));
        return {};
    }
    const QByteArray source = native(from);
    const QByteArray target = native(to);
    const int status = replace ? std::rename(source.constData(), target.constData())
                               : renameNoReplace(source, target);
    if (status == 0)
        return {};
    const int error = errno;
    if (error == EEXIST)
        return {Result::TargetExists, QString()};
    if (error != EXDEV)
        return failed(systemError(error));
    // Another file system: copy, then remove the original once the copy is complete.
    const Outcome copied = copyBytes(from, to, replace);
    if (!copied.ok())
        return copied;
    QFile original(from);
    if (!original.remove())
        return failed(original.errorString());
    return {};
}

Outcome CopyThisFile(const QString &from, const QString &to, bool replace)
{
    if (!FileExists(from))
        return {Result::SourceMissing, QString()};
    if (SameFile(from, to))
        return {};
    if (!replace && (QFileInfo::exists(to) || QFileInfo(to).isSymLink()))
        return {Result::TargetExists, QString()};
    if (QFileInfo(to).isDir())
        return failed(to + QStringLiteral(": is a folder"));
    return copyBytes(from, to, replace);
}

namespace {

// A place in a freedesktop trash: ".../Trash/files/NAME" or ".../.Trash-UID/files/NAME".
bool isInTrash(const QString &path)
{
    const QFileInfo files(QFileInfo(path).absolutePath());
    const QString trash = QFileInfo(files.absolutePath()).fileName();
    return files.fileName() == QLatin1String("files")
        && (trash == QLatin1String("Trash") || trash.startsWith(QLatin1String(".Trash")));
}

} // namespace

int RecycleFiles(const QStringList &paths, QString *error)
{
    // The home trash is made inside the user's data folder, which a fresh home may not have
    // yet; without it Qt would set "files" and "info" folders up in the working folder instead.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    int left = 0;
    for (const QString &path : paths) {
        QFile file(path);
        QString why;
        if (!file.moveToTrash()) {
            why = file.errorString();
        } else if (!isInTrash(file.fileName())) {
            // Put back what landed anywhere but in a trash.
            QFile::rename(file.fileName(), path);
            why = QStringLiteral("no trash for this folder");
        }
        if (!why.isEmpty()) {
            ++left;
            if (error)
                *error = why;
        }
    }
    return left;
}

QString RenameBoxResult(const QString &typed, const QString &shown)
{
    const QString name = typed.trimmed();
    return name == shown ? QString() : name;
}

RenameTarget RenameTargetOf(const QString &renameText, const QString &folder)
{
    RenameTarget target;
    // The last part typed must be a name: not empty (a trailing "/"), ".", or "..".
    const QString typedName = renameText.section(u'/', -1);
    if (typedName.isEmpty() || typedName == QLatin1String(".") || typedName == QLatin1String(".."))
        return target;
    if (renameText.contains(u'/')) {
        target.path = QDir::cleanPath(QDir(folder).absoluteFilePath(renameText));
        const QFileInfo info(target.path);
        target.folder = info.absolutePath();
        target.name = info.fileName();
    } else {
        target.folder = folder;
        target.name = renameText;
        target.path = JoinPath(folder, renameText);
    }
    target.valid = !target.name.isEmpty() && target.name != QLatin1String(".")
        && target.name != QLatin1String("..");
    return target;
}

QString MoveDisplayName(const QString &fileName)
{
    return fileName.size() > 45 ? fileName.left(42) + QStringLiteral(" ..") : fileName;
}

SaveAsProposal SaveAsProposalFor(const QString &currentFile, const QString &currentType,
    const QString &saveFolder, const QString &currentFolder, const QString &allFilesText,
    const QString &copyOfText)
{
    SaveAsProposal p;
    p.extension = currentType.toLower();
    p.baseName
        = currentFile.left(std::max<qsizetype>(0, currentFile.size() - currentType.size() - 1));
    const QString pattern = QStringLiteral("*.") + p.extension;
    p.filter = pattern + u'|' + pattern + u'|' + allFilesText + QStringLiteral(" (*.*)|*.*");
    const bool sameFolder
        = WithoutTrailingSeparator(saveFolder) == WithoutTrailingSeparator(currentFolder);
    p.fileName = sameFolder ? copyOfText + u' ' + p.baseName : p.baseName;
    return p;
}

QString SaveAsChosenName(const QString &chosen, int filterIndex, const QString &extension)
{
    QString name = TrimAtNul(chosen);
    if (name.isEmpty())
        return name;
    if (!name.right(4).contains(u'.') && filterIndex != 2)
        name += u'.' + extension;
    return name;
}

} // namespace FileActions
