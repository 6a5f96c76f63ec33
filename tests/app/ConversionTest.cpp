// Conversion runs in the real window with the real decoder and encoder (or stand-ins that fail
// or hang), checked on disk and with ffprobe.
#include "AsfAttributes.h"
#include "Ffprobe.h"
#include "SilentWav.h"
#include "WindowFixture.h"

#include "browser/FolderBrowser.h"
#include "conversion/ConversionQueue.h"
#include "core/BrowserAccess.h"
#include "core/MainCommands.h"
#include "core/StatusLine.h"
#include "core/WorkFiles.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA);

// ffprobe's duration and title of a file; duration -1 when it is not readable media.
std::pair<double, QString> probe(const QString &path)
{
    const QMap<QString, QString> format = ffprobeFormat(path);
    return {format.value("duration", "-1").toDouble(), format.value("tag:title")};
}

class ConversionTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        music = path("music");
        QDir().mkpath(music);
        // A test may put a stand-in in place of a helper.
        linkHelpers();
    }

    void standIn(const char *helper, const QByteArray &script)
    {
        const QString file = appFolder + "/" + helper;
        QFile::remove(file);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + script + "\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    }

    void writeSilentWav(const QString &name)
    {
        ASSERT_TRUE(::writeSilentWav(music + "/" + name, 1.0));
    }

    void startIn(int typeIndex = 4)
    {
        storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", QString::number(typeIndex)}});
        ASSERT_TRUE(start());
        ui().chkWMA->setChecked(true);
        ui().ListInput->setCurrentRow(0);
    }

    ConversionQueue &queue() { return window->conversion(); }

    bool waitForTheRun(int ms = 60000)
    {
        return QTest::qWaitFor(
            [this] { return !queue().isBusy() && !ui().cmdHalt->isVisible(); }, ms);
    }

    QStringList leftovers() const
    {
        return QDir(music).entryList(
            {"~tmpw_0*", "*.tmp.wma", ".*.part-*"}, QDir::Files | QDir::Hidden);
    }

    QString music;
};

} // namespace

TEST_F(ConversionTest, AMarkedBatchBecomesWmaFilesWithTheirTags)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a song.mp3");
    writeSilentWav("b 'quoted' $x.wav");
    QFile::copy(Data + "/browser/clip.wma", music + "/c.wma");
    startIn();

    ui().chkAll->click();
    ASSERT_EQ(ui().ListInput->selectedItems().size(), 3);
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());

    const auto [mp3Length, mp3Title] = probe(music + "/a song.wma");
    EXPECT_NEAR(mp3Length, 2.04, 0.15);
    EXPECT_EQ(mp3Title, "Title");
    const auto [wavLength, wavTitle] = probe(music + "/b 'quoted' $x.wma");
    EXPECT_NEAR(wavLength, 1.0, 0.15);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(", ").toStdString();
    EXPECT_EQ(ui().ListOutput->count(), 2);
    EXPECT_TRUE(ui().ListInput->selectedItems().isEmpty()); // marks cleared
    EXPECT_TRUE(window->statusLine().dotShown());
    EXPECT_TRUE(ui().LabStatus->text().contains("Conversion completed"))
        << ui().LabStatus->text().toStdString();
    EXPECT_TRUE(ui().CboURL->isEnabled());
    EXPECT_FALSE(ui().cmdBrowse->isEnabled()); // the output stays "Current Folder"
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}

TEST_F(ConversionTest, AFailingOrMissingHelperIsReportedAndLeavesNothing)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    writeSilentWav("b.wav");

    // An encoder that fails: its own words reach the user; no output takes the final name.
    standIn("wm8eutil", "echo 'wm8eutil: the disk is full' >&2; exit 3");
    startIn(1); // WAV
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    ASSERT_FALSE(messages.texts.isEmpty());
    EXPECT_TRUE(messages.texts.last().contains("the disk is full"))
        << messages.texts.last().toStdString();
    EXPECT_FALSE(QFileInfo::exists(music + "/b.wma"));
    EXPECT_TRUE(leftovers().isEmpty());

    // A decoder that fails: its words are shown, and no half-made WAV goes to the encoder.
    standIn("tnvr3w", "echo 'tnvr3w: broken frame' >&2; touch \"$2\"; exit 2");
    ui().CboType->setCurrentIndex(0); // MP3
    ui().ListInput->setCurrentRow(0);
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(messages.texts.last().contains("broken frame"))
        << messages.texts.last().toStdString();
    EXPECT_TRUE(ui().LabStatus->text().contains("ERROR inflating file"));
    EXPECT_FALSE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(", ").toStdString();

    // A decoder that is not there: said at once, and the run ends.
    QFile::remove(appFolder + "/tnvr3w");
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(messages.texts.last().contains("tnvr3w")) << messages.texts.last().toStdString();
    EXPECT_TRUE(ui().LabStatus->text().contains("ERROR inflating file"));
    EXPECT_FALSE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(ConversionTest, StopEndsTheHelperAndRemovesItsFiles)
{
    writeSilentWav("b.wav");
    // An encoder that starts its output and then takes its time.
    standIn("wm8eutil", "touch \"" + music.toUtf8() + "/~tmpw_0.wma\"; sleep 30");
    startIn(1);
    ui().cmdGrab->click();
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return QFileInfo::exists(music + "/~tmpw_0.wma"); }, 10000));
    EXPECT_TRUE(ui().cmdHalt->isVisible());

    messages.answers = {6}; // Yes, quit
    ui().cmdHalt->click();
    EXPECT_FALSE(queue().isBusy());
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_TRUE(ui().LabStatus->text().contains("STOPPED")) << ui().LabStatus->text().toStdString();
    EXPECT_FALSE(ui().cmdHalt->isVisible());
    EXPECT_FALSE(QFileInfo::exists(music + "/b.wma"));
}

TEST_F(ConversionTest, AnExistingOutputIsReplacedOnlyWhenTheUserSaysYes)
{
    writeSilentWav("b.wav");
    QFile old(music + "/b.wma");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the user's own file");
    old.close();
    startIn(1);

    messages.answers = {7}; // No
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(messages.texts.last().contains("ALREADY EXISTS"));
    EXPECT_EQ(QFileInfo(music + "/b.wma").size(), 19);

    messages.answers = {6}; // Yes
    ui().ListInput->setCurrentRow(0);
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_NEAR(probe(music + "/b.wma").first, 1.0, 0.15);
}

TEST_F(ConversionTest, TheAutomaticProfileAndTheEstimateFollowTheCurrentFile)
{
    QFile::copy(Data + "/codecs/mpeg25-11025-mono.mp3", music + "/low.mp3");
    QFile::copy(Data + "/codecs/cbr128-stereo.mp3", music + "/high.mp3");
    startIn(0);
    ui().Option1->click();
    EXPECT_FALSE(ui().cboProfile->isEnabled());

    ui().ListInput->setCurrentRow(1, QItemSelectionModel::ClearAndSelect); // low.mp3
    EXPECT_EQ(state.ProfileName, "a20_2");
    EXPECT_FALSE(ui().LabBarOUT->text().isEmpty());
    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect); // high.mp3
    EXPECT_EQ(state.ProfileName, "a64");
    // At 64 kbps from 128 kbps the output bar is about half the input's.
    EXPECT_NEAR(double(ui().ShapOUT->width()) / ui().ShapINP->width(), 0.52, 0.05);

    // A manual choice stays, whatever the file.
    ui().Option2->click();
    ui().cboProfile->setCurrentIndex(6);
    ui().ListInput->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(state.ProfileName, "a128");

    // Without either output, nothing can be converted.
    ui().chkWMA->click();
    EXPECT_FALSE(ui().chkWMA->isChecked());
    EXPECT_FALSE(ui().cmdGrab->isEnabled());
    EXPECT_FALSE(ui().ChkTag->isEnabled());
    ui().chkWAV->click();
    EXPECT_TRUE(ui().cmdGrab->isEnabled());
}

TEST_F(ConversionTest, TheSectionIsSetWithTheBarsAndConvertedAlone)
{
    writeSilentWav("b.wav");
    startIn(1);
    ASSERT_NEAR(state.SourceLengthMs, 1000, 5);

    ui().VScrSta->setValue(2500); // a quarter of the file
    EXPECT_EQ(ui().txtSta->text(), "0.00.250");
    EXPECT_TRUE(window->commands().isOn(MainCommand::ConvertSection));
    ui().VScrFin->setValue(1000); // before the start: stays at the start
    EXPECT_EQ(ui().txtFin->text(), "0.00.250");
    EXPECT_EQ(ui().VScrFin->value(), 2500);
    EXPECT_FALSE(window->commands().isOn(MainCommand::ConvertSection));
    ui().VScrFin->setValue(7500);
    EXPECT_EQ(ui().txtFin->text(), "0.00.750");
    EXPECT_TRUE(ui().cmdGrabCut->isEnabled());

    // The rules for the section's name come first ("Cut names rules" is on): the string "cut"
    // after the name, as they start.
    bool rulesShown = false;
    expectModal([&](QWidget *rules) {
        rulesShown = rules->objectName() == "frmCutName";
        rules->findChild<QAbstractButton *>("Cmdok")->click();
    });
    ui().cmdGrabCut->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(rulesShown);
    EXPECT_NEAR(probe(music + "/b_[cut].wma").first, 0.5, 0.1);
    EXPECT_FALSE(QFileInfo::exists(music + "/b.wma")); // never the whole file's name

    ui().cmdStaRes->click();
    ui().cmdFinRes->click();
    EXPECT_EQ(ui().txtSta->text(), "0.00.000");
    EXPECT_FALSE(state.Cut.isSet());
    EXPECT_FALSE(ui().cmdGrabCut->isEnabled());
}

TEST_F(ConversionTest, AnMp3SectionIsCutByTheSectionDecoder)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    startIn(0);
    ui().VScrSta->setValue(2500);
    ui().VScrFin->setValue(7500);
    ui().chkCutNam->click(); // no rules window: the last rule names the section
    ui().cmdGrabCut->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_NEAR(probe(music + "/a_[cut].wma").first, state.SourceLengthMs / 2000, 0.1);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(ConversionTest, TheOptionsDialogComesBeforeTheFurtherFilesOfARun)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    QFile::copy(Data + "/codecs/cbr128-stereo.mp3", music + "/b.mp3");
    startIn(0);
    ui().chkOptions->setChecked(true);
    ui().Option2->click();
    ui().chkAll->click();

    // Before the second file: a128 for it, then the run goes on.
    QString shownFile;
    expectModal([&](QWidget *dialog) {
        shownFile = dialog->findChild<QLabel *>("LabFile")->text();
        dialog->findChild<QComboBox *>("cboProfile")->setCurrentIndex(6);
        dialog->findChild<QAbstractButton *>("cmdGrab")->click();
    });
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(modalHandled());
    EXPECT_EQ(shownFile, "b.mp3");
    EXPECT_EQ(ui().cboProfile->currentIndex(), 6);
    EXPECT_TRUE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_TRUE(QFileInfo::exists(music + "/b.wma"));

    // Cancel ends the run before the second file.
    QFile::remove(music + "/a.wma");
    QFile::remove(music + "/b.wma");
    ui().chkAll->click();
    expectModal(
        [](QWidget *dialog) { dialog->findChild<QAbstractButton *>("CmdCancel")->click(); });
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_TRUE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_FALSE(QFileInfo::exists(music + "/b.wma"));
}

TEST_F(ConversionTest, AWmaConvertedOntoItselfKeepsTheOriginalBeside)
{
    QFile::copy(Data + "/browser/clip.wma", music + "/clip.wma");
    const qint64 original = QFileInfo(music + "/clip.wma").size();
    startIn(3); // WM Audio
    ui().Option2->click();
    ui().cboProfile->setCurrentIndex(0); // a20_1, mono
    ASSERT_TRUE(ui().cmdGrab->isEnabled()); // the WMA clicked alone is encoded again
    messages.answers = {6}; // Yes, replace it
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    ASSERT_EQ(messages.texts.size(), 1) << messages.texts.join(" | ").toStdString();
    EXPECT_TRUE(messages.texts[0].contains("ALREADY EXISTS"));
    EXPECT_NEAR(probe(music + "/clip.wma").first, 2.0, 0.2);
    EXPECT_EQ(QFileInfo(music + "/clip.wma.tmp.wma").size(), original)
        << QDir(music).entryList(QDir::Files | QDir::Hidden).join(", ").toStdString();

    // Encoded again: the first original stays set aside, the output is replaced once finished.
    const qint64 mono = QFileInfo(music + "/clip.wma").size();
    ui().cboProfile->setCurrentIndex(6); // a128
    window->folderBrowser().runAccess().showFile(music + "/clip.wma");
    messages.answers = {6};
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(ui().LabStatus->text().contains("Conversion completed"));
    EXPECT_GT(QFileInfo(music + "/clip.wma").size(), mono);
    EXPECT_EQ(QFileInfo(music + "/clip.wma.tmp.wma").size(), original);
}

TEST_F(ConversionTest, ConvertWithNothingMarkedAndNoCurrentFileDoesNothing)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    startIn(0);
    ui().CboType->setCurrentIndex(4); // a type change leaves no current file
    ASSERT_TRUE(ui().cmdGrab->isEnabled());
    ui().cmdGrab->click();
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
    EXPECT_FALSE(queue().isBusy());
    EXPECT_FALSE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_TRUE(ui().CboURL->isEnabled());
}

TEST_F(ConversionTest, ClosingDuringARunPutsBackTheSetAsideOriginal)
{
    QFile::copy(Data + "/browser/clip.wma", music + "/clip.wma");
    const qint64 original = QFileInfo(music + "/clip.wma").size();
    standIn("wm8eutil", "sleep 30");
    startIn(3);
    state.RunStopped = false;
    messages.answers = {6}; // replace
    queue().StartConversionRun(music + "/clip.wma");
    ASSERT_TRUE(queue().isBusy());
    ASSERT_TRUE(QFileInfo::exists(music + "/clip.wma.tmp.wma"));

    closeWindow();
    EXPECT_EQ(QFileInfo(music + "/clip.wma").size(), original);
    EXPECT_FALSE(QFileInfo::exists(music + "/clip.wma.tmp.wma"));
}

TEST_F(ConversionTest, CreateWaveAloneKeepsTheDecodedWave)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    startIn(0);
    ui().chkWMA->click(); // off
    ui().chkWAV->click(); // on
    ASSERT_TRUE(ui().cmdGrab->isEnabled());
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_FALSE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_NEAR(probe(music + "/a.wav").first, 2.04, 0.15);
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_EQ(ui().ListOutput->count(), 1);
}

TEST_F(ConversionTest, ExistingOutputsOfAMarkedBatch)
{
    for (const char *name : {"a.mp3", "b.mp3"})
        QFile::copy(Data + "/codecs/tagged.mp3", music + "/" + name);
    const auto oldOutput = [this] {
        QFile old(music + "/a.wma");
        EXPECT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    };
    oldOutput();
    startIn(0);

    // Cancel: nothing is converted.
    messages.answers = {2};
    ui().chkAll->click();
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(messages.texts.last().contains("SOME FILES ARE ALREADY EXISTING"));
    EXPECT_EQ(QFileInfo(music + "/a.wma").size(), 3);
    EXPECT_FALSE(QFileInfo::exists(music + "/b.wma"));

    // No: the existing one is kept, the other converted.
    messages.answers = {7};
    if (ui().ListInput->selectedItems().size() != 2)
        ui().chkAll->click();
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_EQ(QFileInfo(music + "/a.wma").size(), 3);
    EXPECT_GT(probe(music + "/b.wma").first, 1.9);

    // Yes: replaced.
    QFile::remove(music + "/b.wma");
    messages.answers = {6};
    if (ui().ListInput->selectedItems().size() != 2)
        ui().chkAll->click();
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_GT(probe(music + "/a.wma").first, 1.9);
    EXPECT_GT(probe(music + "/b.wma").first, 1.9);
}

TEST_F(ConversionTest, AnOutputFolderThatCannotBeWrittenIsSaid)
{
    writeSilentWav("b.wav");
    startIn(1);
    // An output folder that went away (an unplugged drive): nothing can be written there.
    state.UserOutputFolder = path("unplugged");
    ui().OptUsrDir->click();
    ui().ListInput->setCurrentRow(0);
    ui().cmdGrab->click();
    ASSERT_FALSE(messages.texts.isEmpty());
    EXPECT_TRUE(messages.texts.last().startsWith("ERROR Access denied to Disk"))
        << messages.texts.last().toStdString();
    EXPECT_FALSE(queue().isBusy());
    EXPECT_TRUE(ui().CboURL->isEnabled());
}

TEST_F(ConversionTest, AnEncoderThatReportsNothingGetsTheEstimatedProgress)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    standIn("wm8eutil", "sleep 2; echo x > \"" + music.toUtf8() + "/~tmpw_0.wma\"");
    startIn(0);
    ui().cmdGrab->click();
    // The estimate grows with the time and stops short of the end until the encoder is done.
    EXPECT_TRUE(QTest::qWaitFor([this] { return ui().LabProgr->text() == "99%"; }, 10000))
        << ui().LabProgr->text().toStdString();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(QFileInfo::exists(music + "/a.wma"));
}

// ---- A run the user can trust --------------------------------------------------------------

namespace {

void writeText(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(ConversionTest, OutputsAreAskedAboutUnderTheNamesTheRunWrites)
{
    // The editor names both files as the user's own file is named.
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/b.mp3");
    writeText(music + "/BandSong A.wma", "the user's own file");
    startIn(0);
    ui().ChkTag->setChecked(true);
    ui().chkAll->click();
    int edited = 0;
    std::function<void(QWidget *)> editor = [&](QWidget *dialog) {
        ++edited;
        dialog->findChild<QLineEdit *>("txtName")->setText("BandSong A");
        dialog->findChild<QAbstractButton *>("cmdGrab")->click();
        expectModal(editor);
    };
    expectModal(editor);
    messages.answers = {7}; // No: keep existing files
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_EQ(edited, 2);
    ASSERT_EQ(messages.texts.size(), 1) << messages.texts.join(" | ").toStdString();
    EXPECT_TRUE(messages.texts[0].contains("SOME FILES ARE ALREADY EXISTING"));
    EXPECT_EQ(readAll(music + "/BandSong A.wma"), "the user's own file");
    EXPECT_EQ(ui().LabStatus->text(), "       --- "); // both kept: nothing converted
}

TEST_F(ConversionTest, TwoSourcesOfARunNeverShareAnOutputSilently)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/x.mp3"); // 2.04 s
    writeSilentWav("x.wav"); // 1 s
    startIn(2); // MP3, WAV
    ui().chkAll->click();
    messages.answers = {7}; // No: the WAV does not take the MP3's output
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("file: " + music + "/x.wma"));
    EXPECT_NEAR(probe(music + "/x.wma").first, 2.04, 0.15);
    EXPECT_TRUE(window->statusLine().dotShown());
    EXPECT_EQ(ui().LabProgrNum->text(), "2/2");
}

TEST_F(ConversionTest, PassedOverWmaFilesDoNotEndTheRunEarly)
{
    QFile::copy(Data + "/browser/clip.wma", music + "/01 old.wma");
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/02 a.mp3");
    QFile::copy(Data + "/codecs/mono.mp3", music + "/03 b.mp3");
    writeSilentWav("04 c.wav");
    const QByteArray old = readAll(music + "/01 old.wma");
    startIn(4); // Supported
    ui().chkAll->click();
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    for (const char *made : {"02 a.wma", "03 b.wma", "04 c.wma"})
        EXPECT_GT(probe(music + "/" + made).first, 0.9) << made;
    EXPECT_EQ(readAll(music + "/01 old.wma"), old);
    EXPECT_EQ(ui().LabStatus->text(), "      Conversion completed - File: 04 c.wma");
    EXPECT_EQ(ui().LabProgrNum->text(), "3/3");
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}

TEST_F(ConversionTest, AnAnswerBelongsToTheRunItWasGivenIn)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/b.mp3");
    writeText(music + "/a.wma", "old");
    startIn(0);
    ui().chkAll->click();
    messages.answers = {7}; // No for the batch: a.wma stays
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_EQ(readAll(music + "/a.wma"), "old");

    // The file alone, a Yes: replaced, whatever the batch was told.
    ui().ListInput->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    ui().ListInput->clearSelection();
    messages.answers = {6};
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(messages.texts.last().contains("ALREADY EXISTS"));
    EXPECT_NEAR(probe(music + "/a.wma").first, 2.04, 0.15);
}

TEST_F(ConversionTest, AFailedConversionKeepsTheFileItWasToReplace)
{
    writeSilentWav("x.wav");
    writeText(music + "/x.wma", "old");
    // An encoder killed in the middle of its output.
    standIn("wm8eutil", "echo partial > \"" + music.toUtf8() + "/~tmpw_0.wma\"; kill -9 $$");
    startIn(1);
    messages.answers = {6}; // Yes, replace
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_EQ(readAll(music + "/x.wma"), "old");
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(", ").toStdString();
    EXPECT_TRUE(ui().LabStatus->text().contains("STOPPED")) << ui().LabStatus->text().toStdString();
    EXPECT_TRUE(messages.texts.last().startsWith("file: " + music + "/x.wav"));
    EXPECT_TRUE(messages.texts.last().contains("wm8eutil"));

    // An output folder that fills up, for the decoder (an MP3) and the encoder (a WAV).
    const QString full = path("full");
    QDir().mkpath(full);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=96k", "tmpfs", full}) != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {full}); });
    QFile::remove(appFolder + "/wm8eutil");
    QFile::link(QStringLiteral(TONVERA_BIN_DIR "/wm8eutil"), appFolder + "/wm8eutil");
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/y.mp3");
    ASSERT_TRUE(::writeSilentWav(music + "/z.wav", 30.0));
    writeText(full + "/y.wma", "old y");
    writeText(full + "/z.wma", "old z");
    state.UserOutputFolder = full;
    ui().OptUsrDir->click();
    ui().CboType->setCurrentIndex(2); // MP3, WAV
    for (const char *source : {"y.mp3", "z.wav"}) {
        window->folderBrowser().runAccess().showFile(music + "/" + source);
        messages.answers = {6};
        ui().cmdGrab->click();
        ASSERT_TRUE(waitForTheRun());
        EXPECT_TRUE(messages.texts.last().contains("No space left"))
            << source << ": " << messages.texts.last().toStdString();
        EXPECT_TRUE(window->statusLine().dotShown());
        EXPECT_EQ(
            QDir(full).entryList(QDir::Files | QDir::Hidden), QStringList({"y.wma", "z.wma"}));
    }
    EXPECT_EQ(readAll(full + "/y.wma"), "old y");
    EXPECT_EQ(readAll(full + "/z.wma"), "old z");
}

TEST_F(ConversionTest, CommandsDuringARunChangeNothingOfIt)
{
    writeSilentWav("b.wav");
    writeSilentWav("c.wav");
    // An encoder that takes its time, then leaves its output.
    standIn("wm8eutil", "sleep 1; echo x > \"" + music.toUtf8() + "/~tmpw_0.wma\"");
    startIn(1);
    ui().ListInput->clearSelection(); // nothing marked: the current file alone
    ui().cmdGrab->click(); // b.wav, in the background
    ASSERT_TRUE(queue().isBusy());
    ASSERT_TRUE(ui().ListInput->isEnabled());

    // The user goes on: marks c.wav and asks for more conversions meanwhile.
    ui().ListInput->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    queue().cmdGrabCut_Click();
    ui().cmdGrab->click();
    queue().mnuGrab_Click();
    EXPECT_FALSE(state.CutSectionOnly);
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(QFileInfo::exists(music + "/b.wma"));
    EXPECT_FALSE(QFileInfo::exists(music + "/c.wma"));
    EXPECT_EQ(ui().ListInput->selectedItems().size(), 1); // c.wav keeps the user's mark
    EXPECT_TRUE(ui().LabStatus->text().contains("Conversion completed - File: b.wma"));
}

TEST_F(ConversionTest, SectionsFromAStartAloneAndAfterTheEnd)
{
    writeSilentWav("b.wav");
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    startIn(1);
    ui().VScrSta->setValue(2500); // from a quarter to the end
    ui().chkCutNam->click(); // the last rule names the section, no window
    ui().cmdGrabCut->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_NEAR(probe(music + "/b_[cut].wma").first, 0.75, 0.1);

    // An MP3's section that starts after its end is refused, and nothing is made.
    ui().CboType->setCurrentIndex(0);
    ui().ListInput->setCurrentRow(0);
    state.Cut.setStartMs(state.SourceLengthMs + 500);
    queue().cmdGrabCut_Click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(ui().LabStatus->text().contains("ERROR inflating file"));
    ASSERT_FALSE(messages.texts.isEmpty());
    EXPECT_TRUE(messages.texts.last().contains("after the end"));
    EXPECT_FALSE(QFileInfo::exists(music + "/a_[cut].wma"));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(ConversionTest, WithoutWmaOutputOnlyWavesAreMade)
{
    QFile::copy(Data + "/codecs/tagged.mp3", music + "/a.mp3");
    writeSilentWav("b.wav");
    writeText(music + "/b.wma", "old");
    startIn(2);
    ui().chkWMA->click(); // off
    ui().chkWAV->click(); // on
    ui().chkAll->click();
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_NEAR(probe(music + "/a.wav").first, 2.04, 0.15);
    EXPECT_EQ(readAll(music + "/b.wma"), "old"); // a WAV source has nothing to make
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();

    // A decoded wave that cannot take its name is a failure, never a success.
    QFile::remove(music + "/a.wav");
    QDir().mkpath(music + "/a.wav/in the way");
    window->folderBrowser().runAccess().showFile(music + "/a.mp3");
    ui().ListInput->clearSelection();
    messages.answers = {6};
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(messages.texts.last().contains("cannot take its name"))
        << messages.texts.last().toStdString();
    EXPECT_FALSE(ui().LabStatus->text().contains("completed"));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(ConversionTest, AutomaticSettingInTheOptionsChoosesForTheNextFile)
{
    QFile::copy(Data + "/codecs/cbr128-stereo.mp3", music + "/high.mp3");
    QFile::copy(Data + "/codecs/mpeg25-11025-mono.mp3", music + "/low.mp3");
    startIn(0);
    ui().chkOptions->setChecked(true);
    ui().Option2->click();
    ui().cboProfile->setCurrentIndex(6); // a128 for the first file
    ui().chkAll->click();
    expectModal([](QWidget *dialog) {
        dialog->findChild<QAbstractButton *>("Option1")->click();
        dialog->findChild<QAbstractButton *>("cmdGrab")->click();
    });
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(ui().Option1->isChecked());
    // low.mp3 (11 kHz mono) got the small profile chosen for it, not the first file's.
    EXPECT_LT(QFileInfo(music + "/low.wma").size() * 3, QFileInfo(music + "/high.wma").size());
}

// An MP3 tagged with care keeps every field a player shows, each in its own attribute, and its
// front cover byte for byte; the tag editor's album, year and genre reach the same attributes.
TEST_F(ConversionTest, EveryTagAndTheCoverReachTheWma)
{
    const QString cover = path("front.jpg");
    const auto ffmpeg = [](const QStringList &arguments) {
        return QProcess::execute("ffmpeg", QStringList {"-nostdin", "-v", "error"} + arguments);
    };
    ASSERT_EQ(
        ffmpeg({"-f", "lavfi", "-i", "testsrc=size=400x400:duration=1", "-frames:v", "1", cover}),
        0);
    for (const char *name : {"a.mp3", "b.mp3"}) {
        ASSERT_EQ(
            ffmpeg({"-f", "lavfi", "-i", "sine=duration=1", "-i", cover, "-map", "0", "-map", "1",
                "-c:v", "copy", "-id3v2_version", "3", "-write_id3v1", "1", "-metadata:s:v",
                "comment=Cover (front)", "-metadata", "title=Evening Tone", "-metadata",
                "artist=Test Band", "-metadata", "album=Fixtures Album", "-metadata", "track=5/12",
                "-metadata", "date=2001", "-metadata", "genre=Jazz", "-metadata",
                "album_artist=The Band", "-metadata", "composer=Zoë Ørsted", music + "/" + name}),
            0);
    }
    QFile coverFile(cover);
    ASSERT_TRUE(coverFile.open(QIODevice::ReadOnly));
    const QString coverSha1
        = QCryptographicHash::hash(coverFile.readAll(), QCryptographicHash::Sha1).toHex();
    startIn(0);

    ui().ListInput->setCurrentRow(0);
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    QMap<QString, QString> texts = ffprobeFormat(music + "/a.wma");
    const QMap<QString, QString> expected = {{"tag:title", "Evening Tone"},
        {"tag:artist", "Test Band"}, {"tag:album", "Fixtures Album"}, {"tag:track", "5/12"},
        {"tag:wm/year", "2001"}, {"tag:genre", "Jazz"}, {"tag:album_artist", "The Band"},
        {"tag:composer", "Zoë Ørsted"}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(texts.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(asfAttributes(music + "/a.wma").value("WM/Picture"), "3 image/jpeg " + coverSha1);

    ui().ListInput->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    ASSERT_EQ(state.SourcePath, music + "/b.mp3");
    ui().ChkTag->setChecked(true);
    expectModal([](QWidget *dialog) {
        dialog->findChild<QLineEdit *>("txtAlb")->setText("Edited Album");
        dialog->findChild<QLineEdit *>("txtYear")->setText("1999");
        dialog->findChild<QComboBox *>("cboGenre")->setEditText("Blues");
        dialog->findChild<QAbstractButton *>("cmdGrab")->click();
    });
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    texts = ffprobeFormat(music + "/b.wma");
    EXPECT_EQ(texts.value("tag:album"), "Edited Album");
    EXPECT_EQ(texts.value("tag:wm/year"), "1999");
    EXPECT_EQ(texts.value("tag:genre"), "Blues");
    EXPECT_EQ(texts.value("tag:album_artist"), "The Band");
    EXPECT_EQ(asfAttributes(music + "/b.wma").value("WM/Picture"), "3 image/jpeg " + coverSha1);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();

    // A WMA encoded onto itself keeps them all, and its description is not composed again.
    const QMap<QString, QString> before = ffprobeFormat(music + "/a.wma");
    ui().ChkTag->setChecked(false);
    window->folderBrowser().runAccess().showFile(music + "/a.wma");
    messages.answers = {6}; // Yes, replace it
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    texts = ffprobeFormat(music + "/a.wma");
    for (const QString &key : expected.keys() + QStringList {"tag:comment"})
        EXPECT_EQ(texts.value(key), before.value(key)) << key.toStdString();
    EXPECT_EQ(asfAttributes(music + "/a.wma").value("WM/Picture"), "3 image/jpeg " + coverSha1);
}

// Real-world MP3s from taggers and encoders: what a player reads in each WMA, field by field, is
// what an independent reader (mutagen) reads in its MP3.
TEST_F(ConversionTest, RealWorldTagsReadTheSameInTheWma)
{
    const QString fixtures = Data + "/taglet/modern";
    const QStringList names = QDir(fixtures).entryList({"*.mp3"}, QDir::Files);
    for (const QString &name : names)
        ASSERT_TRUE(QFile::copy(fixtures + "/" + name, music + "/" + name));
    startIn(0);
    ui().chkAll->click();
    ASSERT_EQ(ui().ListInput->selectedItems().size(), names.size());
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun(180000));
    EXPECT_TRUE(ui().LabStatus->text().contains("Conversion completed"))
        << ui().LabStatus->text().toStdString();

    const QMap<QString, QString> asfName = {{"title", "Title"}, {"artist", "Author"},
        {"album", "WM/AlbumTitle"}, {"track", "WM/TrackNumber"}, {"year", "WM/Year"},
        {"genre", "WM/Genre"}, {"albumartist", "WM/AlbumArtist"}, {"composer", "WM/Composer"},
        {"cover", "WM/Picture"}};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        QProcess reader;
        reader.start("/usr/bin/python3",
            {TONVERA_SOURCE_DIR "/tests/support/id3_fields.py", music + "/" + name});
        ASSERT_TRUE(reader.waitForFinished(30000));
        QMap<QString, QString> source;
        for (const QString &line : QString::fromUtf8(reader.readAllStandardOutput()).split('\n'))
            if (line.contains('='))
                source[line.section('=', 0, 0)] = line.section('=', 1);
        const QString wma = music + "/" + QFileInfo(name).completeBaseName() + ".wma";
        const QMap<QString, QString> output = asfAttributes(wma);
        for (auto it = asfName.begin(); it != asfName.end(); ++it)
            EXPECT_EQ(output.value(it.value()), source.value(it.key())) << it.key().toStdString();
    }
}

// Three files in flight: STOP ends them all, and an encoder that fails on one of them ends the
// others too; either way no temporary file or script is left, an output the user let be
// replaced is still the user's, and a failure names its file.
TEST_F(ConversionTest, FilesInFlightTogetherStopAndFailTogether)
{
    writeSilentWav("a.wav");
    writeSilentWav("b.wav");
    writeSilentWav("c.wav");
    writeText(music + "/c.wma", "the user's own c.wma");
    const QByteArray original = readAll(music + "/c.wma");
    // Each encoder starts its output (named in its configuration, the script's last word) and
    // takes its time; the one given b.wav fails once all three are under way.
    standIn("wm8eutil", R"sh(for c; do :; done
out=$(sed -n 's/^-output \(.*\)\r$/\1/p' "$c")
touch "$out"
if grep -q '/b.wav' "$c" && [ -f "$FAIL_B" ]; then
  while [ "$(ls "$(dirname "$out")"/~tmpw_*.wma | wc -l)" -lt 3 ]; do sleep 0.05; done
  echo "b went wrong" >&2; exit 1
fi
sleep 30)sh");
    storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "4"}, {"FilesAtOnce", "3"}});
    ASSERT_TRUE(start());
    ui().chkWMA->setChecked(true);
    const auto allInFlight = [this] {
        return QTest::qWaitFor(
            [this] { return QDir(music).entryList({"~tmpw_*.wma"}, QDir::Files).size() == 3; },
            20000);
    };
    const auto nothingLeft = [&] {
        EXPECT_FALSE(queue().isBusy());
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(", ").toStdString();
        EXPECT_EQ(QDir(music).entryList({"~tmpw_*"}, QDir::Files | QDir::Hidden), QStringList());
        for (int slot = 1; slot < 3; ++slot) {
            EXPECT_FALSE(QFileInfo::exists(SlotFilePath(state.ConfigFilePath, slot)));
            EXPECT_FALSE(QFileInfo::exists(SlotFilePath(state.BatchFilePath, slot)));
        }
        EXPECT_EQ(readAll(music + "/c.wma"), original);
    };

    messages.answers = {6}; // Yes: c.wma may be replaced
    ui().chkAll->click();
    ui().cmdGrab->click();
    ASSERT_TRUE(allInFlight());
    messages.answers = {6}; // Yes, quit
    ui().cmdHalt->click();
    nothingLeft();
    EXPECT_TRUE(ui().LabStatus->text().contains("STOPPED")) << ui().LabStatus->text().toStdString();

    writeText(path("fail-b"), "");
    qputenv("FAIL_B", path("fail-b").toUtf8());
    const auto unset = qScopeGuard([] { qunsetenv("FAIL_B"); });
    messages.texts.clear();
    messages.answers = {6};
    ui().cmdGrab->click();
    ASSERT_TRUE(waitForTheRun());
    nothingLeft();
    ASSERT_EQ(messages.texts.size(), 2) << messages.texts.join(" | ").toStdString();
    EXPECT_TRUE(messages.texts[1].startsWith("file: " + music + "/b.wav"))
        << messages.texts[1].toStdString();
    EXPECT_TRUE(messages.texts[1].contains("b went wrong"));
}
