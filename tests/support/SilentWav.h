#pragma once
// A silent 16-bit PCM WAV file of any length, for tests that need real audio of a known
// duration without a committed fixture.

#include <QDataStream>
#include <QFile>
#include <QString>

inline bool writeSilentWav(const QString &path, double seconds, int rate = 44100, int channels = 2)
{
    const quint32 blockAlign = quint32(2 * channels), data = quint32(seconds * rate) * blockAlign;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + data);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(channels) << quint32(rate)
        << quint32(rate) * blockAlign << quint16(blockAlign) << quint16(16);
    out.writeRawData("data", 4);
    out << data;
    return out.status() == QDataStream::Ok && file.write(QByteArray(qsizetype(data), '\0')) == data;
}
