#include "AboutText.h"

#include <QCoreApplication>

#include "FfmpegLibraries.h"
#include <mpg123.h>

namespace {
QString ffVersion(unsigned v)
{
    return QStringLiteral("%1.%2.%3").arg(v >> 16).arg((v >> 8) & 0xff).arg(v & 0xff);
}
} // namespace

QString AboutText(const AboutWords &words)
{
    QString text = QStringLiteral("Tonvera %1\n").arg(QStringLiteral(TONVERA_VERSION));
    text += words.summary + QStringLiteral("\n\n");
    text += words.libraries + u'\n';
    text += QStringLiteral("  Qt %1\n").arg(QString::fromLatin1(qVersion()));
    // libmpg123 has no run-time version call; its interface level identifies the release line.
    text += QStringLiteral("  libmpg123 (%1 %2)\n").arg(words.interface).arg(MPG123_API_VERSION);
    if (const FfmpegLibraries *av = FfmpegLibraries::get()) {
        text += QStringLiteral("  FFmpeg %1 (libavformat %2, libavcodec %3)\n")
                    .arg(QString::fromLatin1(av->av_version_info()),
                        ffVersion(av->avformat_version()), ffVersion(av->avcodec_version()));
    } else {
        text += QStringLiteral("  FFmpeg: %1\n").arg(FfmpegLibraries::loadError());
    }
    text += QStringLiteral("  taglet %1\n").arg(QStringLiteral(TONVERA_VERSION));
    return text;
}
