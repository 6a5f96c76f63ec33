#pragma once
// What mutagen reads (tests/support/mutagen_fields.py): in an ASF file, attribute name to its
// values; in an MP3, the fields a player shows.

#include "Ffprobe.h"

inline QMap<QString, QString> mutagenFields(const char *kind, const QString &path)
{
    return fieldsOf(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(TONVERA_SOURCE_DIR "/tests/support/mutagen_fields.py"), kind, path});
}
inline QMap<QString, QString> asfAttributes(const QString &path)
{
    return mutagenFields("asf", path);
}
inline QMap<QString, QString> id3Fields(const QString &path)
{
    return mutagenFields("id3", path);
}
