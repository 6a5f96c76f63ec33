#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

// Decodes an MP3 file, or a section of it, into a 16-bit PCM WAV file in the background.
//
// Use: decodeToWav(source, target) opens and measures the source and prepares the target
// (0 = ready); frameDuration() and frameCount() then describe the source; setRangeByFrames()
// or setRangeByTime() picks the section and starts the decode on a worker thread (0 = started,
// negative = refused). For the whole file set the range 0 .. frameCount() - 1.
// progress(frame) and then either completed() or failed(message) are delivered on the thread
// that owns this object. The WAV appears under the target name only once it is complete;
// stop() cancels a running decode, removes its partial output and releases the source.
class Mp3SectionDecoder : public QObject
{
    Q_OBJECT
public:
    explicit Mp3SectionDecoder(QObject *parent = nullptr);
    ~Mp3SectionDecoder() override;

    // 0 when the file is MPEG audio that the decoder can play; non-zero otherwise.
    // Independent of any decode in progress; the file is not held open afterwards.
    int status(const QString &path) const;

    // 0 when the source was opened and measured and the target can be written.
    // Any decode in progress is stopped first.
    int decodeToWav(const QString &source, const QString &target);

    // Milliseconds per MPEG frame of the prepared source, 0 when nothing is prepared.
    float frameDuration() const;
    // Number of frames of the prepared source (last frame = count - 1), 0 when none.
    int frameCount() const;
    // Exact number of audio samples (per channel) of the prepared source, without the
    // encoder's delay and padding; 0 when none.
    qint64 sampleCount() const;
    int sampleRate() const;
    int channels() const;

    // Frames first .. last inclusive; a last frame beyond the end is taken as the end.
    // Starts the decode; 0 on success, negative when the range or the state is invalid.
    int setRangeByFrames(int first, int last);
    // Seconds start .. end, cut to the sample; an end beyond the file is taken as the end.
    int setRangeByTime(float startSec, float endSec);

    // Cancels a running decode (its partial output is removed) and releases the source.
    // A finished output stays. Always 0.
    int stop();

    bool isRunning() const { return m_worker.joinable(); }
    QString errorString() const { return m_error; }

signals:
    // The frame (counted from the start of the file) decoded last; the final report before
    // completed() is the last frame of the range.
    void progress(int frame);
    void completed();
    void failed(const QString &message);

private:
    struct Session;

    int startRange(qint64 firstSample, qint64 endSample, int lastFrame);
    void decodeLoop(quint64 generation, qint64 firstSample, qint64 endSample, int lastFrame);
    void finishOnOwnerThread(quint64 generation, const QString &error);
    void joinWorker();

    std::unique_ptr<Session> m_session;
    std::thread m_worker;
    std::atomic<bool> m_cancel {false};
    quint64 m_generation = 0;
    QString m_error;
};
