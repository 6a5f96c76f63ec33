#pragma once
// The preview player's controls on the main window: Play, Pause, Stop, Play Cut and Volume, the
// popup entries to play and stop, and the player's panel (the play position as a text and a
// slider on the same scale as the section bars above it). The player plays the file last
// clicked in either list; the section comes from AppState::Cut.
//
// The player lets go of its file, or of the one it is still opening, whenever MediaControls
// releases files (before a file operation, a conversion or a folder change): that is the Stop
// action.

#include <QObject>
#include <QPointer>
#include <QTimer>

class MainCommands;
class MediaControls;
class MessageBoxService;
class QAbstractButton;
class QAction;
class QLineEdit;
class QSlider;
class QWidget;
class VolumeWindow;
struct AppState;

struct PreviewPlayerWidgets
{
    QWidget *window = nullptr; // the main window: owner of the volume window
    QAbstractButton *cmdPlay = nullptr, *cmdPause = nullptr, *cmdStop = nullptr,
                    *cmdPlayCut = nullptr, *cmdVol = nullptr;
    QAction *mnuPlay = nullptr, *mnuStop = nullptr;
    QLineEdit *txtPos = nullptr; // the play position, "m.ss.mmm"
    QSlider *sldPos = nullptr; // the play position over the file's length, 0 to 10000
    QWidget *cmdTrucco = nullptr; // takes the focus away from the Volume button
};

class PreviewPlayer : public QObject
{
    Q_OBJECT
public:
    PreviewPlayer(const PreviewPlayerWidgets &widgets, AppState &state, MainCommands &commands,
        MediaControls &media, MessageBoxService &messages, QObject *parent = nullptr);
    ~PreviewPlayer() override;

    void cmdPlay_Click();
    void cmdPlayCut_Click();
    // Pauses a playing preview, or starts or resumes one; Play stays available to resume.
    void cmdPause_Click();
    // Stops, lets go of the file and puts the buttons back.
    void StopAction();
    void cmdVol_Click();

private:
    void PlayPreview();
    quint64 newPlayback();
    void Timer1_Timer();
    void rePrime();
    void seekTo(int value);
    void showPosition(double seconds);
    void followPlayState();
    void failed(const QString &path);

    PreviewPlayerWidgets w;
    AppState &s;
    MainCommands &m_commands;
    MediaControls &m_media;
    MessageBoxService &m_messages;
    QTimer m_timer1; // the cut-finish watchdog of the current playback
    QPointer<VolumeWindow> m_volume; // none until Volume is first pressed
    bool m_playCutMode = false; // the last play request came from Play Cut
    bool m_playTaken = false; // Play was on until this player took it while playing
    bool m_busy = false; // a play request is under way
    // Counts playbacks: each play request, Pause and Stop begins a new one. A request that
    // finds it changed once the player is back was overtaken, and leaves everything as it is.
    quint64 m_playback = 0;
};
