#pragma once
// The preview player MediaPlayer1: one file at a time, loaded without starting, then played,
// paused, stopped and moved in. Positions and lengths are in seconds. Sound goes to the
// default audio output through Qt Multimedia.
//
// Loading waits (without taking user input) until the player has opened the file, so that
// the length is known and the position can be set right after; a file that vanished, is not
// audio or does not open in time comes back as a failure with the reason, and leaves nothing
// loaded. Whatever runs meanwhile may unload(): the load then ends as Cancelled, which says
// nothing about the file.

#include <QObject>
#include <QString>

class QAudioOutput;
class QEventLoop;
class QMediaPlayer;

class PreviewMedia : public QObject
{
    Q_OBJECT
public:
    // Why a file did not load; Cancelled when unload() cut the load short.
    enum LoadError { NoError, Missing, Unreadable, NotAudio, Cancelled };

    // Play states as the window tests them; Stopped also when nothing is loaded.
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2 };

    explicit PreviewMedia(QObject *parent = nullptr);
    ~PreviewMedia() override;

    // The loaded file; "" when idle.
    QString fileName() const { return m_fileName; }
    // Loads path, not playing. False with loadError() when it cannot be played; the player is
    // then idle.
    bool load(const QString &path);
    // Stops and lets go of the file, or of the one still loading: nothing of it stays open.
    void unload();

    void play();
    void pause();
    void stop();
    PlayState playState() const;

    double position() const;
    void setPosition(double seconds);
    double duration() const;

    LoadError loadError() const { return m_loadError; }
    // The player's own words on the last failure, if it gave any.
    QString errorString() const { return m_error; }
    QAudioOutput &audioOutput();

signals:
    // The loaded file played to its end.
    void ended();
    // The loaded file (path) broke while playing; the player is idle again.
    void failed(const QString &path);
    // The play position moved (a few times a second while playing).
    void positionChanged(double seconds);
    // A file was loaded or let go.
    void fileChanged(const QString &fileName);

private:
    void mediaStatusChanged();
    void errorOccurred();
    void createPlayer();
    void dropPlayer();

    // Both made on first use.
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    QString m_fileName;
    QString m_error;
    LoadError m_loadError = NoError;
    double m_probedDuration = 0;
    bool m_loading = false;
    bool m_cancelled = false; // unload() came while loading
    QEventLoop *m_wait = nullptr; // the wait of a load under way
};
