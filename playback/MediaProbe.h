#pragma once

#include <QString>

// Measures an audio file without playing it: duration and the clip texts of its container
// (title, author, copyright, description). Synchronous; the file is read inside
// setFileName() and closed again before it returns, so the caller may rename or delete it.
class MediaProbe
{
public:
    // Clip information types, numbered as the media player's clip information texts.
    enum InfoType { Title = 8, Author = 9, Copyright = 10, Description = 12 };

    // Loads the FFmpeg libraries on a worker thread, once, when a probe will soon be needed
    // (a conversion run shows each output it finishes): the first probe then costs the window
    // no wait.
    static void loadLibrariesInBackground();

    // Loads the file's information. "" unloads. False (with errorString()) when the file
    // cannot be opened or read as media; the probe is then empty.
    bool setFileName(const QString &path);
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }

    // Length in seconds, 0 when unknown or nothing is loaded.
    double Duration() const { return m_duration; }
    // Text of clip information type 8, 9, 10 or 12 (UTF-8 decoded), "" for others or none.
    QString GetMediaInfoString(int type) const;

    // The attributes a WMA keeps beside its clip texts (WM/AlbumTitle, WM/TrackNumber, WM/Year,
    // WM/Genre, WM/AlbumArtist, WM/Composer), "" when absent.
    struct AlbumTags
    {
        QString album, track, year, genre, albumArtist, composer;
    };
    const AlbumTags &albumTags() const { return m_albumTags; }

    // Audio properties of the first audio stream, 0 / "" when unknown.
    QString codecName() const { return m_codec; }
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }

private:
    void clear();

    QString m_fileName;
    QString m_error;
    double m_duration = 0.0;
    QString m_title, m_author, m_copyright, m_description;
    AlbumTags m_albumTags;
    QString m_codec;
    int m_channels = 0;
    int m_sampleRate = 0;
};
