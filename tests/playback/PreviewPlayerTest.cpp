// The preview player in the real window, playing through the sound server (a null sink in the
// test run). Times are polled with generous limits: a busy machine plays late, never early.
#include "SilentWav.h"
#include "WindowFixture.h"

#include "core/MainCommands.h"
#include "playback/MediaControls.h"
#include "playback/PreviewMedia.h"
#include "playback/PreviewPlayer.h"
#include "playback/VolumeWindow.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QSlider>
#include <QTimer>

#include <functional>

namespace {

constexpr int Generous = 20000;

class PreviewPlayerTest : public WindowFixture
{
protected:
    // Silent WAVs of the given seconds, shown with every file type; the first one selected.
    void startWith(const std::vector<std::pair<QString, double>> &files)
    {
        for (const auto &[name, seconds] : files)
            ASSERT_TRUE(writeSilentWav(music + "/" + name, seconds, 8000, 1));
        startIn(4);
        select(files.front().first);
    }
    void setSection(double startMs, double endMs)
    {
        state.Cut.setStartMs(startMs);
        state.Cut.setEndMs(endMs);
        window->commands().setSectionCommands(true);
    }
    void key(Qt::Key key)
    {
        ui().ListInput->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    PreviewMedia &player() { return window->media().MediaPlayer1(); }
    QString playing() { return QFileInfo(player().fileName()).fileName(); }
    bool waitState(PreviewMedia::PlayState wanted = PreviewMedia::Playing)
    {
        return QTest::qWaitFor([&] { return player().playState() == wanted; }, Generous);
    }
    bool waitPosition(double seconds)
    {
        return QTest::qWaitFor([&] { return player().position() >= seconds; }, Generous);
    }
    bool waitIdle()
    {
        return QTest::qWaitFor([&] { return player().fileName().isEmpty(); }, Generous);
    }
    // The player's commands that are on, and the position shown.
    std::string controls()
    {
        QStringList on;
        for (QAbstractButton *b : {ui().cmdPlay, ui().cmdPlayCut, ui().cmdPause, ui().cmdStop})
            if (b->isEnabled())
                on << b->objectName().mid(3);
        for (QAction *a : {ui().mnuPlay, ui().mnuStop})
            if (a->isEnabled())
                on << a->objectName();
        return (on.join(' ') + " @" + ui().txtPos->text()).toStdString();
    }
    // Plays until the player lets go of its file; the first and the last position it showed.
    std::pair<double, double> positionsUntilIdle()
    {
        std::vector<double> seen;
        const auto c = QObject::connect(
            &player(), &PreviewMedia::positionChanged, [&](double at) { seen.push_back(at); });
        EXPECT_TRUE(waitIdle());
        QObject::disconnect(c);
        std::erase(seen, 0.0);
        return seen.empty() ? std::pair {-1.0, 0.0}
                            : std::pair {seen.front(), std::ranges::max(seen)};
    }
    // Linux lets a file that is open be renamed or deleted, so only the process's descriptors
    // tell whether the player really let go of it.
    bool holdsOpen(const QString &name) const
    {
        const QString target = QFileInfo(music + "/" + name).canonicalFilePath();
        const QDir fds(QStringLiteral("/proc/self/fd"));
        return std::ranges::any_of(
            fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            [&](const QString &fd) { return QFile::symLinkTarget(fds.filePath(fd)) == target; });
    }
};

// Play starts, Space pauses; Esc stops, Space starts the selected file.
// Whatever a file operation or a conversion does first, leaving the folder and closing the
// program: the player lets go of its file. A vanished or broken file is said and leaves the
// player stopped, able to play the next file: a WMA (an MP3: the end-to-end scenario).
TEST_F(PreviewPlayerTest, PlayPauseStopLettingGoAndBrokenFiles)
{
    const QString data = QStringLiteral(TONVERA_TEST_DATA);
    ASSERT_TRUE(QFile::copy(data + "/browser/notwave.wav", music + "/junk.wav"));
    ASSERT_TRUE(QFile::copy(data + "/playback/clip.wma", music + "/clip.wma"));
    startWith({{"a.wav", 12}, {"b.wav", 12}, {"gone.wav", 2}});
    EXPECT_EQ(controls(), "Play mnuPlay @0.00.000");
    // The media pipeline and its sound-server connection wait for the first Play.
    EXPECT_TRUE(window->media().findChildren<QMediaPlayer *>().isEmpty());
    ui().cmdPlay->click();
    ASSERT_TRUE(waitState());
    EXPECT_EQ(window->media().findChildren<QMediaPlayer *>().size(), 1);
    EXPECT_TRUE(controls().starts_with("Pause Stop mnuStop @")) << controls();
    // Space pauses and leaves Play on to resume (from where it paused: the end-to-end scenario).
    key(Qt::Key_Space);
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    EXPECT_TRUE(controls().starts_with("Play Pause Stop mnuPlay mnuStop @")) << controls();
    key(Qt::Key_Escape);
    select("b.wav");
    key(Qt::Key_Space);
    ASSERT_TRUE(waitPosition(0.2));
    EXPECT_EQ(playing(), "b.wav");
    ASSERT_TRUE(holdsOpen("b.wav"));
    window->media().releaseFiles();
    EXPECT_FALSE(holdsOpen("b.wav"));
    EXPECT_EQ(controls(), "Play mnuPlay @0.00.000");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitState());
    QDir().mkpath(path("elsewhere"));
    window->folderBrowser().SetDir1(path("elsewhere"));
    EXPECT_TRUE(waitIdle());
    EXPECT_FALSE(holdsOpen("b.wav") || ui().cmdPlay->isEnabled());
    window->folderBrowser().SetDir1(music);
    for (const char *name : {"gone.wav", "junk.wav"}) {
        select(name);
        QFile::remove(music + "/gone.wav");
        ui().cmdPlay->click();
        ASSERT_EQ(messages.texts.size(), 1) << name;
        EXPECT_TRUE(messages.texts.takeFirst().startsWith(music + "/" + name));
        EXPECT_TRUE(player().fileName().isEmpty());
        EXPECT_EQ(controls(), "Play mnuPlay @0.00.000");
    }
    select("clip.wma");
    ui().cmdPlay->click();
    EXPECT_TRUE(waitState());
    EXPECT_GT(player().duration(), 1.0);
    EXPECT_TRUE(waitPosition(0.2));
    select("a.wav");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitState());
    window->close();
    EXPECT_TRUE(player().fileName().isEmpty());
    EXPECT_FALSE(holdsOpen("a.wav"));
    EXPECT_TRUE(messages.texts.isEmpty());
}

// Play Cut plays from the section's start (wherever the file was paused) to its finish, or to
// the end of the file when there is no finish; a section after the end plays nothing.
TEST_F(PreviewPlayerTest, PlayCutPlaysTheSectionOnly)
{
    startWith({{"long.wav", 12}});
    setSection(5000, 7000);
    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitState());
    auto [first, last] = positionsUntilIdle();
    // The sound server reports the position in steps (a null sink in big ones), so the limits
    // allow for a step either side of the finish.
    EXPECT_GE(first, 4.95);
    EXPECT_LT(first, 6.0);
    EXPECT_GE(last, 6.0);
    EXPECT_LE(last, 7.75) << "the watchdog stops the section just after its finish";
    EXPECT_EQ(controls(), "Play PlayCut mnuPlay @0.00.000");
    ui().cmdPlay->click();
    ASSERT_TRUE(waitPosition(0.3));
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    setSection(10500, 0);
    ui().cmdPlayCut->click();
    ASSERT_TRUE(waitState());
    std::tie(first, last) = positionsUntilIdle();
    EXPECT_GE(first, 10.45);
    EXPECT_GE(last, 11.5) << "the end of the file stops the player";
    EXPECT_EQ(controls(), "Play PlayCut mnuPlay @0.00.000");
    setSection(13000, 0);
    ui().cmdPlayCut->click();
    EXPECT_TRUE(player().fileName().isEmpty());
    ui().cmdPlay->click(); // the same while the file is playing: Play Cut stops it
    ASSERT_TRUE(waitState());
    ui().cmdPlayCut->click();
    QTest::qWait(300);
    EXPECT_NE(player().playState(), PreviewMedia::Playing);
    EXPECT_TRUE(messages.texts.isEmpty());
}

// A section's watchdog belongs to the playback that Play Cut started: paused and resumed, or
// overtaken by another file, the file plays on past the finish.
TEST_F(PreviewPlayerTest, TheSectionWatchdogEndsWithThePlaybackThatStartedIt)
{
    startWith({{"a.wav", 12}, {"b.wav", 12}});
    // A long section, so that a busy machine still pauses inside it; a jump to just before the
    // finish then plays on past it, where the watchdog would let go of the file at once.
    setSection(500, 8000);
    // selected after the pause, the button that goes on, the file then playing
    const std::tuple<const char *, QAbstractButton *, const char *> resumes[] = {
        {"a.wav", ui().cmdPlay, "a.wav"}, // resumed with Play
        {"b.wav", ui().cmdPause, "a.wav"}, // Pause acts on the paused file, whatever is selected
        {"b.wav", ui().cmdPlay, "b.wav"}}; // Play takes the selected file
    for (const auto &[selected, button, name] : resumes) {
        SCOPED_TRACE(button->objectName().toStdString() + " with " + selected);
        select("a.wav");
        ui().cmdPlayCut->click();
        ASSERT_TRUE(waitState());
        ui().cmdPause->click();
        ASSERT_TRUE(waitState(PreviewMedia::Paused));
        ASSERT_LT(player().position(), 8.0);
        select(selected);
        button->click();
        ASSERT_TRUE(waitState());
        player().setPosition(7.8);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return player().fileName().isEmpty() || player().position() >= 8.5; }, Generous));
        EXPECT_EQ(playing(), name);
        ui().cmdStop->click();
    }
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("|").toStdString();
}

// A Stop or a release of files can come while a play request waits on the player: while it
// opens another file, or while Play Cut moves the paused file to the section. The player then
// ends as that Stop left it, lets go of both files, and calls no file broken.
TEST_F(PreviewPlayerTest, AStopOrAReleaseDuringAPlayRequestEndsLikeAStop)
{
    startWith({{"a.wav", 12}, {"b.wav", 12}});
    setSection(1000, 6000);
    // A conversion lets go of the files and then switches Play off until it ends: nothing the
    // interrupted request does later may switch it on again.
    const std::tuple<const char *, std::function<void()>, std::string> stops[] = {
        {"Stop button", [&] { ui().cmdStop->click(); }, "Play PlayCut mnuPlay @0.00.000"},
        {"start of a conversion",
            [&] {
                window->media().releaseFiles();
                window->commands().set(MainCommand::Play, false);
                window->commands().set(MainCommand::Pause, false);
            },
            "PlayCut @0.00.000"},
    };
    const std::tuple<const char *, const char *, QAbstractButton *> requests[] = {
        {"Play of another file", "b.wav", ui().cmdPlay},
        {"Play Cut of another file", "b.wav", ui().cmdPlayCut},
        {"Play Cut of the paused file", "a.wav", ui().cmdPlayCut},
    };
    for (const auto &[stopName, stop, after] : stops) {
        for (const auto &[requestName, name, button] : requests) {
            SCOPED_TRACE(std::string(stopName) + " during " + requestName);
            window->commands().set(MainCommand::Play, true); // each case from the same start
            window->player().StopAction();
            messages.texts.clear();
            select("a.wav");
            ui().cmdPlay->click();
            ASSERT_TRUE(waitState());
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
            EXPECT_EQ(controls(), after);
            EXPECT_FALSE(holdsOpen("a.wav") || holdsOpen("b.wav"));
            EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
        }
    }
    // The player itself tells a load cut short from a file that does not open.
    QTimer::singleShot(0, &player(), [&] { player().unload(); });
    EXPECT_FALSE(player().load(music + "/b.wav"));
    EXPECT_EQ(player().loadError(), PreviewMedia::Cancelled);
    EXPECT_TRUE(player().errorString().isEmpty());
}

// Moving the slider of the idle player brings in the selected file, paused there; Set start
// and Set finish take the play position, a finish before the start moves to the start. The
// volume window acts on the output and comes to the front again.
TEST_F(PreviewPlayerTest, SliderSectionEndsAndVolume)
{
    startWith({{"long.wav", 10}});
    ASSERT_TRUE(ui().sldPos->isEnabled());
    ui().sldPos->triggerAction(QAbstractSlider::SliderPageStepAdd); // a twentieth further
    EXPECT_EQ(player().playState(), PreviewMedia::Paused);
    EXPECT_EQ(controls(), "Play Stop mnuPlay mnuStop @0.00.500");
    ui().cmdSta->click();
    EXPECT_NEAR(state.Cut.startMs(), 500, 50);
    ui().cmdPlay->click(); // Play goes on from there
    ASSERT_TRUE(waitState());
    EXPECT_GE(player().position(), 0.45);
    ASSERT_TRUE(waitPosition(1.0));
    ui().cmdPause->click();
    ASSERT_TRUE(waitState(PreviewMedia::Paused));
    const double finish = player().position();
    ui().cmdFin->click();
    EXPECT_NEAR(state.Cut.endMs(), 1000 * finish, 1.0);
    EXPECT_TRUE(ui().cmdPlayCut->isEnabled());
    ui().cmdStop->click();
    ui().cmdFin->click();
    EXPECT_EQ(state.Cut.endMs(), state.Cut.startMs());
    EXPECT_FALSE(ui().cmdPlayCut->isEnabled());
    window->show();
    ui().cmdVol->click();
    const auto volumes = window->findChildren<VolumeWindow *>();
    ASSERT_EQ(volumes.size(), 1);
    auto *slider = volumes[0]->findChild<QSlider *>("sldVolume");
    slider->setValue(40);
    EXPECT_LT(player().audioOutput().volume(), 0.4f);
    EXPECT_GT(player().audioOutput().volume(), 0.0f);
    slider->setValue(100);
    EXPECT_FLOAT_EQ(player().audioOutput().volume(), 1.0f);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().cmdVol->click();
    EXPECT_EQ(window->findChildren<VolumeWindow *>().size(), 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(volumes[0]));
}

} // namespace
