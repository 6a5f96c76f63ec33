// The tag editor, the cut-file rules window and the rename box: what opening, confirming and
// cancelling leave in the shared fields, the main window's controls and the settings, and the
// MP3 tag written in a tag-only run, read back with the taglet tool.
#include "GuiFixture.h"

#include "core/AppState.h"
#include "core/Settings.h"
#include "playback/MediaControls.h"
#include "tags/TechRen.h"
#include "tags/frmCutName.h"
#include "tags/frmTagInfo.h"
#include "ui_TechRen.h"
#include "ui_frmCutName.h"
#include "ui_frmTagInfo.h"

#include <QCheckBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRadioButton>
#include <QTest>

namespace {

const QString Bin = QStringLiteral(TONVERA_BIN_DIR);
const QString Data = QStringLiteral(TONVERA_TEST_DATA);

class TagEditorTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        settings = std::make_unique<Settings>();
        // The main window's own choices, which the editor copies and gives back.
        mainChkTag = new QCheckBox(&mainWindow);
        mainOptStdName = new QRadioButton(&mainWindow);
        mainOptParName = new QRadioButton(&mainWindow);
        mainOptStdName->setChecked(true);
        mainChkCutNam = new QCheckBox(&mainWindow);

        state.OutputBaseName = "Old Artist - Old Title";
        state.SourcePath = path("Old Artist - Old Title.mp3");
        state.TagTitle = "Y";
        state.TagArtist = "X";
        state.TagAlbum = "Album";
        state.TagCopyright = "(c) someone";
        state.TagDescription = "words";
        state.TagGenre = "Rock";
        state.TagYear = "1999";
        state.TagTrack = "0";
        state.QueueCount = 1;
        state.QueueDone = 0;
    }

    void store(const QList<std::pair<QString, QString>> &values)
    {
        for (const auto &[key, value] : values)
            settings->setText("UserDef", key, value);
    }

    std::unique_ptr<frmTagInfo> open()
    {
        return std::make_unique<frmTagInfo>(TagEditorParts {state, *settings, messages, media,
                                                mainChkTag, mainOptStdName, mainOptParName},
            &mainWindow);
    }

    static QString shownName(frmTagInfo &editor) { return editor.ui().txtFile->toPlainText(); }

    // The tags the taglet tool reads from a file.
    static QJsonObject readTag(const QString &file)
    {
        QProcess taglet;
        taglet.start(Bin + "/taglet", {"read", file});
        taglet.waitForFinished(30000);
        return QJsonDocument::fromJson(taglet.readAllStandardOutput()).object();
    }

    AppState state;
    std::unique_ptr<Settings> settings;
    MediaControls media;
    QWidget mainWindow;
    QCheckBox *mainChkTag = nullptr;
    QRadioButton *mainOptStdName = nullptr, *mainOptParName = nullptr;
    QCheckBox *mainChkCutNam = nullptr;
};

TEST_F(TagEditorTest, ConfirmStoresTheFieldsTheModeAndTheRules)
{
    state.TagTitle = QString(35, 'T');
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    EXPECT_EQ(ui.txtName->text(), "Old Artist - Old Title");
    EXPECT_EQ(ui.txtTit->text(), QString(35, 'T'));
    EXPECT_EQ(ui.txtCop->text(), "(c) someone");
    EXPECT_EQ(ui.cboGenre->currentText(), "Rock");
    EXPECT_EQ(ui.cboGenre->count(), 127);
    EXPECT_TRUE(ui.txtCop->isEnabled());
    EXPECT_EQ(ui.cmdGrab->text(), "Convert");
    EXPECT_TRUE(ui.ChkTag->isHidden()); // one file: no next file to ask about
    EXPECT_EQ(state.NameSeparator, "-"); // the first file's own separator
    EXPECT_FALSE(editor->chkPar(1)->isEnabled()); // "Maintain filename": no rules

    ui.txtAut->setText("  New Artist ");
    ui.txtYear->setText("2001");
    ui.cboGenre->setCurrentIndex(0); // "[none]"
    ui.OptParName->setChecked(true);
    editor->chkPar(3)->click();
    editor->chkPar(6)->click();
    EXPECT_EQ(shownName(*editor), "New Artist-" + QString(35, 'T'));
    ui.cmdGrab->click();

    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_FALSE(state.DialogCancelled);
    EXPECT_EQ(state.TagTitle, QString(30, 'T')); // cut on confirmation
    EXPECT_EQ(ui.txtTit->text().size(), 35); // the box itself is not
    EXPECT_EQ(state.TagArtist, "New Artist");
    EXPECT_EQ(state.TagYear, "2001");
    EXPECT_EQ(state.TagGenre, "[none]");
    EXPECT_EQ(state.TagCopyright, "(c) someone");
    EXPECT_EQ(state.TagTrack, "0");
    EXPECT_EQ(state.OutputBaseName, "New Artist-" + QString(35, 'T'));
    EXPECT_TRUE(mainOptParName->isChecked());
    EXPECT_EQ(settings->text("UserDef", "Par3", ""), "1");
    EXPECT_EQ(settings->text("UserDef", "Par1", ""), "0");
    EXPECT_EQ(settings->text("UserDef", "relPos6", ""), "6");
    EXPECT_EQ(settings->text("UserDef", "xsep", ""), "-");
    EXPECT_EQ(settings->text("UserDef", "chkCreate", ""), "0");
    EXPECT_FALSE(settings->contains("UserDef", "txtAdv")); // no "$" in it
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(TagEditorTest, CancelStoresNothing)
{
    auto editor = open();
    editor->ui().txtTit->setText("changed");
    editor->ui().OptParName->setChecked(true);
    editor->ui().CmdCancel->click();
    EXPECT_EQ(editor->result(), QDialog::Rejected);
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_EQ(state.TagTitle, "Y");
    EXPECT_EQ(state.OutputBaseName, "Old Artist - Old Title");
    EXPECT_TRUE(mainOptStdName->isChecked());
    EXPECT_FALSE(settings->contains("UserDef", "xsep"));

    // Escape (closing the window) is a cancel too.
    state.DialogCancelled = false;
    auto again = open();
    QTest::keyClick(again.get(), Qt::Key_Escape);
    EXPECT_TRUE(state.DialogCancelled);
}

TEST_F(TagEditorTest, NamesFromRulesAndTemplatesNeverLeaveTheFolder)
{
    store({{"Par3", "1"}, {"Par6", "1"}});
    mainOptParName->setChecked(true);
    state.QueueDone = 1; // not the first file: the stored separator counts
    store({{"xsep", " - "}});
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    EXPECT_EQ(shownName(*editor), "X - Y");
    EXPECT_EQ(ui.txtSep->text(), " - ");

    ui.txtAut->setText("AC/DC");
    EXPECT_EQ(shownName(*editor), "AC_DC - Y");
    ui.txtTit->setText("..");
    EXPECT_EQ(shownName(*editor), "AC_DC - ..");
    editor->chkPar(3)->click(); // the artist out: the title alone
    EXPECT_EQ(shownName(*editor), "__");

    ui.chkAdv->setChecked(true);
    EXPECT_FALSE(ui.txtSep->isEnabled());
    ui.txtAdv->setText("$a - $t (live)");
    EXPECT_EQ(shownName(*editor), "AC_DC - .. (LIVE)");
    ui.txtTit->setText("T/N/T"); // the template stays the rule
    EXPECT_EQ(shownName(*editor), "AC_DC - T_N_T (LIVE)");
    ui.cmdGrab->click();
    EXPECT_EQ(state.OutputBaseName, "AC_DC - T_N_T (LIVE)");
    EXPECT_EQ(settings->text("UserDef", "txtAdv", ""), "$a - $t (live)");
    EXPECT_EQ(state.TagArtist, "AC/DC"); // the tag keeps its slash
}

TEST_F(TagEditorTest, RowsChangeOrderWithTheScrollBar)
{
    store({{"Par3", "1"}, {"Par6", "1"}, {"Par2", "1"}});
    mainOptParName->setChecked(true);
    state.OutputBaseName = "plain";
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    EXPECT_EQ(state.NameSeparator, ""); // no candidate in the name: nothing between
    EXPECT_EQ(editor->SelectedParam(), 1); // no ticked row stands above the genre
    EXPECT_EQ(shownName(*editor), "1999XY");

    editor->chkPar(6)->click(); // selects the title row (and takes it out)
    editor->chkPar(6)->click(); // back in
    EXPECT_EQ(editor->SelectedParam(), 6);
    EXPECT_EQ(ui.VScroll1->value(), 6);
    ui.VScroll1->setValue(1); // the title to the top
    EXPECT_EQ(shownName(*editor), "Y1999X");
    EXPECT_EQ(editor->ParamPositions()[5], 1);
    EXPECT_EQ(editor->ParamPositions()[0], 6); // the genre took its place
    ui.txtSep->setText("_");
    EXPECT_EQ(shownName(*editor), "Y_1999_X");
    ui.txtSep->setText("");
    EXPECT_EQ(state.NameSeparator, " "); // an empty box is one blank
    ui.cmdGrab->click();
    EXPECT_EQ(settings->text("UserDef", "relPos6", ""), "1");
    EXPECT_EQ(settings->text("UserDef", "relPos1", ""), "6");

    // The next opening shows the same order and separator.
    state.QueueDone = 1;
    auto next = open();
    EXPECT_EQ(next->ParamPositions()[5], 1);
    EXPECT_EQ(shownName(*next), "Y 1999 X");
}

TEST_F(TagEditorTest, TagsReadFromTheName)
{
    // Artist, title, genre.
    store({{"Par3", "1"}, {"Par6", "1"}, {"Par1", "1"}, {"relPos1", "3"}, {"relPos3", "1"},
        {"relPos6", "2"}, {"relPos2", "6"}, {"chkCreate", "1"}});
    state.OutputBaseName = "Artist - Title - Rock";
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    // Opening with "Create Tag from filename" ticked reads them at once.
    EXPECT_EQ(ui.txtAut->text(), "Artist");
    EXPECT_EQ(ui.txtTit->text(), "Title");
    EXPECT_EQ(ui.cboGenre->currentText(), "Rock & Roll");
    EXPECT_EQ(ui.txtCop->text(), ""); // emptied as the others
    EXPECT_EQ(ui.txtAlb->text(), "");
    EXPECT_TRUE(ui.OptStdName->isChecked());
    EXPECT_EQ(shownName(*editor), "Artist - Title - Rock");

    editor->chkPar(1)->click(); // the genre out: the third piece is no longer read
    EXPECT_EQ(ui.cboGenre->currentIndex(), -1);
    EXPECT_EQ(ui.txtTit->text(), "Title");
    ui.cmdGrab->click();
    EXPECT_EQ(state.TagArtist, "Artist");
    EXPECT_EQ(state.OutputBaseName, "Artist - Title - Rock");
    EXPECT_EQ(settings->text("UserDef", "chkCreate", ""), "1");

    // "Filename from rules" switches reading off.
    auto other = open();
    other->ui().OptParName->setChecked(true);
    EXPECT_FALSE(other->ui().chkCreate->isChecked());
    EXPECT_FALSE(other->ui().chkCreate->isEnabled());
}

TEST_F(TagEditorTest, WrongInputIsSaidAndReloadDiscardsEdits)
{
    // A file's own odd year is shown without a word: only typing is checked.
    state.TagYear = "MCMXCIX";
    open();
    EXPECT_TRUE(messages.texts.isEmpty());
    state.TagYear = "1999";

    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    ui.txtYear->setText(" 19x9 ");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], "Type a numeric value");
    EXPECT_EQ(ui.txtYear->text(), "19x9"); // trimmed, and it stays

    ui.OptParName->setChecked(true);
    ui.txtSep->setText("a/");
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts[1], "Don't use the characters  \\/:*?\">");
    EXPECT_EQ(ui.txtSep->text(), "");
    EXPECT_EQ(state.NameSeparator, " ");

    ui.txtTit->setText("edited");
    ui.cmdReload->click();
    EXPECT_EQ(ui.txtTit->text(), "Y");
    EXPECT_EQ(ui.txtYear->text(), "1999");
}

TEST_F(TagEditorTest, TheNextFileQuestionAndTheTagOnlyMode)
{
    state.QueueCount = 3;
    mainChkTag->setChecked(true);
    state.EditTagInfo = true;
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    EXPECT_FALSE(ui.ChkTag->isHidden());
    EXPECT_TRUE(ui.ChkTag->isChecked());
    ui.ChkTag->setChecked(false);
    ui.cmdGrab->click();
    EXPECT_FALSE(mainChkTag->isChecked());
    EXPECT_FALSE(state.EditTagInfo); // the rest of the run goes without the editor

    state.TagOnlyMode = true;
    auto tagOnly = open();
    EXPECT_TRUE(tagOnly->ui().ChkTag->isHidden());
    EXPECT_EQ(tagOnly->ui().cmdGrab->text(), "&Save");
    EXPECT_EQ(tagOnly->ui().FraConv->title(), " MP3 Tag ");
    EXPECT_FALSE(tagOnly->ui().txtCop->isEnabled());
}

TEST_F(TagEditorTest, TagOnlyConfirmWritesTheMp3Tag)
{
    const QString mp3 = path("song.mp3");
    ASSERT_TRUE(QFile::copy(Data + "/taglet/v11_track.mp3", mp3));
    QFile::setPermissions(mp3, QFile::ReadOwner); // read-only files are made writable
    state.SourcePath = mp3;
    state.OutputBaseName = "song";
    state.TagOnlyMode = true;
    state.TagCopyright = "not written";
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    ui.txtTit->setText("Caf\u00e9 Song");
    ui.txtAut->setText("An Artist");
    ui.txtDes->setText("a comment");
    ui.cboGenre->setCurrentIndex(int(NameRules::GenreList().indexOf("Jazz")));
    ui.cmdGrab->click();
    ASSERT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("|").toStdString();

    const QJsonObject tag = readTag(mp3);
    EXPECT_EQ(tag["song"].toString(), "Caf\u00e9 Song");
    EXPECT_EQ(tag["artist"].toString(), "An Artist");
    EXPECT_EQ(tag["album"].toString(), "Album");
    EXPECT_EQ(tag["year"].toString(), "1999");
    EXPECT_EQ(tag["comment"].toString(), "a comment");
    EXPECT_EQ(tag["genre"].toString(), "Jazz");
    EXPECT_EQ(tag["track"].toInt(), 7); // the file's own track number stays
    // An ID3v1 tag has no copyright: it lands nowhere in the file, not in another field either.
    QFile written(mp3);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_FALSE(written.readAll().contains("not written"));
}

TEST_F(TagEditorTest, CharactersAnId3v1TagCannotHoldAreRefused)
{
    const QString mp3 = path("song.mp3");
    ASSERT_TRUE(QFile::copy(Data + "/taglet/v11_track.mp3", mp3));
    QFile original(mp3);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();
    state.SourcePath = mp3;
    state.TagOnlyMode = true;
    auto editor = open();
    editor->ui().txtAlb->setText(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC 5\u20ac"));
    editor->ui().cmdGrab->click();

    EXPECT_NE(editor->result(), QDialog::Accepted); // the window stays open
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\u20ac")))
        << messages.texts[0].toStdString();
    EXPECT_TRUE(messages.texts[0].contains("Album"));
    EXPECT_EQ(messages.flags_[0], 48);
    EXPECT_EQ(state.TagAlbum, "Album");
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before);

    // The same text is no problem for a WMA's tag.
    messages.texts.clear();
    state.TagOnlyMode = false;
    auto conversion = open();
    conversion->ui().txtAlb->setText(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"));
    conversion->ui().cmdGrab->click();
    EXPECT_EQ(conversion->result(), QDialog::Accepted);
    EXPECT_EQ(state.TagAlbum, QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"));
}

TEST_F(TagEditorTest, CutNameRules)
{
    frmCutName::LoadRule(state, *settings);
    EXPECT_FALSE(state.CutNameNumbered);
    EXPECT_TRUE(state.CutNameAfter);
    EXPECT_EQ(state.CutNameText, "cut");

    frmCutName rules(state, *settings, mainChkCutNam, &mainWindow);
    Ui::frmCutName &ui = rules.ui();
    EXPECT_TRUE(ui.OptStr->isChecked());
    EXPECT_EQ(ui.txtStr->text(), "cut");
    EXPECT_TRUE(ui.OptStrS->isChecked());
    EXPECT_FALSE(ui.FraNum->isEnabled());
    ui.OptNum->setChecked(true);
    EXPECT_TRUE(ui.FraNum->isEnabled());
    EXPECT_FALSE(ui.txtStr->isEnabled());
    ui.OptNumP->setChecked(true);
    ui.chkCutNam->setChecked(false);
    ui.Cmdok->click();
    EXPECT_TRUE(state.CutNameNumbered);
    EXPECT_FALSE(state.CutNameAfter);
    EXPECT_EQ(state.CutNameText, "");
    EXPECT_FALSE(state.CutNamesOn);
    EXPECT_FALSE(mainChkCutNam->isChecked());
    EXPECT_EQ(settings->text("UserDef", "OptStr", ""), "False");
    EXPECT_EQ(settings->text("UserDef", "OptNumP", ""), "True");

    // The stored rule comes back at the next start, and Cancel stops the run.
    AppState next;
    frmCutName::LoadRule(next, *settings);
    EXPECT_TRUE(next.CutNameNumbered);
    EXPECT_FALSE(next.CutNameAfter);
    frmCutName again(next, *settings, mainChkCutNam, &mainWindow);
    EXPECT_TRUE(again.ui().OptNum->isChecked());
    EXPECT_TRUE(again.ui().chkCutNam->isChecked());
    again.ui().CmdCancel->click();
    EXPECT_TRUE(next.RunStopped);
}

TEST_F(TagEditorTest, TheRenameBox)
{
    const struct
    {
        QString typed;
        Qt::Key key;
        QString result;
    } cases[] = {
        {"a.mp3", Qt::Key_Return, ""}, // unchanged
        {" b.mp3 ", Qt::Key_Return, "b.mp3"},
        {"A.mp3", Qt::Key_Enter, "A.mp3"}, // a change of case is a change
        {"b.mp3", Qt::Key_Escape, ""},
    };
    for (const auto &c : cases) {
        TechRen box("a.mp3", state, &mainWindow);
        EXPECT_EQ(box.ui().txtFile->selectedText(), "a.mp3");
        EXPECT_EQ(box.ui().txtFile->toolTip(), " Type new name and press Enter / Escape to exit ");
        box.show();
        box.ui().txtFile->setText(c.typed);
        QTest::keyClick(box.ui().txtFile, c.key);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.RenameText(), c.result) << c.typed.toStdString();
    }
}

} // namespace
