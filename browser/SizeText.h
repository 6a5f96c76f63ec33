#pragma once
// The size column of the file lists: bytes below one kilobyte, whole kilobytes (rounded up)
// with "." as thousands separator above, whatever the user's locale.

#include <QString>
#include <QtGlobal>

// Formats a length in bytes. bytesWord is the translated word for "bytes".
QString SizeTextOfLength(qint64 length, const QString &bytesWord);

// The size text of a file: the length of the file at path, or the given size when path is empty.
// "" when path names no existing file, or when path is empty and size is 0.
QString SizeText(const QString &path, qint64 size, const QString &bytesWord);
