#pragma once
// The media objects of the main window that hold or read files: the preview player
// MediaPlayer1, the tag reader TagletPro1, the invisible probe MediaPlayer2 and the MP3 section
// decoder Mp3Play1. One owner for them, so that a file can be released from all of them before
// it is renamed, deleted, moved, converted or its folder is left.

#include <QObject>
#include <QString>
#include <memory>

class MediaProbe;
class PreviewMedia;
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

    PreviewMedia &MediaPlayer1() { return *m_mediaPlayer1; }
    taglet::Taglet &TagletPro1() { return *m_tagletPro1; }
    MediaProbe &MediaPlayer2() { return *m_mediaPlayer2; }
    Mp3SectionDecoder &Mp3Play1() { return *m_mp3Play1; }

    // Lets go of every file: the preview player stops and unloads, the probe unloads and the
    // tag reader forgets its file. A section decode under way belongs to the running
    // conversion, which stops it itself.
    void releaseFiles();

signals:
    // Emitted first, while the preview player still holds its file: the player's window stops
    // it the way its Stop button does.
    void releasing();

private:
    PreviewMedia *m_mediaPlayer1;
    std::unique_ptr<taglet::Taglet> m_tagletPro1;
    std::unique_ptr<MediaProbe> m_mediaPlayer2;
    std::unique_ptr<Mp3SectionDecoder> m_mp3Play1;
};
