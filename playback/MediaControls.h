#pragma once
// The media objects of the main window that hold or read files: the tag reader TagletPro1, the
// invisible probe MediaPlayer2 and the MP3 section decoder Mp3Play1. One owner for them, so
// that a file can be released from all of them before it is renamed, deleted, moved, converted
// or its folder is left.

#include <QObject>
#include <QString>
#include <memory>

class MediaProbe;
class Mp3SectionDecoder;
namespace taglet {
class Taglet;
}

class MediaControls : public QObject
{
    Q_OBJECT
public:
    explicit MediaControls(QObject *parent = nullptr);
    ~MediaControls() override;

    taglet::Taglet &TagletPro1() { return *m_tagletPro1; }
    MediaProbe &MediaPlayer2() { return *m_mediaPlayer2; }
    Mp3SectionDecoder &Mp3Play1() { return *m_mp3Play1; }

    // Lets go of every file: the probe unloads, the tag reader forgets its file, and the preview
    // player is told to unload. A section decode under way belongs to the running conversion,
    // which stops it itself.
    void releaseFiles();

signals:
    // The preview player unloads its file (and stops) on this.
    void releasing();

private:
    std::unique_ptr<taglet::Taglet> m_tagletPro1;
    std::unique_ptr<MediaProbe> m_mediaPlayer2;
    std::unique_ptr<Mp3SectionDecoder> m_mp3Play1;
};
