#pragma once
// The conversion queue of the main window: the Convert commands start a run over the marked
// files (or the current one). The run takes its own record of the files when it starts; each
// file is then planned in list order (dialogs, names, questions about existing outputs) and
// handed to a FileConversion. A run of several files keeps up to AppState::FilesAtOnce of them
// in flight, each in a slot with temporary files of its own, and plans the next one whenever a
// slot is free, with progress on the way and STOP at any time. The window stays responsive.

#include "conversion/ConversionRun.h"
#include "conversion/FileConversion.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class BrowserAccess;
class ConversionOptions;
class CutNameRulesService;
class OptionsDialogService;
class MainCommands;
class MediaControls;
class MessageBoxService;
class Mp3SectionDecoder;
class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
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

    // The entry commands; each does nothing while a run is under way.
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

    bool isBusy() const { return m_run != nullptr; }

    // A run over the marked files, or over path (the current file when path is empty and
    // nothing is marked).
    void StartConversionRun(const QString &path);
    void EnableMainControls(bool enabled);

signals:
    // The run ended, completed or not.
    void runEnded();
    // A tag-only run renamed files: the input list is to be read again, with the entry of
    // select (when not empty) current.
    void inputFilesRenamed(const QString &select);

private:
    enum class Mode { Convert, Section, TagOnly };
    enum class Planned { Started, Waiting, Skipped, Ended };
    enum class Outcome { Completed, Failed, Stopped, Cancelled };

    // The choices a run starts with; the options dialog may change them for the later files.
    struct RunChoices
    {
        bool cutSectionOnly = false, editTagInfo = false, createWma = true, createWav = false;
    };

    void startRun(Mode mode, const QString &path);
    void planNext();
    Planned planFile(int index);
    bool showOptionsDialog(const QString &fileName);
    bool editTags(QString &base);
    // The question about existing outputs; false when the file is not to be converted (run
    // says whether the run goes on).
    bool mayWrite(const QStringList &outputs, bool &replace, bool &runGoesOn);
    void renameTagged(const QString &from, const QString &to);

    // One file in flight.
    struct Job
    {
        FileConversion *conversion = nullptr;
        int index = -1; // in the run's files
        int slot = 0; // its temporary names, script and configuration are this slot's
        QString sourceName, outputName;
        bool alone = true; // no other file was in flight meanwhile
        std::unique_ptr<Mp3SectionDecoder> decoder; // slots other than 0 decode sections here
    };
    int filesAtOnce() const;
    int freeSlot() const;
    bool outputIsRemovable();
    // True when the plan reads or writes a file that one in flight writes or reads: it waits.
    bool clashesWithFilesInFlight(const FilePlan &plan) const;
    void startWaiting();
    void handOn(int index, int slot, const FilePlan &plan);
    void fileFinished(Job *job, bool ok, FileConversion::Stage stage,
        FileConversion::Failure failure, const QString &detail);
    void stopJobs();
    void removeSlotFiles();
    void showOutputs();
    // A dialog or question of the planning ended the run: the files already in flight finish
    // first, as they would have before this file was reached one at a time.
    void endPlanning(Outcome outcome);
    QString failureText(FileConversion::Failure failure, const QString &detail) const;
    void failFile(int index, const QString &status, const QString &why);
    void endRun(Outcome outcome);
    void stopRun(bool tellUser);

    QString text(int number, const char *english) const;
    void showStatus(int number, const char *english, const QString &file, int indent = 7);
    void Avanza_Conv(double fraction);
    void Avanza_Num();
    QString profileName() const;

    ConversionWidgets w;
    AppState &s;
    ConversionParts m_parts;

    std::unique_ptr<ConversionRun> m_run;
    quint64 m_runNumber = 0; // tells a run from the next one across dialogs and events
    RunChoices m_choices;
    std::vector<std::unique_ptr<Job>> m_jobs; // the files in flight, the longest first
    bool m_planning = false; // planFile is under way (maybe in a dialog)
    // Plans the next file on a later turn of the event loop. A timer rather than a posted call:
    // the window's own timers, its painting and the user's input get their turn between two
    // plans.
    QTimer m_planLater;
    std::optional<Outcome> m_endWhenIdle; // the planning ended; the run ends with the last file
    // A planned file that waits for a file in flight that shares a file with it.
    struct Waiting
    {
        int index = -1, slot = 0;
        FilePlan plan;
    };
    std::optional<Waiting> m_waiting;
    std::map<int, QString> m_outputNames; // of the files converted, by their place in the run
    // Outputs finished while a file was being planned: shown once it is planned, because
    // showing one fills the panel and the tag fields the plan is made of.
    QStringList m_outputsToShow;
    bool m_outputListCleared = false;
    // Whether the output folder is on a removable drive, found once a run (and again only if
    // the options between files name another folder): asking every mount for each file would
    // hold the window.
    std::optional<std::pair<QString, bool>> m_outputRemovable;
    QString m_sourceName; // the file planned, started or finished last, for the status line
    QString m_outputName; // its output's name
};
