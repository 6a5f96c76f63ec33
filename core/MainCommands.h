#pragma once
// One owner for the enabling of the main window's commands: converting, the cut section,
// tagging, the preview player and their popup-menu entries. Controllers say which operation
// the user may start now; this class switches every control and menu entry of that operation.
//
// An operation this build cannot carry out yet is "unavailable": its controls stay disabled
// whatever is asked, while isOn() still tells what the window's rules asked for.

#include <QList>
#include <QObject>
#include <array>

class QAction;
class QWidget;

enum class MainCommand {
    Convert, // cmdGrab, mnuGrab
    ConvertSection, // cmdGrabCut, chkCutNam
    Tag, // cmdTag, LabTag, mnuTag
    Play, // cmdPlay, mnuPlay
    Pause, // cmdPause
    StopPlayer, // cmdStop, mnuStop
    PlaySection, // cmdPlayCut
    SetSection, // cmdStaRes, cmdFinRes, VScrSta, VScrFin, txtSta, txtFin
    SetSectionFromPlayer, // cmdSta, cmdFin: the player's position as start or finish
    ConversionOptions, // FraConv
    FileOperations, // rename, delete, move, copy and explore entries of the popup menus
};
inline constexpr int MainCommandCount = int(MainCommand::FileOperations) + 1;

class MainCommands : public QObject
{
    Q_OBJECT
public:
    // The controls of one operation: widgets and menu entries.
    struct Controls
    {
        QList<QWidget *> widgets;
        QList<QAction *> actions;
    };

    explicit MainCommands(QObject *parent = nullptr);

    // Hands the controls of an operation; the window does this once for every operation. The
    // operation starts on when its first control is enabled in the form.
    void bind(MainCommand command, const Controls &controls);
    // Whether this build carries the operation out; an unavailable one stays disabled.
    void setAvailable(MainCommand command, bool available);

    // Enables or disables every control of the operation.
    void set(MainCommand command, bool on);
    // What the rules asked for last (also for unavailable operations).
    bool isOn(MainCommand command) const;

    // The section commands: playing the section, and converting it while converting is on.
    void setSectionCommands(bool on);
    // Every convert command (whole files and section).
    void setConvertCommands(bool on);
    // The controls that set the section: the scroll bars and resets, and the buttons that take
    // the player's position.
    void setSectionControls(bool on);
    // The player's buttons: play, pause, stop and play section.
    void setPlayerCommands(bool on);

signals:
    // The controls of an operation were switched.
    void commandChanged(MainCommand command);

private:
    void apply(MainCommand command);

    std::array<Controls, MainCommandCount> m_controls;
    std::array<bool, MainCommandCount> m_on {};
    std::array<bool, MainCommandCount> m_available;
};
