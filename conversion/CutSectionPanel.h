#pragma once
// The cut section's controls on the main window: "Set start" and "Set finish" (the preview
// player's position), the start and finish scroll bars over the file's length, their "m.ss.mmm"
// texts, the two marker lines over the time axis and the reset buttons. The times live in
// AppState::Cut; after every change the section commands follow CutSection::isSet().

#include <QObject>

class MainCommands;
class PreviewMedia;
class QAbstractButton;
class QFrame;
class QLineEdit;
class QScrollBar;
class QWidget;
struct AppState;

struct CutSectionWidgets
{
    QScrollBar *VScrSta = nullptr, *VScrFin = nullptr;
    QLineEdit *txtSta = nullptr, *txtFin = nullptr;
    QFrame *LinSta = nullptr, *LinFin = nullptr; // marker lines, children of the time axis
    QAbstractButton *cmdSta = nullptr, *cmdFin = nullptr;
    QAbstractButton *cmdStaRes = nullptr, *cmdFinRes = nullptr;
    QWidget *cmdTrucco = nullptr; // takes the focus after a reset
};

class CutSectionPanel : public QObject
{
    Q_OBJECT
public:
    CutSectionPanel(const CutSectionWidgets &widgets, AppState &state, MainCommands &commands,
        const PreviewMedia &player, QObject *parent = nullptr);

    void cmdSta_Click();
    void cmdFin_Click();
    void VScrSta_Change(int value);
    void VScrFin_Change(int value);
    void cmdStaRes_Click();
    void cmdFinRes_Click();
    // Shows the section's times, bars and markers (for a new file's length).
    void showSection();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeMarker(QFrame *line, double ms);
    void followSection();

    CutSectionWidgets w;
    AppState &s;
    MainCommands &m_commands;
    const PreviewMedia &m_player;
};
