#pragma once
// A silent 16-bit PCM WAV file of any length, written by the tests that need real audio of a
// known duration without a committed fixture.

#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray silentWav(double seconds, int rate = 44100, int channels = 2)
{
    const quint32 blockAlign = quint32(2 * channels);
    const quint32 data = quint32(seconds * rate) * blockAlign;
    QByteArray bytes("RIFF");
    auto le32 = [&bytes](quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(char((v >> (8 * i)) & 0xff));
    };
    auto le16 = [&bytes](quint32 v) {
        bytes.append(char(v & 0xff));
        bytes.append(char((v >> 8) & 0xff));
    };
    le32(36 + data);
    bytes.append("WAVEfmt ");
    le32(16);
    le16(1);
    le16(quint32(channels));
    le32(quint32(rate));
    le32(quint32(rate) * blockAlign);
    le16(blockAlign);
    le16(16);
    bytes.append("data");
    le32(data);
    return bytes + QByteArray(qsizetype(data), '\0');
}

inline bool writeSilentWav(const QString &path, double seconds, int rate = 44100, int channels = 2)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(silentWav(seconds, rate, channels)) == file.size() && file.size() > 0;
}
