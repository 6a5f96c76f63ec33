#include "core/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <unistd.h>

void FolderOfPath(const QString &path, QString &result)
{
    const qsizetype last = path.lastIndexOf(QLatin1Char('/'));
    if (last < 0)
        return;
    result = last == 0 ? path : path.left(last);
}

QString FileNameOfPath(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void AddTrailingSeparator(QString &path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.endsWith(QLatin1Char('/')))
        return;
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == QLatin1Char(' '))
        --end;
    path = path.left(end) + QLatin1Char('/');
}

QString ShortPathOf(const QString &path)
{
    return path;
}

QString TrimAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString WithoutTrailingSeparator(const QString &folder)
{
    QString f = folder;
    while (f.size() > 1 && f.endsWith(u'/'))
        f.chop(1);
    return f;
}

QString FileTypeOf(const QString &name)
{
    QString tail = name.right(4);
    const qsizetype dot = tail.lastIndexOf(QLatin1Char('.'));
    tail = dot >= 0 ? tail.mid(dot + 1).toUpper() : QString();
    return tail == QLatin1String("WMV") ? QStringLiteral("WMA") : tail;
}

QString JoinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    qsizetype start = 0;
    while (start < name.size() && name[start] == QLatin1Char('/'))
        ++start;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name.mid(start);
    return folder + QLatin1Char('/') + name.mid(start);
}

bool MakeTempFileName(const QString &folder, const QString &prefix, QString &name)
{
    QByteArray pattern = QFile::encodeName(JoinPath(folder, prefix + QStringLiteral("XXXXXX")));
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return false;
    ::close(fd);
    name = QFile::decodeName(pattern);
    return true;
}

void RemoveTemporaryFile(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || (!file.exists() && !file.isSymLink()))
        return;
    // A link goes by itself: the file behind it is someone else's and keeps its permissions.
    if (!file.isSymLink())
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path);
}

void ClearFolder(const QString &folder, bool removeFolder)
{
    QDir dir(folder);
    if (!dir.exists())
        return;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &file : files) {
        RemoveTemporaryFile(dir.filePath(file));
    }
    if (removeFolder)
        QDir().rmdir(dir.absolutePath());
}
