#pragma once
// The conversion queue of the main window: the Convert commands start a run over the marked
// files (or the current one), each file is planned, decoded when it is an MP3 and handed to the
// encoder, and the run moves on when a helper program ends, with progress on the way and STOP
// at any time. The helper programs run as child processes; the window stays responsive.

#include "conversion/EncoderConfig.h"
#include "conversion/RunPlan.h"

#include <QObject>
#include <QPointer>
#include <QString>

class BrowserAccess;
class ConversionOptions;
class CutNameRulesService;
class OptionsDialogService;
class HelperProcess;
class MainCommands;
class MediaControls;
class MessageBoxService;
class QAbstractButton;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QTimer;
class QWidget;
class StatusLine;
class TagEditorService;
struct AppState;

// The controls the queue drives; every one is required.
struct ConversionWidgets
{
    QAbstractButton *cmdGrab = nullptr, *cmdGrabCut = nullptr, *cmdHalt = nullptr;
    QAction *mnuGrab = nullptr;
    QAbstractButton *cmdTag = nullptr; // "Tag & Rename": a tag-only run
    QAction *mnuTag = nullptr;
    QAbstractButton *chkCutNam = nullptr; // "Cut names rules" before a section run
    QAbstractButton *chkWMA = nullptr, *chkWAV = nullptr, *ChkTag = nullptr;
    QAbstractButton *OptUsrDir = nullptr, *cmdBrowse = nullptr; // Browse only for "Other"
    QComboBox *cboProfile = nullptr;
    QLabel *LabProgr = nullptr, *LabBarra = nullptr, *LabProgrNum = nullptr, *LabBarraNum = nullptr;
    // Switched off while a run is busy (besides the player and tag commands).
    QList<QWidget *> mainControls;
};

// What the queue works with besides its own controls.
struct ConversionParts
{
    AppState &state;
    MainCommands &commands;
    StatusLine &status;
    MediaControls &media;
    BrowserAccess &browser;
    ConversionOptions &options;
    OptionsDialogService &optionsDialog;
    MessageBoxService &messages;
    TagEditorService &tagEditor; // before each file when "Edit tag info" is on
    CutNameRulesService &cutNameRules; // before a section run when "Cut names rules" is on
};

class ConversionQueue : public QObject
{
    Q_OBJECT
public:
    ConversionQueue(
        const ConversionWidgets &widgets, const ConversionParts &parts, QObject *parent = nullptr);
    ~ConversionQueue() override;

    // The entry commands.
    void cmdGrab_Click();
    void cmdGrabCut_Click();
    void mnuGrab_Click();
    // The tag command (button, popup entry, F8): every marked file (or the current one) passes
    // through the tag editor, its MP3 tag is written and it is renamed when its name changed;
    // nothing is converted.
    void cmdTag_Click();
    // The stop button: asks first; true when the run was stopped.
    bool cmdHalt_Click();
    // Ends a run without asking (the program is closing): helpers stopped, temporary files
    // removed, an output set aside put back.
    void stopForShutdown();

    bool isBusy() const;

    void StartConversionRun(const QString &path);
    void ConvertFile(const QString &path);
    void EnableMainControls(bool enabled);

signals:
    // The run ended, completed or not.
    void runEnded();
    // A tag-only run renamed files: the input list is to be read again, with the entry of
    // select (when not empty) current.
    void inputFilesRenamed(const QString &select);

private:
    enum class Step { Idle, Decoding, Encoding };

    QString text(int number, const char *english) const;
    void showStatus(int number, const char *english, const QString &file, int indent = 7);
    void Avanza_Conv(double fraction);
    void Avanza_Num();
    void abortRun();
    void endRun(bool lastSkipped);
    bool planFile();
    void skipFile();
    void encodeDirectly();
    void renameTagged(const QString &from, const QString &to);
    void decodeMp3();
    void decodeWholeMp3();
    void decoderCompleted();
    void decoderFailed(const QString &why);
    void Converti_WMA(const QString &input);
    void encoderFinished(bool ok, const QString &why);
    void KeepDecodedWave();
    void nextFile();
    void stopRun(bool tellUser);
    void removeTemporaries();
    void restoreSetAside();
    QString profileName() const;
    QString sourceTypeOf(const QString &path) const;

    ConversionWidgets w;
    AppState &s;
    ConversionParts m_parts;
    HelperProcess *m_decoder = nullptr;
    HelperProcess *m_encoder = nullptr;

    Step m_step = Step::Idle;
    bool m_running = false; // a run is under way
    bool m_existingAsked = false;
    QString m_sourcePath; // the file being converted, followed by path
    QString m_sourceType; // its type
    QString m_sourceName; // its file name, for the status line
    QString m_setAside; // an earlier output put aside while its source is re-encoded
    QString m_sectionTimes;
    EncoderTagFields m_tags; // the file's tags as planned; the user may click elsewhere meanwhile
    int m_sectionStart = 0, m_sectionEnd = 0;
    double m_stageStart = 0, m_decodeSeconds = 0, m_expectedSeconds = 0;
    // While the encoder reports no progress of its own, the bar follows the time it is
    // expected to take (learned from the last MP3: kTimeMP3 times its decoding time).
    QTimer *m_estimate = nullptr;
    bool m_encoderReports = false;
};
