#include "PreviewPlayer.h"

#include "MediaControls.h"
#include "PreviewMedia.h"
#include "VolumeWindow.h"
#include "core/AppState.h"
#include "core/CutTimes.h"
#include "core/MainCommands.h"
#include "core/Services.h"
#include "core/WidgetHelpers.h"
#include "core/texts/LocalText.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSlider>

using WidgetHelpers::pumpEvents;

namespace {
constexpr int ExclamationFlag = 48;
// The watchdog looks at the position this often, so a section ends within this much of its
// finish.
constexpr int WatchdogMs = 10;
} // namespace

PreviewPlayer::PreviewPlayer(const PreviewPlayerWidgets &widgets, AppState &state,
    MainCommands &commands, MediaControls &media, MessageBoxService &messages, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(state)
    , m_commands(commands)
    , m_media(media)
    , m_messages(messages)
{
    m_timer1.setTimerType(Qt::PreciseTimer);
    m_timer1.setInterval(WatchdogMs);
    connect(&m_timer1, &QTimer::timeout, this, &PreviewPlayer::Timer1_Timer);

    connect(w.cmdPlay, &QAbstractButton::clicked, this, &PreviewPlayer::cmdPlay_Click);
    connect(w.mnuPlay, &QAction::triggered, this, &PreviewPlayer::cmdPlay_Click);
    connect(w.cmdPlayCut, &QAbstractButton::clicked, this, &PreviewPlayer::cmdPlayCut_Click);
    connect(w.cmdPause, &QAbstractButton::clicked, this, &PreviewPlayer::cmdPause_Click);
    connect(w.cmdStop, &QAbstractButton::clicked, this, &PreviewPlayer::StopAction);
    connect(w.mnuStop, &QAction::triggered, this, &PreviewPlayer::StopAction);
    connect(w.cmdVol, &QAbstractButton::clicked, this, &PreviewPlayer::cmdVol_Click);
    w.cmdVol->setEnabled(true);

    PreviewMedia &player = m_media.MediaPlayer1();
    connect(&player, &PreviewMedia::ended, this, &PreviewPlayer::StopAction);
    connect(&player, &PreviewMedia::failed, this, &PreviewPlayer::failed);
    connect(&player, &PreviewMedia::positionChanged, this, [this](double seconds) {
        if (!w.sldPos->isSliderDown())
            showPosition(seconds);
    });
    connect(&player, &PreviewMedia::fileChanged, this, &PreviewPlayer::followPlayState);
    // A play request still waiting for its file is stopped too: the release cuts its load short.
    connect(&m_media, &MediaControls::releasing, this, [this] {
        if (m_busy || !m_media.MediaPlayer1().fileName().isEmpty())
            StopAction();
    });
    connect(&m_commands, &MainCommands::commandChanged, this, [this](MainCommand command) {
        if (command == MainCommand::Play)
            followPlayState();
    });

    // Moving the slider moves the play position; while it is dragged only the time follows,
    // and the player goes there when it is let go.
    connect(w.sldPos, &QAbstractSlider::sliderPressed, this, [this] {
        if (m_media.MediaPlayer1().fileName().isEmpty())
            rePrime();
    });
    connect(w.sldPos, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove && w.sldPos->isSliderDown()) {
            const double lengthMs = 1000.0 * m_media.MediaPlayer1().duration();
            w.txtPos->setText(CutTimes::TimeText(
                CutTimes::MsOfScrollValue(w.sldPos->sliderPosition(), lengthMs)));
            return;
        }
        seekTo(w.sldPos->sliderPosition());
    });
    connect(w.sldPos, &QAbstractSlider::sliderReleased, this,
        [this] { seekTo(w.sldPos->sliderPosition()); });

    showPosition(0);
    followPlayState();
}

PreviewPlayer::~PreviewPlayer()
{
    m_timer1.stop();
    m_media.MediaPlayer1().disconnect(this);
}

void PreviewPlayer::cmdPlay_Click()
{
    m_playCutMode = false;
    PlayPreview();
}

void PreviewPlayer::cmdPlayCut_Click()
{
    m_playCutMode = true;
    PlayPreview();
    const quint64 playback = m_playback;
    pumpEvents();
    // The watchdog belongs to this playback, not to whatever a Stop or a click made of it
    // meanwhile.
    if (m_playback == playback && m_media.MediaPlayer1().playState() == PreviewMedia::Playing)
        m_timer1.start();
    w.cmdPause->setFocus();
}

void PreviewPlayer::cmdPause_Click()
{
    // Pause toggles what the player holds, even when another file has been selected since:
    // pausing never starts a different file. With nothing loaded it starts the selected one.
    PreviewMedia &player = m_media.MediaPlayer1();
    const PreviewMedia::PlayState state = player.playState();
    if (!player.fileName().isEmpty() && player.fileName() != s.ClickedFilePath
        && state != PreviewMedia::Stopped) {
        m_playCutMode = false;
        newPlayback();
        if (state == PreviewMedia::Playing) {
            player.pause();
        } else {
            player.play();
            m_playTaken = m_playTaken || m_commands.isOn(MainCommand::Play);
        }
    } else {
        cmdPlay_Click();
    }
    m_commands.set(MainCommand::Play, true);
}

void PreviewPlayer::PlayPreview()
{
    // A file that takes a moment to open must not start a second play request meanwhile.
    if (m_busy)
        return;
    const QScopedValueRollback busyFlag(m_busy, true);
    const WidgetHelpers::WaitCursor hourglass;
    PreviewMedia &player = m_media.MediaPlayer1();
    const double startSeconds = s.Cut.startMs() / 1000.0;
    // Wherever events run below, a Stop or a release may come and have the last word.
    const quint64 playback = newPlayback();
    const auto overtaken = [this, playback] {
        return m_playback != playback;
    };

    if (!player.fileName().isEmpty() && player.fileName() == s.ClickedFilePath) {
        if (player.playState() == PreviewMedia::Playing) {
            if (!m_playCutMode) {
                player.pause();
            } else {
                player.stop();
                pumpEvents();
                if (overtaken())
                    return;
                // A section that begins after the end of the file has nothing to play.
                if (player.duration() <= startSeconds)
                    return;
                player.setPosition(startSeconds);
                player.play();
            }
        } else {
            // The section plays from its start wherever the file was paused.
            if (m_playCutMode)
                player.setPosition(startSeconds);
            pumpEvents();
            if (overtaken())
                return;
            player.play();
        }
    } else {
        if (s.ClickedFilePath.isEmpty())
            return;
        const QString path = s.ClickedFilePath;
        const bool loaded = player.load(path);
        if (overtaken())
            return;
        if (!loaded) {
            failed(path);
            return;
        }
        if (m_playCutMode) {
            if (player.duration() <= startSeconds) {
                StopAction();
                return;
            }
            player.setPosition(startSeconds);
        }
        player.play();
    }

    m_playTaken = m_playTaken || m_commands.isOn(MainCommand::Play);
    m_commands.set(MainCommand::Play, false);
    m_commands.set(MainCommand::Pause, true);
    m_commands.set(MainCommand::StopPlayer, true);
}

quint64 PreviewPlayer::newPlayback()
{
    m_timer1.stop();
    return ++m_playback;
}

void PreviewPlayer::StopAction()
{
    newPlayback();
    m_media.MediaPlayer1().unload();
    showPosition(0);

    // Stopping gives Play back when the player took it: a file the user may play is still
    // selected. Play that something else switched off (a conversion) stays off.
    if (m_commands.isOn(MainCommand::Play) || m_playTaken)
        m_commands.set(MainCommand::Play, true);
    m_playTaken = false;
    m_commands.set(MainCommand::StopPlayer, false);
    if (s.Cut.isSet())
        m_commands.set(MainCommand::PlaySection, true);
    m_commands.set(MainCommand::Pause, false);
}

void PreviewPlayer::Timer1_Timer()
{
    const double finishMs = s.Cut.endMs();
    if (finishMs > 0 && finishMs > s.Cut.startMs()
        && finishMs / 1000.0 < m_media.MediaPlayer1().position())
        StopAction();
}

void PreviewPlayer::rePrime()
{
    // The idle player takes the selected file, paused at its start, so that the slider moves
    // in it and "Set start"/"Set finish" read a position in it. Errors leave it idle.
    if (m_busy || s.ClickedFilePath.isEmpty() || !m_commands.isOn(MainCommand::Play))
        return;
    const QScopedValueRollback busyFlag(m_busy, true);
    const quint64 playback = newPlayback();
    PreviewMedia &player = m_media.MediaPlayer1();
    if (!player.load(s.ClickedFilePath) || m_playback != playback)
        return;
    player.pause();
    pumpEvents();
    if (m_playback == playback)
        m_commands.set(MainCommand::StopPlayer, true);
}

void PreviewPlayer::seekTo(int value)
{
    PreviewMedia &player = m_media.MediaPlayer1();
    if (player.fileName().isEmpty())
        rePrime();
    if (player.fileName().isEmpty()) {
        showPosition(0);
        return;
    }
    const double ms = CutTimes::MsOfScrollValue(value, 1000.0 * player.duration());
    player.setPosition(ms / 1000.0);
    showPosition(ms / 1000.0);
}

void PreviewPlayer::showPosition(double seconds)
{
    const double ms = CutTimes::MsOfPosition(seconds);
    w.txtPos->setText(CutTimes::TimeText(ms));
    const QSignalBlocker quiet(w.sldPos);
    w.sldPos->setValue(
        CutTimes::ScrollValueOfMs(ms, 1000.0 * m_media.MediaPlayer1().duration()).value_or(0));
}

void PreviewPlayer::followPlayState()
{
    // The slider moves in the loaded file, or brings in the selected one.
    w.sldPos->setEnabled(
        !m_media.MediaPlayer1().fileName().isEmpty() || m_commands.isOn(MainCommand::Play));
}

void PreviewPlayer::failed(const QString &path)
{
    StopAction();
    const PreviewMedia &player = m_media.MediaPlayer1();
    QString why;
    switch (player.loadError()) {
    case PreviewMedia::Cancelled:
        // The player was let go of while it opened the file: nothing is wrong with the file.
        return;
    case PreviewMedia::Missing:
        why = LocalText(s, 12033, QStringLiteral("The file cannot be found."));
        break;
    case PreviewMedia::Unreadable:
        why = LocalText(s, 12034, QStringLiteral("The file cannot be read."));
        break;
    case PreviewMedia::NoError:
    case PreviewMedia::NotAudio:
        why = LocalText(s, 12035, QStringLiteral("The file does not open as audio."));
        // The player's own words tell what it found, for whoever looks into it.
        if (!player.errorString().isEmpty())
            why += QStringLiteral("\r\n(") + player.errorString() + u')';
        break;
    }
    m_messages.show(path + QStringLiteral("\r\n\r\n") + why, ExclamationFlag);
}

void PreviewPlayer::cmdVol_Click()
{
    w.cmdTrucco->setFocus();
    if (!m_volume)
        m_volume = new VolumeWindow(m_media.MediaPlayer1().audioOutput(), w.window);
    m_volume->setTexts(
        LocalText(s, 12031, QStringLiteral("Volume")), LocalText(s, 12032, QStringLiteral("Mute")));
    m_volume->bringUp();
}
