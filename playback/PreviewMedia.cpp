#include "PreviewMedia.h"

#include "MediaProbe.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace {
// A local file opens in a few milliseconds; a player that has not opened it after this long
// will not, and the window must not wait for it any longer.
constexpr int LoadTimeoutMs = 10000;

bool opened(QMediaPlayer::MediaStatus status)
{
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia
        || status == QMediaPlayer::BufferedMedia;
}
} // namespace

PreviewMedia::PreviewMedia(QObject *parent)
    : QObject(parent)
{
}

PreviewMedia::~PreviewMedia()
{
    if (m_player) {
        m_player->disconnect(this);
        m_player->setSource(QUrl());
    }
}

QAudioOutput &PreviewMedia::audioOutput()
{
    createPlayer();
    return *m_output;
}

void PreviewMedia::createPlayer()
{
    // The media pipeline and its sound-server connection cost start-up time that a user who
    // never previews would spend for nothing: they come with the first use.
    if (m_player)
        return;
    m_player = new QMediaPlayer(this);
    if (!m_output)
        m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &PreviewMedia::mediaStatusChanged);
    connect(m_player, &QMediaPlayer::errorOccurred, this, &PreviewMedia::errorOccurred);
    connect(m_player, &QMediaPlayer::positionChanged, this,
        [this](qint64 ms) { emit positionChanged(double(ms) / 1000.0); });
}

bool PreviewMedia::load(const QString &path)
{
    unload();
    m_error.clear();
    const QFileInfo info(path);
    if (!info.isFile()) {
        m_loadError = Missing;
        return false;
    }
    if (!info.isReadable()) {
        m_loadError = Unreadable;
        return false;
    }

    createPlayer();
    m_loading = true;
    m_cancelled = false;
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (m_player->mediaStatus() == QMediaPlayer::LoadingMedia
        && m_player->error() == QMediaPlayer::NoError) {
        // Only the player's own news ends the wait: the user's clicks and keys wait too, so
        // that nothing else starts on the half-loaded player.
        QEventLoop wait;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
        connect(m_player, &QMediaPlayer::mediaStatusChanged, &wait, [&wait](auto status) {
            if (status != QMediaPlayer::LoadingMedia)
                wait.quit();
        });
        connect(m_player, &QMediaPlayer::errorOccurred, &wait, &QEventLoop::quit);
        timeout.start(LoadTimeoutMs);
        m_wait = &wait;
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        m_wait = nullptr;
    }
    m_loading = false;

    if (m_cancelled) {
        // unload() has already emptied the player; whatever it had found about the file is
        // no longer of interest.
        m_loadError = Cancelled;
        return false;
    }

    if (opened(m_player->mediaStatus()) && m_player->error() == QMediaPlayer::NoError) {
        // Some MP3s without a length header only get a length once they have played through;
        // the probe measures them now.
        m_probedDuration = 0;
        if (m_player->duration() <= 0) {
            MediaProbe probe;
            if (probe.setFileName(path))
                m_probedDuration = probe.Duration();
        }
        m_fileName = path;
        m_loadError = NoError;
        emit fileChanged(m_fileName);
        return true;
    }
    m_loadError = NotAudio;
    if (m_player->error() != QMediaPlayer::NoError)
        m_error = m_player->errorString();
    dropPlayer();
    return false;
}

// A player that failed on a file keeps its error for every file after it: the next file gets
// a fresh one. The audio output, with the volume the user set, stays.
void PreviewMedia::dropPlayer()
{
    m_player->disconnect(this);
    m_player->setSource(QUrl());
    m_player->deleteLater();
    m_player = nullptr;
}

void PreviewMedia::unload()
{
    const bool hadFile = !m_fileName.isEmpty();
    m_fileName.clear();
    if (m_loading) {
        m_cancelled = true;
        if (m_wait)
            m_wait->quit();
    }
    if (m_player) {
        m_player->stop();
        // An empty source takes the player down to nothing: the file is closed before this
        // returns.
        m_player->setSource(QUrl());
    }
    if (hadFile)
        emit fileChanged(QString());
}

void PreviewMedia::play()
{
    if (!m_fileName.isEmpty())
        m_player->play();
}

void PreviewMedia::pause()
{
    if (!m_fileName.isEmpty())
        m_player->pause();
}

void PreviewMedia::stop()
{
    if (m_player)
        m_player->stop();
}

PreviewMedia::PlayState PreviewMedia::playState() const
{
    if (m_fileName.isEmpty())
        return Stopped;
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return Playing;
    case QMediaPlayer::PausedState:
        return Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return Stopped;
}

double PreviewMedia::position() const
{
    return m_fileName.isEmpty() ? 0.0 : double(m_player->position()) / 1000.0;
}

void PreviewMedia::setPosition(double seconds)
{
    if (!m_fileName.isEmpty())
        m_player->setPosition(qint64(seconds * 1000.0 + 0.5));
}

double PreviewMedia::duration() const
{
    if (m_fileName.isEmpty())
        return 0.0;
    return m_player->duration() > 0 ? double(m_player->duration()) / 1000.0 : m_probedDuration;
}

void PreviewMedia::mediaStatusChanged()
{
    if (!m_loading && !m_fileName.isEmpty() && m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        emit ended();
}

void PreviewMedia::errorOccurred()
{
    // While loading, load() reports the failure itself; once idle, later news of the old file
    // is of no interest.
    if (m_loading || m_fileName.isEmpty())
        return;
    const QString path = m_fileName;
    const QString why = m_player->errorString();
    unload();
    dropPlayer();
    m_loadError = NotAudio;
    m_error = why;
    emit failed(path);
}
