// The output folder and list inside the real main window: where outputs go, what a click on one
// shows, its tooltips and its popup's Play/Pause.
#include "browser/OutputList.h"
#include "browser/InfoPanel.h"
#include "core/MainCommands.h"
#include "playback/MediaControls.h"
#include "playback/MediaProbe.h"
#include "playback/PreviewMedia.h"

#include "SilentWav.h"
#include "WindowFixture.h"

#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

namespace {

class OutputListTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        storeSettings({{"Language", "EN"}, {"Path", music}});
        ASSERT_TRUE(start());
    }

    QString output(const QString &name, const char *from = nullptr)
    {
        const QString file = music + "/" + name;
        if (from)
            QFile::copy(TONVERA_TEST_DATA "/browser/" + QString(from), file);
        else
            writeFile(file);
        window->outputList().AddOutputFile(file);
        return file;
    }
};

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
    // Released for rename and delete.
    EXPECT_TRUE(window->media().MediaPlayer2().fileName().isEmpty());
    EXPECT_TRUE(window->commands().isOn(MainCommand::Play));
    EXPECT_FALSE(window->commands().isOn(MainCommand::PlaySection));

    // The panel's warning reaches the form's status line and dot.
    ASSERT_TRUE(window->infoPanel().ShowCurrentFile(TONVERA_TEST_DATA "/browser/mono8.wav", "WAV"));
    EXPECT_EQ(ui().LabStatus->text(), "        INVALID FILE FORMAT !!!");
    EXPECT_FALSE(ui().ShaPallino->isHidden());
}

TEST_F(OutputListTest, PopupPlaysAndPausesTheEntryRightClicked)
{
    for (const char *name : {"a.wav", "b.wav"}) {
        ASSERT_TRUE(writeSilentWav(music + "/" + name, 12, 8000, 1));
        window->outputList().AddOutputFile(music + "/" + name);
    }
    PreviewMedia &player = window->media().MediaPlayer1();
    const auto waitState = [&](PreviewMedia::PlayState wanted) {
        return QTest::qWaitFor([&] { return player.playState() == wanted; }, 20000);
    };
    // Through the window, as the mouse does: the button is down while the entry becomes
    // current, and the menu opens on the press.
    const auto rightClick = [&](int row) {
        const QPoint at = ui().ListOutput->viewport()->mapTo(
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
    EXPECT_EQ(player.fileName(), music + "/a.wav");

    // The popup of another entry plays that one.
    ASSERT_TRUE(rightClick(1));
    EXPECT_EQ(state.ShownFilePath, music + "/b.wav");
    ui().mnuPlay->trigger();
    window->sfPopup()->hide();
    EXPECT_TRUE(waitState(PreviewMedia::Playing));
    EXPECT_EQ(player.fileName(), music + "/b.wav");
    ui().cmdStop->click();
}

TEST_F(OutputListTest, TooltipShowsLongNamesWhole)
{
    const QString longName = QString(41, u'n') + ".wma"; // cut in the 40-column name field
    output("short.wma");
    output(longName);
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

} // namespace
