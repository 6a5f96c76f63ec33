#include "PanelFixture.h"

#include <QFile>
#include <QTemporaryDir>

TEST_F(PanelFixture, Mp3TagVersionsAndCopyrightBit)
{
    const struct
    {
        const char *file;
        bool tagOnly;
        const char *info, *track, *copyright, *timeEnd;
    } cases[] = {
        // v1 leaves title, album and track empty: the frames fill them; v1 artist and genre win.
        {"both.mp3", false,
            "Title: Frame Title  (2001)\nArtist: Tag Artist\nAlbum: Frame Album\nGenre: Jazz",
            "7/12", "", "\"    Track #7/12"},
        {"v1only.mp3", false,
            "Title: Only One  (1987)\nArtist: Solo Artist\nAlbum: First Album\nGenre: Rock", "5",
            "", "\"    Track #5"},
        {"v2only.mp3", false, "Title: Second Only\nArtist: Frame Artist\nAlbum: \nGenre: Rock", "0",
            "", "\""},
        {"copyright.mp3", false, "Title: Owned\nArtist: Owner Name (c)\nAlbum: \nGenre: ", "0",
            "Owner Name", "\""},
        {"copyright.mp3", true, "Title: Owned\nArtist: Owner Name\nAlbum: \nGenre: ", "0", "(c)",
            "\""},
        {"copyright-noartist.mp3", false, "Title: Owned\nArtist: \nAlbum: \nGenre: ", "0", "(c)",
            "\""},
    };
    for (const auto &c : cases) {
        state.TagOnlyMode = c.tagOnly;
        ASSERT_TRUE(select(c.file, "MP3")) << c.file;
        EXPECT_EQ(w.LabInfo->text(), QString::fromUtf8(c.info)) << c.file;
        EXPECT_EQ(state.TagTrack, QString::fromUtf8(c.track)) << c.file;
        EXPECT_EQ(state.TagCopyright, QString::fromUtf8(c.copyright)) << c.file;
        EXPECT_TRUE(w.LabTime->text().startsWith("Time: 0' 0")) << c.file;
        EXPECT_TRUE(w.LabTime->text().endsWith(QString::fromUtf8(c.timeEnd))) << c.file;
        EXPECT_TRUE(state.FileFormatValid);
        EXPECT_EQ(state.InputBitRate, 32000.0f);
        EXPECT_EQ(state.InputFrequency, 22050.0f);
        EXPECT_TRUE(w.chkWAV->isEnabled() && w.chkWMA->isEnabled());
    }
    ASSERT_TRUE(select("both.mp3", "MP3"));
    EXPECT_EQ(w.LabComment->text(), "Comm: both tags");
    EXPECT_EQ(w.LabTit->text(), "        both.mp3");
    EXPECT_TRUE(w.LabMsg->text().startsWith("Size: 9 K\n\nDate: "));
    EXPECT_EQ(w.ImgTyp->pixmap().size(), QSize(4, 4));
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
        // A good file after a bad one takes the warning away.
        {"stereo16.wav", true,
            "WaveAudio Stereo\n\nSampling rate (Hz): 44100\nBit rate (bps): 1411200\n"
            "Bits per sample: 16"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(select(c.file, "WAV")) << c.file;
        EXPECT_EQ(state.FileFormatValid, c.valid) << c.file;
        EXPECT_EQ(w.LabInfo->text(), QString::fromUtf8(c.info)) << c.file;
        EXPECT_EQ(ShaPallino->isHidden(), c.valid) << c.file;
        EXPECT_EQ(LabStatus->text(), c.valid ? QString() : "        " + invalid) << c.file;
        EXPECT_TRUE(w.chkWMA->isEnabled() && !w.chkWAV->isEnabled());
    }
}

TEST_F(PanelFixture, WmaClipInformation)
{
    ASSERT_TRUE(select("clip.wma", "WMA"));
    EXPECT_EQ(w.LabInfo->text(),
        "Title: Clip Title\nArtist: Clip Artist\nCopyright: Clip Owner\nClip description");
    EXPECT_EQ(w.LabComment->text(), "");
    EXPECT_EQ(w.LabTime->text(), "Time: 0' 02\"");
    EXPECT_FALSE(w.chkWMA->isEnabled() || w.chkWAV->isEnabled());
    EXPECT_TRUE(state.FileFormatValid);
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

    panel->Clear_Info();
    EXPECT_TRUE(w.ImgTyp->isHidden());
    EXPECT_TRUE(w.LabInfo->text().isEmpty() && state.TagTitle.isEmpty());
    ASSERT_TRUE(select("both.mp3", "MP3"));
    w.LabINP->setText("unchanged");
    EXPECT_FALSE(select(empty, "WAV"));
    EXPECT_EQ(w.LabINP->text(), "unchanged");
    // The panel names the empty file instead of keeping the one shown before.
    EXPECT_EQ(w.LabTit->text(), "        empty.wav");
    EXPECT_TRUE(w.LabMsg->text().startsWith("Size: 0 bytes\n"));
    EXPECT_TRUE(w.LabInfo->text().isEmpty() && state.TagTitle.isEmpty());
}

TEST_F(PanelFixture, Id3v2TextsEndAtTheirTerminator)
{
    // Taggers end each text frame with a zero; the panel and the tag fields stop there.
    const auto frame = [](const char *id, const QByteArray &text) {
        const QByteArray body = QByteArray(1, '\0') + text + QByteArray(1, '\0');
        QByteArray f(id);
        for (int shift : {24, 16, 8, 0})
            f.append(char((body.size() >> shift) & 0xff));
        return f + QByteArray(2, '\0') + body;
    };
    const QByteArray frames = frame("TIT2", "Mono Track") + frame("TPE1", "Some Artist");
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag.append(char((frames.size() >> shift) & 0x7f));
    QFile plain(QStringLiteral(TONVERA_TEST_DATA "/playback/plain.mp3"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    QFile mp3(dir.filePath("terminated.mp3"));
    ASSERT_TRUE(mp3.open(QIODevice::WriteOnly));
    mp3.write(tag + frames + plain.readAll());
    mp3.close();

    ASSERT_TRUE(select(mp3.fileName(), "MP3"));
    EXPECT_EQ(state.TagTitle, "Mono Track");
    EXPECT_EQ(state.TagArtist, "Some Artist");
    EXPECT_TRUE(w.LabInfo->text().startsWith("Title: Mono Track\nArtist: Some Artist\n"))
        << w.LabInfo->text().toStdString();
}

// Files as current taggers and encoders leave them: v2.2 to v2.4 tags, UTF-16 and UTF-8 texts,
// and VBR streams whose length only their header or a count of their frames tells.
TEST_F(PanelFixture, Mp3sAsTaggersWriteThem)
{
    const struct
    {
        const char *file;
        const char *title, *artist, *album, *genre, *track, *year, *comment;
        double lengthMs;
        const char *time;
    } cases[] = {
        {"mutagen_v23_utf16.mp3", "日本語のタイトル", "Björk & Сергей", "Ålbum", "Jazz", "7/10",
            "2010", "Kommentar", 2064, "Time: 0' 02\"    Track #7/10"},
        // The year of a v2.4 date.
        {"eyed3_v24.mp3", "Été ünïcode", "Ärtist", "Albüm", "Rock", "04", "2015", "", 2064,
            "Time: 0' 02\"    Track #04"},
        {"mutagen_v22.mp3", "Zwei Punkt Zwei", "Old Tagger", "Vintage", "Pop", "8", "1998", "old",
            2064, "Time: 0' 02\"    Track #8"},
        {"v24_unsync_dli.mp3", "Fußnote ÿ", "Ärtist", "", "Remix", "0", "2019", "", 2064,
            "Time: 0' 02\""},
        // The ID3v1 tag lame adds comes first, but its title is only "?" for the Japanese text
        // of the frame, which therefore wins.
        {"lame_utf16.mp3", "日本語のタイトル", "Ärtist", "Album", "Rock", "2", "2001", "", 2064,
            "Time: 0' 02\"    Track #2"},
        {"lame_v0.mp3", "", "", "", "", "0", "", "", 6060, "Time: 0' 06\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(select(QStringLiteral(TONVERA_TEST_DATA "/taglet/modern/") + c.file, "MP3"));
        EXPECT_EQ(state.TagTitle, QString::fromUtf8(c.title));
        EXPECT_EQ(state.TagArtist, QString::fromUtf8(c.artist));
        EXPECT_EQ(state.TagAlbum, QString::fromUtf8(c.album));
        EXPECT_EQ(state.TagGenre, QString::fromUtf8(c.genre));
        EXPECT_EQ(state.TagTrack, QString::fromUtf8(c.track));
        EXPECT_EQ(state.TagYear, QString::fromUtf8(c.year));
        EXPECT_EQ(state.TagDescription, QString::fromUtf8(c.comment));
        EXPECT_EQ(w.LabComment->text(), "Comm: " + QString::fromUtf8(c.comment));
        EXPECT_NEAR(state.SourceLengthMs, c.lengthMs, 100);
        EXPECT_EQ(w.LabTime->text(), QString::fromUtf8(c.time));
        EXPECT_TRUE(w.LabInfo->text().startsWith("Title: " + QString::fromUtf8(c.title)));
    }
    // A VBR stream's bit rate is its average, not that of the header frame.
    ASSERT_TRUE(select(QStringLiteral(TONVERA_TEST_DATA "/taglet/modern/lame_v0.mp3"), "MP3"));
    EXPECT_NEAR(state.InputBitRate, 47000.0f, 2000.0f);
    EXPECT_EQ(state.InputFrequency, 22050.0f);
}

// An ID3v1 title cut at its 30 characters gives way to the whole frame; an ID3v1 tag without a
// year or comment leaves them to the frames, and a tagger's described comment gives way to one
// without a description.
TEST_F(PanelFixture, FramesFillTheYearTheCommentAndCutTitles)
{
    const auto frame = [](const char *id, const QByteArray &body) {
        QByteArray f(id);
        for (int shift : {24, 16, 8, 0})
            f.append(char((body.size() >> shift) & 0xff));
        return f + QByteArray(2, '\0') + body;
    };
    const QByteArray title = "Better Living Through Chemistry";
    const QByteArray frames = frame("TIT2", '\0' + title)
        + frame("TYER",
            QByteArray("\0"
                       "2004",
                5))
        + frame("COMM",
            QByteArray("\0eng"
                       "iTunNORM\0 0000044E",
                22))
        + frame("COMM", QByteArray("\0eng\0A plain comment", 20));
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag.append(char((frames.size() >> shift) & 0x7f));
    QByteArray v1 = "TAG" + title.left(30) + QByteArray(30, '\0') + QByteArray(30, '\0')
        + QByteArray(4, '\0') + QByteArray(30, '\0') + QByteArray(1, char(255));
    QFile plain(QStringLiteral(TONVERA_TEST_DATA "/playback/plain.mp3"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    const QByteArray audio = plain.readAll();
    QTemporaryDir dir;
    for (const bool withV1 : {false, true}) {
        SCOPED_TRACE(withV1 ? "both tags" : "ID3v2 only");
        QFile mp3(dir.filePath(withV1 ? "both.mp3" : "v2.mp3"));
        ASSERT_TRUE(mp3.open(QIODevice::WriteOnly));
        mp3.write(tag + frames + audio + (withV1 ? v1 : QByteArray()));
        mp3.close();

        ASSERT_TRUE(select(mp3.fileName(), "MP3"));
        EXPECT_EQ(state.TagTitle, title);
        EXPECT_EQ(state.TagYear, "2004");
        EXPECT_EQ(state.TagDescription, "A plain comment");
        EXPECT_TRUE(w.LabInfo->text().startsWith("Title: " + title + "  (2004)\n"))
            << w.LabInfo->text().toStdString();
        EXPECT_EQ(w.LabComment->text(), "Comm: A plain comment");
    }
}
