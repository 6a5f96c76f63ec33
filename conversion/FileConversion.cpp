#include "conversion/FileConversion.h"

#include "conversion/HelperProcess.h"
#include "core/PathHelpers.h"
#include "playback/Mp3SectionDecoder.h"
#include "tags/FileActions.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace {

double secondsNow()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

} // namespace

FileConversion::FileConversion(
    const FilePlan &plan, Mp3SectionDecoder &sectionDecoder, QObject *parent)
    : QObject(parent)
    , m_plan(plan)
    , m_sectionDecoder(sectionDecoder)
    , m_decoder(new HelperProcess(this))
    , m_encoder(new HelperProcess(this))
    , m_estimate(new QTimer(this))
{
    connect(m_decoder, &HelperProcess::finished, this, [this](bool ok, const QString &why) {
        if (ok)
            decoded();
        else
            fail(Failure::Helper, why);
    });
    connect(m_encoder, &HelperProcess::progress, this, [this](int percent) {
        m_encoderReports = true;
        emit progress(percent / 100.0);
    });
    connect(m_encoder, &HelperProcess::finished, this, &FileConversion::encoded);
    // While the encoder tells nothing of its own, the bar follows the time it is expected to
    // take, and stops short of the end until it is done.
    m_estimate->setInterval(100);
    connect(m_estimate, &QTimer::timeout, this, [this] {
        if (m_encoderReports || m_expectedSeconds <= 0)
            return;
        const double elapsed = std::min(secondsNow() - m_stageStart, 0.99 * m_expectedSeconds);
        if (elapsed > 0)
            emit progress(elapsed / m_expectedSeconds);
    });
}

FileConversion::~FileConversion()
{
    stop();
}

void FileConversion::start()
{
    m_active = true;
    m_input = m_plan.sourcePath;
    RemoveTemporaryFile(m_plan.names.TempWavePath);
    if (m_plan.sourceType == QLatin1String("MP3")) {
        decodeMp3();
        return;
    }
    if (!setAside())
        return;
    encode(m_input);
}

// ---- Decoding ----------------------------------------------------------------------------------

void FileConversion::decodeMp3()
{
    m_stage = Stage::Decoding;
    m_stageStart = secondsNow();
    emit stageStarted(Stage::Decoding);
    emit progress(0.0);
    if (m_plan.cutSectionOnly && !m_plan.cut.isSet())
        m_plan.cutSectionOnly = false;
    if (!m_plan.cutSectionOnly) {
        decodeWhole();
        return;
    }
    if (m_sectionDecoder.decodeToWav(m_input, m_plan.names.TempWavePath) == 0) {
        const RunPlan::DecodeRange range = RunPlan::sectionDecodeRange(m_plan.cut,
            m_plan.sourceLengthMs, m_sectionDecoder.frameDuration(), m_sectionDecoder.frameCount());
        if (!range.valid) {
            m_sectionDecoder.stop();
            fail(Failure::SectionBeyondEnd);
            return;
        }
        m_sectionStart = range.firstFrame;
        m_sectionEnd = range.lastFrame;
        m_sectionDecoding = m_sectionDecoded = true;
        connect(&m_sectionDecoder, &Mp3SectionDecoder::progress, this, [this](int frame) {
            if (frame <= 0)
                return;
            const int last = m_sectionEnd > 0 ? m_sectionEnd : m_sectionDecoder.frameCount();
            emit progress(last > 0 ? std::min(1.0, double(frame) / last) : 1.0);
        });
        connect(&m_sectionDecoder, &Mp3SectionDecoder::completed, this, [this] {
            releaseSectionDecoder();
            decoded();
        });
        connect(&m_sectionDecoder, &Mp3SectionDecoder::failed, this, [this](const QString &why) {
            releaseSectionDecoder();
            fail(Failure::Helper, why);
        });
        const int started = range.byFrames
            ? m_sectionDecoder.setRangeByFrames(range.firstFrame, range.lastFrame)
            : m_sectionDecoder.setRangeByTime(range.startSeconds, range.endSeconds);
        if (started < 0) {
            const QString why = m_sectionDecoder.errorString();
            releaseSectionDecoder();
            fail(Failure::Helper, why);
        }
        return;
    }
    // The section decoder refuses the file: tnvr3w decodes it whole and the encoder cuts.
    if (m_plan.sourceLengthMs > 0 && m_plan.cut.startMs() >= m_plan.sourceLengthMs) {
        fail(Failure::SectionBeyondEnd);
        return;
    }
    const RunPlan::WholeFileSection section = RunPlan::wholeFileSection(m_plan.cut);
    m_sectionStart = section.start;
    m_sectionEnd = section.end;
    decodeWhole();
}

void FileConversion::decodeWhole()
{
    // tnvr3w tells nothing while it works: the bar shows the decode as a third of the file.
    emit progress(0.3);
    if (!m_decoder->start(m_plan.decoderProgram, {m_input, m_plan.names.TempWavePath}))
        fail(Failure::Helper, m_decoder->errorText());
}

void FileConversion::releaseSectionDecoder()
{
    if (!m_sectionDecoding)
        return;
    m_sectionDecoding = false;
    m_sectionDecoder.disconnect(this);
    m_sectionDecoder.stop();
}

void FileConversion::decoded()
{
    if (!m_active)
        return;
    // A decoder that reported success must have left the whole WAV behind.
    if (!QFileInfo(m_plan.names.TempWavePath).isFile()) {
        fail(Failure::DecodedMissing, m_plan.names.TempWavePath);
        return;
    }
    const double now = secondsNow();
    m_decodeSeconds = now - m_stageStart;
    m_expectedSeconds = m_plan.encodeRatio * m_decodeSeconds;
    if (m_plan.createWma)
        encode(m_plan.names.TempWavePath);
    else
        placeOutputs();
}

// ---- Encoding ----------------------------------------------------------------------------------

void FileConversion::encode(const QString &input)
{
    m_stage = Stage::Encoding;
    m_stageStart = secondsNow();
    emit stageStarted(Stage::Encoding);
    emit progress(0.0);
    EncoderSectionFields section;
    const bool mp3 = m_plan.sourceType == QLatin1String("MP3");
    section.CutSectionOnly = m_plan.cutSectionOnly;
    section.SectionDecoded = m_sectionDecoded;
    section.mp3Source = mp3;
    section.SectionStart = m_sectionStart;
    section.SectionEnd = m_sectionEnd;
    if (!mp3)
        section.SectionTimes = RunPlan::sectionTimes(m_plan.cut, m_plan.cutSectionOnly);
    EncoderTagFields tags = m_plan.tags;
    // A WMA source may have been set aside under another name by now.
    if (!tags.CoverSource.isEmpty())
        tags.CoverSource = m_input;
    const EncoderConfig config(input, m_plan.names.TempWmaPath, m_plan.profile, section, tags);
    if (!config.write(m_plan.configPath)) {
        fail(Failure::ConfigNotWritten, m_plan.configPath);
        return;
    }
    RemoveTemporaryFile(m_plan.names.TempWmaPath);
    m_encoderReports = false;
    m_estimate->start();
    if (!m_encoder->start(
            QStringLiteral("/bin/sh"), {m_plan.batchPath}, QStringLiteral("wm8eutil")))
        fail(Failure::Helper, m_encoder->errorText());
}

void FileConversion::encoded(bool ok, const QString &why)
{
    m_estimate->stop();
    if (!m_active)
        return;
    m_encodeSeconds = secondsNow() - m_stageStart;
    if (!ok) {
        fail(Failure::Helper, why);
        return;
    }
    if (!QFileInfo(m_plan.names.TempWmaPath).isFile()) {
        fail(Failure::OutputNotPlaced, m_plan.names.TempWmaPath);
        return;
    }
    placeOutputs();
}

// The finished files take their names, each by one rename over what was there.
void FileConversion::placeOutputs()
{
    const auto place = [this](const QString &from, const QString &to) {
        const FileActions::Outcome outcome = FileActions::RenameThisFile(from, to, m_plan.replace);
        if (outcome.ok()) {
            m_outputs << to;
            return true;
        }
        fail(Failure::OutputNotPlaced,
            to + (outcome.error.isEmpty() ? QString() : QStringLiteral(": ") + outcome.error));
        return false;
    };
    if (m_plan.createWma && !place(m_plan.names.TempWmaPath, m_plan.names.OutputPath))
        return;
    if (m_plan.sourceType == QLatin1String("MP3")) {
        if (m_plan.keepWave) {
            if (!place(m_plan.names.TempWavePath, m_plan.names.WaveOutputPath))
                return;
        } else {
            RemoveTemporaryFile(m_plan.names.TempWavePath);
        }
    }
    succeed();
}

// ---- The earlier output of a WMA source --------------------------------------------------------

// The earlier output (maybe the source itself) waits beside it until the new one is complete;
// a stop or a failure puts it back.
bool FileConversion::setAside()
{
    const QString output = m_plan.names.OutputPath;
    if (m_plan.sourceType != QLatin1String("WMA") || !m_plan.createWma
        || !QFileInfo::exists(output))
        return true;
    const QString aside = output + QStringLiteral(".tmp.wma");
    // An earlier copy already waits there (the file was encoded again before): it stays, and
    // the finished file replaces the output as the user agreed.
    if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink())
        return true;
    const FileActions::Outcome outcome = FileActions::RenameThisFile(output, aside);
    if (!outcome.ok()) {
        fail(Failure::CannotSetAside, output);
        return false;
    }
    m_setAside = aside;
    if (m_input == output)
        m_input = aside;
    return true;
}

void FileConversion::restoreSetAside()
{
    if (m_setAside.isEmpty())
        return;
    // Back under its name unless a finished file took that name; then it stays beside it.
    FileActions::RenameThisFile(m_setAside, m_plan.names.OutputPath);
    m_setAside.clear();
}

// ---- Ending ------------------------------------------------------------------------------------

void FileConversion::removeTemporaries()
{
    RemoveTemporaryFile(m_plan.names.TempWavePath);
    RemoveTemporaryFile(m_plan.names.TempWmaPath);
}

void FileConversion::fail(Failure failure, const QString &detail)
{
    if (!m_active)
        return;
    stop();
    const Stage stage = m_stage;
    // Always later than the call that failed, so the queue never hears of it from inside its
    // own call to start().
    QTimer::singleShot(
        0, this, [this, stage, failure, detail] { emit finished(false, stage, failure, detail); });
}

void FileConversion::succeed()
{
    m_active = false;
    m_setAside.clear(); // the earlier output stays beside the new one
    const Stage stage = m_stage;
    QTimer::singleShot(
        0, this, [this, stage] { emit finished(true, stage, Failure::None, QString()); });
}

void FileConversion::stop()
{
    if (!m_active)
        return;
    m_active = false;
    m_estimate->stop();
    releaseSectionDecoder();
    m_decoder->stop();
    m_encoder->stop();
    removeTemporaries();
    restoreSetAside();
}
