#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>

// Writes a canonical 16-bit PCM WAV file under a temporary name beside the target and moves
// it to the target only in commit(), so no incomplete WAV ever carries the target's name.
// Not a QObject: one instance is used by one thread at a time.
class WavFileWriter
{
public:
    WavFileWriter() = default;
    ~WavFileWriter();
    WavFileWriter(const WavFileWriter &) = delete;
    WavFileWriter &operator=(const WavFileWriter &) = delete;

    bool open(const QString &target, int sampleRate, int channels);
    // Interleaved native-endian signed 16-bit samples.
    bool write(const int16_t *samples, size_t count);
    bool commit();
    // Discards the temporary file; harmless when nothing is open.
    void abort();

    bool isOpen() const { return m_file != nullptr; }
    uint64_t dataBytes() const { return m_dataBytes; }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &what);
    QByteArray header() const;

    QByteArray m_target;
    QByteArray m_temp;
    std::FILE *m_file = nullptr;
    int m_sampleRate = 0;
    int m_channels = 0;
    uint64_t m_dataBytes = 0;
    QString m_error;
};
