// A click on an MP3 in the input list until the information panel shows its tags, for a file
// with a 1500x1500 front cover (about 800 KB) and for the same file without one, side by side.
// The panel never shows the cover, so the two should cost about the same.
#include "QuietWindow.h"

#include "app/MainWindow.h"
#include "browser/FolderBrowser.h"
#include "browser/TypeFilter.h"
#include "core/AppState.h"
#include "core/Settings.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

bool ffmpeg(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("ffmpeg"),
               QStringList {QStringLiteral("-nostdin"), QStringLiteral("-v"),
                   QStringLiteral("error"), QStringLiteral("-y")}
                   + arguments)
        == 0;
}

// cover.mp3 and plain.mp3: the same three seconds and texts, one with a noisy JPEG cover that
// compresses badly, as a photograph does.
const QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        const QString cover = dir.filePath(QStringLiteral("cover.jpg"));
        const QStringList tags = {"-id3v2_version", "3", "-metadata", "title=Evening Tone",
            "-metadata", "artist=Test Band", "-metadata", "album=Fixtures Album"};
        made = ffmpeg({"-f", "lavfi", "-i", "nullsrc=s=1500x1500,geq=random(1)*255:128:128",
                   "-frames:v", "1", "-q:v", "3", cover})
            && ffmpeg(QStringList {"-f", "lavfi", "-i", "sine=duration=3", "-i", cover, "-map", "0",
                          "-map", "1", "-c:v", "copy", "-metadata:s:v", "comment=Cover (front)"}
                + tags + QStringList {dir.filePath(QStringLiteral("cover.mp3"))})
            && ffmpeg(QStringList {"-f", "lavfi", "-i", "sine=duration=3"} + tags
                + QStringList {dir.filePath(QStringLiteral("plain.mp3"))});
        QFile::remove(cover);
    }
    return dir;
}

void BM_ClickFillsThePanel(benchmark::State &state)
{
    if (!folder().isValid() || !QFileInfo::exists(folder().filePath("cover.mp3"))) {
        state.SkipWithError("the test files could not be made (ffmpeg)");
        return;
    }
    state.SetLabel(state.range(0) ? "with a 1500x1500 cover" : "without a cover");
    QuietWindow quiet(0);
    Ui::frmMain &ui = quiet.ui;
    quiet.window.folderBrowser().SetDir1(folder().path());
    // cover.mp3 lists first, plain.mp3 second.
    const int measured = state.range(0) ? 0 : 1;
    for (auto _ : state) {
        ui.ListInput->setCurrentRow(1 - measured);
        ui.LabInfo->clear();
        QElapsedTimer clock;
        clock.start();
        ui.ListInput->setCurrentRow(measured);
        while (!ui.LabInfo->text().contains(QLatin1String("Evening Tone")))
            QCoreApplication::processEvents();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ClickFillsThePanel)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
