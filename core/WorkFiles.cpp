#include "core/WorkFiles.h"

#include "core/PathHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

QString WorkFolderPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return JoinPath(runtime, QStringLiteral("Tnvm"));
    return JoinPath(QDir::tempPath(), QStringLiteral("Tnvm-") + QString::number(getuid()));
}

bool PrepareWorkFolder(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    struct stat st
    {
    };
    if (lstat(native.constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode) || st.st_uid != getuid())
            return false;
        chmod(native.constData(), 0700);
        ClearFolder(folder, false);
        return true;
    }
    QString parent = folder;
    FolderOfPath(folder, parent);
    QDir().mkpath(parent);
    return mkdir(native.constData(), 0700) == 0;
}

QString OpenWorkFolder()
{
    const QString folder = WorkFolderPath();
    if (PrepareWorkFolder(folder))
        return folder;
    QByteArray pattern = QFile::encodeName(
        JoinPath(QDir::tempPath(), QStringLiteral("Tnvm-%1-XXXXXX").arg(getuid())));
    if (!mkdtemp(pattern.data()))
        return {};
    return QFile::decodeName(pattern);
}

QString ProgramDataFolder(const QString &appFolder)
{
    QString folder = appFolder;
    AddTrailingSeparator(folder);
    const QFileInfo info(folder);
    if (info.isDir() && info.isWritable())
        return folder;
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    folder = JoinPath(state, QStringLiteral("Tonvera/"));
    QDir().mkpath(folder);
    return folder;
}

QString ShellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QByteArray BatchScriptText(const QString &encoderPath, const QString &configPath)
{
    const QString text = QStringLiteral("# WM8EUTIL\nexec ") + ShellQuote(encoderPath)
        + QStringLiteral(" -config ") + ShellQuote(configPath) + QLatin1Char('\n');
    return text.toUtf8();
}

bool WriteBatchFile(const QString &batchPath, const QString &encoderPath, const QString &configPath)
{
    QFile::remove(batchPath);
    QSaveFile file(batchPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(BatchScriptText(encoderPath, configPath));
    return file.commit();
}

QString ConversionTemporaryName(int slot)
{
    return QStringLiteral("~tmpw_") + QString::number(slot);
}

bool IsConversionTemporary(const QString &fileName)
{
    return fileName.startsWith(QLatin1String("~tmpw_"));
}

QString SlotFilePath(const QString &path, int slot)
{
    if (slot == 0)
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype at = dot > slash ? dot : path.size();
    return path.left(at) + u'_' + QString::number(slot) + path.mid(at);
}

int FilesAtOnceOf(int setting)
{
    if (setting > 0)
        return setting;
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}
