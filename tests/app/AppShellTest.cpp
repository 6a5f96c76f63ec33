#include "AppShell.h"
#include "KeyboardFilter.h"
#include "MainWindow.h"
#include "SignalCloser.h"
#include "TechLan.h"
#include "TechLanChooser.h"
#include "WindowFixture.h"
#include "core/AppState.h"
#include "core/Settings.h"
#include "ui_TechLan.h"
#include "ui_frmMain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <csignal>
#include <memory>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class AppShellTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        music = path("music");
        QDir().mkpath(music);
        writeFile(music + "/song.mp3", "x");
    }

    // An English user who last browsed the music folder.
    bool startPlain()
    {
        storeSettings({{"Language", "EN"}, {"Path", music}});
        return start();
    }

    QString stored(const QString &key)
    {
        Settings s;
        return s.text("UserDef", key, "<missing>");
    }

    QString music;
};

TEST_F(AppShellTest, FirstStartOpensLanguageChooserAndEscGivesEnglish)
{
    TechLanChooser realChooser;
    services.languages = &realChooser;
    bool sawChooser = false;
    expectModal([&](QWidget *modal) {
        sawChooser = modal->objectName() == "TechLan";
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    ASSERT_TRUE(start());
    EXPECT_TRUE(sawChooser);
    EXPECT_EQ(state.LanguageCode, "EN");
    EXPECT_EQ(state.MessageSection, "msgEN");
    EXPECT_EQ(stored("Language"), "EN");
    EXPECT_TRUE(state.HelpFilePath.endsWith("/app/TONVE_EN.html"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AppShellTest, TechLanButtonsChooseAndFocusFollowsCurrentLanguage)
{
    TechLan dialog("IT");
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_TRUE(dialog.ui().cmdIT->hasFocus());
    QTest::mouseClick(dialog.ui().cmdIT, Qt::LeftButton);
    EXPECT_EQ(dialog.languageCode(), "IT");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(AppShellTest, TechLanKeepsTheLanguageOnEscAndTakesTheFocusedOneOnReturn)
{
    for (const char *current : {"IT", "EN"}) {
        TechLan dialog(current);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.languageCode(), current);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    TechLan dialog("IT");
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(dialog.ui().cmdIT->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.languageCode(), "IT");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(AppShellTest, RestoresSavedSettings)
{
    storeSettings({{"Language", "IT"}, {"Path", music}, {"swOrd", "S"}, {"iTyp", "3"},
        {"Option1", "False"}, {"ListIndex", "6"}, {"ChkTag", "1"}, {"chkCutNam", "0"},
        {"OptParName", "True"}, {"usrDir", "/out"}, {"kTimeMP3", "3.5"}});
    ASSERT_TRUE(start());
    EXPECT_EQ(languages.calls, 0);
    EXPECT_EQ(state.MessageSection, "msgIT");
    EXPECT_TRUE(state.HelpFilePath.endsWith("TONVE_IT.html"));
    EXPECT_EQ(state.CurrentFolder, music);
    EXPECT_EQ(state.SortOrder, "S");
    EXPECT_TRUE(ui().mnuOrdSize->isChecked());
    EXPECT_EQ(ui().CboType->currentIndex(), 3);
    EXPECT_TRUE(ui().CboType->currentText().startsWith("WM Audio"));
    EXPECT_TRUE(ui().Option2->isChecked());
    EXPECT_EQ(ui().cboProfile->currentIndex(), 6);
    EXPECT_TRUE(ui().cboProfile->isEnabled());
    EXPECT_EQ(ui().ChkTag->checkState(), Qt::Checked);
    EXPECT_FALSE(state.CutNamesOn);
    EXPECT_TRUE(ui().OptParName->isChecked());
    EXPECT_TRUE(ui().OptSameDir->isChecked());
    EXPECT_EQ(state.UserOutputFolder, "/out");
    EXPECT_EQ(state.SaveFolder, music);
    EXPECT_FLOAT_EQ(state.kTimeMP3, 3.5f);
    EXPECT_TRUE(state.BrowseEventsOn);
    // The folder is back in the store only after a normal shutdown.
    EXPECT_EQ(stored("Path"), "<missing>");
}

// A vanished folder and an unknown order fall back like a fresh store.
TEST_F(AppShellTest, DefaultsOnAFreshStore)
{
    storeSettings({{"Language", "EN"}, {"Path", path("gone")}, {"swOrd", ""}});
    ASSERT_TRUE(start());
    EXPECT_EQ(state.CurrentFolder, QDir::homePath());
    EXPECT_EQ(ui().CboType->count(), 5);
    EXPECT_TRUE(ui().CboType->itemText(4).endsWith("ALLSUP"));
    EXPECT_EQ(ui().CboType->currentIndex(), 0);
    EXPECT_EQ(ui().cboProfile->count(), 7);
    EXPECT_EQ(ui().cboProfile->currentIndex(), 4);
    EXPECT_EQ(state.SortOrder, "A");
    EXPECT_TRUE(ui().mnuOrdName->isChecked());
    EXPECT_TRUE(state.CutNamesOn);
    EXPECT_TRUE(ui().OptStdName->isChecked());
}

TEST_F(AppShellTest, FileArgumentOpensItsFolderAndLeavesPathKey)
{
    storeSettings({{"Language", "EN"}, {"Path", "/elsewhere"}, {"iTyp", "2"}, {"swOrd", "D"}});
    ASSERT_TRUE(start({music + "/song.mp3"}));
    EXPECT_EQ(state.CurrentFolder, music);
    // The file named on the command line is the current entry of the list.
    EXPECT_EQ(state.CurrentFile, "song.mp3");
    EXPECT_EQ(state.SortOrder, "");
    EXPECT_EQ(ui().CboType->currentIndex(), 0);
    EXPECT_EQ(stored("Path"), "/elsewhere");

    // The run had no order of its own: the user's saved one survives the shutdown.
    closeWindow();
    EXPECT_EQ(stored("swOrd"), "D");
}

TEST_F(AppShellTest, AWavOrWmaArgumentOpensTheTypeThatListsIt)
{
    storeSettings({{"Language", "EN"}});
    writeFile(music + "/take.wav", "x");
    ASSERT_TRUE(start({music + "/take.wav"}));
    EXPECT_EQ(ui().CboType->currentIndex(), 1);
    EXPECT_EQ(state.CurrentFile, "take.wav");
}

TEST_F(AppShellTest, WorkingFilesLiveForTheRunOnly)
{
    storeSettings({{"Language", "EN"}, {"Path", music}});
    const QString work = runtimeDir() + "/Tnvm";
    QDir().mkpath(work);
    writeFile(work + "/stale.wav", "old");
    writeFile(appFolder + "/TONVE_EN.gid", "");

    ASSERT_TRUE(start());
    EXPECT_EQ(state.WorkFolder, work);
    EXPECT_TRUE(QFileInfo(work).isDir());
    EXPECT_FALSE(QFileInfo::exists(work + "/stale.wav"));
    EXPECT_EQ(state.BatchFilePath, appFolder + "/tmpbat.sh");
    EXPECT_EQ(state.ConfigFilePath, appFolder + "/tmpconf.weu");
    QFile batch(state.BatchFilePath);
    ASSERT_TRUE(batch.open(QIODevice::ReadOnly));
    EXPECT_TRUE(batch.readAll().contains("'" + (appFolder + "/wm8eutil").toUtf8() + "' -config '"
        + state.ConfigFilePath.toUtf8() + "'"));

    writeFile(state.ConfigFilePath, "cfg");
    writeFile(work + "/~tmpw_0.wav", "w");
    state.CurrentFolder = music;
    state.TypeIndex = 2;
    state.SortOrder = "E";
    state.kTimeWAV = 1.25f;
    ui().Option1->setChecked(true);
    ui().ChkTag->setCheckState(Qt::PartiallyChecked);
    closeWindow();

    EXPECT_FALSE(QFileInfo::exists(work));
    EXPECT_FALSE(QFileInfo::exists(appFolder + "/tmpbat.sh"));
    EXPECT_FALSE(QFileInfo::exists(appFolder + "/tmpconf.weu"));
    EXPECT_FALSE(QFileInfo::exists(appFolder + "/TONVE_EN.gid"));
    EXPECT_EQ(stored("Path"), music);
    EXPECT_EQ(stored("iTyp"), "2");
    EXPECT_EQ(stored("swOrd"), "E");
    EXPECT_EQ(stored("kTimeWAV"), "1.25");
    EXPECT_EQ(stored("Option1"), "True");
    EXPECT_EQ(stored("ListIndex"), "<missing>"); // kept only for a manual profile
    EXPECT_EQ(stored("ChkTag"), "2");
    EXPECT_EQ(stored("OptParName"), "False");
}

TEST_F(AppShellTest, TerminationSignalShutsDownNormally)
{
    ASSERT_TRUE(startPlain());
    const QString work = state.WorkFolder;
    SignalCloser closer(*window);
    std::raise(SIGTERM);
    for (int i = 0; i < 200 && window->isVisible(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(stored("Path"), music);
    EXPECT_FALSE(QFileInfo::exists(work));
}

TEST_F(AppShellTest, NoSoundOutputEndsBeforeTheWindowAndWritesNothing)
{
    storeSettings({{"Language", "EN"}, {"Path", music}});
    sound.present = false;
    ASSERT_FALSE(start());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("Tonvera requires a SOUNDCARD"));
    EXPECT_EQ(messages.flags_[0], 16);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(stored("Path"), music);
    EXPECT_FALSE(QFileInfo::exists(runtimeDir() + "/Tnvm"));
    closeWindow(); // no shutdown either: nothing was started
    EXPECT_EQ(stored("Path"), music);
    EXPECT_EQ(stored("iTyp"), "<missing>");
}

TEST_F(AppShellTest, KeysReachTheirControls)
{
    ASSERT_TRUE(startPlain());
    int stops = 0, renames = 0;
    bool renameToOutput = true;
    QObject::connect(ui().cmdStop, &QPushButton::clicked, [&] { ++stops; });
    QObject::connect(window.get(), &MainWindow::renameRequested, [&](bool out) {
        ++renames;
        renameToOutput = out;
    });
    ui().cmdStop->setEnabled(true);
    QApplication::setActiveWindow(window.get());
    ui().ListInput->setFocus();

    QTest::keyClick(ui().ListInput, Qt::Key_Escape);
    EXPECT_EQ(stops, 1);
    QTest::keyClick(ui().ListInput, Qt::Key_F2);
    EXPECT_EQ(renames, 1);
    EXPECT_FALSE(renameToOutput);
    QTest::keyClick(ui().ListInput, Qt::Key_F4);
    EXPECT_TRUE(ui().CboURL->hasFocus());
    // A drop-down box keeps no F4 for its own list: the path box takes the focus with its text
    // selected, to be typed over.
    for (QComboBox *box : {ui().Drive1, ui().CboType}) {
        const std::string name = box->objectName().toStdString();
        box->setFocus();
        ui().CboURL->lineEdit()->deselect();
        QTest::keyClick(box, Qt::Key_F4);
        EXPECT_TRUE(ui().CboURL->hasFocus()) << name;
        EXPECT_FALSE(box->view()->isVisible()) << name;
        EXPECT_EQ(ui().CboURL->lineEdit()->selectedText(), music) << name;
        box->hidePopup();
    }

    // Typing a blank in the path box stays in the path box even with the player available.
    ui().cmdPlay->setEnabled(true);
    ui().CboURL->setEditText("/a");
    QTest::keyClick(ui().CboURL, Qt::Key_Space);
    EXPECT_EQ(ui().CboURL->currentText(), "/a ");
}

TEST_F(AppShellTest, F12SwitchesTheWindowLanguageAtOnce)
{
    writeFile(appFolder + "/PRMSG",
        "[msgIT]\n111=1 - Scegli la cartella\n112=2 - Scegli i file\n10112=Informazioni\n");
    ASSERT_TRUE(startPlain());
    EXPECT_TRUE(ui().Lab1->text().startsWith("1 - Select folder"));
    const QString count = ui().Lab2->text().mid(ui().Lab2->text().indexOf("   ("));
    EXPECT_EQ(count, "   (1/1)");

    languages.answer = "IT";
    // The key goes where the user's keys go: to the control with the focus.
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : ui().ListInput, Qt::Key_F12);
    EXPECT_EQ(languages.calls, 1);
    EXPECT_EQ(languages.lastCurrent, "EN");
    EXPECT_EQ(state.MessageSection, "msgIT");
    EXPECT_EQ(stored("Language"), "IT");
    EXPECT_EQ(ui().Lab1->text(), "1 - Scegli la cartella");
    EXPECT_EQ(ui().cmdAbout->toolTip(), " Informazioni ");
    // The marked-files count stays with the new caption.
    EXPECT_EQ(ui().Lab2->text(), "2 - Scegli i file" + count);
}

TEST_F(AppShellTest, MissingHelpPageIsReported)
{
    ASSERT_TRUE(startPlain());
    ui().cmdHelp->click();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains("TONVE_EN.html"));

    writeFile(appFolder + "/TONVE_EN.html", "<html><body><h1>Tonvera help</h1></body></html>");
    ui().cmdHelp->click();
    ASSERT_NE(shell->helpWindow(), nullptr);
    EXPECT_TRUE(shell->helpWindow()->isVisible());
    EXPECT_EQ(messages.texts.size(), 1);
}
