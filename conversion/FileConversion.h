#pragma once
// One planned file of a run on its way through the helpers: an MP3 decoded to a temporary WAV
// (by the section decoder or by tnvr3w), the WAV or the source encoded by wm8eutil into a
// temporary WMA, and the finished files renamed over their final names. Nothing the user owns
// is touched before the new file is complete; a failure or a stop removes the temporary files
// and puts back an earlier output that was set aside. No widgets: the queue shows what it says.

#include "conversion/EncoderConfig.h"
#include "conversion/RunPlan.h"
#include "core/CutSection.h"

#include <QObject>
#include <QString>
#include <QStringList>

class HelperProcess;
class Mp3SectionDecoder;
class QTimer;

// Everything one file's conversion needs, fixed when it was planned.
struct FilePlan
{
    QString sourcePath;
    QString sourceType; // "MP3", "WAV" or "WMA"
    RunPlan::FileNames names;
    bool createWma = true;
    bool keepWave = false; // an MP3's decoded WAV becomes its WAV output
    bool replace = false; // an existing output may be replaced (the user said Yes)
    bool cutSectionOnly = false;
    CutSection cut;
    double sourceLengthMs = 0;
    QString profile;
    EncoderTagFields tags;
    QString decoderProgram; // tnvr3w
    QString batchPath, configPath; // the encoder's script and configuration file
    float encodeRatio = 2.5f; // kTimeMP3: expected encoding time per second of decoding
};

class FileConversion : public QObject
{
    Q_OBJECT
public:
    enum class Stage { Decoding, Encoding };
    enum class Failure {
        None,
        Helper, // a helper failed or could not start; detail holds its words
        SectionBeyondEnd, // the section starts after the end of the MP3
        DecodedMissing, // the decoder said it finished but left no WAV
        ConfigNotWritten, // the encoder's configuration file cannot be written
        CannotSetAside, // an earlier output of a WMA source cannot be set aside
        OutputNotPlaced, // a finished file cannot take its final name; detail says why
    };

    FileConversion(
        const FilePlan &plan, Mp3SectionDecoder &sectionDecoder, QObject *parent = nullptr);
    ~FileConversion() override;

    const FilePlan &plan() const { return m_plan; }

    // Starts the work; the end always comes later, as finished().
    void start();
    // Ends the helpers, removes the temporary files and puts back what was set aside;
    // finished() is not emitted.
    void stop();

    // The final files made, once finished with success.
    QStringList outputs() const { return m_outputs; }
    double decodeSeconds() const { return m_decodeSeconds; }
    double encodeSeconds() const { return m_encodeSeconds; }

signals:
    void stageStarted(FileConversion::Stage stage);
    void progress(double fraction);
    void finished(bool ok, FileConversion::Stage stage, FileConversion::Failure failure,
        const QString &detail);

private:
    void decodeMp3();
    void decodeWhole();
    void decoded();
    void encode(const QString &input);
    void encoded(bool ok, const QString &why);
    void placeOutputs();
    bool setAside();
    void restoreSetAside();
    void removeTemporaries();
    void fail(Failure failure, const QString &detail = QString());
    void succeed();
    void releaseSectionDecoder();

    FilePlan m_plan;
    Mp3SectionDecoder &m_sectionDecoder;
    HelperProcess *m_decoder = nullptr;
    HelperProcess *m_encoder = nullptr;
    QTimer *m_estimate = nullptr;
    Stage m_stage = Stage::Decoding;
    bool m_active = false; // started and neither finished nor stopped
    bool m_sectionDecoding = false; // the section decoder works for this file
    bool m_sectionDecoded = false; // it cut the section, the encoder takes the whole WAV
    bool m_encoderReports = false;
    QString m_input; // what the encoder reads (the source, or the set-aside file)
    QString m_setAside; // an earlier output of a WMA source, beside it as ".tmp.wma"
    int m_sectionStart = 0, m_sectionEnd = 0;
    double m_stageStart = 0, m_decodeSeconds = 0, m_encodeSeconds = 0, m_expectedSeconds = 0;
    QStringList m_outputs;
};
