#pragma once
// What mutagen reads: in an ASF file (tests/support/asf_attributes.py), attribute name to its
// values; in an MP3 (tests/support/id3_fields.py), the fields a player shows. Line breaks as <CR>
// and <LF>; pictures as "type MIME SHA-1".

#include "Ffprobe.h"

inline QMap<QString, QString> asfAttributes(const QString &path)
{
    return fieldsOf(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(TONVERA_SOURCE_DIR "/tests/support/asf_attributes.py"), path});
}

inline QMap<QString, QString> id3Fields(const QString &path)
{
    return fieldsOf(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(TONVERA_SOURCE_DIR "/tests/support/id3_fields.py"), path});
}
