// The panel and the output list inside the real main window form.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/Services.h"
#include "app/Settings.h"
#include "browser/InfoPanel.h"
#include "browser/OutputList.h"
#include "ui_frmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class ScriptedPicker : public FolderPickerService
{
public:
    QString pickFolder(const QString &, const QString &) override { return answer; }
    QString answer;
};

QString fixture(const char *name)
{
    return QStringLiteral(TONVERA_TEST_DATA "/browser/") + QLatin1String(name);
}
} // namespace

TEST(MainWindowPanel, FormControlsShowTheFileAndTheOutputFolder)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    AppState state;
    Settings settings;
    ScriptedPicker picker;
    AppServices services;
    services.folders = &picker;
    MainWindow window(state, settings, services);
    Ui::frmMain &ui = window.ui();

    state.SourcePath = fixture("mono8.wav");
    state.CurrentType = "WAV";
    ASSERT_TRUE(window.infoPanel().ShowCurrentFile(state.SourcePath, state.CurrentType));
    EXPECT_EQ(ui.LabTit->text(), "        mono8.wav");
    EXPECT_TRUE(ui.LabInfo->text().startsWith("WaveAudio Mono\n"));
    EXPECT_EQ(ui.LabINP->text(), "Wave");
    EXPECT_EQ(ui.LabStatus->text(), "        INVALID FILE FORMAT !!!");
    EXPECT_FALSE(ui.ShaPallino->isHidden());
    EXPECT_TRUE(ui.LabMsg->text().startsWith("Size: 844 bytes\n\nDate: "));

    state.CurrentFolder = config.path();
    ui.OptSameDir->click();
    EXPECT_EQ(ui.LabOutDir->text(),
        config.path().size() < 38 ? config.path() + " " : " .." + config.path().right(36));
    picker.answer = "/data/Out/";
    ui.OptUsrDir->click();
    ui.cmdBrowse->click();
    EXPECT_EQ(state.OutputFolder, "/data/Out");
    EXPECT_EQ(ui.LabOutDir->text(), "/data/Out ");

    const QString out = config.filePath("clip.wma");
    ASSERT_TRUE(QFile::copy(fixture("clip.wma"), out));
    ASSERT_NE(window.outputList(), nullptr);
    window.outputList()->AddOutputFile(out);
    ui.ListOutput->setCurrentRow(0);
    EXPECT_TRUE(state.OutputListActive);
    EXPECT_TRUE(ui.LabInfo->text().startsWith("Title: Clip Title\n"));
    EXPECT_EQ(ui.LabStatus->text(), "     clip.wma");
}
