#include "browser/SizeText.h"

#include <QFileInfo>

namespace {

// Inserts "." before every group of three digits counted from the right.
QString groupThousands(const QString &digits)
{
    QString out = digits;
    for (qsizetype pos = out.size() - 3; pos > 0; pos -= 3)
        out.insert(pos, QLatin1Char('.'));
    return out;
}

} // namespace

QString SizeTextOfLength(qint64 length, const QString &bytesWord)
{
    if (length < 0)
        length = 0;
    // Hundredths of a kilobyte, truncated: length / 10.24 computed exactly in integers so that
    // 1024 bytes is exactly 1.00 K and not 0.99 through a binary rounding of 10.24.
    const qint64 hundredths = (length / 256) * 25 + ((length % 256) * 25) / 256;
    if (hundredths < 100)
        return QString::number(length) + QLatin1Char(' ') + bytesWord;
    qint64 kilobytes = hundredths / 100;
    if (hundredths % 100 != 0)
        ++kilobytes;
    return groupThousands(QString::number(kilobytes)) + QStringLiteral(" K");
}

QString SizeText(const QString &path, qint64 size, const QString &bytesWord)
{
    if (path.isEmpty()) {
        if (size == 0)
            return QString();
        return SizeTextOfLength(size, bytesWord);
    }
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return QString();
    return SizeTextOfLength(info.size(), bytesWord);
}
