// Start-up and shutdown of the real window: the language chooser, the settings restored and
// saved, the path on the command line, the working files, the keys, the help window.
#include "HelpWindow.h"
#include "SignalCloser.h"
#include "TechLan.h"
#include "TechLanChooser.h"
#include "WindowFixture.h"
#include "core/StatusLine.h"
#include "ui_TechLan.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextBrowser>
#include <csignal>

class AppShellTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        QFile::copy(TONVERA_TEST_DATA "/browser/both.mp3", music + "/song.mp3");
        QFile::copy(TONVERA_TEST_DATA "/browser/stereo16.wav", music + "/take.wav");
    }

    // An English user who last browsed the music folder.
    bool startPlain()
    {
        storeSettings({{"Language", "EN"}, {"Path", music}});
        return start();
    }

    QString stored(const QString &key) { return Settings().text("UserDef", key, "<missing>"); }
};

// The first start asks for the language, Esc giving English.
TEST_F(AppShellTest, TheLanguageChooser)
{
    TechLanChooser realChooser;
    services.languages = &realChooser;
    bool sawChooser = false;
    expectModal([&](QWidget *modal) {
        sawChooser = modal->objectName() == "TechLan";
        EXPECT_EQ(namelessControls(modal), QStringList());
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    ASSERT_TRUE(start());
    EXPECT_TRUE(sawChooser);
    EXPECT_EQ(state.MessageSection, "msgEN");
    EXPECT_EQ(stored("Language"), "EN");
    EXPECT_TRUE(window->isVisible());

    // The focus starts on the language in use, which Return takes. (Esc keeps it and a click
    // takes the language clicked: the end-to-end language scenario.)
    for (const QString current : {"IT", "EN"}) {
        TechLan dialog(current);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QPushButton *focused = current == "IT" ? dialog.ui().cmdIT : dialog.ui().cmdEN;
        ASSERT_TRUE(focused->hasFocus()) << current.toStdString();
        QTest::keyClick(focused, Qt::Key_Return);
        EXPECT_EQ(dialog.languageCode(), current);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

TEST_F(AppShellTest, RestoresSavedSettings)
{
    storeSettings({{"Language", "IT"}, {"Path", music}, {"swOrd", "S"}, {"iTyp", "3"},
        {"Option1", "False"}, {"ListIndex", "6"}, {"ChkTag", "1"}, {"chkCutNam", "0"},
        {"OptParName", "True"}, {"usrDir", "/out"}, {"kTimeMP3", "3.5"}});
    ASSERT_TRUE(start());
    EXPECT_EQ(languages.calls, 0);
    EXPECT_EQ(state.MessageSection, "msgIT");
    EXPECT_EQ(state.CurrentFolder, music);
    EXPECT_EQ(state.SortOrder, "S");
    EXPECT_EQ(ui().CboType->currentIndex(), 3);
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
    // The folder is back in the store only after a normal shutdown.
    EXPECT_EQ(stored("Path"), "<missing>");
}

// A vanished folder and an unknown order fall back like a fresh store.
TEST_F(AppShellTest, DefaultsOnAFreshStore)
{
    storeSettings({{"Language", "EN"}, {"Path", path("gone")}, {"swOrd", ""}});
    ASSERT_TRUE(start());
    EXPECT_EQ(state.CurrentFolder, QDir::homePath());
    EXPECT_EQ(ui().CboType->currentIndex(), 0);
    EXPECT_EQ(ui().cboProfile->currentIndex(), 4);
    EXPECT_EQ(state.SortOrder, "A");
    EXPECT_TRUE(state.CutNamesOn);
    EXPECT_TRUE(ui().OptStdName->isChecked());
}

// A file opens its folder with the type that lists it and is the current entry; a folder (from a
// shell, relative, with a trailing "/") keeps the type the user left; a missing path starts as
// without one and says so. Only a start without a path takes the saved folder out of the store.
TEST_F(AppShellTest, ThePathOnTheCommandLine)
{
    const QString elsewhere = path("elsewhere"), gone = path("gone/song.mp3");
    QDir().mkpath(elsewhere);
    // the argument; the folder, type, files listed, current file and status shown; the folder
    // in the store
    const std::tuple<QString, QString, int, QStringList, QString, QString, QString> cases[] = {
        {music + "/song.mp3", music, 0, {"song.mp3"}, "song.mp3", "", elsewhere},
        {music + "/take.wav", music, 1, {"take.wav"}, "take.wav", "", elsewhere},
        {"music/", music, 2, {"song.mp3", "take.wav"}, "", "", elsewhere},
        {gone, elsewhere, 2, {}, "", "Not found: " + gone, "<missing>"},
    };
    const QString shellFolder = QDir::currentPath();
    for (const auto &[argument, folder, type, list, current, status, pathKey] : cases) {
        SCOPED_TRACE(argument.toStdString());
        storeSettings({{"Language", "EN"}, {"Path", elsewhere}, {"iTyp", "2"}, {"swOrd", "D"}});
        QDir::setCurrent(path(""));
        const bool started = start({argument});
        QDir::setCurrent(shellFolder);
        ASSERT_TRUE(started);
        QTest::qWait(20); // whatever the start left queued has run
        EXPECT_EQ(state.CurrentFolder, folder);
        EXPECT_EQ(ui().CboType->currentIndex(), type);
        EXPECT_EQ(listed(), list);
        EXPECT_EQ(state.CurrentFile, current);
        EXPECT_EQ(window->statusLine().text(), status);
        EXPECT_EQ(ui().ImgMsg->isVisible(), !status.isEmpty());
        EXPECT_EQ(stored("Path"), pathKey);
        EXPECT_TRUE(messages.texts.isEmpty());
        // A start on a path has no order of its own: the user's saved one survives the shutdown.
        closeWindow();
        EXPECT_EQ(stored("swOrd"), "D");
    }
}

// The working files live for the run only; a termination signal shuts down as a close does,
// storing the settings.
TEST_F(AppShellTest, WorkingFilesLiveForTheRunOnly)
{
    const QString work = runtimeDir() + "/Tnvm";
    QDir().mkpath(work);
    writeFile(work + "/stale.wav", "old");
    writeFile(appFolder + "/TONVE_EN.gid", "");
    ASSERT_TRUE(startPlain());
    EXPECT_EQ(state.WorkFolder, work);
    EXPECT_TRUE(QFileInfo(work).isDir());
    EXPECT_FALSE(QFileInfo::exists(work + "/stale.wav"));
    EXPECT_EQ(state.BatchFilePath, appFolder + "/tmpbat.sh");
    EXPECT_EQ(state.ConfigFilePath, appFolder + "/tmpconf.weu");
    EXPECT_TRUE(readAll(state.BatchFilePath)
                    .contains("'" + (appFolder + "/wm8eutil").toUtf8() + "' -config '"
                        + state.ConfigFilePath.toUtf8() + "'"));

    writeFile(state.ConfigFilePath, "cfg");
    writeFile(work + "/~tmpw_0.wav", "w");
    state.CurrentFolder = music;
    state.TypeIndex = 2;
    state.SortOrder = "E";
    state.kTimeWAV = 1.25f;
    ui().Option1->setChecked(true);
    ui().ChkTag->setCheckState(Qt::PartiallyChecked);
    SignalCloser closer(*window);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 2000));

    for (const QString &gone :
        {work, appFolder + "/tmpbat.sh", appFolder + "/tmpconf.weu", appFolder + "/TONVE_EN.gid"})
        EXPECT_FALSE(QFileInfo::exists(gone)) << gone.toStdString();
    const QList<std::pair<QString, QString>> saved
        = {{"Path", music}, {"iTyp", "2"}, {"swOrd", "E"}, {"kTimeWAV", "1.25"},
            {"Option1", "True"}, {"ListIndex", "<missing>"} /* kept only for a manual profile */,
            {"ChkTag", "2"}, {"OptParName", "False"}};
    for (const auto &[key, value] : saved)
        EXPECT_EQ(stored(key), value) << key.toStdString();
}

TEST_F(AppShellTest, NoSoundOutputEndsBeforeTheWindowAndWritesNothing)
{
    sound.present = false;
    ASSERT_FALSE(startPlain());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("Tonvera requires a SOUNDCARD"));
    EXPECT_EQ(messages.flags_[0], 16);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFileInfo::exists(runtimeDir() + "/Tnvm"));
    closeWindow(); // no shutdown either: nothing was started
    EXPECT_EQ(stored("Path"), music);
    EXPECT_EQ(stored("iTyp"), "<missing>");
}

TEST_F(AppShellTest, KeysReachTheirControls)
{
    ASSERT_TRUE(startPlain());
    int stops = 0;
    QList<bool> renames; // to the output list or not
    QObject::connect(ui().cmdStop, &QPushButton::clicked, [&] { ++stops; });
    QObject::connect(window.get(), &MainWindow::renameRequested, [&](bool out) { renames << out; });
    ui().cmdStop->setEnabled(true);
    QApplication::setActiveWindow(window.get());
    ui().ListInput->setFocus();
    QTest::keyClick(ui().ListInput, Qt::Key_Escape);
    EXPECT_EQ(stops, 1);
    QTest::keyClick(ui().ListInput, Qt::Key_F2);
    EXPECT_EQ(renames, QList<bool> {false});
    // F4 leads to the path box, its text selected to be typed over; a drop-down box with the
    // focus keeps no F4 for its own list.
    for (QWidget *from :
        std::initializer_list<QWidget *> {ui().ListInput, ui().Drive1, ui().CboType}) {
        const std::string name = from->objectName().toStdString();
        from->setFocus();
        ui().CboURL->lineEdit()->deselect();
        QTest::keyClick(from, Qt::Key_F4);
        EXPECT_TRUE(ui().CboURL->hasFocus()) << name;
        EXPECT_EQ(ui().CboURL->lineEdit()->selectedText(), music) << name;
        auto *box = qobject_cast<QComboBox *>(from);
        EXPECT_FALSE(box && box->view()->isVisible()) << name;
    }

    // Typing a blank in the path box stays in the path box even with the player available.
    ui().cmdPlay->setEnabled(true);
    ui().CboURL->setEditText("/a");
    QTest::keyClick(ui().CboURL, Qt::Key_Space);
    EXPECT_EQ(ui().CboURL->currentText(), "/a ");
}

// bin/ holds the programs, share/tonvera/ the texts and help; the working files stay with the
// program while its folder is writable. A missing help page is said; F1 from anywhere, even the
// path box, opens the page over the window, and Esc closes it.
TEST_F(AppShellTest, AnInstalledProgramAndItsHelp)
{
    const QString data = path("prefix/share/tonvera/");
    appFolder = path("prefix/bin");
    QDir().mkpath(appFolder);
    QDir().mkpath(data);
    writeFile(data + "PRMSG", "[msgEN]\n111=Installed caption\n");
    ASSERT_TRUE(startPlain());
    EXPECT_EQ(state.MessageFilePath, data + "PRMSG");
    EXPECT_EQ(ui().Lab1->text(), "Installed caption");
    EXPECT_EQ(state.HelpFilePath, data + "TONVE_EN.html");
    EXPECT_EQ(state.BatchFilePath, appFolder + "/tmpbat.sh");
    ui().cmdHelp->click();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(data + "TONVE_EN.html"));

    writeFile(data + "TONVE_EN.html", "<html><body><h1>Installed help</h1></body></html>");
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ui().CboURL->setFocus();
    QTest::keyClick(ui().CboURL, Qt::Key_F1);
    HelpWindow *help = shell->helpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    EXPECT_TRUE(window->frameGeometry().contains(help->frameGeometry().center()));
    EXPECT_EQ(messages.texts.size(), 1);
    QTest::keyClick(help->browser(), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}
