// The preview player in the real window, playing real files through the sound server (a null
// sink in the test run). Times are polled with generous limits: a busy machine plays late, never
// early.
#include "SilentWav.h"
#include "WindowFixture.h"

#include "core/CutTimes.h"
#include "core/MainCommands.h"
#include "playback/MediaControls.h"
#include "playback/PreviewMedia.h"
#include "playback/PreviewPlayer.h"
#include "playback/VolumeWindow.h"

#include <QAudioOutput>
#include <QDir>
#include <QFile>
#include <QMediaPlayer>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA);
constexpr int Generous = 20000;

class PreviewPlayerTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        music = path("music");
        QDir().mkpath(music);
    }

    // Opens the music folder with every file type shown and clicks the named file.
    void startOn(const QString &name)
    {
        storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "4"}});
        ASSERT_TRUE(start());
        select(name);
    }
    void select(const QString &name)
    {
        const auto found = ui().ListInput->findItems(name, Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        ui().ListInput->setCurrentItem(found.first());
        ASSERT_EQ(state.ClickedFilePath, music + "/" + name);
    }

    PreviewMedia &player() { return window->media().MediaPlayer1(); }
    bool on(MainCommand command) { return window->commands().isOn(command); }
    bool waitPlaying() { return waitState(PreviewMedia::Playing); }
    bool waitState(PreviewMedia::PlayState wanted, int ms = Generous)
    {
        return QTest::qWaitFor([&] { return player().playState() == wanted; }, ms);
    }
    bool waitPosition(double seconds)
    {
        return QTest::qWaitFor([&] { return player().position() >= seconds; }, Generous);
    }
    // Plays until the player lets go of its file; the positions seen on the way.
    std::pair<double, double> positionsUntilIdle()
    {
        double first = -1, last = 0;
        const bool idle = QTest::qWaitFor(
            [&] {
                if (player().fileName().isEmpty())
                    return true;
                const double now = player().position();
                if (first < 0 && player().playState() == PreviewMedia::Playing && now > 0)
                    first = now;
                last = std::max(last, now);
                return false;
            },
            Generous);
        EXPECT_TRUE(idle) << "the player never stopped";
        return {first, last};
    }
    bool holdsOpen(const QString &file) const
    {
        const QString target = QFileInfo(file).canonicalFilePath();
        const QDir fds(QStringLiteral("/proc/self/fd"));
        for (const QString &fd :
            fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (QFile::symLinkTarget(fds.filePath(fd)) == target)
                return true;
        return false;
    }

    QString music;
};

TEST_F(PreviewPlayerTest, PlayPauseResumeAndStopKeepTheButtonsInStep)
{
    ASSERT_TRUE(writeSilentWav(music + "/long.wav", 12, 8000, 1));
    startOn("long.wav");
    EXPECT_TRUE(on(MainCommand::Play));
    EXPECT_FALSE(on(MainCommand::Pause));
    // The media pipeline and its sound-server connection wait for the first Play.
    EXPECT_TRUE(window->media().findChildren<QMediaPlayer *>().isEmpty());

    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    EXPECT_EQ(window->media().findChildren<QMediaPlayer *>().size(), 1);
    EXPECT_EQ(player().fileName(), music + "/long.wav");
    EXPECT_FALSE(ui().cmdPlay->isEnabled());
    EXPECT_TRUE(ui().cmdPause->isEnabled());
    EXPECT_TRUE(ui().cmdStop->isEnabled());
    EXPECT_TRUE(ui().mnuStop->isEnabled());
    ASSERT_TRUE(waitPosition(1.0));

    // Pause keeps the position, and leaves Play on to resume.
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    const double paused = player().position();
    QTest::qWait(600);
    EXPECT_NEAR(player().position(), paused, 0.05);
    EXPECT_TRUE(ui().cmdPlay->isEnabled());
    EXPECT_NE(ui().txtPos->text(), "0.00.000");

    // Play resumes from there, and Pause again toggles.
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    EXPECT_GE(player().position(), paused - 0.05);
    ASSERT_TRUE(waitPosition(paused + 0.3));
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    ui().cmdPause->click();
    ASSERT_TRUE(waitPlaying());

    // Stop lets go of the file and gives Play back.
    ui().cmdStop->click();
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_TRUE(ui().cmdPlay->isEnabled());
    EXPECT_TRUE(ui().mnuPlay->isEnabled());
    EXPECT_FALSE(ui().cmdPause->isEnabled());
    EXPECT_FALSE(ui().cmdStop->isEnabled());
    EXPECT_EQ(ui().txtPos->text(), "0.00.000");
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(PreviewPlayerTest, PauseActsOnThePlayingFileWhenAnotherIsSelected)
{
    ASSERT_TRUE(writeSilentWav(music + "/a.wav", 12, 8000, 1));
    ASSERT_TRUE(writeSilentWav(music + "/b.wav", 12, 8000, 1));
    startOn("a.wav");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    select("b.wav");

    ui().cmdPause->click();
    EXPECT_TRUE(waitState(PreviewMedia::Paused));
    EXPECT_EQ(player().fileName(), music + "/a.wav");
    ui().cmdPause->click();
    EXPECT_TRUE(waitPlaying());
    EXPECT_EQ(player().fileName(), music + "/a.wav");

    // Play is for the selected file: it takes over.
    ui().cmdPlay->click();
    EXPECT_TRUE(waitPlaying());
    EXPECT_EQ(player().fileName(), music + "/b.wav");
    ui().cmdStop->click();
}

TEST_F(PreviewPlayerTest, SpaceStartsAndPausesAndEscapeStops)
{
    ASSERT_TRUE(writeSilentWav(music + "/long.wav", 12, 8000, 1));
    startOn("long.wav");
    ASSERT_FALSE(ui().cmdPause->isEnabled()); // only Play is on

    ui().ListInput->setFocus();
    QTest::keyClick(ui().ListInput, Qt::Key_Space);
    ASSERT_TRUE(waitPlaying());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(waitState(PreviewMedia::Paused));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(waitPlaying());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(player().fileName().isEmpty());
}

TEST_F(PreviewPlayerTest, PlayCutPlaysTheSectionOnly)
{
    ASSERT_TRUE(writeSilentWav(music + "/long.wav", 12, 8000, 1));
    startOn("long.wav");
    state.Cut.setStartMs(5000);
    state.Cut.setEndMs(8000);
    window->cutSection().showSection();
    window->commands().setSectionCommands(true);

    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitPlaying());
    const auto [first, last] = positionsUntilIdle();
    // The sound server reports the position in steps (a null sink in big ones), so the limits
    // allow for a step either side of the finish.
    EXPECT_GE(first, 4.95);
    EXPECT_LT(first, 6.0);
    EXPECT_GE(last, 7.0);
    EXPECT_LE(last, 8.75) << "the watchdog stops the section just after its finish";
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_TRUE(ui().cmdPlay->isEnabled());
    EXPECT_TRUE(ui().cmdPlayCut->isEnabled());

    // Paused in the middle of the file, Play Cut still starts at the section's start.
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPosition(0.5));
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitPlaying());
    EXPECT_GE(player().position(), 4.95);
    ui().cmdStop->click();
}

TEST_F(PreviewPlayerTest, PlayCutWithOnlyAStartPlaysToTheEnd)
{
    ASSERT_TRUE(writeSilentWav(music + "/short.wav", 3, 8000, 1));
    startOn("short.wav");
    state.Cut.setStartMs(1500);
    window->commands().setSectionCommands(true);

    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitPlaying());
    const auto [first, last] = positionsUntilIdle();
    EXPECT_GE(first, 1.45);
    EXPECT_GE(last, 2.5);
    EXPECT_TRUE(player().fileName().isEmpty()) << "the end of the file stops the player";
    EXPECT_TRUE(ui().cmdPlay->isEnabled());
}

TEST_F(PreviewPlayerTest, TheSectionWatchdogEndsWithThePlaybackThatStartedIt)
{
    ASSERT_TRUE(writeSilentWav(music + "/a.wav", 12, 8000, 1));
    ASSERT_TRUE(writeSilentWav(music + "/b.wav", 12, 8000, 1));
    startOn("a.wav");
    state.Cut.setStartMs(500);
    state.Cut.setEndMs(2500);
    window->commands().setSectionCommands(true);
    // Plays on well past the section's finish, where the watchdog would have stopped it.
    const auto playsPastTheFinish = [&](const QString &name) {
        const bool ended = QTest::qWaitFor(
            [&] { return player().fileName().isEmpty() || player().position() >= 3.5; }, Generous);
        return ended && player().fileName() == music + "/" + name
            && player().playState() == PreviewMedia::Playing;
    };

    // Paused in the section and resumed with Play, the file plays on as a whole.
    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitPlaying());
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    ASSERT_LT(player().position(), 2.5);
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    EXPECT_TRUE(playsPastTheFinish("a.wav"));
    ui().cmdStop->click();

    // The same when Pause acts on the section's file while another one is selected.
    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitPlaying());
    select("b.wav");
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    ui().cmdPause->click();
    ASSERT_TRUE(waitPlaying());
    EXPECT_TRUE(playsPastTheFinish("a.wav"));

    // The other file, played after the pause, is no section either.
    ui().cmdStop->click();
    select("a.wav");
    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitPlaying());
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    select("b.wav");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    EXPECT_TRUE(playsPastTheFinish("b.wav"));
    ui().cmdStop->click();
    EXPECT_TRUE(messages.texts.isEmpty());
}

// A Stop or a release of files can come while a play request waits on the player: while it
// opens another file, or while Play Cut moves the paused file to the section. The player then
// ends as that Stop left it, lets go of both files, and calls no file broken.
TEST_F(PreviewPlayerTest, AStopOrAReleaseDuringAPlayRequestEndsLikeAStop)
{
    ASSERT_TRUE(writeSilentWav(music + "/a.wav", 12, 8000, 1));
    ASSERT_TRUE(writeSilentWav(music + "/b.wav", 12, 8000, 1));
    startOn("a.wav");
    state.Cut.setStartMs(1000);
    state.Cut.setEndMs(6000);
    window->commands().setSectionCommands(true);

    const auto stopButton = [&] {
        ui().cmdStop->click();
    };
    const auto escKey = [&] {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), Qt::Key_Escape);
    };
    const auto release = [&] {
        window->media().releaseFiles();
    };
    // A conversion lets go of the files and then switches Play off until it ends: nothing the
    // interrupted request does later may switch it on again.
    const auto conversionStart = [&] {
        window->media().releaseFiles();
        window->commands().set(MainCommand::Play, false);
        window->commands().set(MainCommand::Pause, false);
    };
    const std::tuple<const char *, std::function<void()>, bool> stops[] = {
        {"Stop button", stopButton, true},
        {"Esc key", escKey, true},
        {"release of files", release, true},
        {"start of a conversion", conversionStart, false},
    };
    const std::tuple<const char *, const char *, QAbstractButton *> requests[] = {
        {"Play of another file", "b.wav", ui().cmdPlay},
        {"Play Cut of another file", "b.wav", ui().cmdPlayCut},
        {"Play Cut of the paused file", "a.wav", ui().cmdPlayCut},
    };
    for (const auto &[stopName, stop, playAfter] : stops) {
        for (const auto &[requestName, name, button] : requests) {
            SCOPED_TRACE(std::string(stopName) + " during " + requestName);
            window->commands().set(MainCommand::Play, true); // each case from the same start
            window->player().StopAction();
            messages.texts.clear();
            select("a.wav");
            ui().cmdPlay->click();
            ASSERT_TRUE(waitPlaying());
            ui().cmdPause->click(); // Play, Pause and Stop are all on now
            ASSERT_TRUE(waitState(PreviewMedia::Paused));
            select(name);

            bool requesting = true, landedInRequest = false;
            QTimer::singleShot(0, window.get(), [&] {
                landedInRequest = requesting;
                stop();
            });
            button->click();
            requesting = false;
            ASSERT_TRUE(landedInRequest);

            QTest::qWait(500); // a request that went on regardless would be playing by now
            EXPECT_TRUE(player().fileName().isEmpty());
            EXPECT_NE(player().playState(), PreviewMedia::Playing);
            EXPECT_EQ(ui().cmdPlay->isEnabled(), playAfter);
            EXPECT_EQ(ui().mnuPlay->isEnabled(), playAfter);
            EXPECT_TRUE(ui().cmdPlayCut->isEnabled());
            EXPECT_FALSE(ui().cmdPause->isEnabled());
            EXPECT_FALSE(ui().cmdStop->isEnabled());
            EXPECT_FALSE(ui().mnuStop->isEnabled());
            EXPECT_EQ(ui().txtPos->text(), "0.00.000");
            EXPECT_FALSE(holdsOpen(music + "/a.wav"));
            EXPECT_FALSE(holdsOpen(music + "/b.wav"));
            EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
        }
    }

    // The player itself tells a load cut short from a file that does not open.
    QTimer::singleShot(0, &player(), [&] { player().unload(); });
    EXPECT_FALSE(player().load(music + "/b.wav"));
    EXPECT_EQ(player().loadError(), PreviewMedia::Cancelled);
    EXPECT_TRUE(player().errorString().isEmpty());
}

TEST_F(PreviewPlayerTest, ASectionBeyondTheEndPlaysNothing)
{
    ASSERT_TRUE(writeSilentWav(music + "/short.wav", 2, 8000, 1));
    startOn("short.wav");
    state.Cut.setStartMs(5000);
    window->commands().setSectionCommands(true);

    ui().cmdPlayCut->click();
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_NE(player().playState(), PreviewMedia::Playing);

    // The same while the file is playing: Play Cut stops it and plays nothing.
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    ui().cmdPlayCut->click();
    QTest::qWait(300);
    EXPECT_NE(player().playState(), PreviewMedia::Playing);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(PreviewPlayerTest, AVanishedOrBrokenFileIsSaidAndLeavesThePlayerStopped)
{
    ASSERT_TRUE(writeSilentWav(music + "/gone.wav", 2, 8000, 1));
    ASSERT_TRUE(QFile::copy(Data + "/browser/notwave.wav", music + "/junk.wav"));
    startOn("gone.wav");
    ASSERT_TRUE(QFile::remove(music + "/gone.wav"));

    ui().cmdPlay->click();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(music + "/gone.wav"));
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_FALSE(ui().cmdStop->isEnabled());
    EXPECT_TRUE(ui().cmdPlay->isEnabled());

    select("junk.wav");
    ui().cmdPlay->click();
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_TRUE(messages.texts[1].startsWith(music + "/junk.wav"));
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_FALSE(ui().cmdPause->isEnabled());
}

TEST_F(PreviewPlayerTest, PlaysMp3AndWma)
{
    for (const char *name : {"plain.mp3", "clip.wma"})
        ASSERT_TRUE(QFile::copy(Data + "/playback/" + name, music + "/" + name));
    storeSettings({{"Language", "EN"}, {"Path", music}, {"iTyp", "4"}});
    ASSERT_TRUE(start());
    for (const char *name : {"plain.mp3", "clip.wma"}) {
        select(name);
        ui().cmdPlay->click();
        EXPECT_TRUE(waitPlaying()) << name;
        EXPECT_GT(player().duration(), 1.0) << name;
        const auto [first, last] = positionsUntilIdle();
        EXPECT_GT(last, 1.0) << name;
    }
    EXPECT_TRUE(messages.texts.isEmpty());
}

// Linux lets a file that is open be renamed or deleted, so only the process's descriptors tell
// whether the player really let go of it.
TEST_F(PreviewPlayerTest, ReleasingFilesClosesThePlayingFile)
{
    ASSERT_TRUE(writeSilentWav(music + "/held.wav", 12, 8000, 1));
    startOn("held.wav");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPosition(0.2));
    ASSERT_TRUE(holdsOpen(music + "/held.wav"));

    // What every file operation and conversion does first.
    window->media().releaseFiles();
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_FALSE(holdsOpen(music + "/held.wav"));
    EXPECT_TRUE(ui().cmdPlay->isEnabled());
    EXPECT_FALSE(ui().cmdStop->isEnabled());

    // Leaving the folder stops the preview too.
    ASSERT_TRUE(writeSilentWav(music + "/again.wav", 12, 8000, 1));
    ui().cmdRefr->click();
    select("again.wav");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    ASSERT_TRUE(holdsOpen(music + "/again.wav"));
    QDir().mkpath(path("elsewhere"));
    window->folderBrowser().SetDir1(path("elsewhere"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player().fileName().isEmpty(); }, Generous));
    EXPECT_FALSE(holdsOpen(music + "/again.wav"));
    EXPECT_FALSE(ui().cmdPlay->isEnabled());

    // And so does closing the program.
    window->folderBrowser().SetDir1(music);
    select("again.wav");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    window->close();
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_FALSE(holdsOpen(music + "/again.wav"));
}

TEST_F(PreviewPlayerTest, SetStartAndFinishTakeThePlayPosition)
{
    ASSERT_TRUE(writeSilentWav(music + "/long.wav", 12, 8000, 1));
    startOn("long.wav");
    ASSERT_TRUE(ui().cmdSta->isEnabled());

    ui().cmdPlay->click();
    ASSERT_TRUE(waitPosition(1.0));
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    const double start = player().position();
    ui().cmdSta->click();
    EXPECT_NEAR(state.Cut.startMs(), 1000 * start, 1.0);
    EXPECT_EQ(ui().txtSta->text(), CutTimes::TimeText(state.Cut.startMs()));
    EXPECT_TRUE(ui().cmdPlayCut->isEnabled());

    ui().cmdPlay->click();
    ASSERT_TRUE(waitPosition(start + 0.5));
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    const double finish = player().position();
    ui().cmdFin->click();
    EXPECT_NEAR(state.Cut.endMs(), 1000 * finish, 1.0);
    EXPECT_EQ(ui().txtFin->text(), CutTimes::TimeText(state.Cut.endMs()));
    EXPECT_TRUE(ui().cmdPlayCut->isEnabled());

    // A finish taken before the start moves to the start: nothing is left to play.
    ui().cmdStop->click();
    ui().cmdFin->click();
    EXPECT_EQ(state.Cut.endMs(), state.Cut.startMs());
    EXPECT_FALSE(ui().cmdPlayCut->isEnabled());
}

TEST_F(PreviewPlayerTest, MovingTheSliderOfTheIdlePlayerBringsInTheSelectedFile)
{
    ASSERT_TRUE(writeSilentWav(music + "/long.wav", 10, 8000, 1));
    startOn("long.wav");
    ASSERT_TRUE(ui().sldPos->isEnabled());

    ui().sldPos->triggerAction(QAbstractSlider::SliderPageStepAdd); // a twentieth further
    EXPECT_EQ(player().fileName(), music + "/long.wav");
    EXPECT_EQ(player().playState(), PreviewMedia::Paused);
    EXPECT_NEAR(player().position(), 0.5, 0.05);
    EXPECT_TRUE(ui().cmdStop->isEnabled());
    EXPECT_EQ(ui().txtPos->text(), "0.00.500");

    // Play goes on from there.
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPlaying());
    EXPECT_GE(player().position(), 0.45);
}

TEST_F(PreviewPlayerTest, TheVolumeWindowActsOnTheOutputAndComesToTheFront)
{
    ASSERT_TRUE(writeSilentWav(music + "/long.wav", 2, 8000, 1));
    startOn("long.wav");
    window->show();
    ASSERT_TRUE(ui().cmdVol->isEnabled());

    ui().cmdVol->click();
    auto volumes = window->findChildren<VolumeWindow *>();
    ASSERT_EQ(volumes.size(), 1);
    VolumeWindow *volume = volumes.first();
    EXPECT_TRUE(volume->isVisible());
    QAudioOutput &output = player().audioOutput();
    auto *slider = volume->findChild<QSlider *>("sldVolume");
    ASSERT_NE(slider, nullptr);
    slider->setValue(40);
    EXPECT_LT(output.volume(), 0.4f);
    EXPECT_GT(output.volume(), 0.0f);
    slider->setValue(100);
    EXPECT_FLOAT_EQ(output.volume(), 1.0f);

    // A second press brings the same window back to the front.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().cmdVol->click();
    EXPECT_EQ(window->findChildren<VolumeWindow *>().size(), 1);
    EXPECT_TRUE(volume->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(volume));
}

} // namespace
