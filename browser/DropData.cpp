#include "browser/DropData.h"

#include "core/Volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace DropData {

namespace {

QString pathOfText(const QString &text)
{
    // A file manager may send several lines; the first one names the first file.
    QString line = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (line.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        // "file:///..." is a URL (percent-encoded); "FILE:/..." is a plain path behind a prefix.
        if (line.mid(5).startsWith(QLatin1String("//"))) {
            const QUrl url(line);
            return url.isLocalFile() ? url.toLocalFile() : QString();
        }
        line = line.mid(5).trimmed();
    }
    return line;
}

} // namespace

QString pathOf(const QMimeData &data)
{
    if (data.hasUrls()) {
        const QList<QUrl> urls = data.urls();
        for (const QUrl &url : urls) {
            if (url.isLocalFile())
                return url.toLocalFile();
        }
    }
    if (data.hasText())
        return pathOfText(data.text());
    return QString();
}

bool canTake(const QMimeData &data)
{
    return !pathOf(data).isEmpty();
}

Action actionFor(const QString &path, const QString &currentFolder)
{
    if (path.isEmpty())
        return Action::Nothing;
    const QFileInfo info(path);
    if (info.isFile()) {
        const QString folder = info.absolutePath();
        return QDir::cleanPath(folder) == QDir::cleanPath(currentFolder) ? Action::CurrentFileOnly
                                                                         : Action::OpenFileFolder;
    }
    if (info.isDir() || Volumes::isNetworkPath(path))
        return Action::OpenFolder;
    return Action::Nothing;
}

} // namespace DropData
