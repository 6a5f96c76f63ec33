// Where the program starts: the path given on its command line, and where an installed program
// finds its data.
#include "AppShell.h"
#include "WindowFixture.h"
#include "core/StatusLine.h"

#include <QFile>
#include <QTest>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList listedNames(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text().section(QLatin1Char(' '), 0, 0);
    return names;
}
} // namespace

class StartPathTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        music = path("music");
        elsewhere = path("elsewhere");
        QDir().mkpath(music);
        QDir().mkpath(elsewhere);
        writeFile(music + "/song.mp3", "x");
        writeFile(music + "/take.wav", "x");
    }

    QString music, elsewhere;
};

// A shell hands over names relative to its own folder, with or without a trailing "/".
TEST_F(StartPathTest, AFolderArgumentOpensThatFolderWithTheTypeTheUserLeft)
{
    storeSettings({{"Language", "EN"}, {"Path", elsewhere}, {"iTyp", "1"}});
    const QString shellFolder = QDir::currentPath();
    QDir::setCurrent(path(""));
    const bool started = start({"music/"});
    QDir::setCurrent(shellFolder);
    ASSERT_TRUE(started);
    EXPECT_EQ(state.CurrentFolder, music);
    EXPECT_EQ(ui().CboType->currentIndex(), 1);
    EXPECT_EQ(listedNames(ui().ListInput), QStringList {"take.wav"});
    EXPECT_TRUE(window->statusLine().text().isEmpty());
}

TEST_F(StartPathTest, AMissingPathStartsAsWithoutOneAndSaysSo)
{
    storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "1"}});
    const QString gone = path("gone/song.mp3");
    ASSERT_TRUE(start({gone}));
    QTest::qWait(50); // whatever the start left queued has run
    EXPECT_EQ(state.CurrentFolder, music);
    EXPECT_EQ(ui().CboType->currentIndex(), 1);
    EXPECT_EQ(window->statusLine().text(), "Not found: " + gone);
    EXPECT_TRUE(ui().ImgMsg->isVisible());
    EXPECT_TRUE(messages.texts.isEmpty());
}

// bin/ holds the programs, share/tonvera/ the texts and help; the working files stay with the
// program while its folder is writable.
TEST_F(StartPathTest, AnInstalledProgramReadsItsDataFromShare)
{
    const QString prefix = path("prefix");
    const QString data = prefix + "/share/tonvera/";
    appFolder = prefix + "/bin";
    QDir().mkpath(appFolder);
    QDir().mkpath(data);
    writeFile(data + "PRMSG", "[msgEN]\n111=Installed caption\n");
    writeFile(data + "TONVE_EN.html", "<html><body><h1>Installed help</h1></body></html>");
    storeSettings({{"Language", "EN"}, {"Path", music}});

    ASSERT_TRUE(start());
    EXPECT_EQ(state.MessageFilePath, data + "PRMSG");
    EXPECT_EQ(ui().Lab1->text(), "Installed caption");
    EXPECT_EQ(state.HelpFilePath, data + "TONVE_EN.html");
    ui().cmdHelp->click();
    EXPECT_TRUE(messages.texts.isEmpty()) << qPrintable(messages.texts.join('\n'));
    ASSERT_NE(shell->helpWindow(), nullptr);
    EXPECT_TRUE(shell->helpWindow()->isVisible());

    EXPECT_EQ(state.BatchFilePath, appFolder + "/tmpbat.sh");
    QFile batch(state.BatchFilePath);
    ASSERT_TRUE(batch.open(QIODevice::ReadOnly));
    EXPECT_TRUE(batch.readAll().contains("'" + (appFolder + "/wm8eutil").toUtf8() + "'"));
}
