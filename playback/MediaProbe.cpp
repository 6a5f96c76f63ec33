#include "MediaProbe.h"

#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

#include <mutex>

#include "FfmpegLibraries.h"

namespace {

QString avError(const FfmpegLibraries &av, int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av.av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// The first of the keys that is present. The ASF reader names the content description's
// author "artist" and its description "comment"; other containers may use either name.
QString tag(
    const FfmpegLibraries &av, const AVDictionary *dict, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        if (const AVDictionaryEntry *e = av.av_dict_get(dict, key, nullptr, 0))
            return QString::fromUtf8(e->value);
    }
    return {};
}

} // namespace

void MediaProbe::loadLibrariesInBackground()
{
    static std::once_flag started;
    std::call_once(
        started, [] { QThreadPool::globalInstance()->start([] { FfmpegLibraries::get(); }); });
}

void MediaProbe::clear()
{
    m_fileName.clear();
    m_duration = 0.0;
    m_title.clear();
    m_author.clear();
    m_copyright.clear();
    m_description.clear();
    m_albumTags = {};
    m_codec.clear();
    m_channels = 0;
    m_sampleRate = 0;
}

bool MediaProbe::setFileName(const QString &path)
{
    clear();
    m_error.clear();
    if (path.isEmpty())
        return true;
    if (!QFileInfo(path).isFile()) {
        m_error = QStringLiteral("%1: no such file").arg(path);
        return false;
    }

    const FfmpegLibraries *libraries = FfmpegLibraries::get();
    if (!libraries) {
        m_error = QStringLiteral("%1: FFmpeg: %2").arg(path, FfmpegLibraries::loadError());
        return false;
    }
    const FfmpegLibraries &av = *libraries;

    AVFormatContext *ctx = nullptr;
    // libavformat takes the path as a URL; the file: prefix keeps names with a colon or a
    // protocol-like start from being read as anything but a local file.
    const QByteArray url = "file:" + QFile::encodeName(QFileInfo(path).absoluteFilePath());
    int rc = av.avformat_open_input(&ctx, url.constData(), nullptr, nullptr);
    if (rc < 0) {
        m_error = QStringLiteral("%1: %2").arg(path, avError(av, rc));
        return false;
    }
    rc = av.avformat_find_stream_info(ctx, nullptr);
    const int audio = av.av_find_best_stream(ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (rc < 0 || audio < 0) {
        m_error = QStringLiteral("%1: %2").arg(
            path, rc < 0 ? avError(av, rc) : QStringLiteral("no audio"));
        av.avformat_close_input(&ctx);
        return false;
    }

    const AVStream *stream = ctx->streams[audio];
    if (ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0)
        m_duration = double(ctx->duration) / AV_TIME_BASE;
    else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        m_duration = double(stream->duration) * av_q2d(stream->time_base);
    m_codec = QString::fromUtf8(av.avcodec_get_name(stream->codecpar->codec_id));
    m_channels = stream->codecpar->ch_layout.nb_channels;
    m_sampleRate = stream->codecpar->sample_rate;

    // Container texts first; some formats keep them on the stream instead.
    const AVDictionary *dicts[] = {ctx->metadata, stream->metadata};
    for (const AVDictionary *d : dicts) {
        if (m_title.isEmpty())
            m_title = tag(av, d, {"title"});
        if (m_author.isEmpty())
            m_author = tag(av, d, {"artist", "author"});
        if (m_copyright.isEmpty())
            m_copyright = tag(av, d, {"copyright"});
        if (m_description.isEmpty())
            m_description = tag(av, d, {"comment", "description"});
        // FFmpeg's ASF reader gives the WM/ attributes their common names, all but the year.
        const struct
        {
            QString *field;
            std::initializer_list<const char *> keys;
        } albumFields[] = {
            {&m_albumTags.album, {"album"}},
            {&m_albumTags.track, {"track"}},
            {&m_albumTags.year, {"WM/Year", "date"}},
            {&m_albumTags.genre, {"genre"}},
            {&m_albumTags.albumArtist, {"album_artist"}},
            {&m_albumTags.composer, {"composer"}},
        };
        for (const auto &[field, keys] : albumFields) {
            if (field->isEmpty())
                *field = tag(av, d, keys);
        }
    }
    av.avformat_close_input(&ctx);
    m_fileName = path;
    return true;
}

QString MediaProbe::GetMediaInfoString(int type) const
{
    switch (type) {
    case Title:
        return m_title;
    case Author:
        return m_author;
    case Copyright:
        return m_copyright;
    case Description:
        return m_description;
    default:
        return {};
    }
}
