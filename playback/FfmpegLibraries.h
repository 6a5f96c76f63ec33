#pragma once
// The FFmpeg functions the window uses (the media probe and the About box), loaded on first
// use. Linked directly, libavformat brings in a hundred codec libraries that cost every start
// about 60 ms, while a folder of MP3s never needs them.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

#include <QString>

struct FfmpegLibraries
{
    decltype(&::avformat_open_input) avformat_open_input = nullptr;
    decltype(&::avformat_find_stream_info) avformat_find_stream_info = nullptr;
    decltype(&::av_find_best_stream) av_find_best_stream = nullptr;
    decltype(&::avformat_close_input) avformat_close_input = nullptr;
    decltype(&::avformat_version) avformat_version = nullptr;
    decltype(&::avcodec_get_name) avcodec_get_name = nullptr;
    decltype(&::avcodec_version) avcodec_version = nullptr;
    decltype(&::av_dict_get) av_dict_get = nullptr;
    decltype(&::av_strerror) av_strerror = nullptr;
    decltype(&::av_version_info) av_version_info = nullptr;

    // The libraries of the major versions this program was built against, loaded by the
    // first call; null when one of them or one of the functions is missing (see loadError()).
    static const FfmpegLibraries *get();
    // Why get() returned null.
    static QString loadError();
};
