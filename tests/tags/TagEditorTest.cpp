// The tag editor, the cut-file rules window and the rename box: what opening, confirming and
// cancelling leave in the shared fields, the main window's controls and the settings.
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
#include <QRadioButton>
#include <QTest>

using Texts = QStringList;

class TagEditorTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        settings = std::make_unique<Settings>();
        mainOptStdName->setChecked(true);
        state.OutputBaseName = "Old Artist - Old Title";
        state.SourcePath = path("Old Artist - Old Title.mp3");
        std::tie(state.TagTitle, state.TagArtist, state.TagAlbum, state.TagCopyright,
            state.TagDescription, state.TagGenre, state.TagYear, state.TagTrack)
            = std::tuple("Y", "X", "Album", "(c) someone", "words", "Rock", "1999", "0");
        state.QueueCount = 1;
    }
    void store(const QList<std::pair<QString, QString>> &values)
    {
        for (const auto &[key, value] : values)
            settings->setText("UserDef", key, value);
    }
    Texts stored(const Texts &keys) const
    {
        Texts values;
        for (const QString &key : keys)
            values << settings->text("UserDef", key, "<none>");
        return values;
    }
    std::unique_ptr<frmTagInfo> open()
    {
        return std::make_unique<frmTagInfo>(TagEditorParts {state, *settings, messages, media,
                                                mainChkTag, mainOptStdName, mainOptParName},
            &mainWindow);
    }
    static QString shownName(frmTagInfo &editor) { return editor.ui().txtFile->toPlainText(); }
    AppState state;
    std::unique_ptr<Settings> settings;
    MediaControls media;
    QWidget mainWindow; // the main window's own choices, which the editor copies and gives back
    QCheckBox *mainChkTag = new QCheckBox(&mainWindow), *mainChkCutNam = new QCheckBox(&mainWindow);
    QRadioButton *mainOptStdName = new QRadioButton(&mainWindow),
                 *mainOptParName = new QRadioButton(&mainWindow);
};

// The name follows the fields under the rule in use, the template included, and never leaves
// the folder; the title is cut to 30 on confirmation, the name is not.
TEST_F(TagEditorTest, ConfirmStoresTheFieldsTheModeAndTheRules)
{
    state.TagTitle = QString(35, 'T');
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    EXPECT_EQ(Texts({ui.txtName->text(), ui.txtTit->text(), ui.txtCop->text(),
                  ui.cboGenre->currentText(), state.NameSeparator}),
        Texts({"Old Artist - Old Title", QString(35, 'T'), "(c) someone", "Rock", "-"}));
    EXPECT_FALSE(editor->chkPar(1)->isEnabled()); // "Maintain filename": no rules
    ui.txtAut->setText("  New Artist ");
    ui.txtYear->setText("2001");
    ui.cboGenre->setCurrentIndex(0); // "[none]"
    ui.OptParName->setChecked(true);
    editor->chkPar(3)->click();
    editor->chkPar(6)->click();
    ui.chkAdv->setChecked(true);
    EXPECT_FALSE(ui.txtSep->isEnabled());
    ui.txtAdv->setText("$a - $t (live)");
    ui.txtAut->setText("AC/DC");
    ui.cmdGrab->click();
    EXPECT_TRUE(editor->result() == QDialog::Accepted && !state.DialogCancelled);
    EXPECT_EQ(Texts({state.TagTitle, state.TagArtist, state.TagYear, state.TagGenre,
                  state.TagCopyright, state.OutputBaseName}),
        Texts({QString(30, 'T'), "AC/DC", "2001", "[none]", "(c) someone",
            "AC_DC - " + QString(35, 'T') + " (LIVE)"}));
    EXPECT_TRUE(mainOptParName->isChecked());
    EXPECT_EQ(stored({"Par3", "Par1", "relPos6", "xsep", "chkCreate", "txtAdv"}),
        Texts({"1", "0", "6", "-", "0", "$a - $t (live)"}));
    EXPECT_TRUE(messages.texts.isEmpty());
    // Cancel, or Escape, stores nothing.
    auto cancelled = open();
    cancelled->ui().txtTit->setText("changed");
    cancelled->ui().OptStdName->setChecked(true);
    cancelled->ui().txtSep->setText("+");
    cancelled->ui().CmdCancel->click();
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
    EXPECT_TRUE(state.DialogCancelled && mainOptParName->isChecked());
    EXPECT_EQ(Texts({state.TagTitle, stored({"xsep"})[0]}), Texts({QString(30, 'T'), "-"}));
    state.DialogCancelled = false;
    QTest::keyClick(open().get(), Qt::Key_Escape);
    EXPECT_TRUE(state.DialogCancelled);
}

TEST_F(TagEditorTest, RowsChangeOrderWithTheScrollBar)
{
    // A stored order that is no order of the six falls back to the designed one.
    store({{"Par3", "1"}, {"Par6", "1"}, {"Par2", "1"}, {"relPos1", "3"}});
    mainOptParName->setChecked(true);
    state.OutputBaseName = "plain";
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    EXPECT_EQ(editor->ParamPositions(), (NameRules::ParamPositions {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(editor->SelectedParam(), 1); // no ticked row stands above the genre
    EXPECT_EQ(shownName(*editor), "1999XY");
    editor->chkPar(6)->click(); // selects the title row (and takes it out)
    editor->chkPar(6)->click(); // back in
    EXPECT_EQ(std::pair(editor->SelectedParam(), ui.VScroll1->value()), std::pair(6, 6));
    ui.VScroll1->setValue(1); // the title to the top, the genre to its place
    EXPECT_EQ(shownName(*editor), "Y1999X");
    EXPECT_EQ(editor->ParamPositions(), (NameRules::ParamPositions {6, 2, 3, 4, 5, 1}));
    ui.txtSep->setText("_");
    EXPECT_EQ(shownName(*editor), "Y_1999_X");
    ui.txtSep->setText("");
    EXPECT_EQ(state.NameSeparator, " "); // an empty box is one blank
    ui.cmdGrab->click();
    EXPECT_EQ(stored({"relPos6", "relPos1", "txtAdv"}), Texts({"1", "6", "<none>"})); // no "$"
    // The next file's editor shows the same order and the stored separator.
    state.QueueDone = 1;
    EXPECT_EQ(shownName(*open()), "Y 1999 X");
}

TEST_F(TagEditorTest, TagsReadFromTheName)
{
    // Artist, title, genre.
    store({{"Par3", "1"}, {"Par6", "1"}, {"Par1", "1"}, {"relPos1", "3"}, {"relPos3", "1"},
        {"relPos6", "2"}, {"relPos2", "6"}, {"chkCreate", "1"}});
    state.OutputBaseName = "Artist - Title - Rock";
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    // Opening with "Create Tag from filename" ticked reads them at once and empties the others.
    EXPECT_EQ(Texts({ui.txtAut->text(), ui.txtTit->text(), ui.cboGenre->currentText(),
                  ui.txtCop->text(), ui.txtAlb->text(), shownName(*editor)}),
        Texts({"Artist", "Title", "Rock & Roll", "", "", "Artist - Title - Rock"}));
    editor->chkPar(1)->click(); // the genre out: the third piece is no longer read
    EXPECT_EQ(
        std::pair(ui.cboGenre->currentIndex(), ui.txtTit->text()), std::pair(-1, QString("Title")));
    ui.OptParName->setChecked(true); // "Filename from rules" switches reading off
    EXPECT_FALSE(ui.chkCreate->isChecked() || ui.chkCreate->isEnabled());
}

// A file's own odd year opens the window quietly: only typing is checked. Reload discards the
// edits. The question for the next files shows while more files of a conversion follow.
TEST_F(TagEditorTest, WrongInputReloadAndTheNextFileQuestion)
{
    state.TagYear = "MCMXCIX";
    open();
    EXPECT_TRUE(messages.texts.isEmpty());
    state.TagYear = "1999";
    state.QueueCount = 3;
    state.EditTagInfo = true;
    mainChkTag->setChecked(true);
    auto editor = open();
    Ui::frmTagInfo &ui = editor->ui();
    ui.txtYear->setText(" 19x9 ");
    EXPECT_EQ(ui.txtYear->text(), "19x9"); // trimmed, and it stays
    ui.OptParName->setChecked(true);
    ui.txtSep->setText("a/");
    EXPECT_EQ(
        messages.texts, Texts({"Type a numeric value", "Don't use the characters  \\/:*?\">"}));
    EXPECT_EQ(ui.txtSep->text() + "|" + state.NameSeparator, "| ");
    ui.txtTit->setText("edited");
    ui.cmdReload->click();
    EXPECT_EQ(Texts({ui.txtTit->text(), ui.txtYear->text()}), Texts({"Y", "1999"}));
    EXPECT_TRUE(!ui.ChkTag->isHidden() && ui.ChkTag->isChecked());
    ui.ChkTag->setChecked(false);
    ui.cmdGrab->click();
    EXPECT_FALSE(mainChkTag->isChecked() || state.EditTagInfo); // the rest goes without it
    state.QueueDone = 2; // the last file
    EXPECT_TRUE(open()->ui().ChkTag->isHidden());
    state.TagOnlyMode = true;
    state.QueueDone = 0;
    EXPECT_TRUE(open()->ui().ChkTag->isHidden()); // the rest of its look in the window's tests
}

// The window stays open, the tag and the file as they were; the same text is no problem for a
// WMA's tag.
TEST_F(TagEditorTest, CharactersAnId3v1TagCannotHoldAreRefused)
{
    const QString original = QStringLiteral(TONVERA_TEST_DATA "/taglet/v11_track.mp3");
    const QString mp3 = path("song.mp3"), japanese = QString::fromUtf8("日本");
    ASSERT_TRUE(QFile::copy(original, mp3));
    const auto bytes = [](const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    state.SourcePath = mp3;
    for (const bool tagOnly : {true, false}) {
        state.TagOnlyMode = tagOnly;
        auto editor = open();
        editor->ui().txtAlb->setText(japanese + " 5\u20ac");
        editor->ui().cmdGrab->click();
        EXPECT_EQ(editor->result() == QDialog::Accepted, !tagOnly);
        EXPECT_EQ(state.TagAlbum == "Album", tagOnly);
    }
    EXPECT_EQ(messages.texts,
        Texts {"The MP3 tag cannot hold these characters:  " + japanese + "\u20ac\n\nAlbum"});
    EXPECT_EQ(messages.flags_, QList<int> {48});
    EXPECT_EQ(bytes(mp3), bytes(original));
}

// The rule chosen is stored and comes back at the next start; Cancel stops the run.
TEST_F(TagEditorTest, CutNameRules)
{
    frmCutName::LoadRule(state, *settings);
    EXPECT_EQ(std::tuple(state.CutNameNumbered, state.CutNameAfter, state.CutNameText),
        std::tuple(false, true, QString("cut")));
    frmCutName text(state, *settings, mainChkCutNam, &mainWindow);
    EXPECT_TRUE(text.ui().OptStr->isChecked() && text.ui().OptStrS->isChecked()
        && !text.ui().FraNum->isEnabled());
    EXPECT_EQ(text.ui().txtStr->text(), "cut");
    text.ui().txtStr->setText("take");
    text.ui().Cmdok->click();
    EXPECT_EQ(state.CutNameText, "take");
    frmCutName rules(state, *settings, mainChkCutNam, &mainWindow);
    Ui::frmCutName &ui = rules.ui();
    ui.OptNum->setChecked(true);
    EXPECT_TRUE(ui.FraNum->isEnabled() && !ui.txtStr->isEnabled());
    ui.OptNumP->setChecked(true);
    ui.chkCutNam->setChecked(false);
    ui.Cmdok->click();
    EXPECT_EQ(std::tuple(state.CutNameNumbered, state.CutNameAfter, state.CutNameText,
                  state.CutNamesOn, mainChkCutNam->isChecked()),
        std::tuple(true, false, QString(), false, false));
    EXPECT_EQ(stored({"OptStr", "OptNumP", "strNam"}), Texts({"False", "True", "take"}));
    AppState next;
    frmCutName::LoadRule(next, *settings);
    EXPECT_TRUE(next.CutNameNumbered && !next.CutNameAfter);
    frmCutName again(next, *settings, mainChkCutNam, &mainWindow);
    EXPECT_TRUE(again.ui().OptNum->isChecked() && again.ui().chkCutNam->isChecked());
    // Choosing the other rule leaves the placements as they were (the placement buttons sit
    // inside the rule's frame, where Qt would take all six as one exclusive set).
    again.ui().OptStr->click();
    EXPECT_EQ(std::tuple(again.ui().OptNum->isChecked(), again.ui().OptNumP->isChecked(),
                  again.ui().OptStrS->isChecked()),
        std::tuple(false, true, true));
    again.ui().CmdCancel->click();
    EXPECT_TRUE(next.RunStopped);
}

TEST_F(TagEditorTest, TheRenameBox)
{
    const std::tuple<QString, Qt::Key, QString> cases[] = {{" b.mp3 ", Qt::Key_Return, "b.mp3"},
        {"A.mp3", Qt::Key_Enter, "A.mp3"}, {"b.mp3", Qt::Key_Escape, ""}};
    for (const auto &[typed, key, result] : cases) {
        TechRen box("a.mp3", state, &mainWindow);
        EXPECT_EQ(box.ui().txtFile->selectedText(), "a.mp3");
        box.show();
        box.ui().txtFile->setText(typed);
        QTest::keyClick(box.ui().txtFile, key);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.RenameText(), result) << typed.toStdString();
    }
}
