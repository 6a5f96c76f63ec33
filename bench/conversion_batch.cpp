// A marked batch of MP3s converted by the real window (offscreen, started as the program starts,
// with the real tnvr3w and wm8eutil beside it) against the FFmpeg command line transcoding the
// same files one after another at the same profile (a64: 44100 Hz stereo, 64016 bps). The two
// take turns, A first then B first, so that a busy machine hurts both alike. Meanwhile a fast
// timer on the window's thread records the gaps between its ticks: the longest is how long the
// user would have seen the window freeze.
//
// Three batches, each with its own target for the wall time against FFmpeg's (reported, never
// enforced): twenty one-minute files with as many in flight as there are cores (0.65x), forty
// five-second files, where the cost of each file counts most (1.0x), and twenty one-minute files
// one at a time (1.3x). No stall of the event loop may reach 50 ms. A fourth batch of two hundred
// one-second files shows whether the program's memory stays flat over a long run: its resident
// size once a tenth of the files are done against its size at the end.
// TONVERA_BENCH_ROUNDS sets the number of rounds (default 5).
#include "QuietWindow.h"
#include "app/AppShell.h"
#include "app/MainWindow.h"
#include "conversion/ConversionQueue.h"
#include "core/AppState.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "ui_frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

namespace {

struct Batch
{
    const char *name;
    int files;
    int seconds; // of each file
    int filesAtOnce; // the setting: 0 for one per core
    double timeTarget; // wall time against FFmpeg's
};
const Batch Batches[] = {
    {"20 one-minute MP3s, one per core", 20, 60, 0, 0.65},
    {"40 five-second MP3s, one per core", 40, 5, 0, 1.0},
    {"20 one-minute MP3s, one at a time", 20, 60, 1, 1.3},
    {"200 one-second MP3s, one per core", 200, 1, 0, 1.0},
};
constexpr double MemoryGrowthTargetMb = 10.0;
constexpr int TickMs = 2;
constexpr double StallTargetMs = 50.0;
constexpr double NotableGapMs = 20.0;

const QString Bin = QStringLiteral(TONVERA_BIN_DIR);

double cpuSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double residentMb()
{
    QFile file(QStringLiteral("/proc/self/statm"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 pages
        = QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 1, 1).toLongLong();
    return double(pages) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[index];
}

// Records the gaps between the ticks of a timer on the window's thread.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(TickMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            const double gap = double(now - m_last) / 1e6;
            m_last = now;
            gaps.push_back(gap);
            if (gap > worst)
                worst = gap;
            // A gap whose window text changed spans a step of the run (a helper ended, the
            // next started); the first tick waits for the Convert click itself.
            const QString shown = where ? where() : QString();
            if (gap >= NotableGapMs)
                notable.push_back({gap,
                    (gaps.size() == 1          ? QStringLiteral("[Convert click] ")
                            : shown != m_shown ? QStringLiteral("[step change] ")
                                               : QStringLiteral("[within a step] "))
                        + shown});
            m_shown = shown;
        });
    }
    void start()
    {
        gaps.clear();
        worst = 0;
        notable.clear();
        m_clock.start();
        m_last = 0;
        m_shown.clear();
        m_timer.start();
    }
    void stop() { m_timer.stop(); }

    std::vector<double> gaps;
    double worst = 0;
    // What the window showed right after a gap, to tell which step of the run held the loop.
    std::function<QString()> where;
    std::vector<std::pair<double, QString>> notable;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    QString m_shown;
};

// Different MP3s at 128 kbps (for which the automatic choice is a64 too): a tone over pink noise,
// so the encoders see something like music rather than silence.
bool makeSources(const QString &folder, const Batch &batch)
{
    for (int i = 0; i < batch.files; ++i) {
        const QString tone = QStringLiteral("sine=frequency=%1:sample_rate=44100:duration=%2")
                                 .arg(110 + 37 * i)
                                 .arg(batch.seconds);
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
            {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", tone, "-f", "lavfi", "-i",
                QStringLiteral("anoisesrc=color=pink:amplitude=0.2:sample_rate=44100:duration=%1")
                    .arg(batch.seconds),
                "-filter_complex", "[0][1]amix=inputs=2,aformat=channel_layouts=stereo", "-c:a",
                "libmp3lame", "-b:a", "128k",
                QDir(folder).filePath(
                    QStringLiteral("Track %1.mp3").arg(i + 1, 2, 10, QChar('0')))});
        if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
            std::fprintf(stderr, "ffmpeg could not make the sources: %s\n",
                ffmpeg.readAllStandardError().constData());
            return false;
        }
    }
    return true;
}

void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void removeOutputs(const QString &folder)
{
    for (const QString &name : QDir(folder).entryList({"*.wma", "*.WMA"}, QDir::Files))
        QFile::remove(QDir(folder).filePath(name));
}

struct BatchResult
{
    double seconds = 0, cpuSeconds = 0;
    double residentAtATenth = 0, residentAtTheEnd = 0; // MB
    std::vector<double> idleGaps; // the window's, before its run
    bool ok = false;
    QString why;
};

// A: the window started as the program starts, all marked, Convert pressed, until the run ends.
BatchResult convertInTheWindow(
    const QString &root, const QString &music, StallMeter &meter, const Batch &batch)
{
    BatchResult result;
    removeOutputs(music);
    const QString appFolder = root + QStringLiteral("/app");
    {
        Settings store;
        store.setText(QStringLiteral("UserDef"), QStringLiteral("Language"), QStringLiteral("EN"));
        store.setText(QStringLiteral("UserDef"), QStringLiteral("Path"), music);
        store.setText(QStringLiteral("UserDef"), QStringLiteral("iTyp"), QStringLiteral("0"));
        store.setText(
            QStringLiteral("UserDef"), QStringLiteral("Option1"), QStringLiteral("False"));
        store.setText(QStringLiteral("UserDef"), QStringLiteral("ListIndex"), QStringLiteral("4"));
        store.setText(QStringLiteral("UserDef"), QStringLiteral("FilesAtOnce"),
            QString::number(batch.filesAtOnce));
        store.sync();
    }
    QuietServices quiet;
    quiet.answer = 1; // the default of each question
    MountedVolumes volumes;
    const AppServices services {&quiet, &quiet, &quiet, &quiet, &volumes};
    AppState state;
    Settings settings;
    auto window = std::make_unique<MainWindow>(state, settings, services);
    auto *shell = new AppShell(*window, appFolder);
    if (!shell->start({})) {
        result.why = QStringLiteral("the window did not start");
        return result;
    }
    Ui::frmMain &ui = window->ui();
    ui.chkWMA->setChecked(true);
    ui.ListInput->setCurrentRow(0);
    runEventLoop(200); // let the start settle before measuring
    ui.chkAll->click();
    if (ui.ListInput->selectedItems().size() != batch.files) {
        result.why = QStringLiteral("%1 files marked instead of %2")
                         .arg(ui.ListInput->selectedItems().size())
                         .arg(batch.files);
        return result;
    }
    ConversionQueue &queue = window->conversion();
    QLabel *status = ui.LabStatus;
    QLabel *progress = ui.LabProgrNum;
    // A second of the idle window first: the gaps the busy machine alone causes.
    meter.where = nullptr;
    meter.start();
    runEventLoop(1000);
    meter.stop();
    result.idleGaps = meter.gaps;
    meter.where = [status, progress] {
        return progress->text() + QStringLiteral(" | ") + status->text().trimmed();
    };

    bool ended = false;
    QObject::connect(&queue, &ConversionQueue::runEnded, [&ended] { ended = true; });
    QEventLoop loop;
    QObject::connect(&queue, &ConversionQueue::runEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(30 * 60 * 1000, &loop, &QEventLoop::quit);
    const double cpuBefore = cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN);
    // The resident size once a tenth of the files are done, when the run has settled.
    QTimer sampler;
    sampler.setInterval(100);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const int done = progress->text().section(QLatin1Char('/'), 0, 0).toInt();
        if (result.residentAtATenth == 0 && done >= std::max(1, batch.files / 10))
            result.residentAtATenth = residentMb();
    });
    sampler.start();
    QElapsedTimer clock;
    meter.start();
    clock.start();
    ui.cmdGrab->click();
    // The program's own loop, as app.exec() runs it, until the run ends.
    if (!ended)
        loop.exec();
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    meter.stop();
    sampler.stop();
    result.residentAtTheEnd = residentMb();
    result.cpuSeconds = cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN) - cpuBefore;

    const int outputs = QDir(music).entryList({"*.wma"}, QDir::Files).size();
    result.ok = ended && status->text().contains(QLatin1String("Conversion completed"))
        && outputs == batch.files && quiet.messages.isEmpty();
    if (!result.ok)
        result.why = QStringLiteral("status \"%1\", %2 outputs, messages: %3")
                         .arg(status->text().trimmed())
                         .arg(outputs)
                         .arg(quiet.messages.join(QStringLiteral(" | ")));
    window->close();
    window.reset();
    return result;
}

// B: the FFmpeg command line, file after file.
BatchResult convertWithFfmpeg(const QString &music, const QString &out, const Batch &batch)
{
    BatchResult result;
    QDir().mkpath(out);
    const QStringList sources = QDir(music).entryList({"*.mp3"}, QDir::Files, QDir::Name);
    const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    for (const QString &name : sources) {
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
            {"-nostdin", "-v", "error", "-y", "-i", QDir(music).filePath(name), "-c:a", "wmav2",
                "-b:a", "64016", "-ar", "44100", "-ac", "2",
                QDir(out).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".wma"))});
        if (!ffmpeg.waitForFinished(600000) || ffmpeg.exitCode() != 0) {
            result.why = QString::fromLocal8Bit(ffmpeg.readAllStandardError());
            return result;
        }
    }
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    result.cpuSeconds = cpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    result.ok = sources.size() == batch.files;
    return result;
}

struct Summary
{
    std::vector<double> a, b, ratio, cpuA, cpuB, stallMax, gaps, memoryGrowth;
    std::vector<std::pair<double, QString>> notable;
    std::vector<double> idleGaps;
    double worst = 0;
    QString loadBefore, loadAfter;
    QString failure;
};
Summary summaries[std::size(Batches)];

void BM_BatchAgainstFfmpeg(benchmark::State &state)
{
    const Batch &batch = Batches[state.range(0)];
    Summary &summary = summaries[state.range(0)];
    state.SetLabel(batch.name);
    QTemporaryDir root;
    // Throwaway settings, runtime and state folders, as a first start on a clean account.
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME"}) {
        const QString dir = root.filePath(QString::fromLatin1(name).toLower());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, QFile::encodeName(dir));
    }
    const QString music = root.filePath(QStringLiteral("music"));
    QDir().mkpath(root.filePath(QStringLiteral("app")));
    QDir().mkpath(music);
    for (const char *helper : {"tnvr3w", "wm8eutil"})
        QFile::link(Bin + QLatin1Char('/') + QLatin1String(helper),
            root.filePath(QStringLiteral("app/") + QLatin1String(helper)));
    if (!makeSources(music, batch)) {
        state.SkipWithError("the sources could not be made");
        return;
    }
    // One untimed file each way warms the page cache and the libraries.
    {
        QProcess warm;
        warm.start(Bin + QStringLiteral("/tnvr3w"),
            {QDir(music).filePath(QStringLiteral("Track 01.mp3")),
                root.filePath(QStringLiteral("warm.wav"))});
        warm.waitForFinished(120000);
        QFile::remove(root.filePath(QStringLiteral("warm.wav")));
    }

    summary.loadBefore = loadAverage();
    StallMeter meter;
    int round = 0;
    for (auto _ : state) {
        BatchResult a, b;
        const QString out = root.filePath(QStringLiteral("ffmpeg-out"));
        if (round % 2 == 0) {
            a = convertInTheWindow(root.path(), music, meter, batch);
            b = convertWithFfmpeg(music, out, batch);
        } else {
            b = convertWithFfmpeg(music, out, batch);
            a = convertInTheWindow(root.path(), music, meter, batch);
        }
        ++round;
        if (!a.ok || !b.ok) {
            summary.failure
                = !a.ok ? QStringLiteral("window: ") + a.why : QStringLiteral("ffmpeg: ") + b.why;
            state.SkipWithError(qPrintable(summary.failure));
            break;
        }
        state.SetIterationTime(a.seconds);
        summary.a.push_back(a.seconds);
        summary.b.push_back(b.seconds);
        summary.ratio.push_back(a.seconds / b.seconds);
        summary.cpuA.push_back(a.cpuSeconds);
        summary.cpuB.push_back(b.cpuSeconds);
        summary.memoryGrowth.push_back(a.residentAtTheEnd - a.residentAtATenth);
        summary.stallMax.push_back(meter.worst);
        summary.gaps.insert(summary.gaps.end(), meter.gaps.begin(), meter.gaps.end());
        summary.idleGaps.insert(summary.idleGaps.end(), a.idleGaps.begin(), a.idleGaps.end());
        summary.worst = std::max(summary.worst, meter.worst);
        summary.notable.insert(summary.notable.end(), meter.notable.begin(), meter.notable.end());
    }
    summary.loadAfter = loadAverage();
    if (summary.ratio.empty())
        return;
    state.counters["window_s"] = median(summary.a);
    state.counters["ffmpeg_s"] = median(summary.b);
    state.counters["ratio"] = median(summary.ratio);
    state.counters["stall_max_ms"] = summary.worst;
    state.counters["stall_p99_ms"] = percentile(summary.gaps, 0.99);
}

int rounds()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("TONVERA_BENCH_ROUNDS", &ok);
    return ok && n > 0 ? n : 5;
}

void printSummary(const Batch &batch, const Summary &s)
{
    const int atOnce
        = batch.filesAtOnce > 0 ? batch.filesAtOnce : std::clamp(QThread::idealThreadCount(), 1, 8);
    std::printf("\nConversion batch: %s -> WMA a64, %d at once on %d cores, %zu rounds (A = "
                "window, B = ffmpeg CLI, alternating order)\n",
        batch.name, atOnce, QThread::idealThreadCount(), s.ratio.size());
    if (!s.failure.isEmpty())
        std::printf("  run failed: %s\n", qPrintable(s.failure));
    if (s.ratio.empty())
        return;
    auto list = [](const std::vector<double> &v, double scale) {
        QString text;
        for (double x : v)
            text += QString::number(x * scale, 'f', 2) + QLatin1Char(' ');
        return text;
    };
    std::printf("  A wall s:     %s\n", qPrintable(list(s.a, 1)));
    std::printf("  B wall s:     %s\n", qPrintable(list(s.b, 1)));
    std::printf("  A/B per round: %s\n", qPrintable(list(s.ratio, 1)));
    std::printf("  CPU s (median): A %.2f (program + helpers), B %.2f; A/B CPU %.3f\n",
        median(s.cpuA), median(s.cpuB), median(s.cpuA) / median(s.cpuB));
    std::printf("  load average before: %s, after: %s\n", qPrintable(s.loadBefore),
        qPrintable(s.loadAfter));
    const double ratio = median(s.ratio);
    std::printf("  [time]  median A/B wall %.3f   target <= %.2f   %s\n", ratio, batch.timeTarget,
        ratio <= batch.timeTarget ? "MET" : "MISSED");
    const double p99 = percentile(s.gaps, 0.99);
    std::printf("  [stall] event loop gap max %.1f ms, p99 %.1f ms (%zu ticks, %d ms timer), "
                "per-round max: %s  target < %.0f ms   %s\n",
        s.worst, p99, s.gaps.size(), TickMs, qPrintable(list(s.stallMax, 1)), StallTargetMs,
        s.worst < StallTargetMs ? "MET" : "MISSED");
    const double growth = *std::max_element(s.memoryGrowth.begin(), s.memoryGrowth.end());
    std::printf("  [memory] resident size from a tenth of the files to the end, per round MB: %s "
                " target < %.0f MB   %s\n",
        qPrintable(list(s.memoryGrowth, 1)), MemoryGrowthTargetMb,
        growth < MemoryGrowthTargetMb ? "MET" : "MISSED");
    std::printf("  idle window (1 s before each run): gap max %.1f ms, p99 %.1f ms\n",
        percentile(s.idleGaps, 1.0), percentile(s.idleGaps, 0.99));
    std::vector<std::pair<double, QString>> notable = s.notable;
    std::sort(notable.begin(), notable.end(),
        [](const auto &x, const auto &y) { return x.first > y.first; });
    std::printf("  gaps >= %.0f ms: %zu; the longest, with what the window showed after them:\n",
        NotableGapMs, notable.size());
    for (size_t i = 0; i < std::min<size_t>(notable.size(), 8); ++i)
        std::printf("    %6.1f ms  %s\n", notable[i].first, qPrintable(notable[i].second));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("BM_BatchAgainstFfmpeg", BM_BatchAgainstFfmpeg)
        ->DenseRange(0, int(std::size(Batches)) - 1)
        ->Iterations(rounds())
        ->UseManualTime()
        ->Unit(benchmark::kSecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (size_t i = 0; i < std::size(Batches); ++i)
        printSummary(Batches[i], summaries[i]);
    return 0;
}
