#include "Mp3SectionDecoder.h"

#include "Mpg123Source.h"
#include "WavWriter.h"

#include <QFile>

#include <chrono>
#include <cmath>
#include <exception>
#include <optional>
#include <span>
#include <vector>

namespace {

// How often the worker reports its position; the window only needs a smooth bar.
constexpr auto ProgressInterval = std::chrono::milliseconds(50);

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString messageOf(const std::exception &e)
{
    return QString::fromLocal8Bit(e.what());
}

} // namespace

struct Mp3SectionDecoder::Session
{
    std::unique_ptr<tonvera::Mpg123Source> source;
    std::optional<tonvera::WavWriter> writer;
    // Kept apart from the source, which is released as soon as the decode ends.
    int rate = 0;
    int channels = 0;
    qint64 samples = 0;
    int frames = 0;
    int samplesPerFrame = 0;
    double secondsPerFrame = 0;
    bool started = false;
};

Mp3SectionDecoder::Mp3SectionDecoder(QObject *parent)
    : QObject(parent)
{
}

Mp3SectionDecoder::~Mp3SectionDecoder()
{
    stop();
}

int Mp3SectionDecoder::status(const QString &path) const
{
    try {
        tonvera::Mpg123Source source(localPath(path));
        return 0;
    } catch (const std::exception &) {
        return 1;
    }
}

int Mp3SectionDecoder::decodeToWav(const QString &source, const QString &target)
{
    stop();
    m_error.clear();
    auto s = std::make_unique<Session>();
    try {
        s->source = std::make_unique<tonvera::Mpg123Source>(localPath(source));
    } catch (const std::exception &e) {
        m_error = messageOf(e);
        return 1;
    }
    s->rate = s->source->sampleRate();
    s->channels = s->source->channels();
    // The decoded WAV replaces whatever is at the target; never let that be the source.
    if (s->source->isSameFile(localPath(target))) {
        m_error = QStringLiteral("the target is the source file itself");
        return 2;
    }
    // A full scan gives the exact frame count and an index for sample-exact seeking.
    try {
        const tonvera::Mpg123Source::Length length = s->source->scan();
        s->samples = length.samples;
        s->frames = length.frames;
        s->samplesPerFrame = length.samplesPerFrame;
        s->secondsPerFrame = length.secondsPerFrame;
    } catch (const std::exception &e) {
        m_error = messageOf(e);
        return 3;
    }
    try {
        s->writer.emplace(localPath(target), s->rate, s->channels);
    } catch (const std::exception &e) {
        m_error = messageOf(e);
        return 4;
    }
    m_session = std::move(s);
    return 0;
}

float Mp3SectionDecoder::frameDuration() const
{
    return m_session ? float(m_session->secondsPerFrame * 1000.0) : 0.0f;
}

int Mp3SectionDecoder::frameCount() const
{
    return m_session ? m_session->frames : 0;
}

qint64 Mp3SectionDecoder::sampleCount() const
{
    return m_session ? m_session->samples : 0;
}

int Mp3SectionDecoder::sampleRate() const
{
    return m_session ? int(m_session->rate) : 0;
}

int Mp3SectionDecoder::channels() const
{
    return m_session ? m_session->channels : 0;
}

int Mp3SectionDecoder::setRangeByFrames(int first, int last)
{
    if (!m_session || m_session->started) {
        m_error = QStringLiteral("no decode is prepared");
        return -1;
    }
    if (first < 0 || last < first || first >= m_session->frames) {
        m_error = QStringLiteral("invalid frame range %1 to %2").arg(first).arg(last);
        return -2;
    }
    const qint64 spf = m_session->samplesPerFrame;
    const qint64 end = std::min(m_session->samples, (qint64(last) + 1) * spf);
    return startRange(qint64(first) * spf, end, std::min(last, m_session->frames - 1));
}

int Mp3SectionDecoder::setRangeByTime(float startSec, float endSec)
{
    if (!m_session || m_session->started) {
        m_error = QStringLiteral("no decode is prepared");
        return -1;
    }
    if (!std::isfinite(startSec) || !std::isfinite(endSec) || startSec < 0 || endSec <= startSec) {
        m_error = QStringLiteral("invalid time range %1 to %2").arg(startSec).arg(endSec);
        return -2;
    }
    // Clamped in floating point first: a huge end must mean "to the end", not overflow.
    const double rate = double(m_session->rate);
    const double total = double(m_session->samples);
    const qint64 first = std::llround(std::min(double(startSec) * rate, total));
    const qint64 end = std::llround(std::min(double(endSec) * rate, total));
    return startRange(first, end, int((end - 1) / m_session->samplesPerFrame));
}

int Mp3SectionDecoder::startRange(qint64 firstSample, qint64 endSample, int lastFrame)
{
    if (firstSample >= m_session->samples || endSample <= firstSample) {
        m_error = QStringLiteral("the range lies beyond the end of the file");
        return -3;
    }
    m_session->started = true;
    m_cancel = false;
    const quint64 generation = ++m_generation;
    m_worker = std::thread(
        &Mp3SectionDecoder::decodeLoop, this, generation, firstSample, endSample, lastFrame);
    return 0;
}

// Runs on the worker thread. Touches only the session (which the owner thread leaves alone
// while the worker runs) and reports back through queued calls.
void Mp3SectionDecoder::decodeLoop(
    quint64 generation, qint64 firstSample, qint64 endSample, int lastFrame)
{
    Session &s = *m_session;
    QString error;
    std::vector<int16_t> buffer(32768);
    qint64 position = firstSample;
    auto lastReport = std::chrono::steady_clock::now();
    const auto report = [&](qint64 samplePos) {
        // Frames count from the start of the file; the last report is the range's last frame,
        // so a caller's fraction frame / last reaches exactly 1.
        const int frame = std::min(lastFrame, int(samplePos / s.samplesPerFrame));
        QMetaObject::invokeMethod(
            this,
            [this, generation, frame] {
                if (generation == m_generation)
                    emit progress(frame);
            },
            Qt::QueuedConnection);
    };

    try {
        s.source->seek(firstSample);
        while (position < endSample && !m_cancel.load(std::memory_order_relaxed)) {
            const size_t count = s.source->read(buffer);
            if (count == 0)
                break;
            const qint64 take = std::min(qint64(count) / s.channels, endSample - position);
            s.writer->write(std::span(buffer).first(size_t(take) * size_t(s.channels)));
            position += take;
            const auto now = std::chrono::steady_clock::now();
            if (now - lastReport >= ProgressInterval) {
                lastReport = now;
                report(position - 1);
            }
        }
    } catch (const std::exception &e) {
        error = messageOf(e);
    }

    if (m_cancel.load()) {
        s.writer->discard();
        return; // stop() has already invalidated this generation
    }
    if (error.isEmpty() && position < endSample)
        error = QStringLiteral("the source ended early: it is damaged or changed while decoding");
    if (error.isEmpty()) {
        report(qint64(lastFrame) * s.samplesPerFrame);
        try {
            s.writer->commit();
        } catch (const std::exception &e) {
            error = messageOf(e);
        }
    } else {
        s.writer->discard();
    }
    QMetaObject::invokeMethod(
        this, [this, generation, error] { finishOnOwnerThread(generation, error); },
        Qt::QueuedConnection);
}

void Mp3SectionDecoder::finishOnOwnerThread(quint64 generation, const QString &error)
{
    if (generation != m_generation)
        return;
    joinWorker();
    // The source is not needed any more; release it so it can be renamed or deleted at once.
    // The measurements stay readable until stop() or the next decode.
    m_session->source.reset();
    m_error = error;
    if (error.isEmpty())
        emit completed();
    else
        emit failed(error);
}

void Mp3SectionDecoder::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

int Mp3SectionDecoder::stop()
{
    ++m_generation; // reports still queued from the worker are dropped
    m_cancel = true;
    joinWorker();
    m_session.reset(); // removes an unfinished output and closes the source
    return 0;
}
