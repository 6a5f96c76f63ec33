#include "PanelText.h"

#include "WavInfo.h"

#include <QRegularExpression>
#include <cmath>

namespace PanelText {

namespace {
// The panel's labels are plain-text QLabels, which break lines on a line feed alone.
const QString LineBreak = QStringLiteral("\n");

QString label(const QString &word)
{
    return word + QStringLiteral(": ");
}
} // namespace

QString TimeLine(double sourceLengthMs, const Words &words)
{
    if (!(sourceLengthMs > 0)) // also catches NaN from a probe that could not measure
        sourceLengthMs = 0;
    const long long minutes = static_cast<long long>(std::floor(sourceLengthMs / 60000.0));
    long long seconds = static_cast<long long>(
        std::floor((sourceLengthMs - static_cast<double>(minutes) * 60000.0) / 1000.0));
    if (seconds == 0)
        seconds = 1;
    return label(words.Time)
        + QStringLiteral("%1' %2%3\"")
              .arg(minutes)
              .arg(seconds >= 10 ? QString() : QStringLiteral("0"))
              .arg(seconds);
}

long long LeadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
        if (value > 100000000000000LL) // far beyond any track number; stop before overflow
            break;
        value = value * 10 + (t[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

QString TrackSuffix(const QString &tagTrack, const Words &words)
{
    if (LeadingNumber(tagTrack) > 0)
        return QStringLiteral("    ") + words.Track + tagTrack;
    return QString();
}

QString GeneralDate(const QDateTime &when, const QLocale &locale)
{
    // The long time format carries the time zone ("t"); the panel shows the clock time only.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return locale.toString(when.date(), QLocale::ShortFormat) + u' '
        + locale.toString(when.time(), timeFormat.trimmed());
}

QString HeaderLines(
    const QString &sizeText, const QDateTime &modified, const QLocale &locale, const Words &words)
{
    return label(words.Size) + sizeText + LineBreak + LineBreak + label(words.Date)
        + GeneralDate(modified, locale);
}

QString WmaInfoText(const QString &title, const QString &artist, const QString &copyright,
    const QString &description, const Words &words)
{
    return label(words.Title) + title + LineBreak + label(words.Artist) + artist + LineBreak
        + label(words.Copyright) + copyright + LineBreak + description;
}

QString WavInfoText(const WavInfo &info, const Words &words)
{
    // Widened so that a corrupt bytes-per-second field cannot overflow.
    const qint64 bitRate = static_cast<qint64>(info.bytesPerSecond) * 8;
    return QStringLiteral("WaveAudio ")
        + (info.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo")) + LineBreak
        + LineBreak + label(words.SamplingRate) + QString::number(info.sampleRate) + LineBreak
        + label(words.BitRate) + QString::number(bitRate) + LineBreak + label(words.BitsPerSample)
        + QString::number(info.bitsPerSample);
}

namespace {
// Blanks off both ends, as taglet trims ID3v1 fields.
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// The comment a reader means: taggers keep their own data (iTunNORM ...) in described ones,
// and a player's numbers for loudness and gapless playback are never anybody's comment.
const CommentFrame *chosenComment(const std::vector<CommentFrame> &comments)
{
    const CommentFrame *chosen = nullptr;
    for (const CommentFrame &comment : comments) {
        if (comment.text.isEmpty() || comment.description.startsWith(u"iTun"))
            continue;
        if (comment.description.isEmpty())
            return &comment;
        if (!chosen)
            chosen = &comment;
    }
    return chosen;
}
} // namespace

bool IsId3v1Shadow(const QString &v1Text, const QString &v2Text, qsizetype fieldWidth)
{
    // An encoder writing both tags puts "?" in the ID3v1 field for every character Latin-1
    // cannot hold, and cuts the text to the field's bytes.
    if (v1Text.isEmpty() || v1Text.size() > fieldWidth)
        return false;
    QString written = v2Text.left(fieldWidth);
    bool lost = v2Text.size() > fieldWidth;
    for (QChar &c : written) {
        if (c.unicode() > 0xFF) {
            c = u'?';
            lost = true;
        }
    }
    return lost && (v1Text == written || v1Text == trimBlanks(written));
}

QString YearOf(const QString &date)
{
    qsizetype run = 0;
    for (qsizetype i = 0; i < date.size(); ++i) {
        run = date[i] >= u'0' && date[i] <= u'9' ? run + 1 : 0;
        if (run == 4)
            return date.mid(i - 3, 4);
    }
    return date.trimmed();
}

void FillFromTextFrames(TagFields &fields, const std::vector<TextFrame> &frames,
    const std::vector<CommentFrame> &comments,
    const std::function<QString(const QString &)> &decodeTcon)
{
    // The ID3v1 value stands, unless it is only the frame's text with characters lost or cut.
    auto fill = [](QString &field, const QString &frameText, qsizetype width = 30) {
        if (frameText.isEmpty())
            return;
        if (field.isEmpty() || IsId3v1Shadow(field, frameText, width))
            field = frameText;
    };
    // An ID3v1.1 tag (one with a track number) gives its comment 28 characters.
    const qsizetype commentWidth = LeadingNumber(fields.Track) > 0 ? 28 : 30;
    for (const TextFrame &frame : frames) {
        if (frame.name == u"TIT2") {
            fill(fields.Title, frame.value);
        } else if (frame.name == u"TPE1") {
            fill(fields.Artist, frame.value);
        } else if (frame.name == u"TALB") {
            fill(fields.Album, frame.value);
        } else if (frame.name == u"TYER" || frame.name == u"TDRC") {
            if (fields.Year.isEmpty())
                fields.Year = YearOf(frame.value);
        } else if (frame.name == u"TRCK") {
            // A v1 tag without a track number leaves "0"; the v2 frame is the better answer.
            if (fields.Track.isEmpty() || fields.Track == u"0")
                fields.Track = frame.value;
        } else if (frame.name == u"TCON") {
            if (fields.Genre.isEmpty())
                fields.Genre = decodeTcon ? decodeTcon(frame.value) : frame.value;
        }
    }
    if (const CommentFrame *comment = chosenComment(comments))
        fill(fields.Description, comment->text, commentWidth);
}

QString Mp3InfoText(TagFields &fields, bool copyrightBit, bool tagOnlyMode, const Words &words)
{
    QString text = label(words.Title) + fields.Title;
    if (!fields.Year.isEmpty())
        text += QStringLiteral("  (") + fields.Year + u')';
    text += LineBreak + label(words.Artist) + fields.Artist;
    if (copyrightBit) {
        if (!fields.Artist.isEmpty() && !tagOnlyMode) {
            fields.Copyright = fields.Artist;
            text += QStringLiteral(" (c)");
        } else {
            fields.Copyright = QStringLiteral("(c)");
        }
    }
    text += LineBreak + label(words.Album) + fields.Album + LineBreak + label(words.Genre)
        + fields.Genre;
    return text;
}

QString CommentLine(const QString &description, const Words &words)
{
    return label(words.Comm) + description;
}

} // namespace PanelText
