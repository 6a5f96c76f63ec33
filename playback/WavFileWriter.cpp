#include "WavFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// The RIFF sizes are 32-bit; a longer decode cannot be described by the header.
constexpr uint64_t MaxDataBytes = 0xFFFFFFFFull - 36;

void putLe(QByteArray &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

} // namespace

WavFileWriter::~WavFileWriter()
{
    abort();
}

bool WavFileWriter::fail(const QString &what)
{
    m_error = what;
    abort();
    return false;
}

bool WavFileWriter::open(const QString &target, int sampleRate, int channels)
{
    abort();
    m_error.clear();
    m_dataBytes = 0;
    m_sampleRate = sampleRate;
    m_channels = channels;
    if (sampleRate <= 0 || channels < 1 || channels > 2) {
        m_error = QStringLiteral("unsupported audio format");
        return false;
    }
    m_target = QFile::encodeName(target);
    // O_EXCL with a random suffix: never reuses or follows someone else's file, and the
    // mode honours the user's umask like any other file the user creates.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate
            = m_target + ".part-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            m_error = QStringLiteral("cannot create %1: %2")
                          .arg(QFileInfo(target).absoluteFilePath(),
                              QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        m_temp = candidate;
        m_file = ::fdopen(fd, "wb");
        if (!m_file) {
            ::close(fd);
            return fail(QStringLiteral("cannot open the output file"));
        }
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 18);
        const QByteArray placeholder = header();
        if (std::fwrite(placeholder.constData(), 1, placeholder.size(), m_file)
            != size_t(placeholder.size()))
            return fail(QStringLiteral("cannot write the output file"));
        return true;
    }
    m_error = QStringLiteral("cannot create a temporary file beside %1").arg(target);
    return false;
}

bool WavFileWriter::write(const int16_t *samples, size_t count)
{
    if (!m_file)
        return false;
    const uint64_t bytes = uint64_t(count) * 2;
    if (m_dataBytes + bytes > MaxDataBytes)
        return fail(QStringLiteral("the decoded audio is too long for a WAV file"));
    size_t written = 0;
    if constexpr (std::endian::native == std::endian::little) {
        written = std::fwrite(samples, 2, count, m_file);
    } else {
        std::vector<int16_t> swapped(samples, samples + count);
        for (int16_t &s : swapped)
            s = int16_t(uint16_t(uint16_t(s) << 8 | uint16_t(s) >> 8));
        written = std::fwrite(swapped.data(), 2, count, m_file);
    }
    if (written != count)
        return fail(QStringLiteral("cannot write the output file: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno))));
    m_dataBytes += bytes;
    return true;
}

QByteArray WavFileWriter::header() const
{
    QByteArray h;
    h.reserve(44);
    const uint32_t blockAlign = uint32_t(m_channels) * 2;
    h.append("RIFF");
    putLe(h, uint32_t(36 + m_dataBytes), 4);
    h.append("WAVEfmt ");
    putLe(h, 16, 4);
    putLe(h, 1, 2); // PCM
    putLe(h, uint32_t(m_channels), 2);
    putLe(h, uint32_t(m_sampleRate), 4);
    putLe(h, uint32_t(m_sampleRate) * blockAlign, 4);
    putLe(h, blockAlign, 2);
    putLe(h, 16, 2);
    h.append("data");
    putLe(h, uint32_t(m_dataBytes), 4);
    return h;
}

bool WavFileWriter::commit()
{
    if (!m_file)
        return false;
    const QByteArray h = header();
    if (std::fflush(m_file) != 0 || std::fseek(m_file, 0, SEEK_SET) != 0
        || std::fwrite(h.constData(), 1, h.size(), m_file) != size_t(h.size())
        || std::fflush(m_file) != 0)
        return fail(QStringLiteral("cannot write the output file: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno))));
    // The data must be on disk before the rename makes the file visible as complete.
    ::fdatasync(::fileno(m_file));
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (closed != 0)
        return fail(QStringLiteral("cannot close the output file"));
    if (::rename(m_temp.constData(), m_target.constData()) != 0)
        return fail(QStringLiteral("cannot move the output into place: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno))));
    m_temp.clear();
    return true;
}

void WavFileWriter::abort()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temp.isEmpty()) {
        ::unlink(m_temp.constData());
        m_temp.clear();
    }
}
