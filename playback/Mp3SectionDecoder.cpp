#include "Mp3SectionDecoder.h"

#include "WavFileWriter.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <cmath>
#include <mpg123.h>
#include <vector>

namespace {

// How often the worker reports its position; the window only needs a smooth bar.
constexpr auto ProgressInterval = std::chrono::milliseconds(50);

struct HandleDeleter
{
    void operator()(mpg123_handle *h) const
    {
        mpg123_close(h);
        mpg123_delete(h);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

// Opens path for decoding to signed 16-bit samples at the source's own rate and channel
// count, and reads up to the first frame. Null (with *error) when it is not MPEG audio.
Handle openSource(const QString &path, long *rate, int *channels, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("%1: no such file").arg(path);
        return {};
    }
    static const bool initialised = mpg123_init() == MPG123_OK;
    int err = MPG123_OK;
    Handle h(initialised ? mpg123_new(nullptr, &err) : nullptr);
    if (!h) {
        *error = QStringLiteral("the MP3 decoder cannot start");
        return {};
    }
    // Gapless decoding is on by default; it removes the encoder's delay and padding so that
    // sample positions match the source's time line.
    mpg123_param(h.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
    // After a seek, layer 3 needs the frames before the target to refill the bit reservoir,
    // which can reach back several small frames; too few leave the section's start silent.
    mpg123_param(h.get(), MPG123_PREFRAMES, 32, 0);
    mpg123_format_none(h.get());
    const long *rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(h.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    if (mpg123_open(h.get(), QFile::encodeName(path).constData()) != MPG123_OK) {
        *error = QStringLiteral("%1: cannot open: %2")
                     .arg(path, QString::fromUtf8(mpg123_strerror(h.get())));
        return {};
    }
    int encoding = 0;
    if (mpg123_getformat(h.get(), rate, channels, &encoding) != MPG123_OK) {
        *error = QStringLiteral("%1: not MPEG audio").arg(path);
        return {};
    }
    return h;
}

} // namespace

struct Mp3SectionDecoder::Session
{
    Handle handle;
    WavFileWriter writer;
    long rate = 0;
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
    long rate = 0;
    int channels = 0;
    QString error;
    return openSource(path, &rate, &channels, &error) ? 0 : 1;
}

int Mp3SectionDecoder::decodeToWav(const QString &source, const QString &target)
{
    stop();
    m_error.clear();
    auto s = std::make_unique<Session>();
    s->handle = openSource(source, &s->rate, &s->channels, &m_error);
    if (!s->handle)
        return 1;
    // The decoded WAV replaces whatever is at the target; never let that be the source.
    const QFileInfo targetInfo(target);
    if (targetInfo.exists()
        && targetInfo.canonicalFilePath() == QFileInfo(source).canonicalFilePath()) {
        m_error = QStringLiteral("the target is the source file itself");
        return 2;
    }
    // A full scan gives the exact frame count and an index for sample-exact seeking.
    if (mpg123_scan(s->handle.get()) != MPG123_OK) {
        m_error = QStringLiteral("%1: cannot read: %2")
                      .arg(source, QString::fromUtf8(mpg123_strerror(s->handle.get())));
        return 3;
    }
    s->samples = mpg123_length(s->handle.get());
    s->frames = int(mpg123_framelength(s->handle.get()));
    s->samplesPerFrame = mpg123_spf(s->handle.get());
    s->secondsPerFrame = mpg123_tpf(s->handle.get());
    if (s->samples <= 0 || s->frames <= 0 || s->samplesPerFrame <= 0 || s->secondsPerFrame <= 0) {
        m_error = QStringLiteral("%1: no audio frames").arg(source);
        return 3;
    }
    if (!s->writer.open(target, int(s->rate), s->channels)) {
        m_error = s->writer.errorString();
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
    mpg123_handle *h = s.handle.get();
    QString error;
    const qint64 reached = mpg123_seek(h, off_t(firstSample), SEEK_SET);
    if (reached != firstSample)
        error = QStringLiteral("cannot seek to the start of the section: %1")
                    .arg(QString::fromUtf8(mpg123_strerror(h)));

    const int frameBytes = s.channels * 2;
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

    while (error.isEmpty() && position < endSample && !m_cancel.load(std::memory_order_relaxed)) {
        size_t done = 0;
        const int rc = mpg123_read(h, buffer.data(), buffer.size() * sizeof(int16_t), &done);
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(h, &rate, &channels, &encoding);
            if (rate != s.rate || channels != s.channels)
                error = QStringLiteral("the audio format changes within the file");
        }
        const qint64 available = qint64(done) / frameBytes;
        const qint64 take = std::min(available, endSample - position);
        if (error.isEmpty() && take > 0) {
            if (!s.writer.write(buffer.data(), size_t(take) * size_t(s.channels)))
                error = s.writer.errorString();
            position += take;
        }
        if (rc == MPG123_DONE)
            break;
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT && error.isEmpty())
            error
                = QStringLiteral("decoding failed: %1").arg(QString::fromUtf8(mpg123_strerror(h)));
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport >= ProgressInterval) {
            lastReport = now;
            report(position - 1);
        }
    }

    if (m_cancel.load()) {
        s.writer.abort();
        return; // stop() has already invalidated this generation
    }
    if (error.isEmpty() && position < endSample)
        error = QStringLiteral("the source ended early: it is damaged or changed while decoding");
    if (error.isEmpty()) {
        report(qint64(lastFrame) * s.samplesPerFrame);
        if (!s.writer.commit())
            error = s.writer.errorString();
    } else {
        s.writer.abort();
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
    m_session->handle.reset();
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
