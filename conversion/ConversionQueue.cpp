#include "conversion/ConversionQueue.h"

#include "conversion/ConversionOptions.h"
#include "conversion/RunPlan.h"
#include "core/AppState.h"
#include "core/BrowserAccess.h"
#include "core/MainCommands.h"
#include "core/PathHelpers.h"
#include "core/Services.h"
#include "core/StatusLine.h"
#include "core/Volumes.h"
#include "core/WidgetHelpers.h"
#include "core/WorkFiles.h"
#include "core/texts/LocalText.h"
#include "playback/MediaControls.h"
#include "playback/MediaProbe.h"
#include "playback/Mp3SectionDecoder.h"
#include "tags/CutNames.h"
#include "tags/FileActions.h"

#include <EncoderProfiles.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {
constexpr int Yes = 6;
constexpr int No = 7;
constexpr int Cancel = 2;
constexpr int Critical = 16;
constexpr int YesNoQuestionNoDefault = 292;
constexpr int YesNoCancelQuestionNoDefault = 291;
} // namespace

ConversionQueue::ConversionQueue(
    const ConversionWidgets &widgets, const ConversionParts &parts, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(parts.state)
    , m_parts(parts)
{
    m_planLater.setSingleShot(true);
    m_planLater.setInterval(0);
    connect(&m_planLater, &QTimer::timeout, this, &ConversionQueue::planNext);
    connect(w.cmdGrab, &QAbstractButton::clicked, this, &ConversionQueue::cmdGrab_Click);
    connect(w.cmdGrabCut, &QAbstractButton::clicked, this, &ConversionQueue::cmdGrabCut_Click);
    connect(w.mnuGrab, &QAction::triggered, this, &ConversionQueue::mnuGrab_Click);
    connect(w.cmdTag, &QAbstractButton::clicked, this, &ConversionQueue::cmdTag_Click);
    connect(w.mnuTag, &QAction::triggered, this, &ConversionQueue::cmdTag_Click);
    connect(w.chkCutNam, &QAbstractButton::clicked, this, [this](bool on) { s.CutNamesOn = on; });
    connect(w.cmdHalt, &QAbstractButton::clicked, this, [this] { cmdHalt_Click(); });
}

ConversionQueue::~ConversionQueue()
{
    stopJobs();
}

QString ConversionQueue::text(int number, const char *english) const
{
    return LocalText(s, number, QString::fromUtf8(english));
}

void ConversionQueue::showStatus(int number, const char *english, const QString &file, int indent)
{
    m_parts.status.setText(QString(indent, u' ') + text(number, english) + u' ' + file);
}

// ---- Entry commands --------------------------------------------------------------------------

void ConversionQueue::cmdGrab_Click()
{
    startRun(Mode::Convert, QString());
}

void ConversionQueue::cmdGrabCut_Click()
{
    startRun(Mode::Section, QString());
}

void ConversionQueue::mnuGrab_Click()
{
    startRun(s.Cut.isSet() ? Mode::Section : Mode::Convert, QString());
}

void ConversionQueue::StartConversionRun(const QString &path)
{
    startRun(Mode::Convert, path);
}

void ConversionQueue::cmdTag_Click()
{
    if (isBusy())
        return;
    s.NewFilePath.clear();
    s.DialogCancelled = false;
    const QString before = s.SourcePath;
    const qsizetype files = m_parts.browser.markedPaths().size();
    // Nothing is handed to a helper program: the run has ended when this returns.
    startRun(Mode::TagOnly, QString());
    WidgetHelpers::pumpEvents();
    // A single file's editor cancelled changed nothing; in a run of several, the files before
    // may have been saved.
    if (s.DialogCancelled && files < 2)
        return;
    // The list shows the new names and tags, the last renamed file (or the one that was
    // current) current again.
    emit inputFilesRenamed(s.NewFilePath.isEmpty() ? before : s.NewFilePath);
}

// The run takes its files now: what the user does in the window later changes none of them.
void ConversionQueue::startRun(Mode mode, const QString &path)
{
    if (isBusy())
        return;
    BrowserAccess &list = m_parts.browser;
    QStringList paths = path.isEmpty() ? list.markedPaths() : QStringList {path};
    // Nothing marked: the current file converts in the background.
    const bool background = paths.isEmpty() || !path.isEmpty();
    if (paths.isEmpty() && !list.currentPath().isEmpty())
        paths << list.currentPath();
    if (paths.isEmpty())
        return; // nothing marked and no current file (after a type change)

    s.RunStopped = false;
    s.CutSectionOnly = mode == Mode::Section;
    s.TagOnlyMode = mode == Mode::TagOnly;
    m_choices = {
        mode == Mode::Section, w.ChkTag->isChecked(), w.chkWMA->isChecked(), w.chkWAV->isChecked()};
    m_run = std::make_unique<ConversionRun>(paths,
        ConversionRun::Options {m_choices.createWma, m_choices.createWav, mode == Mode::TagOnly,
            background || paths == QStringList {list.currentPath()}});
    ++m_runNumber;
    m_outputListCleared = false;
    m_outputRemovable.reset();
    m_sourceName.clear();
    m_outputName.clear();

    MediaProbe::loadLibrariesInBackground();
    // The preview stops before the window's controls go off, so that the Play button it gives
    // back goes off with them.
    m_parts.media.releaseFiles();
    EnableMainControls(false);
    w.LabProgrNum->clear();
    w.LabBarraNum->resize(0, w.LabBarraNum->height());
    m_parts.status.hideDot();
    // The rules for the names of cut files come first; cancelling them starts nothing.
    if (mode == Mode::Section && s.CutNamesOn && !m_parts.cutNameRules.askCutNameRules()) {
        endRun(Outcome::Cancelled);
        return;
    }
    Avanza_Num();
    // A batch starts planning on the next turn of the event loop, so that the window shows
    // its controls off before the first file is read and its helpers start.
    if (m_run->severalFiles()) {
        m_planLater.start();
        return;
    }
    planNext();
    // One file converts in the background: the window is usable again at once, with STOP
    // still offered while it runs.
    if (isBusy() && background)
        EnableMainControls(true);
}

// ---- Planning, one file after another --------------------------------------------------------

void ConversionQueue::planNext()
{
    // One file is planned at a time: a file that finishes while a dialog of the planning waits
    // for the user comes back here, and the planning already under way goes on afterwards.
    if (m_planning)
        return;
    const auto shown = qScopeGuard([this] { showOutputs(); });
    const QScopedValueRollback planning(m_planning, true);
    const quint64 run = m_runNumber;
    while (m_run && run == m_runNumber && !m_endWhenIdle && !m_waiting
        && int(m_jobs.size()) < filesAtOnce()) {
        const int index = m_run->takeNext();
        if (index < 0) {
            if (m_jobs.empty())
                endRun(Outcome::Completed);
            return;
        }
        const Planned planned = planFile(index);
        showOutputs();
        switch (planned) {
        case Planned::Started:
            // The next file is planned on a later turn of the event loop, so that the window
            // never waits for several plans in a row.
            if (int(m_jobs.size()) < filesAtOnce())
                m_planLater.start();
            return;
        case Planned::Waiting:
        case Planned::Ended:
            return;
        case Planned::Skipped:
            m_run->finish(index, ConversionRun::State::Skipped);
            Avanza_Num();
            break;
        }
    }
}

int ConversionQueue::filesAtOnce() const
{
    // A run of one file is as it always was.
    return m_run && m_run->count() > 1 ? std::max(1, s.FilesAtOnce) : 1;
}

bool ConversionQueue::clashesWithFilesInFlight(const FilePlan &plan) const
{
    const QStringList outputs = RunPlan::outputsOf(plan.names, plan.createWma, plan.keepWave);
    for (const std::unique_ptr<Job> &job : m_jobs) {
        const FilePlan &other = job->conversion->plan();
        const QStringList written
            = RunPlan::outputsOf(other.names, other.createWma, other.keepWave);
        if (written.contains(plan.sourcePath) || outputs.contains(other.sourcePath))
            return true;
        for (const QString &output : outputs)
            if (written.contains(output))
                return true;
    }
    return false;
}

// The file that waited goes once nothing in flight shares a file with it.
void ConversionQueue::startWaiting()
{
    if (!m_waiting || clashesWithFilesInFlight(m_waiting->plan))
        return;
    const Waiting waiting = std::move(*m_waiting);
    m_waiting.reset();
    handOn(waiting.index, waiting.slot, waiting.plan);
}

int ConversionQueue::freeSlot() const
{
    for (int slot = 0;; ++slot) {
        if (std::none_of(m_jobs.begin(), m_jobs.end(),
                [slot](const std::unique_ptr<Job> &job) { return job->slot == slot; }))
            return slot;
    }
}

bool ConversionQueue::outputIsRemovable()
{
    if (!m_outputRemovable || m_outputRemovable->first != s.OutputFolder)
        m_outputRemovable.emplace(
            s.OutputFolder, Volumes::Testa_Rimovibile(s.OutputFolder, Volumes::current()));
    return m_outputRemovable->second;
}

// Checks, dialogs, names and questions for one file of the run, then hands it on.
ConversionQueue::Planned ConversionQueue::planFile(int index)
{
    const quint64 run = m_runNumber;
    const ConversionRun::File file = m_run->files()[size_t(index)];
    const bool tagOnly = m_run->options().tagOnly;
    if (m_jobs.empty()) {
        m_parts.status.clear();
        w.LabProgr->clear();
        w.LabBarra->resize(0, w.LabBarra->height());
    }

    // The panel shows the file: its tags, its length and the automatic profile follow it.
    // Showing it offers the commands again, which stay off while the run is busy.
    m_parts.browser.showFile(file.path);
    EnableMainControls(false);
    m_parts.commands.setConvertCommands(false);
    const QFileInfo source(file.path);
    // The plan keeps its own copy: the files in flight change m_sourceName while a dialog of
    // this plan waits for the user.
    const QString sourceName = source.fileName();
    m_sourceName = sourceName;
    if (!source.isFile() || source.size() < 1 || !s.FileFormatValid) {
        failFile(index, QString(), text(1199, "INVALID FILE FORMAT"));
        return Planned::Ended;
    }
    QString probe;
    // A tag-only run writes nothing into the output folder.
    if (!tagOnly && !MakeTempFileName(s.OutputFolder, QStringLiteral("tmp"), probe)) {
        const Volume *volume = Volumes::volumeOf(s.OutputFolder, Volumes::current());
        m_parts.messages.show(text(1103, "ERROR Access denied to Disk") + QStringLiteral(" (")
                + (volume ? volume->root : s.OutputFolder) + QLatin1Char(')'),
            Critical);
        endRun(Outcome::Failed);
        return Planned::Ended;
    }
    QFile::remove(probe);

    // The further files of a run may get other options; cancelling ends the run.
    if (!tagOnly && m_parts.options.alwaysShowDialog() && m_run->severalFiles()
        && m_run->taken() > 1 && (!showOptionsDialog(sourceName) || run != m_runNumber))
        return Planned::Ended;

    const QString startBase = RunPlan::baseNameOf(sourceName);
    QString base = startBase;
    // A section gets a name of its own, so that it never takes the whole file's output.
    if (m_choices.cutSectionOnly)
        base = CutNames::ApplyCutNameRule({s.CutNameNumbered, s.CutNameAfter, s.CutNameText}, base,
            {s.CurrentFolder, s.OutputFolder});
    if ((m_choices.editTagInfo || tagOnly) && (!editTags(base) || run != m_runNumber))
        return Planned::Ended;
    if (tagOnly) {
        if (base != startBase)
            renameTagged(file.path,
                JoinPath(source.absolutePath(), base + sourceName.mid(startBase.size())));
        return Planned::Skipped; // nothing is converted
    }

    const int slot = freeSlot();
    FilePlan plan;
    plan.sourcePath = file.path;
    plan.sourceType = file.type;
    plan.names = RunPlan::namesFor(
        base, file.type, s.OutputFolder, s.WorkFolder, outputIsRemovable(), slot);
    plan.createWma = m_choices.createWma;
    plan.keepWave = m_choices.createWav && file.type == QLatin1String("MP3");
    const QStringList outputs = RunPlan::outputsOf(plan.names, plan.createWma, plan.keepWave);
    bool goesOn = true;
    if (!mayWrite(outputs, plan.replace, goesOn))
        return goesOn && run == m_runNumber ? Planned::Skipped : Planned::Ended;
    if (run != m_runNumber)
        return Planned::Ended; // a file in flight failed while the question was open
    m_run->claim(outputs);
    plan.cutSectionOnly = m_choices.cutSectionOnly;
    plan.cut = s.Cut;
    plan.sourceLengthMs = s.SourceLengthMs;
    plan.profile = profileName();
    // A WAV has no tags; an MP3 or a WMA gives its cover too.
    const bool wma = file.type == QLatin1String("WMA");
    plan.tags = {s.TagTitle, s.TagArtist, s.TagCopyright, s.TagDescription, s.TagAlbum, s.TagTrack,
        s.TagYear, s.TagGenre, s.TagAlbumArtist, s.TagComposer, s.TagTrackFrame,
        file.type == QLatin1String("WAV") ? QString() : file.path, wma};
    plan.decoderProgram = s.AppFolder + QStringLiteral("tnvr3w");
    plan.batchPath = SlotFilePath(s.BatchFilePath, slot);
    plan.configPath = SlotFilePath(s.ConfigFilePath, slot);
    plan.encodeRatio = s.kTimeMP3;
    if (slot > 0
        && !WriteBatchFile(
            plan.batchPath, s.AppFolder + QStringLiteral("wm8eutil"), plan.configPath)) {
        failFile(index, QString(),
            plan.batchPath + QStringLiteral(": ") + text(12082, "cannot be written"));
        return Planned::Ended;
    }
    if (clashesWithFilesInFlight(plan)) {
        m_waiting = Waiting {index, slot, plan};
        return Planned::Waiting;
    }
    handOn(index, slot, plan);
    return Planned::Started;
}

bool ConversionQueue::showOptionsDialog(const QString &fileName)
{
    s.DialogCancelled = false;
    OptionValues values = m_parts.options.values(fileName, m_choices.cutSectionOnly, s.Cut.isSet());
    if (!m_parts.optionsDialog.showOptions(values)) {
        s.DialogCancelled = true;
        m_parts.commands.set(MainCommand::Tag, false);
        endPlanning(Outcome::Cancelled);
        return false;
    }
    m_parts.options.apply(values);
    m_choices = {values.cutOnly, values.editTag, values.createWma, values.createWav};
    s.CutSectionOnly = values.cutOnly;
    return true;
}

// The tag editor for the file shown; it may change the tag fields and the output's name.
bool ConversionQueue::editTags(QString &base)
{
    s.OutputBaseName = base;
    s.EditTagInfo = m_choices.editTagInfo;
    // The editor offers "the next files too" only while more files follow.
    s.QueueCount = int16_t(m_run->count());
    s.QueueDone = int16_t(m_run->taken() - 1);
    if (!m_parts.tagEditor.editTagInfo()) {
        s.DialogCancelled = true;
        m_parts.commands.set(MainCommand::Tag, false);
        if (isBusy())
            endPlanning(Outcome::Cancelled);
        return false;
    }
    m_choices.editTagInfo = s.EditTagInfo;
    if (!s.OutputBaseName.isEmpty())
        base = s.OutputBaseName;
    WidgetHelpers::pumpEvents();
    return isBusy();
}

// Existing outputs, and outputs an earlier file of this run writes, are replaced only after a
// Yes; a run of several files asks once, the first time it meets one.
bool ConversionQueue::mayWrite(const QStringList &outputs, bool &replace, bool &runGoesOn)
{
    replace = false;
    runGoesOn = true;
    switch (m_run->checkOutputs(outputs)) {
    case ConversionRun::Check::Free:
        return true;
    case ConversionRun::Check::Replace:
        replace = true;
        return true;
    case ConversionRun::Check::Keep:
        return false;
    case ConversionRun::Check::AskRun: {
        const int answer
            = m_parts.messages.show(text(1019, "SOME FILES ARE ALREADY EXISTING ... REPLACE ?"),
                YesNoCancelQuestionNoDefault);
        if (answer == Cancel) {
            runGoesOn = false;
            endPlanning(Outcome::Stopped);
            return false;
        }
        m_run->answerRun(answer == Yes);
        replace = answer == Yes;
        return replace;
    }
    case ConversionRun::Check::AskFile:
        break;
    }
    QString named = outputs.value(0);
    for (const QString &output : outputs)
        if (QFileInfo::exists(output)) {
            named = output;
            break;
        }
    const QString question = QStringLiteral("file: ") + named + QStringLiteral("\r\n\r\n")
        + text(1020, "ALREADY EXISTS ... REPLACE ?");
    replace = m_parts.messages.show(question, YesNoQuestionNoDefault) == Yes;
    return replace;
}

// A tag-only run gives the file the name the editor made, asking before another file of that
// name is replaced.
void ConversionQueue::renameTagged(const QString &from, const QString &to)
{
    m_parts.media.releaseFiles();
    FileActions::Outcome outcome = FileActions::RenameThisFile(from, to);
    if (outcome.result == FileActions::Result::TargetExists) {
        const QString question = QStringLiteral("file: ") + to + QStringLiteral("\n\n")
            + text(1020, "ALREADY EXISTS ... REPLACE ?");
        if (m_parts.messages.show(question, YesNoQuestionNoDefault) != Yes)
            return;
        outcome = FileActions::RenameThisFile(from, to, true);
    }
    if (outcome.result == FileActions::Result::Failed)
        m_parts.messages.show(from + QStringLiteral("\n\n") + outcome.error, Critical);
    if (outcome.ok())
        s.NewFilePath = to;
}

// ---- The file in flight ------------------------------------------------------------------------

void ConversionQueue::handOn(int index, int slot, const FilePlan &plan)
{
    m_parts.media.releaseFiles();
    if (!m_outputListCleared) {
        m_parts.browser.clearOutputList();
        m_outputListCleared = true;
    }
    auto job = std::make_unique<Job>();
    job->index = index;
    job->slot = slot;
    job->sourceName = QFileInfo(plan.sourcePath).fileName();
    job->outputName = plan.names.OutputFileName;
    // Whatever ran alone so far does not any more.
    job->alone = m_jobs.empty();
    for (const std::unique_ptr<Job> &other : m_jobs)
        other->alone = false;
    Mp3SectionDecoder *decoder = &m_parts.media.Mp3Play1();
    if (slot > 0) {
        job->decoder = std::make_unique<Mp3SectionDecoder>();
        decoder = job->decoder.get();
    }
    m_outputName = job->outputName;
    Job *j = job.get();
    j->conversion = new FileConversion(plan, *decoder, this);
    connect(
        j->conversion, &FileConversion::stageStarted, this, [this, j](FileConversion::Stage stage) {
            m_sourceName = j->sourceName;
            m_outputName = j->outputName;
            if (stage == FileConversion::Stage::Decoding)
                showStatus(1122, "DECODING - File:", j->sourceName);
            else
                showStatus(1120, "Creating WM Audio8 format - File:", j->outputName);
        });
    // The file's bar follows the file in flight longest.
    connect(j->conversion, &FileConversion::progress, this, [this, j](double fraction) {
        if (!m_jobs.empty() && m_jobs.front().get() == j)
            Avanza_Conv(fraction);
    });
    connect(j->conversion, &FileConversion::finished, this,
        [this, j](bool ok, FileConversion::Stage stage, FileConversion::Failure failure,
            const QString &detail) { fileFinished(j, ok, stage, failure, detail); });
    m_jobs.push_back(std::move(job));
    w.cmdHalt->show();
    j->conversion->start();
}

void ConversionQueue::fileFinished(Job *j, bool ok, FileConversion::Stage stage,
    FileConversion::Failure failure, const QString &detail)
{
    const auto found = std::find_if(m_jobs.begin(), m_jobs.end(),
        [j](const std::unique_ptr<Job> &job) { return job.get() == j; });
    if (found == m_jobs.end())
        return;
    std::unique_ptr<Job> job = std::move(*found);
    m_jobs.erase(found);
    job->conversion->deleteLater();
    // The decoder of its slot finishes with the file; it is not deleted inside its own signal.
    if (job->decoder)
        job->decoder.release()->deleteLater();
    if (!m_run)
        return;
    if (!m_endWhenIdle) {
        m_sourceName = job->sourceName;
        m_outputName = job->outputName;
    }
    const FilePlan &plan = job->conversion->plan();
    if (!ok) {
        const QString status = stage == FileConversion::Stage::Decoding
            ? QStringLiteral("       ") + text(1123, "ERROR inflating file") + u' ' + m_sourceName
            : QStringLiteral("       ") + text(1124, "STOPPED while converting file:") + u' '
                + m_outputName;
        m_endWhenIdle.reset();
        failFile(job->index, status, failureText(failure, detail));
        return;
    }
    // kTimeMP3 learns from MP3 sources only (WAV and WMA sources take no decoding time), and
    // only from a file that had the machine to itself: beside others, both stages take longer
    // in no fixed proportion.
    FileConversion *conversion = job->conversion;
    if (job->alone && plan.createWma && conversion->decodeSeconds() > 0
        && conversion->encodeSeconds() > 0)
        s.kTimeMP3 = float(conversion->encodeSeconds() / conversion->decodeSeconds());
    m_outputsToShow << conversion->outputs();
    if (!m_planning)
        showOutputs();
    m_outputNames[job->index]
        = plan.createWma ? job->outputName : QFileInfo(plan.names.WaveOutputPath).fileName();
    m_run->finish(job->index, ConversionRun::State::Converted);
    Avanza_Num();
    startWaiting();
    if (m_endWhenIdle) {
        if (m_jobs.empty())
            endRun(*m_endWhenIdle);
        return;
    }
    if (!m_jobs.empty())
        showStatus(1120, "Creating WM Audio8 format - File:", m_jobs.front()->outputName);
    // The next file is planned from the event loop, never from inside this handler.
    m_planLater.start();
}

void ConversionQueue::showOutputs()
{
    const QStringList outputs = std::exchange(m_outputsToShow, {});
    for (const QString &output : outputs) {
        m_parts.browser.addOutputFile(output);
        m_parts.browser.addInputFile(output);
    }
}

void ConversionQueue::endPlanning(Outcome outcome)
{
    if (m_jobs.empty()) {
        endRun(outcome);
        return;
    }
    m_endWhenIdle = outcome;
}

// Every file in flight ends: helpers stopped, temporary files removed, outputs set aside put
// back.
void ConversionQueue::stopJobs()
{
    std::vector<std::unique_ptr<Job>> jobs = std::move(m_jobs);
    m_jobs.clear();
    for (const std::unique_ptr<Job> &job : jobs) {
        job->conversion->stop();
        job->conversion->deleteLater();
        if (job->decoder)
            job->decoder.release()->deleteLater();
    }
}

// The scripts and configurations of the slots beside the first, which a run writes for itself.
void ConversionQueue::removeSlotFiles()
{
    if (s.BatchFilePath.isEmpty() || s.ConfigFilePath.isEmpty())
        return;
    for (int slot = 1; slot < std::max(1, s.FilesAtOnce); ++slot) {
        RemoveTemporaryFile(SlotFilePath(s.BatchFilePath, slot));
        RemoveTemporaryFile(SlotFilePath(s.ConfigFilePath, slot));
    }
}

QString ConversionQueue::failureText(FileConversion::Failure failure, const QString &detail) const
{
    using Failure = FileConversion::Failure;
    switch (failure) {
    case Failure::SectionBeyondEnd:
        return text(12084, "the section starts after the end of the file");
    case Failure::DecodedMissing:
        return detail + QStringLiteral(": ") + text(12081, "the decoded file is missing");
    case Failure::ConfigNotWritten:
        return detail + QStringLiteral(": ") + text(12082, "cannot be written");
    case Failure::CannotSetAside:
        return detail + QStringLiteral(": ") + text(12080, "cannot be set aside");
    case Failure::OutputNotPlaced:
        return detail + QStringLiteral(": ")
            + text(12083, "the finished file cannot take its name");
    case Failure::Helper:
    case Failure::None:
        break;
    }
    return detail;
}

// A file that cannot be converted ends the run: the user learns which file and why.
void ConversionQueue::failFile(int index, const QString &status, const QString &why)
{
    const QString path = m_run->files()[size_t(index)].path;
    m_run->finish(index, ConversionRun::State::Failed);
    endRun(Outcome::Failed);
    if (!status.isEmpty())
        m_parts.status.setText(status);
    m_parts.messages.show(
        QStringLiteral("file: ") + path + QStringLiteral("\r\n\r\n") + why, Critical);
}

// ---- Ending and stopping -----------------------------------------------------------------------

void ConversionQueue::endRun(Outcome outcome)
{
    if (!m_run)
        return;
    const std::unique_ptr<ConversionRun> run = std::move(m_run);
    ++m_runNumber;
    m_endWhenIdle.reset();
    m_waiting.reset();
    stopJobs();
    removeSlotFiles();
    showOutputs();
    // The end names the last file of the run, in its order, that was converted or skipped;
    // "---" when it was skipped, or nothing was converted.
    bool lastSkipped = true;
    for (int index = int(run->files().size()) - 1; index >= 0; --index) {
        const ConversionRun::State state = run->files()[size_t(index)].state;
        if (state == ConversionRun::State::Skipped || state == ConversionRun::State::Converted) {
            lastSkipped = state == ConversionRun::State::Skipped;
            if (!lastSkipped)
                m_outputName = m_outputNames[index];
            break;
        }
    }
    m_outputNames.clear();
    const bool completed = outcome == Outcome::Completed && run->completed();
    if (completed) {
        QStringList taken;
        for (const ConversionRun::File &file : run->files())
            taken << file.path;
        m_parts.browser.unmark(taken);
    }
    s.RunStopped = outcome == Outcome::Stopped || outcome == Outcome::Failed;
    EnableMainControls(true);
    m_parts.commands.setConvertCommands(false);
    m_parts.browser.refreshCurrent();
    if (!completed && outcome != Outcome::Completed) {
        // The files are still marked: converting them stays on offer.
        m_parts.commands.set(MainCommand::Convert, true);
        if (s.CutSectionOnly)
            m_parts.commands.set(MainCommand::ConvertSection, true);
    }
    if (outcome == Outcome::Completed) {
        m_parts.status.showGreenDot();
        if (lastSkipped)
            m_parts.status.setText(QStringLiteral("       --- "));
        else
            showStatus(1121, "Conversion completed - File:", m_outputName, 6);
    } else if (outcome != Outcome::Cancelled) {
        m_parts.status.showRedDot();
        showStatus(1124, "STOPPED while converting file:", m_sourceName);
    }
    emit runEnded();
}

bool ConversionQueue::cmdHalt_Click()
{
    if (m_parts.messages.show(text(1017, "Quit Conversion of file(s) ?"), YesNoQuestionNoDefault)
        == No)
        return false;
    stopRun(true);
    return true;
}

void ConversionQueue::stopForShutdown()
{
    stopRun(false);
}

void ConversionQueue::stopRun(bool tellUser)
{
    if (!isBusy())
        return;
    // The helpers end, their files go, and an output set aside comes back before anything else.
    stopJobs();
    m_waiting.reset();
    if (!tellUser) {
        m_run.reset();
        ++m_runNumber;
        removeSlotFiles();
        return;
    }
    endRun(Outcome::Stopped);
}

// ---- Busy state and progress -----------------------------------------------------------------

void ConversionQueue::EnableMainControls(bool enabled)
{
    for (QWidget *control : w.mainControls)
        control->setEnabled(enabled);
    w.cmdBrowse->setEnabled(enabled);
    for (MainCommand command :
        {MainCommand::ConversionOptions, MainCommand::Play, MainCommand::Pause, MainCommand::Tag})
        m_parts.commands.set(command, enabled);
    if (!enabled) {
        w.cmdHalt->show();
        m_parts.status.showWarningPicture(true);
        return;
    }
    w.cmdHalt->setVisible(isBusy());
    w.cmdBrowse->setEnabled(w.OptUsrDir->isChecked());
    m_parts.status.showWarningPicture(false);
    if (isBusy())
        return; // one file goes on converting: its progress stays on show
    for (QWidget *label : {w.LabProgr, w.LabBarra, w.LabProgrNum, w.LabBarraNum})
        label->hide();
}

void ConversionQueue::Avanza_Conv(double fraction)
{
    const int full = w.LabBarra->parentWidget()->width() - 2;
    w.LabBarra->resize(int(std::clamp(fraction, 0.0, 1.0) * full), w.LabBarra->height());
    w.LabProgr->setText(RunPlan::percentCaption(fraction));
    w.LabBarra->show();
    w.LabProgr->show();
}

void ConversionQueue::Avanza_Num()
{
    if (!m_run)
        return;
    const int done = m_run->done(), count = m_run->count();
    const int full = w.LabBarraNum->parentWidget()->width() - 2;
    w.LabBarraNum->resize(int(RunPlan::queueFraction(done, count) * full), w.LabBarraNum->height());
    w.LabProgrNum->setText(RunPlan::queueCaption(done, count));
    w.LabBarraNum->show();
    w.LabProgrNum->show();
}

QString ConversionQueue::profileName() const
{
    const auto &profiles = tonvera::encoderProfiles();
    const int index = w.cboProfile->currentIndex();
    const auto &profile = profiles[size_t(index >= 0 && index < int(profiles.size()) ? index : 4)];
    return QString::fromUtf8(profile.name.data(), qsizetype(profile.name.size()));
}
