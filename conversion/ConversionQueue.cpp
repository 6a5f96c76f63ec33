#include "conversion/ConversionQueue.h"

#include "conversion/ConversionOptions.h"
#include "conversion/EncoderConfig.h"
#include "conversion/HelperProcess.h"
#include "core/AppState.h"
#include "core/BrowserAccess.h"
#include "core/MainCommands.h"
#include "core/PathHelpers.h"
#include "core/Services.h"
#include "core/StatusLine.h"
#include "core/Volumes.h"
#include "core/WidgetHelpers.h"
#include "core/texts/LocalText.h"
#include "playback/MediaControls.h"
#include "playback/Mp3SectionDecoder.h"
#include "tags/CutNames.h"
#include "tags/FileActions.h"

#include <EncoderProfiles.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int Yes = 6;
constexpr int No = 7;
constexpr int Cancel = 2;
constexpr int Critical = 16;
constexpr int YesNoQuestionNoDefault = 292;
constexpr int YesNoCancelQuestionNoDefault = 291;

double secondsNow()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

} // namespace

ConversionQueue::ConversionQueue(
    const ConversionWidgets &widgets, const ConversionParts &parts, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , s(parts.state)
    , m_parts(parts)
    , m_decoder(new HelperProcess(this))
    , m_encoder(new HelperProcess(this))
{
    connect(w.cmdGrab, &QAbstractButton::clicked, this, &ConversionQueue::cmdGrab_Click);
    connect(w.cmdGrabCut, &QAbstractButton::clicked, this, &ConversionQueue::cmdGrabCut_Click);
    connect(w.mnuGrab, &QAction::triggered, this, &ConversionQueue::mnuGrab_Click);
    connect(w.cmdTag, &QAbstractButton::clicked, this, &ConversionQueue::cmdTag_Click);
    connect(w.mnuTag, &QAction::triggered, this, &ConversionQueue::cmdTag_Click);
    connect(w.chkCutNam, &QAbstractButton::clicked, this, [this](bool on) { s.CutNamesOn = on; });
    connect(w.cmdHalt, &QAbstractButton::clicked, this, [this] { cmdHalt_Click(); });

    connect(m_decoder, &HelperProcess::finished, this, [this](bool ok, const QString &why) {
        if (ok)
            decoderCompleted();
        else
            decoderFailed(why);
    });
    connect(m_encoder, &HelperProcess::progress, this, [this](int percent) {
        m_encoderReports = true;
        Avanza_Conv(percent / 100.0);
    });
    m_estimate = new QTimer(this);
    m_estimate->setInterval(100);
    connect(m_estimate, &QTimer::timeout, this, [this] {
        if (m_step != Step::Encoding || m_encoderReports || m_expectedSeconds <= 0)
            return;
        const double elapsed = std::min(secondsNow() - m_stageStart, 0.99 * m_expectedSeconds);
        if (elapsed > 0)
            Avanza_Conv(elapsed / m_expectedSeconds);
    });
    connect(m_encoder, &HelperProcess::finished, this, &ConversionQueue::encoderFinished);

    Mp3SectionDecoder &decoder = m_parts.media.Mp3Play1();
    connect(&decoder, &Mp3SectionDecoder::progress, this, [this](int frame) {
        if (m_step != Step::Decoding || frame <= 0)
            return;
        const int last = s.CutSectionOnly && m_sectionEnd > 0
            ? m_sectionEnd
            : m_parts.media.Mp3Play1().frameCount();
        Avanza_Conv(last > 0 ? std::min(1.0, double(frame) / last) : 1.0);
    });
    connect(&decoder, &Mp3SectionDecoder::completed, this, [this] {
        if (m_step == Step::Decoding)
            decoderCompleted();
    });
    connect(&decoder, &Mp3SectionDecoder::failed, this, [this](const QString &why) {
        if (m_step == Step::Decoding)
            decoderFailed(why);
    });
}

ConversionQueue::~ConversionQueue() = default;

bool ConversionQueue::isBusy() const
{
    return m_step != Step::Idle;
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
    s.RunStopped = false;
    s.CutSectionOnly = false;
    s.TagOnlyMode = false;
    StartConversionRun(QString());
}

void ConversionQueue::cmdGrabCut_Click()
{
    s.CutSectionOnly = true;
    s.RunStopped = false;
    s.TagOnlyMode = false;
    StartConversionRun(QString());
}

void ConversionQueue::mnuGrab_Click()
{
    if (s.Cut.isSet())
        cmdGrabCut_Click();
    else
        cmdGrab_Click();
}

void ConversionQueue::cmdTag_Click()
{
    if (isBusy() || m_running)
        return;
    s.RunStopped = false;
    s.CutSectionOnly = false;
    s.TagOnlyMode = true;
    s.NewFilePath.clear();
    s.DialogCancelled = false;
    const QString before = s.SourcePath;
    // Nothing is handed to a helper program: the run has ended when this returns.
    StartConversionRun(QString());
    WidgetHelpers::pumpEvents();
    if (s.DialogCancelled && s.QueueCount < 2)
        return;
    // The list shows the new names and tags, the last renamed file (or the one that was
    // current) current again.
    emit inputFilesRenamed(s.NewFilePath.isEmpty() ? before : s.NewFilePath);
}

void ConversionQueue::StartConversionRun(const QString &path)
{
    if (isBusy())
        return;
    // The preview stops before the window's controls go off, so that the Play button it gives
    // back goes off with them.
    m_parts.media.releaseFiles();
    EnableMainControls(false);
    s.QueueCount = s.QueueDone = s.RunConvertCalls = 0;
    w.LabProgrNum->clear();
    w.LabBarraNum->resize(0, w.LabBarraNum->height());
    s.RunListIndex = -1;
    m_existingAsked = false;
    m_running = true;
    m_parts.status.hideDot();
    s.EditTagInfo = w.ChkTag->isChecked();
    // The rules for the names of cut files come first; cancelling them starts nothing.
    if (s.CutSectionOnly && s.CutNamesOn && !m_parts.cutNameRules.askCutNameRules()) {
        m_running = false;
        EnableMainControls(true);
        return;
    }

    BrowserAccess &list = m_parts.browser;
    const int marked = list.markedCount();
    if (marked == 0 && path.isEmpty() && !list.hasCurrent()) {
        // Nothing marked and no current file (after a type change): nothing to convert.
        m_running = false;
        EnableMainControls(true);
        return;
    }
    if (marked == 0 || !path.isEmpty()) {
        s.QueueCount = 1;
        ConvertFile(path.isEmpty() ? s.SourcePath : path);
        // One file converts in the background: the window is usable again at once, with STOP
        // still offered while it runs.
        if (m_running)
            EnableMainControls(true);
        return;
    }
    s.QueueCount = int16_t(marked);
    for (int row = 0; row < list.entryCount(); ++row) {
        if (!list.isMarked(row))
            continue;
        s.RunListIndex = row;
        list.makeCurrent(row);
        if (s.CurrentType != QLatin1String("WMA")) {
            ConvertFile(s.SourcePath);
            return;
        }
        // Marked WMA files are passed over: they count as done.
        ++s.QueueDone;
        Avanza_Num();
        if (s.QueueDone >= s.QueueCount)
            break;
    }
    endRun(true);
}

// ---- One file --------------------------------------------------------------------------------

void ConversionQueue::ConvertFile(const QString &path)
{
    ++s.RunConvertCalls;
    s.SectionDecoded = false;
    m_sourcePath = path;
    for (;;) {
        if (planFile())
            return;
        // planFile skipped this file; the next marked one follows, or the run ends.
        if (!m_running)
            return;
        ++s.QueueDone;
        Avanza_Num();
        if (s.QueueDone >= s.QueueCount) {
            endRun(true);
            return;
        }
        int row = s.RunListIndex + 1;
        while (row < m_parts.browser.entryCount() && !m_parts.browser.isMarked(row))
            ++row;
        if (row >= m_parts.browser.entryCount()) {
            endRun(true);
            return;
        }
        s.RunListIndex = row;
        m_parts.browser.makeCurrent(row);
        m_sourcePath = s.SourcePath;
    }
}

// Checks, names and questions for m_sourcePath. True when the file was handed on (or the run
// ended); false when it is skipped.
bool ConversionQueue::planFile()
{
    m_parts.status.clear();
    w.LabProgr->clear();
    w.LabBarra->resize(0, w.LabBarra->height());
    m_sectionTimes.clear();
    m_setAside.clear();

    const QFileInfo source(m_sourcePath);
    if (!s.FileFormatValid) {
        m_parts.messages.show(text(1199, "INVALID FILE FORMAT"), Critical);
        abortRun();
        return true;
    }
    if (!source.isFile() || source.size() < 1) {
        abortRun();
        return true;
    }
    QString probe;
    // A tag-only run writes nothing into the output folder.
    if (!s.TagOnlyMode && !MakeTempFileName(s.OutputFolder, QStringLiteral("tmp"), probe)) {
        const Volume *volume = Volumes::volumeOf(s.OutputFolder, Volumes::current());
        m_parts.messages.show(text(1103, "ERROR Access denied to Disk") + QStringLiteral(" (")
                + (volume ? volume->root : s.OutputFolder) + QLatin1Char(')'),
            Critical);
        abortRun();
        return true;
    }
    if (!probe.isEmpty())
        QFile::remove(probe);

    // The further files of a run may get other options; cancelling ends the run.
    if (!s.TagOnlyMode && m_parts.options.alwaysShowDialog() && s.QueueCount > 1
        && s.QueueDone > 0) {
        s.DialogCancelled = false;
        OptionValues values
            = m_parts.options.values(source.fileName(), s.CutSectionOnly, s.Cut.isSet());
        if (!m_parts.optionsDialog.showOptions(values)) {
            s.DialogCancelled = true;
            m_parts.commands.set(MainCommand::Tag, false);
            abortRun();
            return true;
        }
        m_parts.options.apply(values);
        s.CutSectionOnly = values.cutOnly;
        s.EditTagInfo = values.editTag;
    }

    m_sourceName = source.fileName();
    m_sourceType = FileTypeOf(m_sourceName);
    s.SourcePath = m_sourcePath;
    const QString startBase = RunPlan::baseNameOf(m_sourceName);
    QString base = startBase;
    // A section gets a name of its own, so that it never takes the whole file's output.
    if (s.CutSectionOnly)
        base = CutNames::ApplyCutNameRule({s.CutNameNumbered, s.CutNameAfter, s.CutNameText}, base,
            {s.CurrentFolder, s.OutputFolder});
    if (s.EditTagInfo || s.TagOnlyMode) {
        s.OutputBaseName = base;
        if (!m_parts.tagEditor.editTagInfo()) {
            s.DialogCancelled = true;
            m_parts.commands.set(MainCommand::Tag, false);
            abortRun();
            return true;
        }
        if (!s.OutputBaseName.isEmpty())
            base = s.OutputBaseName;
        WidgetHelpers::pumpEvents();
    }
    if (s.TagOnlyMode) {
        if (base != startBase)
            renameTagged(m_sourcePath,
                JoinPath(source.absolutePath(), base + m_sourceName.mid(startBase.size())));
        return false; // nothing is converted
    }
    m_tags = {s.TagTitle, s.TagArtist, s.TagCopyright, s.TagDescription, s.TagAlbum, s.TagTrack};
    const QString type = m_sourceType;
    const bool removable = Volumes::Testa_Rimovibile(s.OutputFolder, Volumes::current());
    const RunPlan::FileNames names
        = RunPlan::namesFor(base, type, s.OutputFolder, s.WorkFolder, removable);
    s.OutputBaseName = names.OutputBaseName;
    s.OutputFileName = names.OutputFileName;
    s.OutputPath = names.OutputPath;
    s.WaveOutputPath = names.WaveOutputPath;
    s.TempWavePath = names.TempWavePath;
    s.TempWmaPath = names.TempWmaPath;
    s.TempWaveOnWorkFolder = names.TempWaveOnWorkFolder;
    RemoveTemporaryFile(s.TempWavePath);

    const bool wma = w.chkWMA->isChecked();
    const bool wav = w.chkWAV->isChecked() && type == QLatin1String("MP3");
    // Existing outputs: asked once for a run over marks, or for the one file. A section's
    // output has a name of its own, asked about file by file.
    if (s.QueueCount >= 2 && !s.CutSectionOnly) {
        if (!m_existingAsked) {
            m_existingAsked = true;
            s.KeepExisting = false;
            QStringList names;
            // Marked WMA files are passed over, so their outputs are not asked about.
            for (int row = 0; row < m_parts.browser.entryCount(); ++row)
                if (m_parts.browser.isMarked(row)
                    && FileTypeOf(m_parts.browser.fileNameAt(row)) != QLatin1String("WMA"))
                    names << m_parts.browser.fileNameAt(row);
            if (!RunPlan::firstExistingOutput(names, s.OutputFolder, wma, w.chkWAV->isChecked())
                     .isEmpty()) {
                const int answer = m_parts.messages.show(
                    text(1019, "SOME FILES ARE ALREADY EXISTING ... REPLACE ?"),
                    YesNoCancelQuestionNoDefault);
                if (answer == Cancel) {
                    s.RunStopped = true;
                    abortRun();
                    return true;
                }
                s.KeepExisting = answer == No;
            }
        }
    } else {
        const bool wmaExists = wma && QFileInfo::exists(s.OutputPath);
        const bool wavExists = wav && QFileInfo::exists(s.WaveOutputPath);
        if (wmaExists || wavExists) {
            const QString question = QStringLiteral("file: ")
                + (wmaExists ? s.OutputPath : s.WaveOutputPath) + QStringLiteral("\r\n\r\n")
                + text(1020, "ALREADY EXISTS ... REPLACE ?");
            if (m_parts.messages.show(question, YesNoQuestionNoDefault) == No) {
                abortRun();
                return true;
            }
        }
    }

    m_parts.media.releaseFiles();
    if (s.QueueDone < 1)
        m_parts.browser.clearOutputList();

    bool skipFile = false, skipWave = false;
    if (type == QLatin1String("MP3") || type == QLatin1String("WAV")) {
        if (wma && QFileInfo::exists(s.OutputPath)) {
            if (s.KeepExisting)
                skipFile = skipWave = true;
            else
                RemoveTemporaryFile(s.OutputPath);
        }
        if (wav && QFileInfo::exists(s.WaveOutputPath)) {
            if (s.KeepExisting)
                skipWave = true;
            else
                RemoveTemporaryFile(s.WaveOutputPath);
        }
    } else if (type == QLatin1String("WMA") && QFileInfo::exists(s.OutputPath)) {
        // The earlier output (maybe the source itself) waits beside it until the new one is
        // complete; a stop or a failure puts it back.
        m_setAside = s.OutputPath + QStringLiteral(".tmp.wma");
        if (!QFile::rename(s.OutputPath, m_setAside)) {
            m_parts.messages.show(
                s.OutputPath + QStringLiteral(": ") + text(12080, "cannot be set aside"), Critical);
            m_setAside.clear();
            abortRun();
            return true;
        }
        if (m_sourcePath == s.OutputPath)
            m_sourcePath = m_setAside;
    }

    w.cmdHalt->show();
    if (type == QLatin1String("WAV") || type == QLatin1String("WMA")) {
        if (s.RunStopped) {
            abortRun();
            return true;
        }
        if (skipFile)
            return false;
        encodeDirectly();
        return true;
    }
    if (type == QLatin1String("MP3")) {
        if (skipWave)
            return false;
        decodeMp3();
        return true;
    }
    abortRun();
    return true;
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

void ConversionQueue::encodeDirectly()
{
    m_sectionTimes = RunPlan::sectionTimes(s.Cut, s.CutSectionOnly);
    showStatus(1120, "Creating WM Audio8 format - File:", s.OutputFileName);
    m_decodeSeconds = 0;
    m_expectedSeconds = 0;
    m_stageStart = secondsNow();
    Converti_WMA(m_sourcePath);
}

// ---- MP3 sources -----------------------------------------------------------------------------

void ConversionQueue::decodeMp3()
{
    m_decodeSeconds = 0;
    m_stageStart = secondsNow();
    if (s.CutSectionOnly && !s.Cut.isSet())
        s.CutSectionOnly = false;
    m_sectionStart = m_sectionEnd = 0;
    showStatus(1122, "DECODING - File:", m_sourceName);
    Avanza_Conv(0.0);
    if (s.CutSectionOnly) {
        Mp3SectionDecoder &decoder = m_parts.media.Mp3Play1();
        if (decoder.decodeToWav(m_sourcePath, s.TempWavePath) == 0) {
            s.SectionDecoded = true;
            const RunPlan::DecodeRange range = RunPlan::sectionDecodeRange(
                s.Cut, s.SourceLengthMs, decoder.frameDuration(), decoder.frameCount());
            m_sectionStart = range.firstFrame;
            m_sectionEnd = range.lastFrame;
            m_step = Step::Decoding;
            const int started = range.byFrames
                ? decoder.setRangeByFrames(range.firstFrame, range.lastFrame)
                : decoder.setRangeByTime(range.startSeconds, range.endSeconds);
            if (started < 0) {
                decoder.stop();
                decoderFailed(decoder.errorString());
            }
            return;
        }
        // The section decoder refuses the file: tnvr3w decodes it whole and the encoder cuts.
        const RunPlan::WholeFileSection section = RunPlan::wholeFileSection(s.Cut);
        m_sectionStart = section.start;
        m_sectionEnd = section.end;
    }
    decodeWholeMp3();
}

void ConversionQueue::decodeWholeMp3()
{
    if (s.RunStopped) {
        abortRun();
        return;
    }
    m_step = Step::Decoding;
    // tnvr3w tells nothing while it works: the bar shows the decode as a third of the file.
    Avanza_Conv(0.3);
    const QString decoder = s.AppFolder + QStringLiteral("tnvr3w");
    if (!m_decoder->start(decoder, {m_sourcePath, s.TempWavePath}))
        decoderFailed(m_decoder->errorText());
}

void ConversionQueue::decoderFailed(const QString &why)
{
    m_step = Step::Idle;
    RemoveTemporaryFile(s.TempWavePath);
    showStatus(1123, "ERROR inflating file", m_sourceName);
    if (!why.isEmpty())
        m_parts.messages.show(why, Critical);
    abortRun();
}

void ConversionQueue::decoderCompleted()
{
    m_step = Step::Idle;
    if (s.SectionDecoded)
        m_parts.media.Mp3Play1().stop();
    // A decoder that reported success must have left the whole WAV behind.
    if (!QFileInfo(s.TempWavePath).isFile()) {
        decoderFailed(
            s.TempWavePath + QStringLiteral(": ") + text(12081, "the decoded file is missing"));
        return;
    }
    const double now = secondsNow();
    m_decodeSeconds = now - m_stageStart;
    m_expectedSeconds = s.kTimeMP3 * m_decodeSeconds;
    m_stageStart = now;
    if (w.chkWMA->isChecked()) {
        showStatus(1120, "Creating WM Audio8 format - File:", s.OutputFileName);
        Avanza_Conv(0.0);
        Converti_WMA(s.TempWavePath);
        return;
    }
    KeepDecodedWave();
    ++s.QueueDone;
    Avanza_Num();
    QTimer::singleShot(0, this, &ConversionQueue::nextFile);
}

void ConversionQueue::KeepDecodedWave()
{
    RemoveTemporaryFile(s.WaveOutputPath);
    if (!QFile::rename(s.TempWavePath, s.WaveOutputPath))
        return;
    m_parts.browser.addOutputFile(s.WaveOutputPath);
    m_parts.browser.addInputFile(s.WaveOutputPath);
}

// ---- The encoder -----------------------------------------------------------------------------

QString ConversionQueue::profileName() const
{
    const auto &profiles = tonvera::encoderProfiles();
    const int index = w.cboProfile->currentIndex();
    const auto &profile = profiles[size_t(index >= 0 && index < int(profiles.size()) ? index : 4)];
    return QString::fromUtf8(profile.name.data(), qsizetype(profile.name.size()));
}

void ConversionQueue::Converti_WMA(const QString &input)
{
    m_parts.status.showWarningPicture(true);
    s.ProfileName = profileName();
    EncoderSectionFields section;
    section.CutSectionOnly = s.CutSectionOnly;
    section.SectionDecoded = s.SectionDecoded;
    section.mp3Source = m_sourceType == QLatin1String("MP3");
    section.SectionStart = m_sectionStart;
    section.SectionEnd = m_sectionEnd;
    section.SectionTimes = m_sectionTimes;
    const EncoderConfig config(input, s.TempWmaPath, s.ProfileName, section, m_tags);
    m_tags = config.tags();
    if (!config.write(s.ConfigFilePath)) {
        m_parts.messages.show(
            s.ConfigFilePath + QStringLiteral(": ") + text(12082, "cannot be written"), Critical);
        encoderFinished(false, QString());
        return;
    }
    RemoveTemporaryFile(s.TempWmaPath);
    m_step = Step::Encoding;
    m_encoderReports = false;
    m_estimate->start();
    if (!m_encoder->start(QStringLiteral("/bin/sh"), {s.BatchFilePath}))
        encoderFinished(false, m_encoder->errorText());
}

void ConversionQueue::encoderFinished(bool ok, const QString &why)
{
    m_step = Step::Idle;
    m_estimate->stop();
    if (s.RunStopped)
        return;
    const double encodeSeconds = secondsNow() - m_stageStart;
    if (ok && !QFileInfo(s.TempWmaPath).isFile()) {
        ok = false;
    }
    QString failure = why;
    if (ok) {
        if (m_decodeSeconds > 0 && encodeSeconds > 0)
            s.kTimeMP3 = float(encodeSeconds / m_decodeSeconds);
        RemoveTemporaryFile(s.OutputPath);
        if (!QFile::rename(s.TempWmaPath, s.OutputPath)) {
            ok = false;
            failure = s.OutputPath + QStringLiteral(": ")
                + text(12083, "the finished file cannot take its name");
        }
    }
    if (!ok) {
        // A failed encode never becomes a finished file; what was set aside goes back.
        RemoveTemporaryFile(s.TempWmaPath);
        if (m_sourceType == QLatin1String("MP3"))
            RemoveTemporaryFile(s.TempWavePath);
        restoreSetAside();
        m_parts.status.showRedDot();
        showStatus(1124, "STOPPED while converting file:", s.OutputFileName);
        m_parts.messages.show(failure.isEmpty() ? s.OutputFileName : failure, Critical);
        abortRun();
        return;
    }
    m_parts.browser.addOutputFile(s.OutputPath);
    if (m_sourceType == QLatin1String("MP3")) {
        if (w.chkWAV->isChecked())
            KeepDecodedWave();
        else
            RemoveTemporaryFile(s.TempWavePath);
    }
    m_parts.browser.addInputFile(s.OutputPath);
    ++s.QueueDone;
    Avanza_Num();
    // The next file starts from the event loop, never from inside this handler.
    QTimer::singleShot(0, this, &ConversionQueue::nextFile);
}

// ---- Moving on, ending and stopping ----------------------------------------------------------

void ConversionQueue::nextFile()
{
    if (!m_running || s.RunStopped)
        return;
    if (s.QueueDone >= s.QueueCount) {
        endRun(false);
        return;
    }
    BrowserAccess &list = m_parts.browser;
    for (int row = s.RunListIndex + 1; row < list.entryCount(); ++row) {
        if (!list.isMarked(row))
            continue;
        s.RunListIndex = row;
        list.makeCurrent(row);
        if (s.CurrentType == QLatin1String("WMA")) {
            ++s.QueueDone;
            Avanza_Num();
            continue;
        }
        ConvertFile(s.SourcePath);
        return;
    }
    endRun(false);
}

void ConversionQueue::endRun(bool lastSkipped)
{
    m_running = false;
    m_step = Step::Idle;
    m_parts.browser.clearMarks();
    EnableMainControls(true);
    m_parts.browser.refreshCurrent();
    m_parts.status.showGreenDot();
    if (lastSkipped)
        m_parts.status.setText(QStringLiteral("       --- "));
    else
        showStatus(1121, "Conversion completed - File:", s.OutputFileName, 6);
    emit runEnded();
}

void ConversionQueue::abortRun()
{
    m_running = false;
    m_step = Step::Idle;
    EnableMainControls(true);
    // The files are still marked: converting them stays on offer.
    m_parts.commands.set(MainCommand::Convert, true);
    if (s.CutSectionOnly)
        m_parts.commands.set(MainCommand::ConvertSection, true);
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
    if (m_running || isBusy())
        stopRun(false);
}

void ConversionQueue::stopRun(bool tellUser)
{
    s.RunStopped = true;
    m_decoder->stop();
    m_encoder->stop();
    m_estimate->stop();
    if (m_step == Step::Decoding && s.SectionDecoded)
        m_parts.media.Mp3Play1().stop();
    m_step = Step::Idle;
    m_running = false;
    removeTemporaries();
    restoreSetAside();
    if (!tellUser)
        return;
    m_parts.status.showRedDot();
    EnableMainControls(true);
    m_parts.browser.refreshCurrent();
    showStatus(1124, "STOPPED while converting file:", m_sourceName);
    emit runEnded();
}

void ConversionQueue::removeTemporaries()
{
    RemoveTemporaryFile(s.TempWavePath);
    RemoveTemporaryFile(s.TempWmaPath);
}

void ConversionQueue::restoreSetAside()
{
    if (m_setAside.isEmpty() || !QFileInfo::exists(m_setAside))
        return;
    // The earlier file is the user's: it goes back under its name unless a finished output
    // took that name, and then it stays beside it.
    if (!QFileInfo::exists(s.OutputPath))
        QFile::rename(m_setAside, s.OutputPath);
    m_setAside.clear();
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
    if (!s.RunStopped)
        m_parts.commands.setConvertCommands(false);
    m_parts.status.showWarningPicture(false);
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
    const int full = w.LabBarraNum->parentWidget()->width() - 2;
    w.LabBarraNum->resize(
        int(RunPlan::queueFraction(s.QueueDone, s.QueueCount) * full), w.LabBarraNum->height());
    w.LabProgrNum->setText(RunPlan::queueCaption(s.QueueDone, s.QueueCount));
    w.LabBarraNum->show();
    w.LabProgrNum->show();
}
