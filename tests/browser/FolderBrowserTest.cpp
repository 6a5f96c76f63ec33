// The browser driven through its handlers on real temporary folders, offscreen, with scripted
// message boxes and an in-memory history.
#include "browser/FolderBrowser.h"
#include "app/AppState.h"
#include "app/Services.h"
#include "app/Settings.h"
#include "browser/ListLine.h"
#include "browser/SettingsHistoryStore.h"
#include "browser/TypeFilter.h"

#include "GuiFixture.h"
#include "MapStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeView>
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

class FolderBrowserTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        messages.defaultAnswer = 2; // Cancel when the test scripted no answer
        top = folder = path(QStringLiteral("top"));
        QDir().mkpath(top);
        w.window = &window;
        for (QComboBox **box : {&w.Drive1, &w.CboURL, &w.CboType})
            *box = new QComboBox(&window);
        w.CboType->addItems(TypeBoxEntries(QStringLiteral("Supported")));
        w.Dir1 = new QTreeView(&window);
        w.ListInput = new QListWidget(&window);
        w.ListOutput = new QListWidget(&window);
        for (QAbstractButton **box : {&w.chkAll, &w.chkWMA, &w.chkWAV})
            *box = new QCheckBox(&window);
        w.chkWMA->setChecked(true);
        for (QAbstractButton **b : {&w.cmdClear, &w.cmdRefr, &w.cmdUp})
            *b = new QPushButton(&window);
        for (QWidget **b : {&w.cmdGrab, &w.cmdTag})
            *b = new QPushButton(&window);
        w.Lab2 = new QLabel(&window);
        w.LabStatus = new QLabel(&window);
        for (QAction **action : {&w.mnuOrdName, &w.mnuOrdExt, &w.mnuOrdDate, &w.mnuOrdSize})
            *action = new QAction(&window);
        hooks.MountedVolumes = [this] {
            return volumes;
        };
        hooks.ShowFileInfo = [this](const QString &path, const QString &type) {
            shown << path + QLatin1Char('|') + type;
        };
        volumes = {{"/", "ext4", "/dev/sda1", "", true}};
        window.show();
    }

    void start(int typeIndex = 4, const QString &order = QStringLiteral("A"))
    {
        browser = std::make_unique<FolderBrowser>(w, state, store, messages, hooks);
        state.SortOrder = order;
        state.CurrentFolder = folder;
        browser->Carica_URL();
        browser->ShowStartFolder();
        state.BrowseEventsOn = true;
        browser->ApplyTypeIndex(typeIndex);
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
        for (int row = 0; row < w.ListInput->count(); ++row)
            list << ListLine::fileNameOf(PathOfItem(w.ListInput->item(row)));
        return list;
    }

    QString top, folder;
    QWidget window;
    BrowserWidgets w;
    FolderBrowserHooks hooks;
    QList<Volume> volumes;
    AppState state;
    MapStore store;
    QStringList shown;
    std::unique_ptr<FolderBrowser> browser;
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
    const QString line = w.ListInput->item(1)->text();
    EXPECT_EQ(line.mid(44, 4), QStringLiteral(" 2 K"));
    EXPECT_EQ(ListLine::pathOf(line), folder + QStringLiteral("/b.mp3"));
    EXPECT_EQ(w.ListInput->item(3)->toolTip(), QStringLiteral(" ") + QString(41, 'n') + ".mp3 ");
    EXPECT_TRUE(w.ListInput->item(1)->toolTip().isEmpty());
    // On screen a line ends before its path, however wide the list is.
    auto *view = qobject_cast<QStyledItemDelegate *>(w.ListInput->itemDelegate());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->displayText(line, QLocale()).trimmed(), line.left(48));
    // The type box shows its entries without the filter codes; the text keeps them.
    EXPECT_EQ(w.CboType->currentText(), TypeBoxEntries(QStringLiteral("Supported"))[4]);
    auto *box = qobject_cast<QStyledItemDelegate *>(w.CboType->itemDelegate());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->displayText(w.CboType->currentText(), QLocale()), QStringLiteral("Supported"));
    // The type filter leaves no entry current.
    EXPECT_EQ(w.ListInput->currentItem(), nullptr);
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
        w.CboType->setCurrentIndex(index);
        EXPECT_EQ(names(), expected[index]) << index;
        EXPECT_EQ(w.chkAll->isEnabled(), index != 3) << index;
    }
    makeFile(QStringLiteral("d.mp3"), 10);
    browser->CboType_Click(); // same entry, same folder
    EXPECT_EQ(names().size(), 3);
}

TEST_F(FolderBrowserTest, EveryOrderSortsAndMarksStayWithTheirFiles)
{
    makeFile(QStringLiteral("beta.wma"), 900, QStringLiteral("2024-03-01T10:00:00"));
    makeFile(QStringLiteral("Alpha.wav"), 10000, QStringLiteral("2023-12-31T23:59:59"));
    makeFile(QStringLiteral("gamma.MP3"), 20, QStringLiteral("2024-03-01T09:00:00"));
    start(4, QStringLiteral("S"));
    EXPECT_EQ(names(), QStringList({"gamma.MP3", "beta.wma", "Alpha.wav"}));
    EXPECT_TRUE(w.mnuOrdSize->isChecked());

    w.ListInput->item(1)->setSelected(true); // beta.wma
    const struct
    {
        QAction *action;
        QStringList order;
    } cases[] = {{w.mnuOrdName, {"Alpha.wav", "beta.wma", "gamma.MP3"}},
        {w.mnuOrdExt, {"gamma.MP3", "Alpha.wav", "beta.wma"}},
        {w.mnuOrdDate, {"Alpha.wav", "gamma.MP3", "beta.wma"}},
        {w.mnuOrdSize, {"gamma.MP3", "beta.wma", "Alpha.wav"}}};
    for (const auto &c : cases) {
        c.action->trigger();
        EXPECT_EQ(names(), c.order);
        EXPECT_TRUE(c.action->isChecked());
        const int checked = int(w.mnuOrdName->isChecked()) + int(w.mnuOrdExt->isChecked())
            + int(w.mnuOrdDate->isChecked()) + int(w.mnuOrdSize->isChecked());
        EXPECT_EQ(checked, 1);
        const QList<QListWidgetItem *> marked = w.ListInput->selectedItems();
        ASSERT_EQ(marked.size(), 1);
        EXPECT_TRUE(marked[0]->text().startsWith(QStringLiteral("beta.wma")));
    }
}

TEST_F(FolderBrowserTest, FolderChangeMakesTheFirstFileCurrentAndCountsMarks)
{
    QDir(folder).mkdir(QStringLiteral("sub"));
    start();
    EXPECT_EQ(w.ListInput->count(), 0);
    folder = top + "/sub";
    makeFile(QStringLiteral("one.mp3"), 100);
    makeFile(QStringLiteral("two.wav"), 100);
    makeFile(QStringLiteral("three.wma"), 100);
    w.ListOutput->addItem(QStringLiteral("old output"));

    ASSERT_TRUE(browser->SetDir1(folder));
    EXPECT_EQ(state.CurrentFolder, folder);
    EXPECT_EQ(state.CurrentFile, QStringLiteral("one.mp3"));
    EXPECT_EQ(state.CurrentType, QStringLiteral("MP3"));
    EXPECT_EQ(shown.last(), folder + QStringLiteral("/one.mp3|MP3"));
    EXPECT_EQ(w.Lab2->text(), QStringLiteral("2 - Select files to be converted   (1/3)"));
    EXPECT_EQ(w.ListOutput->count(), 0);
    EXPECT_EQ(store.keys.value(QStringLiteral("0")), folder);
    EXPECT_TRUE(w.cmdGrab->isEnabled());

    w.chkAll->click(); // marks all: the MP3 and the WAV count, the WMA does not
    EXPECT_EQ(state.QueueCount, 2);
    EXPECT_EQ(w.Lab2->text(), QStringLiteral("2 - Select files to be converted   (2/3)"));
    w.chkAll->click();
    EXPECT_TRUE(w.ListInput->selectedItems().isEmpty());
    EXPECT_EQ(w.Lab2->text(), QStringLiteral("2 - Select files to be converted   (1/3)"));

    w.ListInput->setCurrentRow(1, QItemSelectionModel::ClearAndSelect); // three.wma
    EXPECT_EQ(state.CurrentType, QStringLiteral("WMA"));
    EXPECT_EQ(state.QueueCount, 0);
    EXPECT_FALSE(w.cmdGrab->isEnabled());

    // Refresh keeps the output list; up one level goes to the parent.
    w.ListOutput->addItem(QStringLiteral("converted"));
    w.cmdRefr->click();
    EXPECT_EQ(w.ListOutput->count(), 1);
    EXPECT_EQ(w.ListInput->count(), 3);
    w.cmdUp->click();
    EXPECT_EQ(state.CurrentFolder, top);
    EXPECT_EQ(w.ListOutput->count(), 0);
    EXPECT_EQ(w.Lab2->text(), QStringLiteral("2 - Select files to be converted")); // no files
}

TEST_F(FolderBrowserTest, PathBoxCompletesFromHistoryAndBackspaceDoesNotComplete)
{
    const QString songs = top + "/Songs";
    QDir(folder).mkdir(QStringLiteral("Songs"));
    store.keys = {{"0", top + "/Music"}, {"1", songs}};
    start();
    QLineEdit *edit = w.CboURL->lineEdit();
    ASSERT_NE(edit, nullptr);
    const QString typed = top + QStringLiteral("/so");
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
    browser->EnterPressed();
    EXPECT_EQ(state.CurrentFolder, songs);
    EXPECT_EQ(browser->Dir1Folder(), songs);
    EXPECT_EQ(store.keys.value(QStringLiteral("0")), songs);
}

TEST_F(FolderBrowserTest, AcceptOfAMissingFolderDropsItFromTheListQuietly)
{
    const QString gone = top + "/gone";
    store.keys = {{"0", gone}, {"1", folder}};
    start();
    const QString before = state.CurrentFolder;
    for (const QString &typed : {gone, QStringLiteral("d")}) {
        w.CboURL->setEditText(typed);
        browser->CboURL_Click();
        EXPECT_TRUE(w.CboURL->currentText().isEmpty());
        EXPECT_EQ(state.CurrentFolder, before);
        EXPECT_TRUE(state.BrowseEventsOn);
    }
    EXPECT_EQ(w.CboURL->findText(gone), -1);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(store.keys.value(QStringLiteral("0")), gone); // the store is rewritten later
}

TEST_F(FolderBrowserTest, ClearingTheHistoryAsksFirst)
{
    store.keys = {{"0", "/a"}, {"1", "/b"}, {"2", "/c"}};
    state.CurrentFolder = folder;
    browser = std::make_unique<FolderBrowser>(w, state, store, messages, hooks);
    browser->Carica_URL();
    ASSERT_EQ(w.CboURL->count(), 3);
    messages.answers = {7}; // No
    w.cmdClear->click();
    EXPECT_EQ(store.keys.size(), 3);
    messages.answers = {6}; // Yes
    w.cmdClear->click();
    EXPECT_TRUE(store.keys.isEmpty());
    EXPECT_EQ(w.CboURL->count(), 0);
    EXPECT_FALSE(w.cmdClear->isEnabled());
    EXPECT_EQ(messages.texts.last(), QStringLiteral("Clear Path box ?"));
    EXPECT_EQ(messages.flags_.last(), 292);
}

TEST_F(FolderBrowserTest, ADriveThatIsNotReadyOffersRetryAndCancel)
{
    const QString cd = top + "/cdrom";
    QDir(folder).mkdir(QStringLiteral("cdrom"));
    start();
    volumes.append({cd, "iso9660", "/dev/sr0", "", false});
    QFile track(cd + QStringLiteral("/t.mp3"));
    ASSERT_TRUE(track.open(QIODevice::WriteOnly));
    track.close();

    messages.answers = {2}; // Cancel
    browser->SetDir1(cd);
    EXPECT_EQ(
        messages.texts.value(0), QStringLiteral("Drive ") + cd + QStringLiteral(" Not Ready ..."));
    EXPECT_EQ(messages.flags_.value(0), 293);
    EXPECT_EQ(w.ListInput->count(), 0);
    EXPECT_TRUE(state.BrowseEventsOn);

    // Retry after the disc went in.
    messages.answers = {4};
    int asked = 0;
    hooks.MountedVolumes = [this, &asked] {
        if (++asked > 1)
            volumes.last().ready = true;
        return volumes;
    };
    browser = std::make_unique<FolderBrowser>(w, state, store, messages, hooks);
    state.CurrentFolder.clear();
    browser->SetDir1(cd);
    EXPECT_EQ(w.ListInput->count(), 1);

    // A drive whose mount point cannot be opened: "Error reading Drive", then the program's drive.
    const QString gone = top + "/unplugged";
    volumes.append({gone, "vfat", "/dev/sdz1", "", true});
    w.Drive1->addItem(gone, gone);
    messages.answers = {2};
    w.Drive1->setCurrentIndex(w.Drive1->count() - 1);
    EXPECT_EQ(messages.texts.last(), QStringLiteral("Error reading Drive ") + gone);
    EXPECT_EQ(w.Drive1->currentData().toString(), QStringLiteral("/"));
    EXPECT_EQ(state.CurrentFolder, cd); // the shown folder stays
}

TEST_F(FolderBrowserTest, DropsOpenFoldersOrTheDroppedFilesFolder)
{
    QDir(folder).mkdir(QStringLiteral("other"));
    makeFile(QStringLiteral("here.mp3"), 10);
    makeFile(QStringLiteral("other/there.wav"), 10);
    start();

    browser->DropFiles(folder + QStringLiteral("/here.mp3"));
    EXPECT_EQ(state.CurrentFile, QStringLiteral("here.mp3"));
    EXPECT_EQ(state.CurrentFolder, folder);

    // A file of another folder, dropped as a URL list on the input list.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder + QStringLiteral("/other/there.wav"))});
    // Drag events are delivered to the filter the browser installs on each control.
    QObject *filter = browser.get();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(w.ListInput->viewport(), &enter));
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(filter->eventFilter(w.ListInput->viewport(), &drop));
    EXPECT_EQ(state.CurrentFolder, folder + QStringLiteral("/other"));
    EXPECT_EQ(state.CurrentFile, QStringLiteral("there.wav"));

    // A folder, dropped as text on the window.
    QMimeData text;
    text.setText(QStringLiteral("file://") + folder);
    QDropEvent folderDrop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    filter->eventFilter(&window, &folderDrop);
    EXPECT_EQ(state.CurrentFolder, folder);
    EXPECT_EQ(names(), QStringList({"here.mp3"}));
}

TEST_F(FolderBrowserTest, InputMenuShowsTheInputEntriesOnly)
{
    makeFile(QStringLiteral("a.mp3"), 10);
    QAction **members[]
        = {&w.mnuPlay, &w.mnuStop, &w.mnuGrab, &w.mnuTag, &w.mnuOrder, &w.mnuSave, &w.mnuMove,
            &w.mnuExpl, &w.SFRename, &w.SFDelete, &w.mnuExplOut, &w.SFRenameOut, &w.SFDeleteOut};
    QAction *entries[13];
    w.SFPOPUP = new QMenu(&window);
    for (int i = 0; i < 13; ++i)
        entries[i] = *members[i] = w.SFPOPUP->addAction(QString());
    start();

    // Without a current entry only "explore" is offered.
    emit w.ListInput->customContextMenuRequested(QPoint(2, 2));
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(entries[i]->isVisible(), i == 7) << i;
    w.SFPOPUP->hide();

    w.ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    emit w.ListInput->customContextMenuRequested(QPoint(2, 2));
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(entries[i]->isVisible(), i < 10) << i;
    EXPECT_EQ(w.SFPOPUP->defaultAction(), w.mnuPlay);
    // Converting and tagging follow their buttons.
    EXPECT_EQ(w.mnuGrab->isEnabled(), w.cmdGrab->isEnabled());
    w.SFPOPUP->hide();
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
