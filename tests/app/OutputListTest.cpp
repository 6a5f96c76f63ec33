// The output folder and list, and the panel, inside the real main window form.
#include "browser/OutputList.h"
#include "app/AppShell.h"
#include "app/MainWindow.h"
#include "browser/FolderBrowser.h"
#include "browser/InfoPanel.h"
#include "core/AppState.h"
#include "core/MainCommands.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "playback/MediaControls.h"
#include "playback/MediaProbe.h"
#include "playback/PreviewMedia.h"
#include "ui_frmMain.h"

#include "GuiFixture.h"
#include "SilentWav.h"

#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace {
QString dataFile(const char *name)
{
    return QStringLiteral(TONVERA_TEST_DATA "/browser/") + QLatin1String(name);
}

class OutputListTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        messages.defaultAnswer = 2;
        dir = path("out");
        QDir().mkpath(dir);
        settings = std::make_unique<Settings>();
        window = std::make_unique<MainWindow>(state, *settings, services);
    }
    QString output(const QString &name, const char *from = nullptr)
    {
        const QString file = dir + "/" + name;
        if (from)
            QFile::copy(dataFile(from), file);
        else
            QFile(file).open(QIODevice::WriteOnly);
        window->outputList().AddOutputFile(file);
        return file;
    }
    bool visible(const char *action) const
    {
        QAction *a = window->findChild<QAction *>(action);
        EXPECT_NE(a, nullptr) << action;
        return a && a->isVisible();
    }

    QString dir;
    AppState state;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<MainWindow> window;
    Ui::frmMain &ui() { return window->ui(); }
};
} // namespace

TEST_F(OutputListTest, FolderOptionsAndBrowse)
{
    state.CurrentFolder = "/music/in/";
    ui().OptSameDir->click();
    EXPECT_EQ(state.OutputFolder, "/music/in");
    EXPECT_EQ(ui().LabOutDir->text(), "/music/in ");
    EXPECT_FALSE(ui().cmdBrowse->isEnabled());

    state.UserOutputFolder = "/music/mine";
    ui().OptUsrDir->click();
    EXPECT_EQ(state.OutputFolder, "/music/mine");
    EXPECT_TRUE(ui().cmdBrowse->isEnabled());
    window->outputList().FollowInputFolder("/elsewhere"); // "Other" stays put
    EXPECT_EQ(state.OutputFolder, "/music/mine");

    folders.answer = "/data/Out/";
    ui().cmdBrowse->click();
    EXPECT_EQ(folders.starts.last(), "/music/mine");
    EXPECT_EQ(folders.titles.last(), "Choose the folder where store converted files");
    EXPECT_EQ(state.OutputFolder, "/data/Out");
    EXPECT_EQ(state.UserOutputFolder, "/data/Out");
    folders.answer.clear(); // cancelled
    ui().cmdBrowse->click();
    EXPECT_EQ(state.OutputFolder, "/data/Out");

    ui().OptSameDir->click();
    window->outputList().FollowInputFolder("/");
    EXPECT_EQ(state.OutputFolder, "/");
}

TEST_F(OutputListTest, ClickOnAnOutputShowsItAndMakesTheListActive)
{
    const QString out = output("clip.wma", "clip.wma");
    state.OutputFolder = "/somewhere/else"; // changed after the conversion
    ui().ListOutput->setCurrentRow(0);
    EXPECT_TRUE(state.OutputListActive);
    EXPECT_EQ(state.ShownFilePath, out);
    EXPECT_EQ(ui().LabStatus->text(), "     clip.wma");
    EXPECT_TRUE(ui().LabInfo->text().startsWith("Title: Clip Title\n"));
    EXPECT_TRUE(
        window->media().MediaPlayer2().fileName().isEmpty()); // released for rename and delete
    EXPECT_TRUE(window->commands().isOn(MainCommand::Play));
    EXPECT_FALSE(window->commands().isOn(MainCommand::PlaySection));

    // The panel's warning reaches the form's status line and dot.
    ASSERT_TRUE(window->infoPanel().ShowCurrentFile(dataFile("mono8.wav"), "WAV"));
    EXPECT_EQ(ui().LabStatus->text(), "        INVALID FILE FORMAT !!!");
    EXPECT_FALSE(ui().ShaPallino->isHidden());
}

TEST_F(OutputListTest, PopupShowsOutputEntriesOnly)
{
    window->outputList().ListOutput_ContextMenu(QPoint(1, 1)); // no entry: only explore
    EXPECT_TRUE(visible("mnuExplOut"));
    EXPECT_FALSE(visible("mnuPlay") || visible("SFDeleteOut") || visible("SFDelete"));

    output("song.wma");
    ui().ListOutput->setCurrentRow(0);
    window->outputList().ListOutput_ContextMenu(QPoint(1, 1));
    for (const char *a :
        {"mnuPlay", "mnuStop", "mnusepg", "mnuExplOut", "SFRenameOut", "SFDeleteOut"})
        EXPECT_TRUE(visible(a)) << a;
    for (const char *a : {"mnusepp", "mnuOrder", "mnuExpl", "mnusep", "mnuSave", "mnuMove",
             "mnuGrab", "mnuTag", "SFRename", "SFDelete"})
        EXPECT_FALSE(visible(a)) << a;
    window->sfPopup()->hide();
}

TEST_F(OutputListTest, PopupPlaysAndPausesTheEntryRightClicked)
{
    ASSERT_TRUE(writeSilentWav(dir + "/a.wav", 12, 8000, 1));
    ASSERT_TRUE(writeSilentWav(dir + "/b.wav", 12, 8000, 1));
    window->outputList().AddOutputFile(dir + "/a.wav");
    window->outputList().AddOutputFile(dir + "/b.wav");
    window->show();
    PreviewMedia &player = window->media().MediaPlayer1();
    const auto waitState = [&](PreviewMedia::PlayState wanted) {
        return QTest::qWaitFor([&] { return player.playState() == wanted; }, 20000);
    };
    // Through the window, as the mouse does: the button is down while the entry becomes
    // current, and the menu opens on the press.
    const auto rightClick = [&](int row) {
        QWidget *view = ui().ListOutput->viewport();
        const QPoint at = view->mapTo(
            window.get(), ui().ListOutput->visualItemRect(ui().ListOutput->item(row)).center());
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, at);
        return window->sfPopup()->isVisible();
    };
    ui().ListOutput->setCurrentRow(0);
    ui().cmdPlay->click();
    ASSERT_TRUE(waitState(PreviewMedia::Playing));
    EXPECT_FALSE(ui().cmdPlay->isEnabled()); // the window's Play waits for the pause

    // While it plays, its popup still offers Play/Pause, which pauses it.
    ASSERT_TRUE(rightClick(0));
    EXPECT_TRUE(ui().mnuPlay->isVisible());
    EXPECT_TRUE(ui().mnuPlay->isEnabled());
    ui().mnuPlay->trigger();
    window->sfPopup()->hide();
    EXPECT_TRUE(waitState(PreviewMedia::Paused));
    EXPECT_EQ(player.fileName(), dir + "/a.wav");

    // The popup of another entry plays that one.
    ASSERT_TRUE(rightClick(1));
    EXPECT_EQ(state.ShownFilePath, dir + "/b.wav");
    ui().mnuPlay->trigger();
    window->sfPopup()->hide();
    EXPECT_TRUE(waitState(PreviewMedia::Playing));
    EXPECT_EQ(player.fileName(), dir + "/b.wav");
    ui().cmdStop->click();
}

TEST_F(OutputListTest, TooltipShowsLongNamesWhole)
{
    const QString longName = QString(41, u'n') + ".wma"; // cut in the 40-column name field
    output("short.wma");
    output(longName);
    window->show();
    const auto tipAt = [this](int row) {
        QWidget *view = ui().ListOutput->viewport();
        const QPoint at = ui().ListOutput->visualItemRect(ui().ListOutput->item(row)).center();
        QHelpEvent help(QEvent::ToolTip, at, view->mapToGlobal(at));
        QCoreApplication::sendEvent(view, &help);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
    };
    EXPECT_EQ(tipAt(0), "");
    EXPECT_EQ(tipAt(1), (" " + longName + " ").toStdString());
}

TEST_F(OutputListTest, BrowsingAFolderShowsItsFirstFileAndMovesTheOutput)
{
    QTemporaryDir input;
    QFile::copy(dataFile("both.mp3"), input.filePath("both.mp3"));
    QFile::copy(dataFile("clip.wma"), input.filePath("clip.wma"));
    output("old.wma");
    ui().OptSameDir->setChecked(true);
    ui().CboType->addItems(AppShell::typeEntries(state));
    FolderBrowser &browser = window->folderBrowser();
    state.CurrentFolder = dir;
    browser.ShowStartFolder();
    state.BrowseEventsOn = true;
    browser.ApplyTypeIndex(4); // every supported type

    ASSERT_TRUE(browser.SetDir1(input.path()));
    EXPECT_EQ(state.SourcePath, input.filePath("both.mp3"));
    EXPECT_TRUE(ui().LabInfo->text().startsWith("Title: Frame Title  (2001)\n"));
    EXPECT_EQ(state.OutputFolder, input.path());
    EXPECT_EQ(ui().ListOutput->count(), 0);

    ui().ListInput->setCurrentRow(1);
    EXPECT_EQ(ui().LabINP->text(), "WM Audio");
    EXPECT_TRUE(ui().LabInfo->text().startsWith("Title: Clip Title\n"));
}
