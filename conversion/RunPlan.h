#pragma once
// The plan of one file's conversion, worked out before anything is decoded or encoded: the
// output and temporary names, the section the decoder or the encoder cuts, which outputs exist
// already, and the texts of the progress displays. Plain rules, no widgets.

#include "core/CutSection.h"

#include <QString>
#include <QStringList>

namespace RunPlan {

// The names of one conversion. The temporary files are numbered by the file's slot among those
// in flight: "~tmpw_0.wav", "~tmpw_1.wav", ...
struct FileNames
{
    QString OutputBaseName; // without extension
    QString OutputFileName; // OutputBaseName + ".wma"
    QString OutputPath; // in the output folder
    QString WaveOutputPath; // OutputBaseName + ".wav" in the output folder; MP3 sources only
    QString TempWavePath; // "~tmpw_N.wav", in the working folder when the output is removable
    QString TempWmaPath; // "~tmpw_N.wma" in the output folder
    bool TempWaveOnWorkFolder = false;
};

// The output name of a source file: its name without the extension. A name that is nothing
// but its extension keeps its whole name, so an output never ends up as ".wma".
QString baseNameOf(const QString &fileName);

// The names for an output base name. type is the source's type ("MP3", "WAV", "WMA").
FileNames namesFor(const QString &outputBaseName, const QString &type, const QString &outputFolder,
    const QString &workFolder, bool outputRemovable, int slot = 0);

// The final files a conversion writes: the WMA, and the WAV an MP3 source keeps.
QStringList outputsOf(const FileNames &names, bool createWma, bool createWav);

// What the encoder cuts from a WAV or WMA source: "start end" in whole milliseconds, "start 0"
// from a start to the end of the file, or "" for the whole file.
QString sectionTimes(const CutSection &cut, bool cutSectionOnly);

// The range the MP3 section decoder is given. By frames when the frame duration is known,
// otherwise by seconds; a finish at or before the start reaches to the end of the file. Not
// valid when the start lies at or after the end of the file.
struct DecodeRange
{
    bool valid = true;
    bool byFrames = true;
    int firstFrame = 0, lastFrame = 0;
    float startSeconds = 0, endSeconds = 0;
};
DecodeRange sectionDecodeRange(
    const CutSection &cut, double sourceLengthMs, float frameMs, int frameCount);

// The section the encoder cuts from an MP3 decoded whole: start and end in whole milliseconds.
struct WholeFileSection
{
    int start = 0, end = 0;
};
WholeFileSection wholeFileSection(const CutSection &cut);

// The progress displays: the file's bar as a fraction with its percent caption, and the run's
// bar as files done of files in the run.
QString percentCaption(double fraction);
double queueFraction(int done, int count);
QString queueCaption(int done, int count);

} // namespace RunPlan
