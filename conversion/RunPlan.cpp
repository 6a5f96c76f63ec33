#include "conversion/RunPlan.h"

#include "core/PathHelpers.h"
#include "core/WorkFiles.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace RunPlan {

QString baseNameOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return fileName;
    return fileName.left(dot);
}

FileNames namesFor(const QString &outputBaseName, const QString &type, const QString &outputFolder,
    const QString &workFolder, bool outputRemovable, int slot)
{
    const QString temp = ConversionTemporaryName(slot);
    FileNames names;
    names.OutputBaseName = outputBaseName;
    names.OutputFileName = outputBaseName + QStringLiteral(".wma");
    names.OutputPath = JoinPath(outputFolder, names.OutputFileName);
    names.TempWaveOnWorkFolder = outputRemovable && !workFolder.isEmpty();
    names.TempWavePath
        = JoinPath(ShortPathOf(names.TempWaveOnWorkFolder ? workFolder : outputFolder),
            temp + QStringLiteral(".wav"));
    names.TempWmaPath = JoinPath(ShortPathOf(outputFolder), temp + QStringLiteral(".wma"));
    if (type == QLatin1String("MP3"))
        names.WaveOutputPath = JoinPath(outputFolder, outputBaseName + QStringLiteral(".wav"));
    return names;
}

QStringList outputsOf(const FileNames &names, bool createWma, bool createWav)
{
    QStringList outputs;
    if (createWma)
        outputs << names.OutputPath;
    if (createWav && !names.WaveOutputPath.isEmpty())
        outputs << names.WaveOutputPath;
    return outputs;
}

QString sectionTimes(const CutSection &cut, bool cutSectionOnly)
{
    if (!cutSectionOnly || !cut.isSet() || cut.startMs() < 0)
        return {};
    // A start alone reaches to the end, which the encoder reads from an end of 0.
    const qint64 end = cut.endMs() > cut.startMs() ? qint64(cut.endMs()) : 0;
    return QString::number(qint64(cut.startMs())) + QLatin1Char(' ') + QString::number(end);
}

DecodeRange sectionDecodeRange(
    const CutSection &cut, double sourceLengthMs, float frameMs, int frameCount)
{
    DecodeRange range;
    const bool toTheEnd = cut.endMs() <= cut.startMs();
    const double start = std::max(cut.startMs(), 0.0);
    if (frameMs <= 0 || !std::isfinite(frameMs)) {
        range.byFrames = false;
        range.valid = sourceLengthMs <= 0 || start < sourceLengthMs;
        range.startSeconds = float(start / 1000.0);
        range.endSeconds = float((toTheEnd ? sourceLengthMs : cut.endMs()) / 1000.0);
        return range;
    }
    const int lastFrame = std::max(frameCount - 1, 0);
    range.firstFrame = int(std::lround(start / frameMs));
    if (range.firstFrame > lastFrame) {
        range.valid = false;
        range.firstFrame = lastFrame;
    }
    range.lastFrame
        = toTheEnd ? lastFrame : std::min(int(std::lround(cut.endMs() / frameMs)), lastFrame);
    return range;
}

WholeFileSection wholeFileSection(const CutSection &cut)
{
    return {int(std::lround(std::max(cut.startMs(), 0.0))),
        int(std::lround(std::max(cut.endMs(), 0.0)))};
}

QString percentCaption(double fraction)
{
    return QString::number(std::lround(std::clamp(fraction, 0.0, 1.0) * 100)) + QLatin1Char('%');
}

double queueFraction(int done, int count)
{
    if (count <= 0)
        return 0;
    return std::clamp(double(done) / count, 0.0, 1.0);
}

QString queueCaption(int done, int count)
{
    return QString::number(done) + QLatin1Char('/') + QString::number(count);
}

} // namespace RunPlan
