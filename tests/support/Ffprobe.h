#pragma once
// What ffprobe reads in a file, as a player would: the container's fields ("duration", ...) and
// its tags under "tag:" + the lower-case tag name. Empty when the file is not readable media.

#include <QMap>
#include <QProcess>
#include <QString>

inline QMap<QString, QString> ffprobeFormat(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
        {"-v", "quiet", "-show_entries", "format=duration:format_tags", "-of",
            "default=noprint_wrappers=1", path});
    ffprobe.waitForFinished(30000);
    QMap<QString, QString> fields;
    for (const QString &line : QString::fromUtf8(ffprobe.readAllStandardOutput()).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            fields[line.left(eq).toLower()] = line.mid(eq + 1);
    }
    return fields;
}
