#pragma once
// The canonical 44-byte RIFF/WAVE header, as far as the information panel shows it.

#include <QByteArray>
#include <QString>
#include <cstdint>

class WavInfo
{
public:
    static constexpr int HeaderSize = 44;

    // Reads the first 44 bytes of a file; a missing, unreadable or short file has no signature.
    static WavInfo readFile(const QString &path);
    // Decodes a header block; fewer than 44 bytes count as no header at all.
    static WavInfo fromHeader(const QByteArray &header);

    // "RIFF" at 0 and "WAVE" at 8.
    bool hasSignature() const { return signature; }
    // Only 16-bit files are accepted for conversion.
    bool isValid() const { return signature && bitsPerSample == 16; }

    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t bytesPerSecond = 0;
    uint16_t bitsPerSample = 0;

private:
    bool signature = false;
};
