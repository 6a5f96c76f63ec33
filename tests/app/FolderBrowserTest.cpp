// The browser of the real main window, started as the program starts it, on real temporary
// folders, offscreen, with scripted message boxes and volumes.
#include "browser/FolderBrowser.h"
#include "browser/DropTarget.h"
#include "browser/TypeFilter.h"
#include "core/MainCommands.h"

#include "WindowFixture.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QTimer>

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
        file.flush();
        if (!stamp.isEmpty())
            file.setFileTime(
                QDateTime::fromString(stamp, Qt::ISODate), QFileDevice::FileModificationTime);
    }

    QString history(int index) const { return settings->text("URL", QString::number(index), ""); }
    bool on(MainCommand command) const { return window->commands().isOn(command); }
    FolderBrowser &browser() const { return window->folderBrowser(); }
    QString count() const { return ui().Lab2->text().mid(ui().Lab2->text().indexOf("   (")); }
};

TEST_F(FolderBrowserTest, ListsSupportedFilesWithSizeColumnAndPath)
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
    // A name cut in its column is whole in the tooltip.
    EXPECT_EQ(ui().ListInput->item(3)->toolTip(), " " + longName + " ");
    EXPECT_TRUE(ui().ListInput->item(1)->toolTip().isEmpty());
    // On screen a line ends before its path, however wide the list is.
    auto *view = qobject_cast<QStyledItemDelegate *>(ui().ListInput->itemDelegate());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->displayText(line, QLocale()).trimmed(), line.left(48));
    // The type box shows its entries without the filter codes; the text keeps them.
    EXPECT_EQ(ui().CboType->currentText(), TypeBoxEntries("Supported")[4]);
    auto *box = qobject_cast<QStyledItemDelegate *>(ui().CboType->itemDelegate());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->displayText(ui().CboType->currentText(), QLocale()), "Supported");
    // The type filter leaves no entry current.
    EXPECT_EQ(ui().ListInput->currentItem(), nullptr);
    EXPECT_TRUE(state.CurrentFile.isEmpty());
    EXPECT_EQ(state.TypeIndex, 4);
    // Shown in the panel, a long name leaves the window as wide as it was.
    const QSize size = window->size();
    select(longName);
    EXPECT_EQ(state.CurrentFile, longName);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), size);
    EXPECT_LE(window->minimumSizeHint().width(), size.width());
}

// Each type lists its files, All/None only where files can be marked. A WMA clicked in its own
// type leaves All/None on again for the type listed next.
TEST_F(FolderBrowserTest, TypeFiltersListTheirTypesAndRechoosingDoesNothing)
{
    makeFile("a.mp3");
    makeFile("b.WAV");
    makeFile("c.wma");
    startWith(3);
    select("c.wma");
    EXPECT_EQ(state.CurrentType, "WMA");
    const QStringList expected[]
        = {{"a.mp3"}, {"b.WAV"}, {"a.mp3", "b.WAV"}, {"c.wma"}, {"a.mp3", "b.WAV", "c.wma"}};
    for (int index = 0; index < 5; ++index) {
        ui().CboType->setCurrentIndex(index);
        EXPECT_EQ(listed(), expected[index]) << index;
        EXPECT_EQ(ui().chkAll->isEnabled(), index != 3) << index;
    }
    makeFile("d.mp3");
    browser().CboType_Click(); // same entry, same folder
    EXPECT_EQ(listed().size(), 3);
}

TEST_F(FolderBrowserTest, EveryOrderSortsAndMarksStayWithTheirFiles)
{
    makeFile("beta.wma", 900, "2024-03-01T10:00:00");
    makeFile("Alpha.wav", 10000, "2023-12-31T23:59:59");
    makeFile("gamma.MP3", 20, "2024-03-01T09:00:00");
    startWith(4, "S");
    EXPECT_EQ(listed(), QStringList({"gamma.MP3", "beta.wma", "Alpha.wav"}));
    EXPECT_TRUE(ui().mnuOrdSize->isChecked());

    ui().ListInput->item(1)->setSelected(true); // beta.wma
    const struct
    {
        QAction *action;
        QStringList order;
    } cases[] = {{ui().mnuOrdName, {"Alpha.wav", "beta.wma", "gamma.MP3"}},
        {ui().mnuOrdExt, {"gamma.MP3", "Alpha.wav", "beta.wma"}},
        {ui().mnuOrdDate, {"Alpha.wav", "gamma.MP3", "beta.wma"}},
        {ui().mnuOrdSize, {"gamma.MP3", "beta.wma", "Alpha.wav"}}};
    for (const auto &c : cases) {
        c.action->trigger();
        EXPECT_EQ(listed(), c.order);
        for (QAction *order : {ui().mnuOrdName, ui().mnuOrdExt, ui().mnuOrdDate, ui().mnuOrdSize})
            EXPECT_EQ(order->isChecked(), order == c.action) << order->objectName().toStdString();
        const QList<QListWidgetItem *> marked = ui().ListInput->selectedItems();
        ASSERT_EQ(marked.size(), 1);
        EXPECT_TRUE(marked[0]->text().startsWith("beta.wma"));
    }
}

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
    EXPECT_EQ(state.ShownFilePath, sub + "/one.mp3");
    EXPECT_TRUE(ui().LabInfo->text().startsWith("Title: Frame Title  (2001)\n"));
    EXPECT_EQ(count(), "   (1/3)");
    EXPECT_EQ(ui().ListOutput->count(), 0);
    EXPECT_EQ(state.OutputFolder, sub); // "Current Folder" follows the browser
    EXPECT_EQ(history(0), sub);
    EXPECT_TRUE(on(MainCommand::Convert));

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
    EXPECT_EQ(state.CurrentType, "WMA");
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
// Return opens the folder typed, a "\" in its name included.
TEST_F(FolderBrowserTest, PathBoxCompletesFromHistoryAndOpensTheFolderTyped)
{
    const QString songs = music + "/Songs", odd = music + "/AC\\DC\\";
    makeFile("AC\\DC\\/x.mp3");
    startWith(4, "A", {music + "/Music", songs});
    QLineEdit *edit = ui().CboURL->lineEdit();
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, music + "/so");
    EXPECT_EQ(edit->text(), songs + '/');
    EXPECT_EQ(edit->selectedText(), "ngs/");
    // The typed part took the entry's case.
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), music + "/So");

    edit->setText(odd);
    // The key goes where the user's keys go: to the box, which has the focus.
    QTest::keyClick(ui().CboURL, Qt::Key_Return);
    EXPECT_EQ(state.CurrentFolder, odd);
    EXPECT_EQ(browser().Dir1Folder(), odd);
    EXPECT_EQ(state.CurrentFile, "x.mp3");
    EXPECT_EQ(history(0), odd);
}

// A folder typed that is not there goes from the box quietly; clearing the history asks first.
TEST_F(FolderBrowserTest, ThePathHistory)
{
    const QString gone = music + "/gone";
    startWith(4, "A", {gone, "/b", music});
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

    ASSERT_EQ(ui().CboURL->count(), 2);
    messages.answers = {No};
    ui().cmdClear->click();
    EXPECT_EQ(history(1), "/b");
    messages.answers = {Yes};
    ui().cmdClear->click();
    for (int i = 0; i < 2; ++i) // the keys of the entries listed
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

TEST_F(FolderBrowserTest, DropsOpenFoldersOrTheDroppedFilesFolder)
{
    makeFile("here.mp3");
    makeFile("other/there.wav");
    startWith();
    browser().DropFiles(music + "/here.mp3");
    EXPECT_EQ(state.CurrentFile, "here.mp3");

    // A file of another folder, dropped as a URL list on the input list; drag events are
    // delivered to the filter the browser installs on each control.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(music + "/other/there.wav")});
    QObject *filter = browser().findChild<DropTarget *>();
    ASSERT_NE(filter, nullptr);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(ui().ListInput->viewport(), &enter));
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(ui().ListInput->viewport(), &drop));
    EXPECT_EQ(state.CurrentFolder, music + "/other");
    EXPECT_EQ(state.CurrentFile, "there.wav");

    // A folder, dropped as text on the window.
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
    const struct
    {
        QListWidget *list;
        bool withEntry;
        QList<QAction *> shown;
    } cases[] = {{ui().ListInput, false, {ui().mnuExpl}}, {ui().ListInput, true, input},
        {ui().ListOutput, false, {ui().mnuExplOut}}, {ui().ListOutput, true, output}};
    for (const auto &c : cases) {
        const std::string row = c.list->objectName().toStdString() + (c.withEntry ? " entry" : "");
        c.list->setCurrentRow(c.withEntry ? 0 : -1, QItemSelectionModel::ClearAndSelect);
        emit c.list->customContextMenuRequested(QPoint(2, 2));
        for (QAction *action : input + output)
            EXPECT_EQ(action->isVisible(), c.shown.contains(action))
                << row << ": " << action->objectName().toStdString();
        if (c.list == ui().ListInput && c.withEntry) {
            EXPECT_EQ(window->sfPopup()->defaultAction(), ui().mnuPlay);
        }
        window->sfPopup()->hide();
    }
}

TEST_F(FolderBrowserTest, ClickingAnMp3SwitchesTheCommandsOfTheWindow)
{
    QFile::copy(TONVERA_TEST_DATA "/browser/both.mp3", music + "/song.mp3");
    startWith(0);
    select("song.mp3");
    EXPECT_EQ(state.SourcePath, music + "/song.mp3");
    for (MainCommand command : {MainCommand::Convert, MainCommand::Tag, MainCommand::Play,
             MainCommand::SetSection, MainCommand::ConversionOptions})
        EXPECT_TRUE(on(command)) << int(command);
    EXPECT_FALSE(on(MainCommand::PlaySection)); // no section yet
    EXPECT_FALSE(on(MainCommand::ConvertSection));
    EXPECT_TRUE(ui().FraConv->isEnabled());

    // A section makes the section commands follow.
    state.Cut.setStartMs(1000);
    browser().ListInput_Click();
    EXPECT_TRUE(on(MainCommand::PlaySection));
    EXPECT_TRUE(on(MainCommand::ConvertSection));
    for (QWidget *control : std::initializer_list<QWidget *> {ui().cmdGrab, ui().cmdGrabCut,
             ui().VScrSta, ui().cmdPlay, ui().cmdPlayCut, ui().cmdSta, ui().cmdFin, ui().cmdTag})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    for (QAction *entry : {ui().mnuGrab, ui().mnuPlay, ui().mnuTag})
        EXPECT_TRUE(entry->isEnabled()) << entry->objectName().toStdString();
    EXPECT_FALSE(ui().cmdStop->isEnabled()); // nothing plays yet
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

TEST_F(FolderBrowserTest, ARightClickInTheTreeOpensItsMenuAndKeepsTheFolder)
{
    // Beside the start folder, in sight in the tree (the start folder itself is not opened).
    const QString side = path("side");
    QDir().mkpath(side);
    startWith();
    window->show();
    auto *model = qobject_cast<QFileSystemModel *>(ui().Dir1->model());
    ASSERT_NE(model, nullptr);
    const auto place = [&] {
        return ui().Dir1->visualRect(model->index(side));
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return place().isValid(); }, 5000));
    QTest::mouseClick(ui().Dir1->viewport(), Qt::RightButton, {}, place().center());
    EXPECT_TRUE(window->dirPopup()->isVisible());
    EXPECT_EQ(browser().Dir1Folder(), music);
    EXPECT_EQ(state.CurrentFolder, music);
    // The menu is for the folder clicked, which is highlighted but not opened.
    EXPECT_TRUE(ui().Dir1->selectionModel()->isSelected(model->index(side)));
    window->dirPopup()->hide();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ui().Dir1->selectionModel()->isSelected(model->index(music)); }, 5000));

    // The left button still chooses the folder.
    QTest::mouseClick(ui().Dir1->viewport(), Qt::LeftButton, {}, place().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.CurrentFolder == side; }, 5000))
        << state.CurrentFolder.toStdString();
}

} // namespace
