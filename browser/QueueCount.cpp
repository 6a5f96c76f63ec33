#include "browser/QueueCount.h"

namespace {

bool hasExtension(const QString &path, const char *extension)
{
    return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

} // namespace

QueueCounting CountQueue(const std::vector<QueueEntry> &entries, bool wmaTicked, bool wavTicked,
    const QString &currentPath)
{
    QueueCounting result;
    int marked = 0;
    for (const QueueEntry &entry : entries)
        marked += entry.marked ? 1 : 0;

    if (marked == 0) {
        // A current WMA alone may be encoded again, with another profile.
        if (((hasExtension(currentPath, ".WAV") || hasExtension(currentPath, ".WMA")
                 || hasExtension(currentPath, ".WMV"))
                && wmaTicked)
            || (hasExtension(currentPath, ".MP3") && (wmaTicked || wavTicked)))
            result.count = 1;
        return result;
    }
    if (!wmaTicked && !wavTicked)
        return result;
    for (const QueueEntry &entry : entries) {
        if (result.count >= marked)
            break;
        if (!entry.marked)
            continue;
        // The current file marked alone is a run on that one file, whatever its type.
        const bool wmaAlone = marked == 1 && entry.path == currentPath
            && (hasExtension(entry.path, ".WMA") || hasExtension(entry.path, ".WMV"));
        if ((hasExtension(entry.path, ".WAV") || wmaAlone) && wmaTicked) {
            result.enableWma = true;
            ++result.count;
        } else if (hasExtension(entry.path, ".MP3")) {
            result.enableWav = true;
            ++result.count;
        }
    }
    return result;
}

QString QueueLabel(const QString &caption, int count, int entries)
{
    return caption + QStringLiteral("   (") + QString::number(count) + QLatin1Char('/')
        + QString::number(entries) + QLatin1Char(')');
}
