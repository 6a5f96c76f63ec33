// Conversion runs in the real window with the real decoder and encoder (or stand-ins that fail
// or hang), checked on disk, with ffprobe and with mutagen.
#include "AsfAttributes.h"
#include "ScopedEnv.h"
#include "SilentWav.h"
#include "WindowFixture.h"

#include "core/BrowserAccess.h"
#include "core/MainCommands.h"
#include "core/StatusLine.h"
#include "core/WorkFiles.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA);

// ffprobe's duration of a file; -1 when it is not readable media.
double seconds(const QString &path)
{
    return ffprobeFormat(path).value("duration", "-1").toDouble();
}

class ConversionTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        linkHelpers();
    }

    // A source in the music folder: a WAV of this length, or a copy of a fixture.
    void put(const QString &name, const QString &fixture = "", double wavSeconds = 1.0)
    {
        if (fixture.isEmpty())
            ASSERT_TRUE(writeSilentWav(music + "/" + name, wavSeconds));
        else
            ASSERT_TRUE(QFile::copy(Data + "/" + fixture, music + "/" + name))
                << fixture.toStdString();
    }

    // A click on Convert and the end of the run.
    void convert(QList<int> answers = {})
    {
        messages.answers = answers;
        ui().cmdGrab->click();
        ASSERT_TRUE(waitForTheRun());
    }

    void show(const QString &name)
    {
        window->folderBrowser().runAccess().showFile(music + "/" + name);
    }
    ConversionQueue &queue() { return window->conversion(); }
    QString status() const { return ui().LabStatus->text(); }
    QString said() const { return messages.texts.value(messages.texts.size() - 1); }

    QStringList leftovers() const
    {
        return QDir(music).entryList(
            {"~tmpw_*", "*.tmp.wma", ".*.part-*"}, QDir::Files | QDir::Hidden);
    }
};

} // namespace

// Each way a file fails: the user learns which file and why, no output takes the final name, an
// output the user let be replaced is still there, and no temporary file is left.
TEST_F(ConversionTest, FailuresAreSaidAndLeaveTheUsersFiles)
{
    // what goes wrong, the source, how it is arranged; what is said, the status (none when the
    // run does not start), an output of the user's already there
    const std::tuple<const char *, QString, std::function<void()>, QString, QString, QByteArray>
        cases[] = {
            {"a failing encoder", "b.wav",
                [this] { standIn("wm8eutil", "echo 'wm8eutil: the disk is full' >&2; exit 3"); },
                "the disk is full", "STOPPED while converting file: b.wma", ""},
            // No half-made WAV goes on to the encoder.
            {"a failing decoder", "a.mp3",
                [this] {
                    standIn("tnvr3w", "echo 'tnvr3w: broken frame' >&2; touch \"$2\"; exit 2");
                },
                "broken frame", "ERROR inflating file a.mp3", ""},
            {"no decoder", "a.mp3", [this] { QFile::remove(appFolder + "/tnvr3w"); }, "tnvr3w",
                "ERROR inflating file a.mp3", ""},
            {"a decoder that ends well without its wave", "a.mp3",
                [this] { standIn("tnvr3w", "exit 0"); }, "the decoded file is missing",
                "ERROR inflating file a.mp3", ""},
            // Emptied after the panel found it sound: the size check alone refuses it.
            {"an empty file", "e.mp3",
                [this] {
                    show("e.mp3");
                    QFile(music + "/e.mp3").resize(0);
                },
                "INVALID FILE FORMAT", "STOPPED while converting file: e.mp3", ""},
            {"an encoder killed in the middle of its output", "x.wav",
                [this] {
                    standIn("wm8eutil",
                        "echo partial > \"" + music.toUtf8() + "/~tmpw_0.wma\"; kill -9 $$");
                },
                "wm8eutil", "STOPPED while converting file: x.wma", "old"},
            {"an output folder that went away (an unplugged drive)", "b.wav",
                [this] {
                    state.UserOutputFolder = path("unplugged");
                    ui().OptUsrDir->click();
                },
                "ERROR Access denied to Disk", "", ""},
            {"a decoded wave that cannot take its name", "a.mp3",
                [this] {
                    ui().chkWMA->click(); // off
                    ui().chkWAV->click(); // on
                    QDir().mkpath(music + "/a.wav/in the way");
                },
                "cannot take its name", "ERROR inflating file a.mp3", ""},
        };
    int folder = 0;
    for (const auto &[what, source, arrange, message, end, oldOutput] : cases) {
        SCOPED_TRACE(what);
        music = path(QString("case%1").arg(++folder));
        QDir().mkpath(music);
        source.endsWith(".mp3") ? put(source, "codecs/tagged.mp3") : put(source);
        const QString output = music + "/" + source.chopped(4) + ".wma";
        if (!oldOutput.isEmpty())
            writeFile(output, oldOutput);
        linkHelpers();
        startIn(source.endsWith(".mp3") ? 0 : 1);
        arrange();
        select(source);
        messages.texts.clear();
        convert({Yes});
        EXPECT_TRUE(said().contains(message)) << said().toStdString();
        if (!end.isEmpty()) {
            EXPECT_TRUE(said().startsWith("file: " + music + "/" + source)) << said().toStdString();
            EXPECT_TRUE(status().contains(end)) << status().toStdString();
        }
        EXPECT_EQ(readAll(output), oldOutput.isEmpty() ? "<missing>" : oldOutput);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(", ").toStdString();
        EXPECT_TRUE(ui().CboURL->isEnabled());
        // The run stopped: the red dot stays while the user looks at files.
        show(source);
        EXPECT_TRUE(window->statusLine().dotShown());
    }
}

// An output folder that fills up, for the decoder (an MP3) and the encoder (a WAV).
TEST_F(ConversionTest, AFullOutputFolderKeepsTheOldOutputs)
{
    const QString full = path("full");
    QDir().mkpath(full);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=96k", "tmpfs", full}) != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {full}); });
    put("y.mp3", "codecs/tagged.mp3");
    put("z.wav", "", 30.0);
    writeFile(full + "/y.wma", "old y");
    writeFile(full + "/z.wma", "old z");
    startIn(2);
    state.UserOutputFolder = full;
    ui().OptUsrDir->click();
    for (const char *source : {"y.mp3", "z.wav"}) {
        show(source);
        convert({Yes});
        EXPECT_TRUE(said().contains("No space left")) << source << ": " << said().toStdString();
        EXPECT_TRUE(window->statusLine().dotShown());
        EXPECT_EQ(
            QDir(full).entryList(QDir::Files | QDir::Hidden), QStringList({"y.wma", "z.wma"}));
    }
    EXPECT_EQ(readAll(full + "/y.wma"), "old y");
    EXPECT_EQ(readAll(full + "/z.wma"), "old z");
}

// Three files in flight: STOP ends them all, and an encoder that fails on one of them ends the
// others too; either way no temporary file or script is left, an output the user let be
// replaced is still the user's, and a failure names its file.
TEST_F(ConversionTest, FilesInFlightTogetherStopAndFailTogether)
{
    for (const char *name : {"a.wav", "b.wav", "c.wav"})
        put(name);
    writeFile(music + "/c.wma", "the user's own c.wma");
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
    startIn(4, {{"FilesAtOnce", "3"}});
    const auto allInFlight = [this] {
        return QTest::qWaitFor(
            [this] { return QDir(music).entryList({"~tmpw_*.wma"}, QDir::Files).size() == 3; },
            20000);
    };
    const auto nothingLeft = [&] {
        EXPECT_FALSE(queue().isBusy());
        EXPECT_FALSE(ui().cmdHalt->isVisible());
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(", ").toStdString();
        for (int slot = 1; slot < 3; ++slot) {
            EXPECT_FALSE(QFileInfo::exists(SlotFilePath(state.ConfigFilePath, slot)));
            EXPECT_FALSE(QFileInfo::exists(SlotFilePath(state.BatchFilePath, slot)));
        }
        EXPECT_EQ(readAll(music + "/c.wma"), "the user's own c.wma");
        for (const char *output : {"/a.wma", "/b.wma"})
            EXPECT_FALSE(QFileInfo::exists(music + output));
    };

    messages.answers = {Yes}; // c.wma may be replaced
    ui().chkAll->click();
    ui().cmdGrab->click();
    ASSERT_TRUE(allInFlight());
    EXPECT_TRUE(ui().cmdHalt->isVisible());
    messages.answers = {Yes}; // Yes, quit
    ui().cmdHalt->click();
    nothingLeft();
    EXPECT_TRUE(status().contains("STOPPED")) << status().toStdString();

    writeFile(path("fail-b"), "");
    const ScopedEnv failB("FAIL_B", path("fail-b").toUtf8());
    messages.texts.clear();
    convert({Yes});
    nothingLeft();
    ASSERT_EQ(messages.texts.size(), 2) << messages.texts.join(" | ").toStdString();
    EXPECT_TRUE(messages.texts[1].startsWith("file: " + music + "/b.wav")) << said().toStdString();
    EXPECT_TRUE(messages.texts[1].contains("b went wrong"));
}

// Encoded again, a WMA is set aside until its output is finished: closing the window during the
// run puts it back; two runs keep the first original beside the output, replaced once finished.
TEST_F(ConversionTest, AWmaEncodedAgainKeepsItsFirstOriginal)
{
    put("clip.wma", "browser/clip.wma");
    const QByteArray original = readAll(music + "/clip.wma");
    standIn("wm8eutil", "sleep 30");
    startIn(3);
    messages.answers = {Yes}; // replace
    queue().StartConversionRun(music + "/clip.wma");
    ASSERT_TRUE(queue().isBusy());
    ASSERT_TRUE(QFileInfo::exists(music + "/clip.wma.tmp.wma"));
    closeWindow();
    EXPECT_EQ(readAll(music + "/clip.wma"), original);
    EXPECT_FALSE(QFileInfo::exists(music + "/clip.wma.tmp.wma"));

    linkHelpers();
    startIn(3);
    select("clip.wma");
    ui().Option2->click();
    ui().cboProfile->setCurrentIndex(0); // a20_1, mono
    ASSERT_TRUE(ui().cmdGrab->isEnabled()); // the WMA clicked alone is encoded again
    convert({Yes});
    ASSERT_NE(readAll(music + "/clip.wma"), original) << "the WMA marked alone, encoded again";
    const qint64 mono = QFileInfo(music + "/clip.wma").size();
    ui().cboProfile->setCurrentIndex(6); // a128
    show("clip.wma");
    messages.texts.clear();
    convert({Yes});
    EXPECT_EQ(messages.texts.size(), 1) << messages.texts.join(" | ").toStdString();
    EXPECT_TRUE(status().contains("Conversion completed"));
    EXPECT_NEAR(seconds(music + "/clip.wma"), 2.0, 0.2);
    EXPECT_GT(QFileInfo(music + "/clip.wma").size(), mono);
    EXPECT_EQ(readAll(music + "/clip.wma.tmp.wma"), original);
}

// A run takes its files at its start: marks, clicks and commands meanwhile change none of it.
// Its encoder reports nothing: the bar follows the estimate, short of the end until it is done.
TEST_F(ConversionTest, ARunOwnsItsFilesAndTheBarFollowsTheEstimate)
{
    put("a.mp3", "codecs/tagged.mp3");
    put("c.wav");
    standIn("wm8eutil", "sleep 2; echo x > \"" + music.toUtf8() + "/~tmpw_0.wma\"");
    startIn(2);
    select("a.mp3");
    ui().ListInput->clearSelection(); // nothing marked: the current file alone
    ui().cmdGrab->click(); // in the background
    ASSERT_TRUE(queue().isBusy());
    ASSERT_TRUE(ui().ListInput->isEnabled());

    select("c.wav");
    queue().cmdGrabCut_Click();
    ui().cmdGrab->click();
    queue().mnuGrab_Click();
    EXPECT_FALSE(state.CutSectionOnly);
    EXPECT_TRUE(QTest::qWaitFor([this] { return ui().LabProgr->text() == "99%"; }, 10000))
        << ui().LabProgr->text().toStdString();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(QFileInfo::exists(music + "/a.wma"));
    EXPECT_FALSE(QFileInfo::exists(music + "/c.wma"));
    EXPECT_EQ(ui().ListInput->selectedItems().size(), 1); // c.wav keeps the user's mark
    EXPECT_TRUE(status().contains("Conversion completed - File: a.wma"));
}

// The options dialog before each further file of a run: what is chosen there is used for that
// file and written back; Cancel ends the run before the file.
TEST_F(ConversionTest, TheOptionsDialogComesBeforeTheFurtherFilesOfARun)
{
    put("high.mp3", "codecs/cbr128-stereo.mp3");
    put("low.mp3", "codecs/mpeg25-11025-mono.mp3");
    startIn(0);
    ui().chkOptions->setChecked(true);
    ui().Option2->click();
    ui().cboProfile->setCurrentIndex(6); // a128 for the first file
    ui().chkAll->click();
    QString shownFile;
    expectModal([&](QWidget *dialog) {
        shownFile = dialog->findChild<QLabel *>("LabFile")->text();
        dialog->findChild<QAbstractButton *>("Option1")->click();
        dialog->findChild<QAbstractButton *>("cmdGrab")->click();
    });
    convert();
    EXPECT_TRUE(modalHandled());
    EXPECT_EQ(shownFile, "low.mp3");
    EXPECT_TRUE(ui().Option1->isChecked());
    // low.mp3 (11 kHz mono) got the small profile chosen for it, not the first file's.
    EXPECT_LT(QFileInfo(music + "/low.wma").size() * 3, QFileInfo(music + "/high.wma").size());

    QFile::remove(music + "/high.wma");
    QFile::remove(music + "/low.wma");
    ui().chkAll->click();
    expectModal(
        [](QWidget *dialog) { dialog->findChild<QAbstractButton *>("CmdCancel")->click(); });
    convert();
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_TRUE(QFileInfo::exists(music + "/high.wma"));
    EXPECT_FALSE(QFileInfo::exists(music + "/low.wma"));
}

// The bars set the section (a finish before the start stays at the start); the section converts
// alone under a name of its own, an MP3's through the section decoder; a start alone runs to the
// end, and a start after the end is refused.
TEST_F(ConversionTest, TheSectionIsSetWithTheBarsAndConvertedAlone)
{
    put("b.wav");
    put("c.wav");
    put("a.mp3", "codecs/tagged.mp3");
    startIn(2);
    select("b.wav");
    ASSERT_NEAR(state.SourceLengthMs, 1000, 5);
    ui().VScrSta->setValue(2500); // a quarter of the file
    EXPECT_EQ(ui().txtSta->text(), "0.00.250");
    EXPECT_TRUE(window->commands().isOn(MainCommand::ConvertSection));
    ui().VScrFin->setValue(1000);
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
    EXPECT_NEAR(seconds(music + "/b_[cut].wma"), 0.5, 0.1);
    EXPECT_FALSE(QFileInfo::exists(music + "/b.wma")); // never the whole file's name
    ui().cmdStaRes->click();
    ui().cmdFinRes->click();
    EXPECT_EQ(ui().txtSta->text(), "0.00.000");
    EXPECT_FALSE(state.Cut.isSet());
    EXPECT_FALSE(ui().cmdGrabCut->isEnabled());

    select("c.wav");
    ui().VScrSta->setValue(2500);
    ui().chkCutNam->click(); // no rules window: the last rule names the section
    ui().cmdGrabCut->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_NEAR(seconds(music + "/c_[cut].wma"), 0.75, 0.1);

    select("a.mp3");
    state.Cut.setStartMs(state.SourceLengthMs + 500);
    queue().cmdGrabCut_Click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_TRUE(status().contains("ERROR inflating file"));
    EXPECT_TRUE(said().contains("after the end")) << said().toStdString();
    EXPECT_FALSE(QFileInfo::exists(music + "/a_[cut].wma"));

    select("a.mp3");
    ui().VScrSta->setValue(2500);
    ui().VScrFin->setValue(7500);
    ui().cmdGrabCut->click();
    ASSERT_TRUE(waitForTheRun());
    EXPECT_NEAR(seconds(music + "/a_[cut].wma"), state.SourceLengthMs / 2000, 0.1);
    EXPECT_TRUE(leftovers().isEmpty());
}

// "Create Wave" alone keeps an MP3's decoded wave and asks nothing (a WAV source has nothing to
// make); an answer belongs to the run it was given in; with nothing marked and no current file,
// Convert does nothing.
TEST_F(ConversionTest, WavesAloneAnswersPerRunAndNothingToConvert)
{
    put("a.mp3", "codecs/tagged.mp3");
    put("b.wav");
    writeFile(music + "/a.wma", "old");
    startIn(2);
    ui().chkWMA->click(); // off
    ui().chkWAV->click(); // on
    ui().chkAll->click();
    convert();
    EXPECT_EQ(readAll(music + "/a.wma"), "old");
    EXPECT_NEAR(seconds(music + "/a.wav"), 2.04, 0.15);
    EXPECT_TRUE(status().contains("Conversion completed - File: a.wav")) << status().toStdString();
    EXPECT_FALSE(QFileInfo::exists(music + "/b.wma"));
    EXPECT_EQ(ui().ListOutput->count(), 1);
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();

    ui().chkWMA->click(); // on
    ui().chkWAV->click(); // off
    ui().ListInput->selectAll();
    convert({No}); // for the batch: a.wma stays
    EXPECT_EQ(readAll(music + "/a.wma"), "old");
    EXPECT_NEAR(seconds(music + "/b.wma"), 1.0, 0.15);
    // The file alone, a Yes: replaced, whatever the batch was told.
    select("a.mp3");
    ui().ListInput->clearSelection();
    convert({Yes});
    EXPECT_TRUE(said().contains("ALREADY EXISTS"));
    EXPECT_NEAR(seconds(music + "/a.wma"), 2.04, 0.15);

    const QStringList files = QDir(music).entryList(QDir::Files);
    messages.texts.clear();
    ui().CboType->setCurrentIndex(4); // a type change leaves no current file
    ASSERT_TRUE(ui().cmdGrab->isEnabled());
    ui().cmdGrab->click();
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
    EXPECT_FALSE(queue().isBusy());
    EXPECT_EQ(QDir(music).entryList(QDir::Files), files);
    EXPECT_TRUE(ui().CboURL->isEnabled());
}
// What a player reads in each WMA, field by field and the front cover, is what an independent
// reader (mutagen) reads in its MP3: real-world MP3s of taggers and encoders, and one tagged as
// an album track with a cover. The tag editor's fields reach the same attributes, and a WMA
// encoded onto itself keeps them all, its description not composed a second time.
TEST_F(ConversionTest, EveryTagAndTheCoverReachTheWma)
{
    const QString cover = path("front.jpg");
    QStringList ffmpeg = {"-nostdin", "-v", "error", "-f", "lavfi", "-i",
        "testsrc=size=400x400:duration=1", "-frames:v", "1", cover};
    ASSERT_EQ(QProcess::execute("ffmpeg", ffmpeg), 0);
    ffmpeg = {"-nostdin", "-v", "error", "-f", "lavfi", "-i", "sine=duration=1", "-i", cover,
        "-map", "0", "-map", "1", "-c:v", "copy", "-id3v2_version", "3", "-write_id3v1", "1",
        "-metadata:s:v", "comment=Cover (front)"};
    for (const char *field :
        {"title=Evening Tone", "artist=Test Band", "album=Fixtures Album", "track=5/12",
            "date=2001", "genre=Jazz", "album_artist=The Band", "composer=Zoë Ørsted"})
        ffmpeg << "-metadata" << field;
    for (const char *name : {"album.mp3", "edited.mp3"})
        ASSERT_EQ(QProcess::execute("ffmpeg", ffmpeg + QStringList {music + "/" + name}), 0);
    const QStringList mp3s = QDir(Data + "/taglet/modern").entryList({"*.mp3"}) << "album.mp3";
    for (const QString &name : mp3s.mid(0, mp3s.size() - 1))
        put(name, "taglet/modern/" + name);
    QFile coverFile(cover);
    ASSERT_TRUE(coverFile.open(QIODevice::ReadOnly));
    const QString picture = "3 image/jpeg "
        + QCryptographicHash::hash(coverFile.readAll(), QCryptographicHash::Sha1).toHex();
    startIn(0);
    ui().chkAll->click();
    ui().ListInput->item(int(listed().indexOf("edited.mp3")))->setSelected(false);
    convert();
    EXPECT_TRUE(status().contains("Conversion completed")) << status().toStdString();
    const QMap<QString, QString> asfName = {{"title", "Title"}, {"artist", "Author"},
        {"album", "WM/AlbumTitle"}, {"track", "WM/TrackNumber"}, {"year", "WM/Year"},
        {"genre", "WM/Genre"}, {"albumartist", "WM/AlbumArtist"}, {"composer", "WM/Composer"},
        {"cover", "WM/Picture"}};
    for (const QString &name : mp3s) {
        const QMap<QString, QString> source = id3Fields(music + "/" + name);
        const QMap<QString, QString> output = asfAttributes(music + "/" + name.chopped(4) + ".wma");
        for (auto it = asfName.begin(); it != asfName.end(); ++it)
            EXPECT_EQ(output.value(it.value()), source.value(it.key()))
                << name.toStdString() << ": " << it.key().toStdString();
    }
    EXPECT_EQ(asfAttributes(music + "/album.wma").value("WM/Picture"), picture);

    select("edited.mp3");
    ui().ChkTag->setChecked(true);
    expectModal([](QWidget *dialog) {
        dialog->findChild<QLineEdit *>("txtAlb")->setText("Edited Album");
        dialog->findChild<QLineEdit *>("txtYear")->setText("1999");
        dialog->findChild<QComboBox *>("cboGenre")->setEditText("Blues");
        dialog->findChild<QAbstractButton *>("cmdGrab")->click();
    });
    convert();
    const QMap<QString, QString> edited = asfAttributes(music + "/edited.wma");
    const QMap<QString, QString> expected = {{"WM/AlbumTitle", "Edited Album"}, {"WM/Year", "1999"},
        {"WM/Genre", "Blues"}, {"WM/AlbumArtist", "The Band"}, {"WM/Picture", picture}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(edited.value(it.key()), it.value()) << it.key().toStdString();

    const QMap<QString, QString> before = asfAttributes(music + "/album.wma");
    ui().ChkTag->setChecked(false);
    ui().CboType->setCurrentIndex(3); // WM Audio
    select("album.wma");
    convert({Yes});
    ASSERT_TRUE(QFileInfo::exists(music + "/album.wma.tmp.wma")); // encoded again, not left alone
    EXPECT_EQ(asfAttributes(music + "/album.wma"), before);
    EXPECT_TRUE(messages.texts.size() == 1 && messages.texts[0].contains("ALREADY EXISTS"))
        << messages.texts.join(" | ").toStdString();
}
