// The information panel of the real window, with the real tag reader, probe and decoder.
#include "WindowFixture.h"

#include "browser/InfoPanel.h"

#include <tuple>

namespace {

const QString Data = QStringLiteral(TONVERA_TEST_DATA);

class InfoPanelTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        storeSettings({{"Language", "EN"}, {"Path", music}});
        ASSERT_TRUE(start());
    }
    // What the input list does when a file becomes current: a fixture of tests/data/browser, or
    // a file by its path.
    bool show(const QString &file, const QString &type)
    {
        state.SourcePath = file.startsWith('/') ? file : Data + "/browser/" + file;
        state.CurrentType = type;
        return window->infoPanel().ShowCurrentFile(state.SourcePath, type);
    }
};

// v1 leaves title, album and track empty: the frames fill them; v1 artist and genre win. The
// copyright bit gives the copyright to the artist, unless a tag-only run edits the file. A tagger
// ends UTF-16 text frames with a zero, where the panel stops.
TEST_F(InfoPanelTest, Mp3TagVersionsAndCopyrightBit)
{
    // file, tag-only; the information, the track, the copyright
    const std::tuple<const char *, bool, const char *, const char *, const char *> cases[] = {
        {"copyright.mp3", false, "Title: Owned\nArtist: Owner Name (c)\nAlbum: \nGenre: ", "0",
            "Owner Name"},
        {"copyright.mp3", true, "Title: Owned\nArtist: Owner Name\nAlbum: \nGenre: ", "0", "(c)"},
        {"copyright-noartist.mp3", false, "Title: Owned\nArtist: \nAlbum: \nGenre: ", "0", "(c)"},
        {"../taglet/modern/mutagen_v23_utf16.mp3", false,
            "Title: 日本語のタイトル  (2010)\nArtist: Björk & Сергей\nAlbum: Ålbum\nGenre: Jazz",
            "7/10", ""},
        {"both.mp3", false,
            "Title: Frame Title  (2001)\nArtist: Tag Artist\nAlbum: Frame Album\nGenre: Jazz",
            "7/12", ""}};
    for (const auto &[file, tagOnly, info, track, copyright] : cases) {
        state.TagOnlyMode = tagOnly;
        ASSERT_TRUE(show(file, "MP3")) << file;
        EXPECT_EQ(QStringList({ui().LabInfo->text(), state.TagTrack, state.TagCopyright}),
            QStringList({info, track, copyright}))
            << file;
    }
    EXPECT_TRUE(ui().LabTime->text().endsWith("\"    Track #7/12"));
    EXPECT_TRUE(state.FileFormatValid);
    EXPECT_EQ(state.InputBitRate, 32000.0f);
    EXPECT_EQ(state.InputFrequency, 22050.0f);
    EXPECT_TRUE(ui().chkWAV->isEnabled() && ui().chkWMA->isEnabled());
    EXPECT_EQ(ui().LabComment->text(), "Comm: both tags");
    EXPECT_EQ(ui().ImgTyp->pixmap().toImage(), ui().ImgMP3->pixmap().toImage());
}

// A WAV's header, or the red warning; a WMA's texts. Nothing carries over from the file before:
// not an MP3's album and track, nor a broken file's length, nor a file shown before an empty one.
TEST_F(InfoPanelTest, WavHeaderTheRedWarningAWmaClipAndNothingCarriedOver)
{
    const std::tuple<const char *, bool, const char *> cases[] = {
        {"mono8.wav", false,
            "WaveAudio Mono\n\nSampling rate (Hz): 8000\nBit rate (bps): 64000\nBits per sample: "
            "8"},
        {"notwave.wav", false, "INVALID FILE FORMAT !!!"},
        // A good file after a bad one takes the warning away.
        {"stereo16.wav", true,
            "WaveAudio Stereo\n\nSampling rate (Hz): 44100\nBit rate (bps): 1411200\nBits per "
            "sample: 16"}};
    ASSERT_TRUE(show("both.mp3", "MP3"));
    for (const auto &[file, valid, info] : cases) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(show(file, "WAV"));
        EXPECT_EQ(state.TagAlbum + state.TagTrack, ""); // would otherwise reach the WMA
        EXPECT_EQ(state.FileFormatValid, valid);
        EXPECT_EQ(ui().LabInfo->text(), QString::fromUtf8(info));
        EXPECT_EQ(ui().ShaPallino->isHidden(), valid);
        EXPECT_EQ(ui().LabStatus->text(), valid ? "" : "        INVALID FILE FORMAT !!!");
    }
    EXPECT_TRUE(ui().chkWMA->isEnabled() && !ui().chkWAV->isEnabled());
    ASSERT_TRUE(show("clip.wma", "WMA"));
    EXPECT_EQ(ui().LabInfo->text(),
        "Title: Clip Title\nArtist: Clip Artist\nCopyright: Clip Owner\nClip description");
    EXPECT_FALSE(ui().chkWMA->isEnabled() || ui().chkWAV->isEnabled());
    EXPECT_TRUE(state.FileFormatValid);
    const QString broken = music + "/broken.mp3", empty = music + "/empty.wav";
    QFile::copy(Data + "/browser/notwave.wav", broken);
    writeFile(empty, "");
    ASSERT_TRUE(show("both.mp3", "MP3"));
    ASSERT_TRUE(show(broken, "MP3")); // the decoder refuses it
    EXPECT_FALSE(state.FileFormatValid);
    EXPECT_EQ(state.SourceLengthMs, 0.0);
    window->infoPanel().Clear_Info();
    EXPECT_TRUE(ui().ImgTyp->isHidden());
    EXPECT_TRUE(ui().LabInfo->text().isEmpty() && state.TagTitle.isEmpty());
    ASSERT_TRUE(show("both.mp3", "MP3"));
    ui().LabINP->setText("unchanged");
    EXPECT_FALSE(show(empty, "WAV"));
    EXPECT_EQ(ui().LabINP->text(), "unchanged");
    // The panel names the empty file instead of keeping the one shown before.
    EXPECT_EQ(ui().LabTit->text(), "        empty.wav");
    EXPECT_TRUE(ui().LabMsg->text().startsWith("Size: 0 bytes\n"));
    EXPECT_TRUE(ui().LabInfo->text().isEmpty() && state.TagTitle.isEmpty());
}

} // namespace
