// The browser and the output list of the real main window, started as the program starts it, on
// real temporary folders, offscreen, with scripted message boxes, folder picker and volumes.
#include "browser/FolderBrowser.h"
#include "browser/DropTarget.h"
#include "browser/OutputList.h"
#include "browser/TypeFilter.h"
#include "core/MainCommands.h"
#include "playback/MediaControls.h"
#include "playback/MediaProbe.h"
#include "playback/PreviewMedia.h"

#include "SilentWav.h"
#include "WindowFixture.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

class FolderBrowserTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        messages.defaultAnswer = Cancel; // when the test scripted no answer
        volumes.list = QList<Volume> {{"/", "ext4", "/dev/sda1", "", true}};
    }

    // The program's start in the music folder, with the type box entry and the order saved
    // last, and the given path history.
    void startWith(int typeIndex = 4, const QString &order = "A", const QStringList &history = {})
    {
        QList<std::pair<QString, QString>> entries;
        for (qsizetype i = 0; i < history.size(); ++i)
            entries.append({QString::number(i), history[i]});
        storeSettings(entries, "URL");
        startIn(typeIndex, {{"swOrd", order}});
        // Keys reach the window as they reach the user's active window.
        QApplication::setActiveWindow(window.get());
    }

    void makeFile(const QString &name, qsizetype size = 10, const QString &stamp = QString())
    {
        QDir().mkpath(QFileInfo(music + "/" + name).path());
        QFile file(music + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
        file.flush(); // before the time is set, or the close sets it anew
        if (!stamp.isEmpty())
            file.setFileTime(
                QDateTime::fromString(stamp, Qt::ISODate), QFileDevice::FileModificationTime);
    }

    QString history(int index) const { return settings->text("URL", QString::number(index), ""); }
    bool on(MainCommand command) const { return window->commands().isOn(command); }
    FolderBrowser &browser() const { return window->folderBrowser(); }
    QString count() const { return ui().Lab2->text().mid(ui().Lab2->text().indexOf("   (")); }
    QPoint centreOf(QListWidget *list, int row) const
    {
        return list->visualItemRect(list->item(row)).center();
    }
};

// Supported files only, each with its size and path; a name cut in its column is whole in the
// tooltip of either list, and the window never grows for it. Each type lists its files, All/None
// only where files can be marked; a WMA clicked in its own type leaves All/None on again for the
// type listed next, and choosing the same type again lists nothing anew.
TEST_F(FolderBrowserTest, ListsFilesOfTheTypeWithTheirSizesAndNamesWhole)
{
    makeFile("b.mp3", 1500);
    makeFile("a.WAV", 0);
    makeFile("c.wma", 1023);
    makeFile("notes.txt");
    makeFile(".hidden.mp3");
    const QString longName = QString(41, 'n') + ".mp3";
    makeFile(longName, 1536000);
    startWith();

    ASSERT_EQ(listed(), QStringList({"a.WAV", "b.mp3", "c.wma", longName}));
    const QString line = ui().ListInput->item(1)->text();
    EXPECT_EQ(line.mid(44, 4), " 2 K");
    EXPECT_EQ(ListLine::pathOf(line), music + "/b.mp3");
    EXPECT_EQ(ui().ListInput->item(3)->toolTip(), " " + longName + " ");
    EXPECT_TRUE(ui().ListInput->item(1)->toolTip().isEmpty());
    // On screen a line ends before its path, and the type box hides its filter codes.
    auto *view = qobject_cast<QStyledItemDelegate *>(ui().ListInput->itemDelegate());
    auto *box = qobject_cast<QStyledItemDelegate *>(ui().CboType->itemDelegate());
    ASSERT_TRUE(view && box);
    EXPECT_EQ(view->displayText(line, QLocale()).trimmed(), line.left(48));
    EXPECT_EQ(ui().CboType->currentText(), TypeBoxEntries("Supported")[4]);
    EXPECT_EQ(box->displayText(ui().CboType->currentText(), QLocale()), "Supported");
    // The type filter leaves no entry current.
    EXPECT_EQ(ui().ListInput->currentItem(), nullptr);
    EXPECT_TRUE(state.CurrentFile.isEmpty());
    const QSize size = window->size();
    select(longName);
    EXPECT_EQ(state.CurrentFile, longName);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), size);
    EXPECT_LE(window->minimumSizeHint().width(), size.width());

    // The output list holds each file once, matched by its whole path ("a.wma" is no
    // "data.wma", "a.wma " no "a.wma").
    const QString longOutput = QString(41, 'n') + ".wma";
    for (const QString &name :
        {QString("data.wma"), QString("a.wma"), QString("a.wma"), QString("a.wma "), longOutput}) {
        writeFile(path(name));
        window->outputList().AddOutputFile(path(name));
    }
    ASSERT_EQ(ui().ListOutput->count(), 4);
    EXPECT_EQ(PathOfItem(ui().ListOutput->item(2)), path("a.wma "));
    const auto tipAt = [this](int row) {
        QWidget *viewport = ui().ListOutput->viewport();
        const QPoint at = centreOf(ui().ListOutput, row);
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QCoreApplication::sendEvent(viewport, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), "");
    EXPECT_EQ(tipAt(3), " " + longOutput + " ");

    ui().CboType->setCurrentIndex(3);
    select("c.wma");
    const QStringList expected[] = {{"b.mp3", longName}, {"a.WAV"}, {"a.WAV", "b.mp3", longName},
        {"c.wma"}, {"a.WAV", "b.mp3", "c.wma", longName}};
    for (int index = 0; index < 5; ++index) {
        ui().CboType->setCurrentIndex(index);
        EXPECT_EQ(listed(), expected[index]) << index;
        EXPECT_EQ(ui().chkAll->isEnabled(), index != 3) << index;
    }
    makeFile("d.mp3");
    browser().CboType_Click(); // same entry, same folder
    EXPECT_EQ(listed().size(), 4);
}

// Names sort whatever their case.
TEST_F(FolderBrowserTest, EveryOrderSortsAndMarksStayWithTheirFiles)
{
    makeFile("Beta.wma", 900, "2024-03-01T10:00:00");
    makeFile("alpha.wav", 10000, "2023-12-31T23:59:59");
    makeFile("gamma.MP3", 20, "2024-03-01T09:00:00");
    startWith(4, "S");
    EXPECT_EQ(listed(), QStringList({"gamma.MP3", "Beta.wma", "alpha.wav"}));
    EXPECT_TRUE(ui().mnuOrdSize->isChecked());

    ui().ListInput->item(1)->setSelected(true); // Beta.wma
    const std::pair<QAction *, QStringList> cases[]
        = {{ui().mnuOrdName, {"alpha.wav", "Beta.wma", "gamma.MP3"}},
            {ui().mnuOrdExt, {"gamma.MP3", "alpha.wav", "Beta.wma"}},
            {ui().mnuOrdDate, {"alpha.wav", "gamma.MP3", "Beta.wma"}},
            {ui().mnuOrdSize, {"gamma.MP3", "Beta.wma", "alpha.wav"}}};
    for (const auto &[action, order] : cases) {
        action->trigger();
        EXPECT_EQ(listed(), order);
        for (QAction *other : {ui().mnuOrdName, ui().mnuOrdExt, ui().mnuOrdDate, ui().mnuOrdSize})
            EXPECT_EQ(other->isChecked(), other == action) << other->objectName().toStdString();
        const QList<QListWidgetItem *> marked = ui().ListInput->selectedItems();
        ASSERT_EQ(marked.size(), 1);
        EXPECT_TRUE(marked[0]->text().startsWith("Beta.wma"));
    }
}

// A folder change makes its first file current, with the commands an MP3 allows; marks count
// what a run would convert.
TEST_F(FolderBrowserTest, FolderChangeMakesTheFirstFileCurrentAndCountsMarks)
{
    const QString sub = music + "/sub";
    makeFile("sub/two.wav", 100);
    makeFile("sub/three.wma", 100);
    QFile::copy(TONVERA_TEST_DATA "/browser/both.mp3", sub + "/one.mp3");
    startWith();
    ui().ListOutput->addItem("old output");
    EXPECT_EQ(state.OutputFolder, music);

    ASSERT_TRUE(browser().SetDir1(sub));
    EXPECT_EQ(state.CurrentFolder, sub);
    EXPECT_EQ(state.CurrentFile, "one.mp3");
    EXPECT_EQ(state.CurrentType, "MP3");
    EXPECT_EQ(state.SourcePath, sub + "/one.mp3");
    EXPECT_TRUE(ui().LabInfo->text().startsWith("Title: Frame Title  (2001)\n"));
    EXPECT_EQ(count(), "   (1/3)");
    EXPECT_EQ(ui().ListOutput->count(), 0);
    EXPECT_EQ(state.OutputFolder, sub); // "Current Folder" follows the browser
    EXPECT_EQ(history(0), sub);
    for (MainCommand command : {MainCommand::Convert, MainCommand::Tag, MainCommand::Play,
             MainCommand::SetSection, MainCommand::ConversionOptions})
        EXPECT_TRUE(on(command)) << int(command);
    EXPECT_FALSE(on(MainCommand::PlaySection) || on(MainCommand::ConvertSection)); // no section
    EXPECT_TRUE(ui().FraConv->isEnabled());
    EXPECT_FALSE(ui().cmdStop->isEnabled()); // nothing plays yet
    // A section makes the section commands follow.
    state.Cut.setStartMs(1000);
    browser().ListInput_Click();
    EXPECT_TRUE(on(MainCommand::PlaySection) && on(MainCommand::ConvertSection));
    for (QWidget *control : std::initializer_list<QWidget *> {ui().cmdGrab, ui().cmdGrabCut,
             ui().VScrSta, ui().cmdPlay, ui().cmdPlayCut, ui().cmdSta, ui().cmdFin, ui().cmdTag})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    for (QAction *entry : {ui().mnuGrab, ui().mnuPlay, ui().mnuTag})
        EXPECT_TRUE(entry->isEnabled()) << entry->objectName().toStdString();

    // All/None marks all: the MP3 and the WAV count, the WMA does not. A screen reader toggles
    // the box instead of clicking it: the same marking.
    for (const auto &flip : {std::function<void()>([this] { ui().chkAll->click(); }),
             std::function<void()>([this] { ui().chkAll->toggle(); })}) {
        flip();
        EXPECT_EQ(ui().ListInput->selectedItems().size(), 3);
        EXPECT_EQ(state.QueueCount, 2);
        EXPECT_EQ(count(), "   (2/3)");
        flip();
        EXPECT_TRUE(ui().ListInput->selectedItems().isEmpty());
        EXPECT_EQ(count(), "   (1/3)");
    }

    select("three.wma");
    EXPECT_EQ(ui().LabINP->text(), "WM Audio");
    EXPECT_EQ(state.QueueCount, 1); // encoded again alone

    // Refresh keeps the output list; up one level goes to the parent.
    ui().ListOutput->addItem("converted");
    ui().cmdRefr->click();
    EXPECT_EQ(ui().ListOutput->count(), 1);
    EXPECT_EQ(ui().ListInput->count(), 3);
    ui().cmdUp->click();
    EXPECT_EQ(state.CurrentFolder, music);
    EXPECT_EQ(ui().ListOutput->count(), 0);
    EXPECT_EQ(ui().Lab2->text(), "2 - Select files to be converted"); // no files
}

// The path box completes from the history, Backspace removes only the completed rest, and
// Return opens the folder typed, a "\" in its name included. A folder typed that is not there
// goes from the box quietly; clearing the history asks first.
TEST_F(FolderBrowserTest, ThePathBoxAndItsHistory)
{
    const QString songs = music + "/Songs", odd = music + "/AC\\DC\\", gone = music + "/gone";
    makeFile("AC\\DC\\/x.mp3");
    startWith(4, "A", {gone, songs, music});
    QLineEdit *edit = ui().CboURL->lineEdit();
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, music + "/so");
    EXPECT_EQ(edit->text(), songs + '/');
    EXPECT_EQ(edit->selectedText(), "ngs/");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), music + "/So"); // the typed part took the entry's case

    for (const QString &typed : {gone, QString("d")}) {
        ui().CboURL->setEditText(typed);
        browser().CboURL_Click();
        EXPECT_TRUE(ui().CboURL->currentText().isEmpty());
        EXPECT_EQ(state.CurrentFolder, music);
        EXPECT_TRUE(state.BrowseEventsOn);
    }
    EXPECT_EQ(ui().CboURL->findText(gone), -1);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(history(0), gone); // the store is rewritten later

    edit->setText(odd);
    // The key goes where the user's keys go: to the box, which has the focus.
    QTest::keyClick(ui().CboURL, Qt::Key_Return);
    EXPECT_EQ(state.CurrentFolder, odd);
    EXPECT_EQ(browser().Dir1Folder(), odd);
    EXPECT_EQ(state.CurrentFile, "x.mp3");
    EXPECT_EQ(history(0), odd);

    ASSERT_EQ(ui().CboURL->count(), 3);
    messages.answers = {No};
    ui().cmdClear->click();
    EXPECT_EQ(history(1), songs);
    messages.answers = {Yes};
    ui().cmdClear->click();
    for (int i = 0; i < 3; ++i) // the keys of the entries listed
        EXPECT_TRUE(history(i).isEmpty()) << i;
    EXPECT_EQ(ui().CboURL->count(), 0);
    EXPECT_FALSE(ui().cmdClear->isEnabled());
    EXPECT_EQ(messages.texts.last(), "Clear Path box ?");
    EXPECT_EQ(messages.flags_.last(), 292);
}

TEST_F(FolderBrowserTest, ADriveThatIsNotReadyOffersRetryAndCancel)
{
    const QString cd = music + "/cdrom";
    makeFile("cdrom/t.mp3");
    startWith();
    volumes.list->append({cd, "iso9660", "/dev/sr0", "", false});

    messages.answers = {Cancel};
    browser().SetDir1(cd);
    EXPECT_EQ(messages.texts.value(0), "Drive " + cd + " Not Ready ...");
    EXPECT_EQ(messages.flags_.value(0), 293);
    EXPECT_EQ(ui().ListInput->count(), 0);
    EXPECT_TRUE(state.BrowseEventsOn);

    // Retry after the disc went in.
    messages.answers = {4};
    browser().SetDir1(music);
    volumes.afterNextCall = [this] {
        volumes.list->last().ready = true;
    };
    browser().SetDir1(cd);
    EXPECT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(ui().ListInput->count(), 1);

    // A drive whose mount point cannot be opened: "Error reading Drive", then the program's drive.
    const QString gone = music + "/unplugged";
    volumes.list->append({gone, "vfat", "/dev/sdz1", "", true});
    ui().Drive1->addItem(gone, gone);
    messages.answers = {Cancel};
    ui().Drive1->setCurrentIndex(ui().Drive1->count() - 1);
    EXPECT_EQ(messages.texts.last(), "Error reading Drive " + gone);
    EXPECT_EQ(ui().Drive1->currentData().toString(), "/");
    EXPECT_EQ(state.CurrentFolder, cd); // the shown folder stays
}

// A file dropped opens its folder with the file current, a folder dropped opens the folder; drag
// events reach the filter the browser installs on each control.
TEST_F(FolderBrowserTest, DropsOpenFoldersOrTheDroppedFilesFolder)
{
    makeFile("here.mp3");
    makeFile("other/there.wav");
    startWith();
    QObject *filter = browser().findChild<DropTarget *>();
    ASSERT_NE(filter, nullptr);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(music + "/other/there.wav")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(ui().ListInput->viewport(), &enter));
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(ui().ListInput->viewport(), &drop));
    EXPECT_EQ(state.CurrentFolder, music + "/other");
    EXPECT_EQ(state.CurrentFile, "there.wav");

    QMimeData text;
    text.setText("file://" + music);
    QDropEvent folderDrop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    filter->eventFilter(window.get(), &folderDrop);
    EXPECT_EQ(state.CurrentFolder, music);
    EXPECT_EQ(listed(), QStringList({"here.mp3"}));
}

// The popup menu shows the entries of the list it opens on, and only "explore" without an entry.
TEST_F(FolderBrowserTest, EachListsPopupShowsItsOwnEntries)
{
    makeFile("a.mp3");
    startWith(0);
    writeFile(music + "/song.wma");
    window->outputList().AddOutputFile(music + "/song.wma");
    const QList<QAction *> input = {ui().mnuPlay, ui().mnuStop, ui().mnuGrab, ui().mnuTag,
        ui().mnuOrder, ui().mnuSave, ui().mnuMove, ui().mnuExpl, ui().SFRename, ui().SFDelete};
    const QList<QAction *> output
        = {ui().mnuPlay, ui().mnuStop, ui().mnuExplOut, ui().SFRenameOut, ui().SFDeleteOut};
    const std::tuple<QListWidget *, bool, QList<QAction *>> cases[]
        = {{ui().ListInput, false, {ui().mnuExpl}}, {ui().ListInput, true, input},
            {ui().ListOutput, false, {ui().mnuExplOut}}, {ui().ListOutput, true, output}};
    for (const auto &[list, withEntry, shown] : cases) {
        const std::string row = list->objectName().toStdString() + (withEntry ? " entry" : "");
        list->setCurrentRow(withEntry ? 0 : -1, QItemSelectionModel::ClearAndSelect);
        emit list->customContextMenuRequested(QPoint(2, 2));
        for (QAction *action : input + output)
            EXPECT_EQ(action->isVisible(), shown.contains(action))
                << row << ": " << action->objectName().toStdString();
        EXPECT_TRUE(shown != input || window->sfPopup()->defaultAction() == ui().mnuPlay);
        window->sfPopup()->hide();
    }
}

TEST_F(FolderBrowserTest, AFolderChosenWhileAnotherIsListedWins)
{
    makeFile("b/one.mp3");
    makeFile("c/two.wav");
    makeFile("c/three.wav");
    startWith();
    auto *model = qobject_cast<QFileSystemModel *>(ui().Dir1->model());
    ASSERT_NE(model, nullptr);
    // The user clicks folder c while b is being listed (the listing lets events run).
    QTimer::singleShot(
        0, ui().Dir1, [&] { ui().Dir1->setCurrentIndex(model->index(music + "/c")); });
    browser().SetDir1(music + "/b");
    // Not QTRY_COMPARE: under GoogleTest its failure only returns from the test, unreported.
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.CurrentFolder == music + "/c"; }))
        << state.CurrentFolder.toStdString();
    EXPECT_EQ(browser().Dir1Folder(), music + "/c");
    EXPECT_EQ(listed(), QStringList({"three.wav", "two.wav"}));
    for (int row = 0; row < ui().ListInput->count(); ++row)
        EXPECT_TRUE(PathOfItem(ui().ListInput->item(row)).startsWith(music + "/c/")) << row;
    EXPECT_EQ(state.SourcePath, music + "/c/three.wav");
}

// The output folder follows the browser or the user's choice. A click on an output shows it
// (wherever the output folder is now) and releases it for rename and delete; its popup plays
// and pauses the entry right-clicked.
TEST_F(FolderBrowserTest, TheOutputFolderAndList)
{
    startWith();
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

    QFile::copy(TONVERA_TEST_DATA "/browser/clip.wma", music + "/clip.wma");
    window->outputList().AddOutputFile(music + "/clip.wma");
    state.OutputFolder = "/somewhere/else";
    ui().ListOutput->setCurrentRow(0);
    EXPECT_TRUE(state.OutputListActive);
    EXPECT_EQ(state.ShownFilePath, music + "/clip.wma");
    EXPECT_EQ(ui().LabStatus->text(), "     clip.wma");
    EXPECT_TRUE(ui().LabInfo->text().startsWith("Title: Clip Title\n"));
    EXPECT_TRUE(window->media().MediaPlayer2().fileName().isEmpty());
    EXPECT_TRUE(on(MainCommand::Play));
    EXPECT_FALSE(on(MainCommand::PlaySection));

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
        const QPoint at
            = ui().ListOutput->viewport()->mapTo(window.get(), centreOf(ui().ListOutput, row));
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, at);
        return window->sfPopup()->isVisible();
    };
    ui().ListOutput->setCurrentRow(1); // a.wav, after clip.wma
    ui().cmdPlay->click();
    ASSERT_TRUE(waitState(PreviewMedia::Playing));
    EXPECT_FALSE(ui().cmdPlay->isEnabled()); // the window's Play waits for the pause

    // While it plays, its popup still offers Play/Pause, which pauses it.
    ASSERT_TRUE(rightClick(1));
    EXPECT_TRUE(ui().mnuPlay->isVisible() && ui().mnuPlay->isEnabled());
    ui().mnuPlay->trigger();
    window->sfPopup()->hide();
    EXPECT_TRUE(waitState(PreviewMedia::Paused));
    EXPECT_EQ(player.fileName(), music + "/a.wav");

    // The popup of another entry plays that one.
    ASSERT_TRUE(rightClick(2));
    EXPECT_EQ(state.ShownFilePath, music + "/b.wav");
    ui().mnuPlay->trigger();
    window->sfPopup()->hide();
    EXPECT_TRUE(waitState(PreviewMedia::Playing));
    EXPECT_EQ(player.fileName(), music + "/b.wav");
    ui().cmdStop->click();
}

} // namespace
