// The tag editor in the window's runs: before each file of a conversion (its fields and name
// reach the WMA), and in tag-only runs (Tag & Rename), which write the MP3's ID3v1 tag through
// taglet and rename the file. Real conversions; tags read back with ffprobe and the taglet tool.
#include "Ffprobe.h"
#include "WindowFixture.h"

#include "browser/ListLine.h"
#include "conversion/ConversionQueue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTest>

namespace {

const QString Bin = QStringLiteral(TONVERA_BIN_DIR);
const QString Data = QStringLiteral(TONVERA_TEST_DATA);
constexpr int No = 7;

// ffprobe's tags of a file, by lower-case name.
QMap<QString, QString> probeTags(const QString &path)
{
    QMap<QString, QString> tags;
    const QMap<QString, QString> format = ffprobeFormat(path);
    for (auto it = format.begin(); it != format.end(); ++it)
        if (it.key().startsWith("tag:"))
            tags[it.key().mid(4)] = it.value();
    return tags;
}

QJsonObject readTag(const QString &file)
{
    QProcess taglet;
    taglet.start(Bin + "/taglet", {"read", file});
    taglet.waitForFinished(30000);
    return QJsonDocument::fromJson(taglet.readAllStandardOutput()).object();
}

// The editor's controls, found by their names as a test of the window would.
template<class T>
T *in(QWidget *editor, const char *name)
{
    T *control = editor->findChild<T *>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

class TagRunTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        music = path("music");
        QDir().mkpath(music);
        linkHelpers();
    }

    void startIn(int typeIndex)
    {
        storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", QString::number(typeIndex)}});
        ASSERT_TRUE(start());
        ui().chkWMA->setChecked(true);
    }

    void select(const QString &name)
    {
        for (int row = 0; row < ui().ListInput->count(); ++row)
            if (ListLine::fileNameOf(PathOfItem(ui().ListInput->item(row))) == name)
                ui().ListInput->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        ASSERT_EQ(state.CurrentFile, name);
    }

    bool waitForTheRun()
    {
        return QTest::qWaitFor(
            [this] { return !window->conversion().isBusy() && !ui().cmdHalt->isVisible(); }, 60000);
    }

    QString music;
};

TEST_F(TagRunTest, TheEditorBeforeEachFileOfAConversion)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/my-song.mp3");
    QFile::copy(Data + "/codecs/cbr128-stereo.mp3", music + "/other.mp3");
    startIn(0);
    ui().ChkTag->setChecked(true);
    ui().chkAll->click();

    QStringList opened;
    expectModal([&](QWidget *editor) {
        opened << in<QLineEdit>(editor, "txtName")->text();
        EXPECT_FALSE(in<QCheckBox>(editor, "ChkTag")->isHidden()); // a next file follows
        in<QLineEdit>(editor, "txtTit")->setText("Edited Title");
        in<QLineEdit>(editor, "txtAut")->setText("AC/DC");
        in<QLineEdit>(editor, "txtCop")->setText("(c) 2024");
        in<QRadioButton>(editor, "OptParName")->setChecked(true);
        in<QCheckBox>(editor, "chkPar_3")->click();
        in<QCheckBox>(editor, "chkPar_6")->click();
        EXPECT_EQ(in<QPlainTextEdit>(editor, "txtFile")->toPlainText(), "AC_DC-Edited Title");
        // The second file keeps its name ("Maintain filename") and its own tags.
        expectModal([&](QWidget *next) {
            opened << in<QLineEdit>(next, "txtName")->text();
            EXPECT_TRUE(in<QCheckBox>(next, "ChkTag")->isHidden()); // the last file
            in<QRadioButton>(next, "OptStdName")->setChecked(true);
            in<QAbstractButton>(next, "cmdGrab")->click();
        });
        in<QAbstractButton>(editor, "cmdGrab")->click();
    });
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(modalHandled());
    EXPECT_EQ(opened, (QStringList {"my-song", "other"}));

    const QString output = music + "/AC_DC-Edited Title.wma";
    ASSERT_TRUE(QFileInfo::exists(output)) << QDir(music).entryList().join(", ").toStdString();
    const QMap<QString, QString> tags = probeTags(output);
    EXPECT_EQ(tags.value("title"), "Edited Title");
    EXPECT_EQ(tags.value("artist"), "AC/DC");
    EXPECT_EQ(tags.value("copyright"), "(c) 2024");
    EXPECT_TRUE(QFileInfo::exists(music + "/other.wma"));
    EXPECT_FALSE(QFileInfo::exists(music + "/AC")); // no folder from the slash
    EXPECT_FALSE(ui().OptParName->isChecked()); // the last editor's choice came back
}

TEST_F(TagRunTest, CancellingTheEditorEndsTheRun)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    startIn(0);
    ui().ChkTag->setChecked(true);
    select("a.mp3");
    expectModal([](QWidget *editor) { in<QAbstractButton>(editor, "CmdCancel")->click(); });
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(modalHandled());
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_FALSE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_TRUE(ui().CboURL->isEnabled());
}

TEST_F(TagRunTest, TagAndRenameWritesTheMp3TagAndRenames)
{
    QFile::copy(Data + "/taglet/v11_track.mp3", music + "/old name.mp3");
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/Taken.mp3");
    startIn(0);
    select("old name.mp3");
    ASSERT_TRUE(ui().cmdTag->isEnabled());

    expectModal([](QWidget *editor) {
        EXPECT_EQ(in<QAbstractButton>(editor, "cmdGrab")->text(), "&Save");
        EXPECT_FALSE(in<QLineEdit>(editor, "txtCop")->isEnabled());
        in<QLineEdit>(editor, "txtTit")->setText("Fresh");
        in<QLineEdit>(editor, "txtAut")->setText("Caf\u00e9 Band");
        in<QRadioButton>(editor, "OptParName")->setChecked(true);
        in<QCheckBox>(editor, "chkPar_6")->click();
        in<QAbstractButton>(editor, "cmdGrab")->click();
    });
    ui().cmdTag->click();
    EXPECT_TRUE(modalHandled());
    EXPECT_FALSE(QFileInfo::exists(music + "/old name.mp3"));
    const QJsonObject tag = readTag(music + "/Fresh.mp3");
    EXPECT_EQ(tag["song"].toString(), "Fresh");
    EXPECT_EQ(tag["artist"].toString(), "Caf\u00e9 Band");
    EXPECT_EQ(tag["track"].toInt(), 7); // kept
    EXPECT_EQ(state.CurrentFile, "Fresh.mp3"); // the renamed file is the current one
    EXPECT_EQ(state.TagTitle, "Fresh"); // and the panel read its new tag
    EXPECT_TRUE(QDir(music).entryList({"*.wma"}).isEmpty()); // nothing converted

    // F8 does the same; a name another file has is asked about, No keeps both.
    QApplication::setActiveWindow(window.get());
    ui().ListInput->setFocus();
    messages.answers = {No};
    expectModal([](QWidget *editor) {
        in<QLineEdit>(editor, "txtTit")->setText("Taken");
        in<QAbstractButton>(editor, "cmdGrab")->click();
    });
    QTest::keyClick(ui().ListInput, Qt::Key_F8);
    EXPECT_TRUE(modalHandled());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(music + "/Taken.mp3"));
    EXPECT_TRUE(QFileInfo::exists(music + "/Fresh.mp3"));
    EXPECT_EQ(readTag(music + "/Fresh.mp3")["song"].toString(), "Taken"); // the tag was saved
    QFile taken(music + "/Taken.mp3"), original(Data + "/codecs/tagged.mp3");
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), original.readAll()); // untouched
}

TEST_F(TagRunTest, SavingTheTagKeepsANameWithABackslashWhole)
{
    const QString name = "AC\\DC - x.mp3";
    QFile::copy(Data + "/taglet/v11_track.mp3", music + "/" + name);
    startIn(0);
    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect); // the only file
    expectModal([](QWidget *editor) {
        EXPECT_EQ(in<QLineEdit>(editor, "txtName")->text(), "AC\\DC - x");
        in<QLineEdit>(editor, "txtTit")->setText("Kept");
        in<QRadioButton>(editor, "OptStdName")->setChecked(true); // "Maintain filename"
        in<QAbstractButton>(editor, "cmdGrab")->click();
    });
    ui().cmdTag->click();
    EXPECT_TRUE(modalHandled());
    EXPECT_EQ(QDir(music).entryList(QDir::Files), QStringList {name});
    EXPECT_EQ(readTag(music + "/" + name)["song"].toString(), "Kept");
    EXPECT_EQ(state.CurrentFile, name);
}

TEST_F(TagRunTest, ATagOnlyRunOverMarkedFiles)
{
    QFile::copy(Data + "/taglet/v11_track.mp3", music + "/Artist A - One.mp3");
    QFile::copy(Data + "/taglet/v11_track.mp3", music + "/Artist B - Two.mp3");
    startIn(0);
    ui().chkAll->click();
    ASSERT_TRUE(ui().cmdTag->isEnabled());

    // "Create Tag from filename" reads artist and title from each name.
    int shown = 0;
    std::function<void(QWidget *)> fromName = [&](QWidget *editor) {
        ++shown;
        if (shown == 1) {
            in<QCheckBox>(editor, "chkCreate")->setChecked(true);
            in<QCheckBox>(editor, "chkPar_3")->click();
            in<QCheckBox>(editor, "chkPar_6")->click();
        }
        if (shown < 2)
            expectModal(fromName);
        in<QAbstractButton>(editor, "cmdGrab")->click();
    };
    expectModal(fromName);
    ui().mnuTag->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(readTag(music + "/Artist A - One.mp3")["artist"].toString(), "Artist A");
    EXPECT_EQ(readTag(music + "/Artist A - One.mp3")["song"].toString(), "One");
    EXPECT_EQ(readTag(music + "/Artist B - Two.mp3")["artist"].toString(), "Artist B");
    EXPECT_EQ(readTag(music + "/Artist B - Two.mp3")["song"].toString(), "Two");
    EXPECT_TRUE(ui().ListInput->isEnabled());
}

} // namespace
