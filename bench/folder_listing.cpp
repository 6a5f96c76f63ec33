// How long the browser takes to list and sort a folder of 10,000 audio files: once through the
// rules alone (directory read, list lines, sort keys) and once through the whole folder change
// that fills the input list on screen (offscreen here).
#include "QuietWindow.h"

#include "app/MainWindow.h"
#include "browser/FolderBrowser.h"
#include "browser/ListLine.h"
#include "browser/SizeText.h"
#include "browser/SortKeys.h"
#include "browser/TypeFilter.h"
#include "core/AppState.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <benchmark/benchmark.h>

namespace {

constexpr int FileCount = 10000;

// One folder for every benchmark of the run.
const QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        const char *extensions[] = {"mp3", "WAV", "wma", "Mp3"};
        for (int i = 0; i < FileCount; ++i) {
            QFile file(dir.filePath(QStringLiteral("Track %1 - Some Artist.%2")
                                        .arg((i * 7919) % FileCount, 5, 10, QLatin1Char('0'))
                                        .arg(QLatin1String(extensions[i % 4]))));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(i % 3000, 'x'));
        }
        made = true;
    }
    return dir;
}

void BM_ListAndSortRules(benchmark::State &state)
{
    const QString path = folder().path();
    const QString order = QString::fromLatin1(SortKeys::Orders[state.range(0)]);
    const TypeFilter filter = TypeFilterOf(QStringLiteral("ALLSUP"));
    for (auto _ : state) {
        QDir dir(path);
        dir.setNameFilters(filter.patterns);
        dir.setFilter(QDir::Files | QDir::Readable);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        std::vector<SortKeys::Entry> entries;
        for (const QFileInfo &info : dir.entryInfoList()) {
            const QString file = path + QLatin1Char('/') + info.fileName();
            entries.push_back(
                {ListLine::make(file, SizeTextOfLength(info.size(), QStringLiteral("bytes")),
                     ListLine::InputSizeEnd),
                    file, info.size(), info.lastModified()});
        }
        SortKeys::sortEntries(order, entries);
        benchmark::DoNotOptimize(entries.data());
        if (entries.size() != size_t(FileCount))
            state.SkipWithError("not every file was listed");
    }
}
BENCHMARK(BM_ListAndSortRules)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_FolderChangeFillsTheList(benchmark::State &state)
{
    const QString path = folder().path();
    QuietWindow quiet(4);
    AppState &app = quiet.app;
    Ui::frmMain &ui = quiet.ui;
    app.SortOrder = QString::fromLatin1(SortKeys::Orders[state.range(0)]);
    FolderBrowser &browser = quiet.window.folderBrowser();
    browser.SetDir1(path);
    for (auto _ : state) {
        app.CurrentFolder.clear();
        browser.Dir1_Change();
        if (ui.ListInput->count() != FileCount)
            state.SkipWithError("not every file was listed");
    }
}
BENCHMARK(BM_FolderChangeFillsTheList)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

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
