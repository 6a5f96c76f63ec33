#pragma once
// What mutagen reads in an ASF file (tests/support/asf_attributes.py): attribute name to its
// values, joined by "|", line breaks as <CR> and <LF>; WM/Picture as "type MIME SHA-1".

#include <QMap>
#include <QProcess>
#include <QString>

inline QMap<QString, QString> asfAttributes(const QString &path)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(TONVERA_SOURCE_DIR "/tests/support/asf_attributes.py"), path});
    reader.waitForFinished(30000);
    QMap<QString, QString> attributes;
    for (const QString &line : QString::fromUtf8(reader.readAllStandardOutput()).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            attributes[line.left(eq)] = line.mid(eq + 1);
    }
    return attributes;
}
