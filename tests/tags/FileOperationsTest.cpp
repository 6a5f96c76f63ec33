// Rename, delete, move, "Save as" and explore on the real window's lists, on real folders, with
// the freedesktop trash checked. Only the modal dialogs (the fixture's) are scripted.
#include "WindowFixture.h"

#include "browser/ListLine.h"
#include "browser/OutputList.h"
#include "playback/MediaControls.h"
#include "tags/FileOperations.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <unistd.h>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA);
constexpr int Yes = 6;
constexpr int No = 7;

// Where the file manager was asked to go.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class FileOperationsTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        // Deleted files land in $XDG_DATA_HOME/Trash when they are on the home volume.
        for (const char *name : {"HOME", "XDG_DATA_HOME"}) {
            saved.append({name, qgetenv(name)});
            qputenv(name, QFile::encodeName(path("home")));
        }
        QDir().mkpath(path("home"));
        music = path("home/music");
        other = path("home/other");
        QDir().mkpath(music);
        QDir().mkpath(other);
    }

    void TearDown() override
    {
        WindowFixture::TearDown();
        for (const auto &[name, value] : saved)
            qputenv(name, value);
    }

    void put(const QString &file, const QByteArray &bytes = "data")
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray bytesOf(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // The window on the music folder, every supported type listed.
    void startIn()
    {
        storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "4"}, {"savDir", music}});
        ASSERT_TRUE(start());
    }

    FileOperations &ops() { return window->fileOperations(); }

    QStringList inputNames() const
    {
        QStringList names;
        for (int row = 0; row < ui().ListInput->count(); ++row)
            names << ListLine::fileNameOf(PathOfItem(ui().ListInput->item(row)));
        return names;
    }

    void select(const QString &name)
    {
        const int row = int(inputNames().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        ui().ListInput->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        ASSERT_EQ(state.CurrentFile, name);
    }

    // An entry of the output list, made current as a click would.
    void showOutput(const QString &file)
    {
        window->outputList().AddOutputFile(file);
        ui().ListOutput->setCurrentRow(ui().ListOutput->count() - 1);
        ASSERT_TRUE(state.OutputListActive);
    }

    QString trashed(const QString &name) const { return path("home/Trash/files/" + name); }

    // Opens the folder tree's menu on folder, as the right mouse button does.
    void rightClickFolder(const QString &folder)
    {
        auto *model = qobject_cast<QFileSystemModel *>(ui().Dir1->model());
        ASSERT_NE(model, nullptr);
        const auto place = [&] {
            return ui().Dir1->visualRect(model->index(folder));
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return place().isValid(); }, 5000));
        QTest::mouseClick(ui().Dir1->viewport(), Qt::RightButton, {}, place().center());
        ASSERT_TRUE(window->dirPopup()->isVisible());
    }
    void closeFolderMenu()
    {
        window->dirPopup()->hide();
        QCoreApplication::processEvents();
    }

    QString music, other;
    QList<std::pair<const char *, QByteArray>> saved;
};

TEST_F(FileOperationsTest, RenameInTheInputList)
{
    put(music + "/a.mp3", "A");
    put(music + "/b.mp3", "B");
    startIn();
    // The file is let go before it gets its new name.
    int releasedBefore = 0;
    QObject::connect(&window->media(), &MediaControls::releasing,
        [&] { releasedBefore += QFileInfo::exists(music + "/a.mp3"); });
    select("a.mp3");
    releasedBefore = 0;

    renameBox.answer = "c.mp3";
    ui().SFRename->trigger();
    EXPECT_EQ(renameBox.shown, QStringList {"a.mp3"});
    EXPECT_TRUE(renameBox.places.value(0).isValid());
    EXPECT_EQ(bytesOf(music + "/c.mp3"), "A");
    EXPECT_FALSE(QFileInfo::exists(music + "/a.mp3"));
    EXPECT_EQ(inputNames(), (QStringList {"b.mp3", "c.mp3"}));
    EXPECT_EQ(state.CurrentFile, "c.mp3"); // the renamed file stays the current one
    EXPECT_EQ(releasedBefore, 1);

    // Onto another file's name: asked first, No keeps both.
    messages.answers = {No};
    renameBox.answer = "b.mp3";
    ui().SFRename->trigger();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("file : " + music + "/b.mp3"));
    EXPECT_TRUE(messages.texts[0].endsWith("ALREADY EXISTS ... REPLACE ?"));
    EXPECT_EQ(messages.flags_[0], 292);
    EXPECT_EQ(bytesOf(music + "/b.mp3"), "B");
    EXPECT_EQ(bytesOf(music + "/c.mp3"), "A");

    // Yes replaces it.
    messages.answers = {Yes};
    ui().SFRename->trigger();
    EXPECT_EQ(bytesOf(music + "/b.mp3"), "A");
    EXPECT_EQ(inputNames(), QStringList {"b.mp3"});

    // Left unchanged or with Escape: nothing at all.
    renameBox.answer.clear();
    ui().SFRename->trigger();
    EXPECT_EQ(inputNames(), QStringList {"b.mp3"});

    // A path moves the file into that folder; it leaves the list.
    renameBox.answer = other + "/moved.mp3";
    ui().SFRename->trigger();
    EXPECT_EQ(bytesOf(other + "/moved.mp3"), "A");
    EXPECT_TRUE(inputNames().isEmpty());
}

TEST_F(FileOperationsTest, RenameTheCurrentOutputEntry)
{
    put(music + "/in.mp3");
    put(other + "/out.wma", "W");
    put(other + "/taken.wma", "T");
    startIn();
    state.OutputFolder = other;
    showOutput(other + "/out.wma");

    messages.answers = {No};
    renameBox.answer = "taken.wma";
    ops().renameRequested(true);
    EXPECT_EQ(bytesOf(other + "/taken.wma"), "T");
    EXPECT_EQ(PathOfItem(ui().ListOutput->currentItem()), other + "/out.wma");

    renameBox.answer = "a much longer name than the forty columns of the list.wma";
    ui().SFRenameOut->trigger();
    const QString renamed = other + "/" + renameBox.answer;
    EXPECT_EQ(bytesOf(renamed), "W");
    QListWidgetItem *entry = ui().ListOutput->currentItem();
    EXPECT_EQ(PathOfItem(entry), renamed);
    EXPECT_EQ(ListLine::pathOf(entry->text()), renamed);
    EXPECT_TRUE(entry->text().startsWith(renameBox.answer.left(40)));
    EXPECT_EQ(state.CurrentOutputFile, renameBox.answer);
    EXPECT_EQ(state.ShownFilePath, renamed); // the panel shows the renamed file
}

TEST_F(FileOperationsTest, RenameOntoAnotherNameOfTheSameFileAsksFirst)
{
    put(music + "/a.mp3", "A");
    ASSERT_EQ(::link(QFile::encodeName(music + "/a.mp3").constData(),
                  QFile::encodeName(music + "/b.mp3").constData()),
        0);
    startIn();
    select("a.mp3");

    // b.mp3 is a hard link of a.mp3: the name is taken, and No leaves both.
    messages.answers = {No};
    renameBox.answer = "b.mp3";
    ui().SFRename->trigger();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].endsWith("ALREADY EXISTS ... REPLACE ?"));
    EXPECT_EQ(inputNames(), (QStringList {"a.mp3", "b.mp3"}));
    EXPECT_EQ(state.CurrentFile, "a.mp3");

    // Yes: the file keeps the new name only.
    messages.answers = {Yes};
    ui().SFRename->trigger();
    EXPECT_EQ(inputNames(), QStringList {"b.mp3"});
    EXPECT_EQ(state.CurrentFile, "b.mp3");
    EXPECT_EQ(bytesOf(music + "/b.mp3"), "A");
}

TEST_F(FileOperationsTest, DeleteMovesToTheTrashAfterAsking)
{
    put(music + "/keep.mp3", "K");
    put(music + "/gone.mp3", "G");
    startIn();
    select("gone.mp3");
    showOutput(music + "/gone.mp3"); // also listed as an output

    messages.answers = {No};
    ops().deleteRequested(false);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "file : " + music + "/gone.mp3\n\nMOVE TO THE TRASH ?");
    EXPECT_TRUE(QFileInfo::exists(music + "/gone.mp3"));
    EXPECT_EQ(inputNames(), (QStringList {"gone.mp3", "keep.mp3"}));

    select("gone.mp3");
    messages.answers = {Yes};
    ui().SFDelete->trigger();
    EXPECT_FALSE(QFileInfo::exists(music + "/gone.mp3"));
    EXPECT_EQ(bytesOf(trashed("gone.mp3")), "G");
    EXPECT_TRUE(QFileInfo::exists(path("home/Trash/info/gone.mp3.trashinfo")));
    EXPECT_EQ(inputNames(), QStringList {"keep.mp3"});
    EXPECT_EQ(ui().ListOutput->count(), 0); // its output entry went too

    // From the output list: the entry goes, and the input list no longer lists the file.
    showOutput(music + "/keep.mp3");
    messages.answers = {Yes};
    ui().SFDeleteOut->trigger();
    EXPECT_EQ(bytesOf(trashed("keep.mp3")), "K");
    EXPECT_EQ(ui().ListOutput->count(), 0);
    EXPECT_TRUE(inputNames().isEmpty());
}

TEST_F(FileOperationsTest, MoveAsksBeforeReplacing)
{
    put(music + "/a.mp3", "A");
    put(music + "/" + QString(50, 'n') + ".mp3", "N");
    put(other + "/a.mp3", "old");
    startIn();
    select("a.mp3");

    folders.answer.clear(); // cancelled
    ui().mnuMove->trigger();
    ASSERT_EQ(folders.titles.size(), 1);
    EXPECT_EQ(folders.titles[0], "Choose the folder where MOVE the file a.mp3");
    EXPECT_EQ(folders.starts[0], music);
    EXPECT_TRUE(QFileInfo::exists(music + "/a.mp3"));

    folders.answer = other + "/";
    messages.answers = {No};
    ui().mnuMove->trigger();
    EXPECT_EQ(bytesOf(other + "/a.mp3"), "old");
    EXPECT_EQ(bytesOf(music + "/a.mp3"), "A");
    EXPECT_EQ(state.SaveFolder, other);

    messages.answers = {Yes};
    ui().mnuMove->trigger();
    EXPECT_EQ(bytesOf(other + "/a.mp3"), "A");
    EXPECT_FALSE(QFileInfo::exists(music + "/a.mp3"));
    EXPECT_EQ(inputNames(), QStringList {QString(50, 'n') + ".mp3"});

    // A long name is cut in the title.
    select(QString(50, 'n') + ".mp3");
    ui().mnuMove->trigger();
    EXPECT_EQ(
        folders.titles.last(), "Choose the folder where MOVE the file " + QString(42, 'n') + " ..");
    EXPECT_TRUE(inputNames().isEmpty());
}

TEST_F(FileOperationsTest, ABackslashIsPartOfTheNameOfTheFileRenamedOrMoved)
{
    const QString name = "AC\\DC - x.mp3";
    put(music + "/" + name, "A");
    startIn();
    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect); // the only file
    renameBox.answer.clear();
    ui().SFRename->trigger();
    EXPECT_EQ(renameBox.shown, QStringList {name});

    folders.answer = other;
    ui().mnuMove->trigger();
    EXPECT_EQ(folders.titles.value(0), "Choose the folder where MOVE the file " + name);
    EXPECT_EQ(bytesOf(other + "/" + name), "A");
    EXPECT_TRUE(QDir(music).entryList(QDir::Files).isEmpty());
}

TEST_F(FileOperationsTest, SaveAsCopiesAndAsksBeforeReplacing)
{
    put(music + "/song.mp3", "S");
    startIn();
    select("song.mp3");

    fileDialog.chosen = music + "/Copy of song"; // typed without an extension
    ui().mnuSave->trigger();
    ASSERT_EQ(fileDialog.requests.size(), 1);
    const FileDialogRequest &asked = fileDialog.requests[0];
    EXPECT_EQ(asked.FileName, "Copy of song");
    EXPECT_EQ(asked.Filter, "*.mp3|*.mp3|All Files (*.*)|*.*");
    EXPECT_EQ(asked.DialogTitle, "Make a Copy of current file ");
    EXPECT_EQ(asked.InitDir, music);
    EXPECT_EQ(bytesOf(music + "/Copy of song.mp3"), "S");
    EXPECT_EQ(inputNames(), (QStringList {"Copy of song.mp3", "song.mp3"}));
    EXPECT_EQ(state.CurrentFile, "song.mp3");

    // Elsewhere: the plain name is proposed, an existing file is asked about.
    put(other + "/song.mp3", "old");
    fileDialog.chosen = other + "/song.mp3";
    messages.answers = {No};
    ui().mnuSave->trigger();
    EXPECT_EQ(bytesOf(other + "/song.mp3"), "old");
    EXPECT_EQ(state.SaveFolder, other);
    messages.answers = {Yes};
    ui().mnuSave->trigger();
    EXPECT_EQ(fileDialog.requests.last().FileName, "song");
    EXPECT_EQ(bytesOf(other + "/song.mp3"), "S");

    // "All Files" keeps a name without extension; the file itself copies nothing.
    fileDialog.chosen = other + "/plain";
    fileDialog.filterIndex = 2;
    ui().mnuSave->trigger();
    EXPECT_EQ(bytesOf(other + "/plain"), "S");
    const int asked2 = int(messages.texts.size());
    fileDialog.chosen = music + "/song.mp3";
    fileDialog.filterIndex = 1;
    ui().mnuSave->trigger();
    EXPECT_EQ(messages.texts.size(), asked2);
    EXPECT_EQ(bytesOf(music + "/song.mp3"), "S");

    // A dialog that failed says why, in a plain box, and nothing is copied.
    fileDialog.chosen = other + "/failed.mp3";
    fileDialog.error = other + "\n\nIs a directory";
    ui().mnuSave->trigger();
    ASSERT_EQ(messages.texts.size(), asked2 + 1);
    EXPECT_EQ(messages.texts.last(), fileDialog.error);
    EXPECT_EQ(messages.flags_.last(), 0);
    EXPECT_FALSE(QFileInfo::exists(other + "/failed.mp3"));
}

TEST_F(FileOperationsTest, ExploreOpensTheFoldersInTheFileManager)
{
    put(music + "/a.mp3");
    startIn();
    window->show();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    state.OutputFolder = other;
    ui().cmdDir->click();
    ops().exploreRequested(true);
    ops().exploreRequested(false);
    ui().mnuExpl->trigger();
    // The tree's menu acts on the folder right-clicked, which is not listed for that.
    rightClickFolder(other);
    ui().mnuDirExpl->trigger();
    EXPECT_EQ(state.CurrentFolder, music);
    closeFolderMenu();
    // Once the menu has gone, the listed folder is the one explored again.
    ui().mnuExpl->trigger();
    QDesktopServices::unsetUrlHandler("file");
    QStringList opened;
    for (const QUrl &url : catcher.opened)
        opened << url.toLocalFile();
    EXPECT_EQ(opened, (QStringList {music, other, music, music, other, music}));

    // "Show" lists it.
    rightClickFolder(other);
    ui().mnuDirOpen->trigger();
    closeFolderMenu();
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.CurrentFolder == other; }, 5000))
        << state.CurrentFolder.toStdString();
}

TEST_F(FileOperationsTest, TheKeysActOnTheListLastClicked)
{
    put(music + "/a.mp3", "A");
    put(music + "/b.mp3", "B");
    startIn();
    QApplication::setActiveWindow(window.get());
    select("a.mp3");
    ui().ListInput->setFocus();

    renameBox.answer = "renamed.mp3";
    QTest::keyClick(ui().ListInput, Qt::Key_F2);
    EXPECT_EQ(renameBox.shown, QStringList {"a.mp3"});
    EXPECT_EQ(bytesOf(music + "/renamed.mp3"), "A");

    select("b.mp3");
    ui().ListInput->setFocus();
    messages.answers = {Yes};
    QTest::keyClick(ui().ListInput, Qt::Key_Delete);
    EXPECT_EQ(bytesOf(trashed("b.mp3")), "B");
    EXPECT_EQ(inputNames(), QStringList {"renamed.mp3"});

    // Once an output entry was clicked, Alt+R renames it, and Alt+M moves nothing.
    put(other + "/out.wma", "W");
    showOutput(other + "/out.wma");
    ui().ListOutput->setFocus();
    renameBox.answer = "new.wma";
    QTest::keyClick(ui().ListOutput, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(renameBox.shown.last(), "out.wma");
    EXPECT_EQ(bytesOf(other + "/new.wma"), "W");
    QTest::keyClick(ui().ListOutput, Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(folders.titles.isEmpty());
}

TEST_F(FileOperationsTest, NothingHappensWhileTheListsAreBusy)
{
    put(music + "/a.mp3");
    startIn();
    select("a.mp3");
    ui().ListInput->setEnabled(false); // as during a conversion run
    renameBox.answer = "b.mp3";
    ui().SFRename->trigger();
    ui().SFDelete->trigger();
    ui().mnuMove->trigger();
    EXPECT_TRUE(renameBox.shown.isEmpty());
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(folders.titles.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(music + "/a.mp3"));
}

} // namespace

#include "FileOperationsTest.moc"
