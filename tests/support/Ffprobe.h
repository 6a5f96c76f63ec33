#pragma once
// Readers independent of ours, as a player would read a file: "name=value" lines of a program's
// output as a map.

#include <QMap>
#include <QProcess>
#include <QString>

inline QMap<QString, QString> fieldsOf(
    const QString &program, const QStringList &arguments, bool lowerCaseNames = false)
{
    QProcess reader;
    reader.start(program, arguments);
    reader.waitForFinished(30000);
    QMap<QString, QString> fields;
    for (const QString &line : QString::fromUtf8(reader.readAllStandardOutput()).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            fields[lowerCaseNames ? line.left(eq).toLower() : line.left(eq)] = line.mid(eq + 1);
    }
    return fields;
}

// ffprobe's container fields ("duration", ...) and tags under "tag:" + the lower-case tag name;
// empty when the file is not readable media.
inline QMap<QString, QString> ffprobeFormat(const QString &path)
{
    return fieldsOf(QStringLiteral("ffprobe"),
        {"-v", "quiet", "-show_entries", "format=duration:format_tags", "-of",
            "default=noprint_wrappers=1", path},
        true);
}
