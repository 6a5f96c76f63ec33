#include "PanelFixture.h"

#include <QFile>
#include <QTemporaryDir>

TEST_F(PanelFixture, Mp3TagVersionsAreMerged)
{
    const struct
    {
        const char *file;
        const char *info, *comment, *track, *timeSuffix;
    } cases[] = {
        // v1 leaves title, album and track empty: the frames fill them; v1 artist and genre win.
        {"both.mp3",
            "Title: Frame Title  (2001)\nArtist: Tag Artist\nAlbum: Frame Album\nGenre: Jazz",
            "Comm: both tags", "7/12", "\"    Track #7/12"},
        {"v1only.mp3",
            "Title: Only One  (1987)\nArtist: Solo Artist\nAlbum: First Album\nGenre: Rock",
            "Comm: plain comment", "5", "\"    Track #5"},
        {"v2only.mp3", "Title: Second Only\nArtist: Frame Artist\nAlbum: \nGenre: Rock",
            "Comm: ", "0", "\""},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(select(c.file, "MP3")) << c.file;
        EXPECT_EQ(w.LabInfo->text(), QString::fromUtf8(c.info)) << c.file;
        EXPECT_EQ(w.LabComment->text(), QString::fromUtf8(c.comment)) << c.file;
        EXPECT_EQ(state.TagTrack, QString::fromUtf8(c.track)) << c.file;
        EXPECT_TRUE(w.LabTime->text().startsWith("Time: 0' 0")) << w.LabTime->text().toStdString();
        EXPECT_TRUE(w.LabTime->text().endsWith(QString::fromUtf8(c.timeSuffix)))
            << w.LabTime->text().toStdString();
        EXPECT_TRUE(state.FileFormatValid);
        EXPECT_EQ(state.InputBitRate, 32000.0f);
        EXPECT_EQ(state.InputFrequency, 22050.0f);
        EXPECT_GT(state.SourceLengthMs, 0.0);
        EXPECT_EQ(w.LabINP->text(), "MP3");
        EXPECT_TRUE(w.chkWAV->isEnabled() && w.chkWMA->isEnabled());
    }
    EXPECT_EQ(state.TagTitle, "Second Only");
    EXPECT_EQ(state.TagGenre, "Rock");
}

TEST_F(PanelFixture, CopyrightBitGivesTheArtistTheCopyright)
{
    ASSERT_TRUE(select("copyright.mp3", "MP3"));
    EXPECT_EQ(state.TagCopyright, "Owner Name");
    EXPECT_TRUE(w.LabInfo->text().contains("\nArtist: Owner Name (c)\n"));

    state.TagOnlyMode = true; // the tag editor would write the artist back as copyright
    ASSERT_TRUE(select("copyright.mp3", "MP3"));
    EXPECT_EQ(state.TagCopyright, "(c)");
    EXPECT_TRUE(w.LabInfo->text().contains("\nArtist: Owner Name\n"));

    state.TagOnlyMode = false;
    ASSERT_TRUE(select("copyright-noartist.mp3", "MP3"));
    EXPECT_EQ(state.TagCopyright, "(c)");

    ASSERT_TRUE(select("v1only.mp3", "MP3"));
    EXPECT_EQ(state.TagCopyright, "");
}

TEST_F(PanelFixture, WavHeaderAndTheRedWarning)
{
    const QString invalid = "INVALID FILE FORMAT !!!";
    const struct
    {
        const char *file;
        bool valid;
        const char *info;
    } cases[] = {
        {"stereo16.wav", true,
            "WaveAudio Stereo\n\nSampling rate (Hz): 44100\nBit rate (bps): 1411200\n"
            "Bits per sample: 16"},
        {"mono8.wav", false,
            "WaveAudio Mono\n\nSampling rate (Hz): 8000\nBit rate (bps): 64000\nBits per sample: "
            "8"},
        {"notwave.wav", false, "INVALID FILE FORMAT !!!"},
        {"short.wav", false, "INVALID FILE FORMAT !!!"},
    };
    for (const auto &c : cases) {
        w.LabStatus->clear();
        ASSERT_TRUE(select(c.file, "WAV")) << c.file;
        EXPECT_EQ(state.FileFormatValid, c.valid) << c.file;
        EXPECT_EQ(w.LabInfo->text(), QString::fromUtf8(c.info)) << c.file;
        EXPECT_EQ(w.ShaPallino->isHidden(), c.valid) << c.file;
        EXPECT_EQ(w.LabStatus->text(), c.valid ? QString() : "        " + invalid) << c.file;
        EXPECT_EQ(w.LabComment->text(), "");
        EXPECT_EQ(w.LabINP->text(), "Wave");
        EXPECT_TRUE(w.chkWMA->isEnabled() && !w.chkWAV->isEnabled());
        EXPECT_EQ(state.InputBitRate, 64016.0f);
        EXPECT_EQ(state.InputFrequency, 44100.0f);
    }
    EXPECT_EQ(state.WaveBitsPerSample, 8); // the last file with a header
}

TEST_F(PanelFixture, WmaClipInformation)
{
    ASSERT_TRUE(select("clip.wma", "WMA"));
    EXPECT_EQ(w.LabInfo->text(),
        "Title: Clip Title\nArtist: Clip Artist\nCopyright: Clip Owner\nClip description");
    EXPECT_EQ(w.LabComment->text(), "");
    EXPECT_EQ(w.LabTime->text(), "Time: 0' 02\"");
    EXPECT_EQ(w.LabINP->text(), "WM Audio");
    EXPECT_FALSE(w.chkWMA->isEnabled() || w.chkWAV->isEnabled());
    EXPECT_TRUE(state.FileFormatValid);
    EXPECT_EQ(state.TagArtist, "Clip Artist");
    EXPECT_EQ(state.TagDescription, "Clip description");
}

TEST_F(PanelFixture, HeaderLinesAndClearing)
{
    ASSERT_TRUE(select("both.mp3", "MP3"));
    EXPECT_EQ(w.LabTit->text(), "        both.mp3");
    EXPECT_TRUE(w.LabMsg->text().startsWith("Size: 9 K\n\nDate: "))
        << w.LabMsg->text().toStdString();
    EXPECT_FALSE(w.ImgTyp->isHidden());
    EXPECT_EQ(w.ImgTyp->pixmap().size(), QSize(4, 4));
    EXPECT_EQ(state.ShownFilePath, fixturePath("both.mp3"));

    panel->Clear_Info();
    EXPECT_TRUE(w.ImgTyp->isHidden());
    for (QLabel *l : {w.LabTit, w.LabTime, w.LabInfo, w.LabMsg, w.LabComment})
        EXPECT_TRUE(l->text().isEmpty());
    EXPECT_TRUE(state.TagTitle.isEmpty() && state.TagArtist.isEmpty());
}

TEST_F(PanelFixture, NothingCarriesOverFromThePreviousFile)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.mp3");
    const QString empty = dir.filePath("empty.wav");
    QFile::copy(fixturePath("notwave.wav"), broken);
    QFile(empty).open(QIODevice::WriteOnly);

    ASSERT_TRUE(select("both.mp3", "MP3"));
    ASSERT_TRUE(select("stereo16.wav", "WAV"));
    EXPECT_EQ(state.TagAlbum, ""); // would otherwise reach the WMA description
    EXPECT_EQ(state.TagTrack, "");

    ASSERT_TRUE(select("both.mp3", "MP3"));
    ASSERT_TRUE(select(broken, "MP3")); // the decoder refuses it
    EXPECT_FALSE(state.FileFormatValid);
    EXPECT_EQ(state.SourceLengthMs, 0.0);

    ASSERT_TRUE(select("stereo16.wav", "WAV"));
    const QString shown = w.LabInfo->text();
    w.LabINP->setText("unchanged");
    EXPECT_FALSE(select(empty, "WAV"));
    EXPECT_EQ(w.LabINP->text(), "unchanged");
    EXPECT_TRUE(state.FileFormatValid);
}
