#include "WavInfo.h"

#include <QFile>

namespace {
uint16_t le16(const QByteArray &b, int at)
{
    return static_cast<uint16_t>(
        static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}

uint32_t le32(const QByteArray &b, int at)
{
    return static_cast<uint32_t>(le16(b, at)) | (static_cast<uint32_t>(le16(b, at + 2)) << 16);
}
} // namespace

WavInfo WavInfo::fromHeader(const QByteArray &header)
{
    WavInfo info;
    // A file that ends inside the header is not a WAV file we can convert, whatever it starts with.
    if (header.size() < HeaderSize)
        return info;
    if (header.first(4) != "RIFF" || header.sliced(8, 4) != "WAVE")
        return info;
    info.signature = true;
    info.channels = le16(header, 22);
    info.sampleRate = le32(header, 24);
    info.bytesPerSecond = le32(header, 28);
    info.bitsPerSample = le16(header, 34);
    return info;
}

WavInfo WavInfo::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return WavInfo();
    return fromHeader(file.read(HeaderSize));
}
