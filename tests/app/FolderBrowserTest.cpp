// The browser of the real main window, started as the program starts it, on real temporary
// folders, offscreen, with scripted message boxes and volumes.
#include "browser/FolderBrowser.h"
#include "app/AppShell.h"
#include "app/MainWindow.h"
#include "browser/DropTarget.h"
#include "browser/ListLine.h"
#include "browser/PathHistory.h"
#include "browser/SettingsHistoryStore.h"
#include "browser/TypeFilter.h"
#include "core/AppState.h"
#include "core/MainCommands.h"
#include "core/Settings.h"
#include "ui_frmMain.h"

#include "WindowFixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

class FolderBrowserTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        messages.defaultAnswer = 2; // Cancel when the test scripted no answer
        top = folder = path(QStringLiteral("top"));
        QDir().mkpath(top);
        volumes.list = QList<Volume> {{"/", "ext4", "/dev/sda1", "", true}};
    }

    // The program's start in folder, with the type box entry and the order saved last, and
    // the given path history.
    void start(int typeIndex = 4, const QString &order = QStringLiteral("A"),
        const QStringList &history = {})
    {
        storeSettings({{"Language", "EN"}, {"Path", folder}, {"swOrd", order},
            {"iTyp", QString::number(typeIndex)}});
        QList<std::pair<QString, QString>> entries;
        for (qsizetype i = 0; i < history.size(); ++i)
            entries.append({QString::number(i), history[i]});
        storeSettings(entries, QStringLiteral("URL"));
        ASSERT_TRUE(WindowFixture::start());
        // Keys reach the window as they reach the user's active window.
        QApplication::setActiveWindow(window.get());
    }

    void makeFile(const QString &name, qsizetype size, const QString &stamp = QString())
    {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
        file.flush();
        if (!stamp.isEmpty())
            file.setFileTime(
                QDateTime::fromString(stamp, Qt::ISODate), QFileDevice::FileModificationTime);
    }

    QStringList names() const
    {
        QStringList list;
        for (int row = 0; row < ui().ListInput->count(); ++row)
            list << ListLine::fileNameOf(PathOfItem(ui().ListInput->item(row)));
        return list;
    }

    QString history(int index) const
    {
        return settings->text(QStringLiteral("URL"), QString::number(index), QString());
    }

    bool on(MainCommand command) const { return window->commands().isOn(command); }

    FolderBrowser &browser() const { return window->folderBrowser(); }

    QString top, folder;
};

TEST_F(FolderBrowserTest, ListsSupportedFilesWithSizeColumnAndPath)
{
    makeFile(QStringLiteral("b.mp3"), 1500);
    makeFile(QStringLiteral("a.WAV"), 0);
    makeFile(QStringLiteral("c.wma"), 1023);
    makeFile(QStringLiteral("notes.txt"), 10);
    makeFile(QStringLiteral(".hidden.mp3"), 10);
    makeFile(QString(41, QLatin1Char('n')) + QStringLiteral(".mp3"), 1536000);
    start();

    ASSERT_EQ(names(), QStringList({"a.WAV", "b.mp3", "c.wma", QString(41, 'n') + ".mp3"}));
    const QString line = ui().ListInput->item(1)->text();
    EXPECT_EQ(line.mid(44, 4), QStringLiteral(" 2 K"));
    EXPECT_EQ(ListLine::pathOf(line), folder + QStringLiteral("/b.mp3"));
    EXPECT_EQ(ui().ListInput->item(3)->toolTip(), QStringLiteral(" ") + QString(41, 'n') + ".mp3 ");
    EXPECT_TRUE(ui().ListInput->item(1)->toolTip().isEmpty());
    // On screen a line ends before its path, however wide the list is.
    auto *view = qobject_cast<QStyledItemDelegate *>(ui().ListInput->itemDelegate());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->displayText(line, QLocale()).trimmed(), line.left(48));
    // The type box shows its entries without the filter codes; the text keeps them.
    EXPECT_EQ(ui().CboType->currentText(), TypeBoxEntries(QStringLiteral("Supported"))[4]);
    auto *box = qobject_cast<QStyledItemDelegate *>(ui().CboType->itemDelegate());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(
        box->displayText(ui().CboType->currentText(), QLocale()), QStringLiteral("Supported"));
    // The type filter leaves no entry current.
    EXPECT_EQ(ui().ListInput->currentItem(), nullptr);
    EXPECT_TRUE(state.CurrentFile.isEmpty());
    EXPECT_EQ(state.TypeIndex, 4);
}

TEST_F(FolderBrowserTest, TypeFiltersListTheirTypesAndRechoosingDoesNothing)
{
    makeFile(QStringLiteral("a.mp3"), 10);
    makeFile(QStringLiteral("b.WAV"), 10);
    makeFile(QStringLiteral("c.wma"), 10);
    start(0);
    const QStringList expected[]
        = {{"a.mp3"}, {"b.WAV"}, {"a.mp3", "b.WAV"}, {"c.wma"}, {"a.mp3", "b.WAV", "c.wma"}};
    for (int index = 0; index < 5; ++index) {
        ui().CboType->setCurrentIndex(index);
        EXPECT_EQ(names(), expected[index]) << index;
        EXPECT_EQ(ui().chkAll->isEnabled(), index != 3) << index;
    }
    makeFile(QStringLiteral("d.mp3"), 10);
    browser().CboType_Click(); // same entry, same folder
    EXPECT_EQ(names().size(), 3);
}

TEST_F(FolderBrowserTest, EveryOrderSortsAndMarksStayWithTheirFiles)
{
    makeFile(QStringLiteral("beta.wma"), 900, QStringLiteral("2024-03-01T10:00:00"));
    makeFile(QStringLiteral("Alpha.wav"), 10000, QStringLiteral("2023-12-31T23:59:59"));
    makeFile(QStringLiteral("gamma.MP3"), 20, QStringLiteral("2024-03-01T09:00:00"));
    start(4, QStringLiteral("S"));
    EXPECT_EQ(names(), QStringList({"gamma.MP3", "beta.wma", "Alpha.wav"}));
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
        EXPECT_EQ(names(), c.order);
        EXPECT_TRUE(c.action->isChecked());
        const int checked = int(ui().mnuOrdName->isChecked()) + int(ui().mnuOrdExt->isChecked())
            + int(ui().mnuOrdDate->isChecked()) + int(ui().mnuOrdSize->isChecked());
        EXPECT_EQ(checked, 1);
        const QList<QListWidgetItem *> marked = ui().ListInput->selectedItems();
        ASSERT_EQ(marked.size(), 1);
        EXPECT_TRUE(marked[0]->text().startsWith(QStringLiteral("beta.wma")));
    }
}

TEST_F(FolderBrowserTest, FolderChangeMakesTheFirstFileCurrentAndCountsMarks)
{
    QDir(folder).mkdir(QStringLiteral("sub"));
    start();
    EXPECT_EQ(ui().ListInput->count(), 0);
    folder = top + "/sub";
    makeFile(QStringLiteral("one.mp3"), 100);
    makeFile(QStringLiteral("two.wav"), 100);
    makeFile(QStringLiteral("three.wma"), 100);
    ui().ListOutput->addItem(QStringLiteral("old output"));

    ASSERT_TRUE(browser().SetDir1(folder));
    EXPECT_EQ(state.CurrentFolder, folder);
    EXPECT_EQ(state.CurrentFile, QStringLiteral("one.mp3"));
    EXPECT_EQ(state.CurrentType, QStringLiteral("MP3"));
    EXPECT_EQ(state.ShownFilePath, folder + QStringLiteral("/one.mp3"));
    EXPECT_EQ(ui().Lab2->text(), QStringLiteral("2 - Select files to be converted   (1/3)"));
    EXPECT_EQ(ui().ListOutput->count(), 0);
    EXPECT_EQ(history(0), folder);
    EXPECT_TRUE(on(MainCommand::Convert));

    ui().chkAll->click(); // marks all: the MP3 and the WAV count, the WMA does not
    EXPECT_EQ(state.QueueCount, 2);
    EXPECT_EQ(ui().Lab2->text(), QStringLiteral("2 - Select files to be converted   (2/3)"));
    ui().chkAll->click();
    EXPECT_TRUE(ui().ListInput->selectedItems().isEmpty());
    EXPECT_EQ(ui().Lab2->text(), QStringLiteral("2 - Select files to be converted   (1/3)"));
    // A screen reader toggles the box instead of clicking it: the same marking.
    ui().chkAll->toggle();
    EXPECT_EQ(ui().ListInput->selectedItems().size(), 3);
    EXPECT_EQ(state.QueueCount, 2);
    ui().chkAll->toggle();
    EXPECT_TRUE(ui().ListInput->selectedItems().isEmpty());

    ui().ListInput->setCurrentRow(1, QItemSelectionModel::ClearAndSelect); // three.wma
    EXPECT_EQ(state.CurrentType, QStringLiteral("WMA"));
    EXPECT_EQ(state.QueueCount, ui().chkWMA->isChecked() ? 1 : 0); // encoded again alone

    // Refresh keeps the output list; up one level goes to the parent.
    ui().ListOutput->addItem(QStringLiteral("converted"));
    ui().cmdRefr->click();
    EXPECT_EQ(ui().ListOutput->count(), 1);
    EXPECT_EQ(ui().ListInput->count(), 3);
    ui().cmdUp->click();
    EXPECT_EQ(state.CurrentFolder, top);
    EXPECT_EQ(ui().ListOutput->count(), 0);
    EXPECT_EQ(ui().Lab2->text(), QStringLiteral("2 - Select files to be converted")); // no files
}

TEST_F(FolderBrowserTest, PathBoxCompletesFromHistoryAndBackspaceDoesNotComplete)
{
    const QString songs = top + "/Songs";
    QDir(folder).mkdir(QStringLiteral("Songs"));
    start(4, QStringLiteral("A"), {top + "/Music", songs});
    QLineEdit *edit = ui().CboURL->lineEdit();
    ASSERT_NE(edit, nullptr);
    const QString typed = top + QStringLiteral("/so");
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, typed);
    EXPECT_EQ(edit->text(), songs + QLatin1Char('/'));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("ngs/"));
    // The typed part took the entry's case; Backspace removes only the completed rest.
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), top + QStringLiteral("/So"));

    // Enter accepts the folder, opens it and keeps it first in the history.
    edit->setText(songs);
    makeFile(QStringLiteral("Songs/x.mp3"), 10);
    // The key goes where the user's keys go: to the box, which has the focus.
    QTest::keyClick(ui().CboURL, Qt::Key_Return);
    EXPECT_EQ(state.CurrentFolder, songs);
    EXPECT_EQ(browser().Dir1Folder(), songs);
    EXPECT_EQ(history(0), songs);
}

TEST_F(FolderBrowserTest, ABackslashTypedInThePathBoxIsPartOfTheFolderName)
{
    const QString odd = top + "/AC\\DC\\";
    ASSERT_TRUE(QDir().mkpath(odd + "/"));
    folder = odd;
    makeFile(QStringLiteral("x.mp3"), 10);
    folder = top;
    start();
    QLineEdit *edit = ui().CboURL->lineEdit();
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->setText(odd);
    QTest::keyClick(ui().CboURL, Qt::Key_Return);
    EXPECT_EQ(state.CurrentFolder, odd);
    EXPECT_EQ(state.CurrentFile, QStringLiteral("x.mp3"));
    EXPECT_EQ(history(0), odd);
}

TEST_F(FolderBrowserTest, AcceptOfAMissingFolderDropsItFromTheListQuietly)
{
    const QString gone = top + "/gone";
    start(4, QStringLiteral("A"), {gone, folder});
    const QString before = state.CurrentFolder;
    for (const QString &typed : {gone, QStringLiteral("d")}) {
        ui().CboURL->setEditText(typed);
        browser().CboURL_Click();
        EXPECT_TRUE(ui().CboURL->currentText().isEmpty());
        EXPECT_EQ(state.CurrentFolder, before);
        EXPECT_TRUE(state.BrowseEventsOn);
    }
    EXPECT_EQ(ui().CboURL->findText(gone), -1);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(history(0), gone); // the store is rewritten later
}

TEST_F(FolderBrowserTest, ClearingTheHistoryAsksFirst)
{
    start(4, QStringLiteral("A"), {"/a", "/b", folder});
    ASSERT_EQ(ui().CboURL->count(), 3);
    messages.answers = {7}; // No
    ui().cmdClear->click();
    EXPECT_EQ(history(2), folder);
    messages.answers = {6}; // Yes
    ui().cmdClear->click();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(history(i).isEmpty()) << i;
    EXPECT_EQ(ui().CboURL->count(), 0);
    EXPECT_FALSE(ui().cmdClear->isEnabled());
    EXPECT_EQ(messages.texts.last(), QStringLiteral("Clear Path box ?"));
    EXPECT_EQ(messages.flags_.last(), 292);
}

TEST_F(FolderBrowserTest, ADriveThatIsNotReadyOffersRetryAndCancel)
{
    const QString cd = top + "/cdrom";
    QDir(folder).mkdir(QStringLiteral("cdrom"));
    start();
    volumes.list->append({cd, "iso9660", "/dev/sr0", "", false});
    QFile track(cd + QStringLiteral("/t.mp3"));
    ASSERT_TRUE(track.open(QIODevice::WriteOnly));
    track.close();

    messages.answers = {2}; // Cancel
    browser().SetDir1(cd);
    EXPECT_EQ(
        messages.texts.value(0), QStringLiteral("Drive ") + cd + QStringLiteral(" Not Ready ..."));
    EXPECT_EQ(messages.flags_.value(0), 293);
    EXPECT_EQ(ui().ListInput->count(), 0);
    EXPECT_TRUE(state.BrowseEventsOn);

    // Retry after the disc went in.
    messages.answers = {4};
    browser().SetDir1(top);
    volumes.afterNextCall = [this] {
        volumes.list->last().ready = true;
    };
    browser().SetDir1(cd);
    EXPECT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(ui().ListInput->count(), 1);

    // A drive whose mount point cannot be opened: "Error reading Drive", then the program's drive.
    const QString gone = top + "/unplugged";
    volumes.list->append({gone, "vfat", "/dev/sdz1", "", true});
    ui().Drive1->addItem(gone, gone);
    messages.answers = {2};
    ui().Drive1->setCurrentIndex(ui().Drive1->count() - 1);
    EXPECT_EQ(messages.texts.last(), QStringLiteral("Error reading Drive ") + gone);
    EXPECT_EQ(ui().Drive1->currentData().toString(), QStringLiteral("/"));
    EXPECT_EQ(state.CurrentFolder, cd); // the shown folder stays
}

TEST_F(FolderBrowserTest, DropsOpenFoldersOrTheDroppedFilesFolder)
{
    QDir(folder).mkdir(QStringLiteral("other"));
    makeFile(QStringLiteral("here.mp3"), 10);
    makeFile(QStringLiteral("other/there.wav"), 10);
    start();

    browser().DropFiles(folder + QStringLiteral("/here.mp3"));
    EXPECT_EQ(state.CurrentFile, QStringLiteral("here.mp3"));
    EXPECT_EQ(state.CurrentFolder, folder);

    // A file of another folder, dropped as a URL list on the input list.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder + QStringLiteral("/other/there.wav"))});
    // Drag events are delivered to the filter the browser installs on each control.
    QObject *filter = browser().findChild<DropTarget *>();
    ASSERT_NE(filter, nullptr);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(ui().ListInput->viewport(), &enter));
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(ui().ListInput->viewport(), &drop));
    EXPECT_EQ(state.CurrentFolder, folder + QStringLiteral("/other"));
    EXPECT_EQ(state.CurrentFile, QStringLiteral("there.wav"));

    // A folder, dropped as text on the window.
    QMimeData text;
    text.setText(QStringLiteral("file://") + folder);
    QDropEvent folderDrop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    filter->eventFilter(window.get(), &folderDrop);
    EXPECT_EQ(state.CurrentFolder, folder);
    EXPECT_EQ(names(), QStringList({"here.mp3"}));
}

TEST_F(FolderBrowserTest, InputMenuShowsTheInputEntriesOnly)
{
    makeFile(QStringLiteral("a.mp3"), 10);
    start(0);
    const QList<QAction *> entries = {ui().mnuPlay, ui().mnuStop, ui().mnuGrab, ui().mnuTag,
        ui().mnuOrder, ui().mnuSave, ui().mnuMove, ui().mnuExpl, ui().SFRename, ui().SFDelete,
        ui().mnuExplOut, ui().SFRenameOut, ui().SFDeleteOut};
    QMenu *menu = window->sfPopup();

    // Without a current entry only "explore" is offered.
    emit ui().ListInput->customContextMenuRequested(QPoint(2, 2));
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(entries[i]->isVisible(), i == 7) << i;
    menu->hide();

    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    emit ui().ListInput->customContextMenuRequested(QPoint(2, 2));
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(entries[i]->isVisible(), i < 10) << i;
    EXPECT_EQ(menu->defaultAction(), ui().mnuPlay);
    menu->hide();
}

TEST_F(FolderBrowserTest, ClickingAnMp3SwitchesTheCommandsOfTheWindow)
{
    QFile::copy(QStringLiteral(TONVERA_TEST_DATA "/browser/both.mp3"), folder + "/song.mp3");
    start(0);
    ui().chkWMA->setChecked(true);
    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(state.SourcePath, folder + "/song.mp3");
    for (MainCommand command : {MainCommand::Convert, MainCommand::Tag, MainCommand::Play,
             MainCommand::SetSection, MainCommand::ConversionOptions})
        EXPECT_TRUE(on(command)) << int(command);
    EXPECT_FALSE(on(MainCommand::PlaySection)); // no section yet
    EXPECT_FALSE(on(MainCommand::ConvertSection));
    EXPECT_TRUE(ui().FraConv->isEnabled());

    // A section makes the section commands follow.
    state.Cut.setStartMs(1000);
    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    browser().ListInput_Click();
    EXPECT_TRUE(on(MainCommand::PlaySection));
    EXPECT_TRUE(on(MainCommand::ConvertSection));

    EXPECT_TRUE(ui().cmdGrab->isEnabled());
    EXPECT_TRUE(ui().mnuGrab->isEnabled());
    EXPECT_TRUE(ui().cmdGrabCut->isEnabled());
    EXPECT_TRUE(ui().VScrSta->isEnabled());
    for (QWidget *player : {ui().cmdPlay, ui().cmdPlayCut, ui().cmdSta, ui().cmdFin})
        EXPECT_TRUE(player->isEnabled()) << player->objectName().toStdString();
    EXPECT_TRUE(ui().mnuPlay->isEnabled());
    EXPECT_FALSE(ui().cmdStop->isEnabled()); // nothing plays yet

    // Tag & Rename follows its command, the popup menu's entry included.
    EXPECT_TRUE(ui().cmdTag->isEnabled());
    EXPECT_TRUE(ui().mnuTag->isEnabled());
}

TEST_F(FolderBrowserTest, AFolderChosenWhileAnotherIsListedWins)
{
    for (const char *sub : {"b", "c"})
        QDir(top).mkdir(QString::fromLatin1(sub));
    makeFile(QStringLiteral("b/one.mp3"), 10);
    makeFile(QStringLiteral("c/two.wav"), 10);
    makeFile(QStringLiteral("c/three.wav"), 10);
    start();
    auto *model = qobject_cast<QFileSystemModel *>(ui().Dir1->model());
    ASSERT_NE(model, nullptr);
    // The user clicks folder c while b is being listed (the listing lets events run).
    QTimer::singleShot(0, ui().Dir1, [&] { ui().Dir1->setCurrentIndex(model->index(top + "/c")); });
    browser().SetDir1(top + "/b");
    // Not QTRY_COMPARE: under GoogleTest its failure only returns from the test, unreported.
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.CurrentFolder == top + "/c"; }))
        << state.CurrentFolder.toStdString();
    EXPECT_EQ(browser().Dir1Folder(), top + "/c");
    EXPECT_EQ(names(), QStringList({"three.wav", "two.wav"}));
    for (int row = 0; row < ui().ListInput->count(); ++row)
        EXPECT_TRUE(PathOfItem(ui().ListInput->item(row)).startsWith(top + "/c/")) << row;
    EXPECT_EQ(state.SourcePath, top + "/c/three.wav");
}

TEST_F(FolderBrowserTest, MarkAllFollowsTheListedTypeNotThePreviousFile)
{
    makeFile(QStringLiteral("a.mp3"), 10);
    makeFile(QStringLiteral("c.wma"), 10);
    start(3); // WM Audio
    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(state.CurrentType, "WMA");
    EXPECT_FALSE(ui().chkAll->isEnabled());
    ui().CboType->setCurrentIndex(0); // MP3
    EXPECT_EQ(names(), QStringList({"a.mp3"}));
    EXPECT_TRUE(ui().chkAll->isEnabled());
}

TEST_F(FolderBrowserTest, ARightClickInTheTreeOpensItsMenuAndKeepsTheFolder)
{
    // Beside the start folder, in sight in the tree (the start folder itself is not opened).
    const QString side = path(QStringLiteral("side"));
    QDir().mkpath(side);
    start();
    window->show();
    auto *model = qobject_cast<QFileSystemModel *>(ui().Dir1->model());
    ASSERT_NE(model, nullptr);
    const auto place = [&] {
        return ui().Dir1->visualRect(model->index(side));
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return place().isValid(); }, 5000));
    QTest::mouseClick(ui().Dir1->viewport(), Qt::RightButton, {}, place().center());
    EXPECT_TRUE(window->dirPopup()->isVisible());
    EXPECT_EQ(browser().Dir1Folder(), top);
    EXPECT_EQ(state.CurrentFolder, top);
    // The menu is for the folder clicked, which is highlighted but not opened.
    EXPECT_TRUE(ui().Dir1->selectionModel()->isSelected(model->index(side)));
    window->dirPopup()->hide();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ui().Dir1->selectionModel()->isSelected(model->index(top)); }, 5000));

    // The left button still chooses the folder.
    QTest::mouseClick(ui().Dir1->viewport(), Qt::LeftButton, {}, place().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.CurrentFolder == side; }, 5000))
        << state.CurrentFolder.toStdString();
}

TEST_F(FolderBrowserTest, HistoryLivesInTheSettingsSectionUrl)
{
    const QString file = configHome() + QStringLiteral("/Tonvera.conf");
    {
        Settings settings(file);
        SettingsHistoryStore history(settings);
        PathHistory::insert(history, {QStringLiteral("/b")}, QStringLiteral("/a"));
        settings.sync();
    }
    Settings settings(file);
    EXPECT_EQ(
        settings.text(QStringLiteral("URL"), QStringLiteral("0"), QString()), QStringLiteral("/a"));
    EXPECT_EQ(
        settings.text(QStringLiteral("URL"), QStringLiteral("1"), QString()), QStringLiteral("/b"));
}

} // namespace
