#pragma once
// Texts of the file information panel, kept apart from the widgets so that every line the user
// reads can be checked directly.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>
#include <vector>

class WavInfo;

namespace PanelText {

// The words of the panel's lines, in the interface language; English unless the caller gives
// others.
struct Words
{
    QString Size = QStringLiteral("Size"), Date = QStringLiteral("Date"),
            Time = QStringLiteral("Time"), Title = QStringLiteral("Title"),
            Artist = QStringLiteral("Artist"), Album = QStringLiteral("Album"),
            Genre = QStringLiteral("Genre"), Comm = QStringLiteral("Comm"),
            Copyright = QStringLiteral("Copyright"), Track = QStringLiteral("Track #"),
            SamplingRate = QStringLiteral("Sampling rate (Hz)"),
            BitRate = QStringLiteral("Bit rate (bps)"),
            BitsPerSample = QStringLiteral("Bits per sample");
};

// The tag values the panel shows and hands on to the tag editor and the conversion.
struct TagFields
{
    QString Title, Artist, Album, Copyright, Description, Genre, Year, Track;
};

// One ID3v2 text frame: its four-letter id and its value.
struct TextFrame
{
    QString name;
    QString value;
};

// One ID3v2 comment (COMM): its description and its text.
struct CommentFrame
{
    QString description;
    QString text;
};

// "Time: 3' 07"" for 187 000 ms; a time under one second shows as 1 second.
QString TimeLine(double sourceLengthMs, const Words &words = {});

// The leading decimal number of a text, as a number field typed by a user is read: "3/12" is 3,
// "abc" and "" are 0.
long long LeadingNumber(const QString &text);

// "    Track #N" when the track reads as a number above 0, otherwise "".
QString TrackSuffix(const QString &tagTrack, const Words &words = {});

// The size and date lines: "Size: 1.234 K", an empty line, "Date: " and the modification time.
QString HeaderLines(const QString &sizeText, const QDateTime &modified,
    const QLocale &locale = QLocale::system(), const Words &words = {});

// The platform's general date: short date and the time with seconds, no time zone.
QString GeneralDate(const QDateTime &when, const QLocale &locale = QLocale::system());

// Four lines of a WMA file's clip information.
QString WmaInfoText(const QString &title, const QString &artist, const QString &copyright,
    const QString &description, const Words &words = {});

// The format lines of a WAV file whose header carries the RIFF/WAVE signature.
QString WavInfoText(const WavInfo &info, const Words &words = {});

// True when an ID3v1 text is only what an encoder writing both tags made of a frame's text:
// "?" for every character Latin-1 cannot hold, cut to the field's width (30 characters, 28 for
// the comment of a tag with a track number), and something lost on the way. Blanks at the ends
// of the cut may be gone, as a reader that trims ID3v1 fields leaves it.
bool IsId3v1Shadow(const QString &v1Text, const QString &v2Text, qsizetype fieldWidth = 30);

// What a year field shows of a date: its first four-digit year ("2004-05-06" gives "2004");
// a text without one as it stands.
QString YearOf(const QString &date);

// The ID3v1 fields come first; ID3v2 frames fill only the fields the v1 tag left empty, or that
// hold only the ID3v1 shadow of the frame's text: TIT2, TPE1, TALB, TYER or TDRC (the year),
// TRCK, TCON, and the comment from the first COMM without a description (taggers keep their
// own data in described ones), else the first one. Empty frames fill nothing.
// A track of "0" means the v1 tag had no track number, so TRCK may fill it.
void FillFromTextFrames(TagFields &fields, const std::vector<TextFrame> &frames,
    const std::vector<CommentFrame> &comments,
    const std::function<QString(const QString &)> &decodeTcon);

// The tag lines of an MP3. Applies the copyright-bit rule to fields.Copyright: the artist owns
// the copyright when there is one (and no tag-only run is editing the file), else "(c)".
QString Mp3InfoText(
    TagFields &fields, bool copyrightBit, bool tagOnlyMode, const Words &words = {});

// "Comm: " and the comment.
QString CommentLine(const QString &description, const Words &words = {});

} // namespace PanelText
