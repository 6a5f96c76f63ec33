#include "InfoPanel.h"

#include "PanelText.h"
#include "SizeText.h"
#include "WavInfo.h"
#include "core/AppState.h"
#include "core/PathHelpers.h"
#include "core/StatusLine.h"
#include "core/texts/LocalText.h"
#include "playback/MediaControls.h"
#include "playback/MediaProbe.h"
#include "playback/Mp3SectionDecoder.h"

#include <taglet/Taglet.h>

#include <QAbstractButton>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>

namespace {
const QString Indent8 = QStringLiteral("        ");

// Tag texts as a user reads them: a tagger's terminating zero (and anything after it) is not
// part of the text.
QString fromTaglet(const std::u16string &text)
{
    return TrimAtNul(QString::fromStdU16String(text));
}
} // namespace

InfoPanel::InfoPanel(
    const InfoPanelWidgets &widgets, AppState &state, MediaControls &media, StatusLine &status)
    : w(widgets)
    , state(state)
    , status(status)
    , TagletPro1(media.TagletPro1())
    , MediaPlayer2(media.MediaPlayer2())
    , Mp3Play1(media.Mp3Play1())
{
}

double InfoPanel::probedLengthMs(const QString &path)
{
    if (MediaPlayer2.fileName() != path && !MediaPlayer2.setFileName(path))
        return 0;
    return 1000.0 * MediaPlayer2.Duration();
}

bool InfoPanel::ShowCurrentFile(const QString &path, const QString &type)
{
    if (path != state.ShownFilePath) {
        Clear_Info();
        status.showWarningPicture(false);
    }
    // What was wrong with the file shown before is no news about this one.
    status.clearFileProblem();
    if (!state.RunStopped)
        status.hideDot();

    MediaPlayer2.setFileName(QString());
    if (QFileInfo(path).size() == 0) {
        ShowFileHeader(path, type);
        state.ShownFilePath = path;
        return false;
    }

    bool tagRead = false;
    if (type == u"WAV") {
        w.LabINP->setText(QStringLiteral("Wave"));
        w.chkWMA->setEnabled(true);
        w.chkWAV->setEnabled(false);
        state.SourceLengthMs = probedLengthMs(path);
        // The encoder's profile choice assumes CD-quality input for every WAV.
        state.InputBitRate = 64016;
        state.InputFrequency = 44100;
    } else if (type == u"MP3") {
        w.LabINP->setText(QStringLiteral("MP3"));
        w.chkWAV->setEnabled(true);
        w.chkWMA->setEnabled(true);
        if (Mp3Play1.status(path) == 0) {
            state.FileFormatValid = true;
            readTag(path);
            tagRead = true;
            state.InputBitRate = 1000.0f * TagletPro1.Bitrate();
            state.InputFrequency = static_cast<float>(TagletPro1.Frequency());
            state.SourceLengthMs = TagletPro1.LengthMs();
        } else {
            // A file the decoder refuses must not keep the previous file's validity or length.
            state.FileFormatValid = false;
            state.SourceLengthMs = 0;
        }
    } else if (type == u"WMA") {
        w.LabINP->setText(QStringLiteral("WM Audio"));
        w.chkWMA->setEnabled(false);
        w.chkWAV->setEnabled(false);
        state.SourceLengthMs = probedLengthMs(path);
        // Only a file the probe can open as media is worth handing to the encoder.
        state.FileFormatValid = MediaPlayer2.fileName() == path;
    }
    if (type == u"WAV" || type == u"MP3" || type == u"WMA") {
        w.LabINP->show();
        w.LabOUT->show();
    }

    showDetails(path, type, tagRead);
    MediaPlayer2.setFileName(QString());
    state.ShownFilePath = path;
    return true;
}

void InfoPanel::ShowFileInfo(const QString &path, const QString &type)
{
    showDetails(path, type, false);
}

void InfoPanel::readTag(const QString &path)
{
    try {
        // MP3s as current taggers write them: ID3v2.2 to v2.4 with Unicode texts, and the
        // measured length of VBR streams. ID3v1 reads the same in both modes.
        TagletPro1.setModern(true);
        TagletPro1.setFilename(path.toStdU16String());
        TagletPro1.Read();
    } catch (const std::exception &) {
        // Whatever the tag control could read before the failure is still used.
    }
}

void InfoPanel::showDetails(const QString &path, const QString &type, bool tagRead)
{
    w.LabTime->setText(PanelText::TimeLine(state.SourceLengthMs, words()));
    ShowFileHeader(path, type);

    // Every field comes from this file alone: a value left over from the file shown before
    // would travel into the tag editor and the converted file.
    state.TagYear.clear();
    state.TagGenre.clear();
    state.TagTitle.clear();
    state.TagArtist.clear();
    state.TagCopyright.clear();
    state.TagDescription.clear();
    state.TagAlbum.clear();
    state.TagTrack.clear();
    state.TagAlbumArtist.clear();
    state.TagComposer.clear();
    state.TagTrackFrame.clear();

    if (type == u"WMA")
        showWmaInfo(path);
    else if (type == u"WAV")
        showWavInfo(path);
    else if (type == u"MP3")
        showMp3Info(path, tagRead);
}

void InfoPanel::showWmaInfo(const QString &path)
{
    if (MediaPlayer2.fileName() != path)
        MediaPlayer2.setFileName(path);
    state.TagTitle = MediaPlayer2.GetMediaInfoString(MediaProbe::Title);
    state.TagArtist = MediaPlayer2.GetMediaInfoString(MediaProbe::Author);
    state.TagCopyright = MediaPlayer2.GetMediaInfoString(MediaProbe::Copyright);
    state.TagDescription = MediaPlayer2.GetMediaInfoString(MediaProbe::Description);
    // Not shown, but a WMA encoded again keeps them.
    const MediaProbe::AlbumTags &album = MediaPlayer2.albumTags();
    state.TagAlbum = album.album;
    state.TagTrack = album.track;
    state.TagYear = album.year;
    state.TagGenre = album.genre;
    state.TagAlbumArtist = album.albumArtist;
    state.TagComposer = album.composer;
    w.LabInfo->setText(PanelText::WmaInfoText(
        state.TagTitle, state.TagArtist, state.TagCopyright, state.TagDescription, words()));
    w.LabComment->clear();
}

void InfoPanel::showWavInfo(const QString &path)
{
    const WavInfo info = WavInfo::readFile(path);
    state.FileFormatValid = info.isValid();
    const QString invalid = LocalText(state, 1199, QStringLiteral("INVALID FILE FORMAT !!!"));
    if (info.hasSignature()) {
        state.WaveBitsPerSample = info.bitsPerSample;
        w.LabInfo->setText(PanelText::WavInfoText(info, words()));
    } else {
        w.LabInfo->setText(invalid);
    }
    if (!state.FileFormatValid)
        status.showFileProblem(invalid);
    w.LabComment->clear();
}

void InfoPanel::showMp3Info(const QString &path, bool tagRead)
{
    PanelText::TagFields f;
    bool copyrightBit = false;
    if (!tagRead)
        readTag(path);
    try {
        f.Genre = fromTaglet(TagletPro1.Genre());
        f.Year = fromTaglet(TagletPro1.Year());
        f.Artist = fromTaglet(TagletPro1.Artist());
        f.Album = fromTaglet(TagletPro1.Album());
        f.Track = QString::number(TagletPro1.Track());
        f.Title = fromTaglet(TagletPro1.Song());
        f.Description = fromTaglet(TagletPro1.Comment());
        copyrightBit = TagletPro1.Copyright();
        const auto have = TagletPro1.HaveTag();
        if (have == taglet::tagID3v2 || have == taglet::tagID3Both) {
            std::vector<PanelText::TextFrame> frames;
            const int count = TagletPro1.TextFrameNum();
            for (int i = 1; i <= count; ++i) {
                const auto n = static_cast<std::int16_t>(i);
                frames.push_back(
                    {fromTaglet(TagletPro1.TextFrameName(n)), fromTaglet(TagletPro1.TextFrame(n))});
            }
            for (const PanelText::TextFrame &frame : frames) {
                if (frame.name == u"TPE2" && state.TagAlbumArtist.isEmpty())
                    state.TagAlbumArtist = frame.value;
                else if (frame.name == u"TCOM" && state.TagComposer.isEmpty())
                    state.TagComposer = frame.value;
                else if (frame.name == u"TRCK" && state.TagTrackFrame.isEmpty())
                    state.TagTrackFrame = frame.value;
            }
            // Comments carry a description beside their text, so they have a list of their own.
            std::vector<PanelText::CommentFrame> comments;
            const int commentCount = TagletPro1.CommentFrameNum();
            for (int i = 1; i <= commentCount; ++i) {
                const auto n = static_cast<std::int16_t>(i);
                comments.push_back({fromTaglet(TagletPro1.CommentFrameDescription(n)),
                    fromTaglet(TagletPro1.CommentFrame(n))});
            }
            PanelText::FillFromTextFrames(f, frames, comments, [this](const QString &tcon) {
                std::u16string text = tcon.toStdU16String();
                return fromTaglet(TagletPro1.DecodeTCON(text));
            });
        }
    } catch (const std::exception &) {
        // Frame lists missing after a failed read: the fields read so far stand.
    }

    const PanelText::Words panelWords = words();
    const QString info = PanelText::Mp3InfoText(f, copyrightBit, state.TagOnlyMode, panelWords);
    state.TagGenre = f.Genre;
    state.TagYear = f.Year;
    state.TagArtist = f.Artist;
    state.TagAlbum = f.Album;
    state.TagTrack = f.Track;
    state.TagTitle = f.Title;
    state.TagDescription = f.Description;
    state.TagCopyright = f.Copyright;
    w.LabInfo->setText(info);
    w.LabComment->setText(PanelText::CommentLine(f.Description, panelWords));
    w.LabTime->setText(w.LabTime->text() + PanelText::TrackSuffix(f.Track, panelWords));
}

PanelText::Words InfoPanel::words() const
{
    PanelText::Words words;
    const struct
    {
        QString *word;
        int number;
    } texts[] = {{&words.Size, 12010}, {&words.Date, 12011}, {&words.Time, 12012},
        {&words.Title, 12013}, {&words.Artist, 12014}, {&words.Album, 12015}, {&words.Genre, 12016},
        {&words.Comm, 12017}, {&words.Copyright, 12018}, {&words.Track, 12019},
        {&words.SamplingRate, 12020}, {&words.BitRate, 12021}, {&words.BitsPerSample, 12022}};
    for (const auto &text : texts)
        *text.word = LocalText(state, text.number, *text.word);
    return words;
}

void InfoPanel::ShowFileHeader(const QString &path, const QString &type)
{
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    w.LabTit->setText(Indent8 + file.fileName());
    if (!type.isEmpty()) {
        const QString ext = file.suffix().toUpper();
        QPixmap picture;
        if (type == u"MP3")
            picture = w.ImgMP3->pixmap();
        else if (type == u"WAV")
            picture = w.ImgWav->pixmap();
        else if (ext == u"WMA" || ext == u"WMV")
            picture = w.ImgWMA->pixmap();
        else if (w.window)
            picture = w.window->windowIcon().pixmap(32, 32);
        w.ImgTyp->setPixmap(picture);
        w.ImgTyp->show();
    }
    const QString size = SizeText(path, 0, LocalText(state, 100, QStringLiteral("bytes")));
    w.LabMsg->setText(
        PanelText::HeaderLines(size, file.lastModified(), InterfaceLocale(state), words()));
}

void InfoPanel::Clear_Info()
{
    state.TagTitle.clear();
    state.TagArtist.clear();
    state.TagCopyright.clear();
    state.TagDescription.clear();
    for (QLabel *label :
        {w.LabTit, w.LabTime, w.LabInfo, w.LabMsg, w.LabComment, w.LabBarINP, w.LabBarOUT})
        label->clear();
    w.ImgTyp->hide();
}
