#include "FfmpegLibraries.h"

#include <QLibrary>

namespace {

struct Loaded
{
    FfmpegLibraries functions;
    QString error;
    bool ok = false;
};

template<typename Function>
bool resolve(QLibrary &library, const char *name, Function &function, QString &error)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function && error.isEmpty())
        error = QStringLiteral("%1: no %2").arg(library.fileName(), QLatin1String(name));
    return function != nullptr;
}

Loaded load()
{
    Loaded result;
    // Never unloaded: the probe may run at any time until the program ends.
    static QLibrary format(QStringLiteral("avformat"), LIBAVFORMAT_VERSION_MAJOR);
    static QLibrary codec(QStringLiteral("avcodec"), LIBAVCODEC_VERSION_MAJOR);
    static QLibrary util(QStringLiteral("avutil"), LIBAVUTIL_VERSION_MAJOR);
    for (QLibrary *library : {&util, &codec, &format}) {
        if (!library->load()) {
            result.error = library->errorString();
            return result;
        }
    }
    FfmpegLibraries &f = result.functions;
    QString &e = result.error;
    result.ok = resolve(format, "avformat_open_input", f.avformat_open_input, e)
        && resolve(format, "avformat_find_stream_info", f.avformat_find_stream_info, e)
        && resolve(format, "av_find_best_stream", f.av_find_best_stream, e)
        && resolve(format, "avformat_close_input", f.avformat_close_input, e)
        && resolve(format, "avformat_version", f.avformat_version, e)
        && resolve(codec, "avcodec_get_name", f.avcodec_get_name, e)
        && resolve(codec, "avcodec_version", f.avcodec_version, e)
        && resolve(util, "av_dict_get", f.av_dict_get, e)
        && resolve(util, "av_strerror", f.av_strerror, e)
        && resolve(util, "av_version_info", f.av_version_info, e);
    return result;
}

const Loaded &loaded()
{
    static const Loaded once = load();
    return once;
}

} // namespace

const FfmpegLibraries *FfmpegLibraries::get()
{
    return loaded().ok ? &loaded().functions : nullptr;
}

QString FfmpegLibraries::loadError()
{
    return loaded().error;
}
