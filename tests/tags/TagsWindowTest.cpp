// The tags subsystem in the real window, on real folders in a throwaway home: the file actions on
// the lists and keys, and the tag-only runs (Tag & Rename), their tags read back through taglet.
#include "ScopedEnv.h"
#include "WindowFixture.h"

#include "browser/ListLine.h"
#include "browser/OutputList.h"
#include "playback/MediaControls.h"
#include "tags/FileOperations.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFileSystemModel>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QTreeView>
#include <QUrl>

static const QString Data = QStringLiteral(TONVERA_TEST_DATA);

// Where the file manager was asked to go.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QStringList opened;
public slots:
    void open(const QUrl &url) { opened << url.toLocalFile(); }
};

class TagsWindowTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        QDir().mkpath(music);
        QDir().mkpath(other);
    }
    // The window on the music folder, every supported type listed.
    void startIn()
    {
        storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "4"}, {"savDir", music}});
        ASSERT_TRUE(start());
    }
    // An entry of the output list, made current as a click would.
    void showOutput(const QString &file)
    {
        window->outputList().AddOutputFile(file);
        ui().ListOutput->setCurrentRow(ui().ListOutput->count() - 1);
        ASSERT_TRUE(state.OutputListActive);
    }
    void key(QWidget *list, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QApplication::setActiveWindow(window.get());
        list->setFocus();
        QTest::keyClick(list, Qt::Key(key), modifiers);
    }
    // Opens the folder tree's menu on folder, as the right mouse button does.
    void rightClickFolder(const QString &folder)
    {
        auto *model = qobject_cast<QFileSystemModel *>(ui().Dir1->model());
        const auto place = [&] {
            return ui().Dir1->visualRect(model->index(folder));
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return place().isValid(); }, 5000));
        QTest::mouseClick(ui().Dir1->viewport(), Qt::RightButton, {}, place().center());
        ASSERT_TRUE(window->dirPopup()->isVisible());
    }
    static QStringList readTag(const QString &file, const QStringList &fields)
    {
        QProcess taglet;
        taglet.start(QStringLiteral(TONVERA_BIN_DIR "/taglet"), {"read", file});
        taglet.waitForFinished(30000);
        const QJsonObject tag = QJsonDocument::fromJson(taglet.readAllStandardOutput()).object();
        QStringList values;
        for (const QString &field : fields)
            values << tag[field].toVariant().toString();
        return values;
    }
    // The editor's controls, by their names.
    template<class T = QAbstractButton>
    static T *in(QWidget *editor, const char *name)
    {
        return editor->findChild<T *>(QLatin1String(name));
    }
    const QString music = path("home/music"), other = path("home/other");
    const ScopedEnv home {"HOME", QFile::encodeName(path("home"))};
    const ScopedEnv data {"XDG_DATA_HOME", QFile::encodeName(path("home"))};
};

// Rename (a path typed moves the file), Move and Save as onto another file's name: asked first;
// No keeps both files, Yes puts the file there. A backslash is part of a name. A copy into the
// listed folder is listed; a failed dialog says why, in a plain box.
TEST_F(TagsWindowTest, RenameMoveAndSaveAsAskBeforeReplacing)
{
    const QString names[] = {"AC\\DC - r.mp3", "AC\\DC - m.mp3", "AC\\DC - s.mp3"};
    for (const QString &name : names) {
        writeFile(music + "/" + name, "A");
        writeFile(other + "/" + name, "old");
    }
    startIn();
    folders.answer = other + "/";
    QAction *const actions[] = {ui().SFRename, ui().mnuMove, ui().mnuSave};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i].toStdString());
        const QString mine = music + "/" + names[i], theirs = other + "/" + names[i];
        select(names[i]);
        renameBox.answer = fileDialog.chosen = theirs;
        messages.texts.clear();
        messages.answers = {No, Yes};
        actions[i]->trigger();
        EXPECT_EQ(
            messages.texts, QStringList {"file : " + theirs + "\n\nALREADY EXISTS ... REPLACE ?"});
        EXPECT_EQ(messages.flags_.last(), 292);
        EXPECT_EQ(readAll(theirs) + readAll(mine), "oldA");
        actions[i]->trigger();
        EXPECT_EQ(readAll(theirs), "A");
        // A copy leaves the file where it was.
        EXPECT_EQ(std::pair(QFileInfo::exists(mine), listed().contains(names[i])),
            std::pair(i == 2, i == 2));
    }
    EXPECT_EQ(fileDialog.requests.first().InitDir, other); // where the move went
    fileDialog.chosen = music + "/copy.mp3";
    ui().mnuSave->trigger();
    EXPECT_EQ(listed(), QStringList({names[2], "copy.mp3"})); // a copy here is listed
    messages.texts.clear();
    fileDialog.error = other + "\n\nIs a directory";
    ui().mnuSave->trigger();
    EXPECT_EQ(messages.texts, QStringList {fileDialog.error});
    EXPECT_EQ(messages.flags_.last(), 0);
}

// The file is let go before it gets its new name, and stays the current one; a name left
// unchanged does nothing; a refusal of the system is said; nothing happens while a run holds
// the list. An output entry renamed keeps its size and shows its new name and path; Alt+M moves
// nothing from the output list. Delete asks, then moves the file to the trash and takes its
// entries from both lists.
TEST_F(TagsWindowTest, RenameAndDeleteInBothLists)
{
    writeFile(music + "/a.mp3", "A");
    writeFile(music + "/gone.mp3", "G");
    writeFile(other + "/out.wma", "W");
    startIn();
    select("a.mp3");
    int releasedBefore = 0;
    QObject::connect(&window->media(), &MediaControls::releasing,
        [&] { releasedBefore += QFileInfo::exists(music + "/a.mp3"); });
    renameBox.answer = "c.mp3";
    key(ui().ListInput, Qt::Key_F2);
    EXPECT_TRUE(renameBox.places.value(0).isValid()); // over the entry
    EXPECT_EQ(state.CurrentFile, "c.mp3");
    EXPECT_EQ(releasedBefore, 1);
    renameBox.answer.clear();
    ui().SFRename->trigger();
    renameBox.answer = "none/x.mp3";
    ui().SFRename->trigger();
    ASSERT_EQ(messages.flags_, QList<int> {16});
    EXPECT_TRUE(messages.texts[0].startsWith(music + "/c.mp3\n\n"));
    EXPECT_EQ(listed(), (QStringList {"c.mp3", "gone.mp3"}));
    // A list switched off by a run gives no file to act on.
    ui().ListInput->setEnabled(false);
    renameBox.shown.clear();
    messages.texts.clear();
    for (QAction *action : {ui().SFRename, ui().SFDelete, ui().mnuMove, ui().mnuSave})
        action->trigger();
    EXPECT_TRUE(renameBox.shown.isEmpty() && messages.texts.isEmpty() && folders.titles.isEmpty()
        && fileDialog.requests.isEmpty());
    ui().ListInput->setEnabled(true);

    state.OutputFolder = other;
    showOutput(other + "/out.wma");
    renameBox.answer = "a much longer name than the forty columns of the list.wma";
    key(ui().ListOutput, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(renameBox.shown, QStringList {"out.wma"});
    const QString renamed = other + "/" + renameBox.answer;
    EXPECT_EQ(readAll(renamed), "W");
    QListWidgetItem *entry = ui().ListOutput->currentItem();
    EXPECT_EQ(
        QStringList({PathOfItem(entry), ListLine::pathOf(entry->text()), state.ShownFilePath}),
        QStringList({renamed, renamed, renamed}));
    EXPECT_TRUE(entry->text().startsWith(renameBox.answer.left(40)));
    EXPECT_EQ(state.CurrentOutputFile, renameBox.answer);
    key(ui().ListOutput, Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(folders.titles.isEmpty());

    select("gone.mp3");
    showOutput(music + "/gone.mp3"); // also listed as an output
    messages.texts.clear();
    messages.answers = {No, Yes};
    ui().SFDelete->trigger();
    EXPECT_EQ(messages.texts, QStringList {"file : " + music + "/gone.mp3\n\nMOVE TO THE TRASH ?"});
    EXPECT_EQ(readAll(music + "/gone.mp3"), "G");
    ui().SFDelete->trigger();
    EXPECT_EQ(listed(), QStringList {"c.mp3"});
    EXPECT_EQ(ui().ListOutput->count(), 1); // its output entry went too
    showOutput(music + "/c.mp3");
    messages.answers = {Yes};
    key(ui().ListOutput, Qt::Key_Delete);
    EXPECT_TRUE(QFile::exists(path("home/Trash/files/c.mp3")));
    EXPECT_EQ(ui().ListOutput->count(), 1);
    EXPECT_TRUE(listed().isEmpty());
}

// The tree's menu acts on the folder right-clicked, which is not listed for that; once the menu
// has gone, the listed folder is the one explored again. "Show" lists it.
TEST_F(TagsWindowTest, ExploreOpensTheFoldersInTheFileManager)
{
    writeFile(music + "/a.mp3");
    startIn();
    window->show();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    state.OutputFolder = other;
    ui().cmdDir->click();
    window->fileOperations().exploreRequested(true);
    window->fileOperations().exploreRequested(false);
    rightClickFolder(other);
    ui().mnuDirExpl->trigger();
    EXPECT_EQ(state.CurrentFolder, music);
    window->dirPopup()->hide();
    // The folder right-clicked was only highlighted: the listed one is highlighted again.
    const QModelIndex shown = qobject_cast<QFileSystemModel *>(ui().Dir1->model())->index(music);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui().Dir1->selectionModel()->isSelected(shown); }));
    ui().mnuExpl->trigger();
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(catcher.opened, (QStringList {music, other, music, other, music}));
    rightClickFolder(other);
    ui().mnuDirOpen->trigger();
    window->dirPopup()->hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.CurrentFolder == other; }, 5000));
}

// The tag goes into the file, made writable if it was read-only; an ID3v1 tag holds no
// copyright, and the file's own album, year and track stay. F8 does the same; a name another
// file has is asked about, and No keeps both.
TEST_F(TagsWindowTest, TagAndRenameWritesTheMp3TagAndRenames)
{
    QFile::copy(Data + "/taglet/v11_track.mp3", music + "/old name.mp3");
    QFile::setPermissions(music + "/old name.mp3", QFile::ReadOwner);
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/Taken.mp3");
    startIn();
    select("old name.mp3");
    state.TagCopyright = "not written";
    expectModal([](QWidget *editor) {
        EXPECT_FALSE(in<QLineEdit>(editor, "txtCop")->isEnabled());
        in<QLineEdit>(editor, "txtTit")->setText("Zest");
        in<QLineEdit>(editor, "txtAut")->setText("Caf\u00e9 Band");
        in<QLineEdit>(editor, "txtDes")->setText("a comment");
        in<QComboBox>(editor, "cboGenre")->setCurrentText("Jazz");
        in(editor, "OptParName")->setChecked(true);
        in(editor, "chkPar_6")->click();
        in(editor, "cmdGrab")->click();
    });
    ui().cmdTag->click();
    EXPECT_FALSE(QFileInfo::exists(music + "/old name.mp3"));
    EXPECT_EQ(readTag(music + "/Zest.mp3",
                  {"song", "artist", "comment", "genre", "album", "year", "track"}),
        QStringList({"Zest", "Caf\u00e9 Band", "a comment", "Jazz", "B", "1999", "7"}));
    EXPECT_FALSE(readAll(music + "/Zest.mp3").contains("not written"));
    EXPECT_TRUE(QFile::permissions(music + "/Zest.mp3") & QFile::WriteOwner);
    EXPECT_EQ(state.CurrentFile, "Zest.mp3"); // the renamed file is the current one, not the first
    EXPECT_EQ(state.TagTitle, "Zest"); // and the panel read its new tag
    EXPECT_TRUE(QDir(music).entryList({"*.wma"}).isEmpty()); // nothing converted
    messages.answers = {No};
    expectModal([](QWidget *editor) {
        in<QLineEdit>(editor, "txtTit")->setText("Taken");
        in(editor, "cmdGrab")->click();
    });
    key(ui().ListInput, Qt::Key_F8);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(music + "/Taken.mp3"));
    EXPECT_EQ(readTag(music + "/Zest.mp3", {"song"}), QStringList {"Taken"}); // saved
    EXPECT_EQ(readAll(music + "/Taken.mp3"), readAll(Data + "/codecs/tagged.mp3"));
}

// "Create Tag from filename" reads artist and title from each name; "Maintain filename" keeps
// each name whole, a backslash in it included.
TEST_F(TagsWindowTest, ATagOnlyRunOverMarkedFiles)
{
    const QStringList names {"AC\\DC - One.mp3", "Artist B - Two.mp3"};
    for (const QString &name : names)
        QFile::copy(Data + "/taglet/v11_track.mp3", music + "/" + name);
    startIn();
    ui().chkAll->click();
    int shown = 0;
    std::function<void(QWidget *)> fromName = [&](QWidget *editor) {
        if (++shown == 1) {
            in(editor, "chkCreate")->setChecked(true);
            in(editor, "chkPar_3")->click();
            in(editor, "chkPar_6")->click();
            expectModal(fromName);
        }
        in(editor, "cmdGrab")->click();
    };
    expectModal(fromName);
    ui().mnuTag->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(QDir(music).entryList(QDir::Files), names);
    EXPECT_EQ(readTag(music + "/" + names[0], {"artist", "song"}), QStringList({"AC\\DC", "One"}));
    EXPECT_EQ(
        readTag(music + "/" + names[1], {"artist", "song"}), QStringList({"Artist B", "Two"}));
    EXPECT_TRUE(ui().ListInput->isEnabled());
}

#include "TagsWindowTest.moc"
