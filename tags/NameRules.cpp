#include "tags/NameRules.h"

#include <cmath>

namespace NameRules {

const QStringList &GenreList()
{
    static const QStringList list = {
        QStringLiteral("[none]"),
        QStringLiteral("A capella"),
        QStringLiteral("Acid Jazz"),
        QStringLiteral("Acid Punk"),
        QStringLiteral("Acid"),
        QStringLiteral("Acoustic"),
        QStringLiteral("Alternative"),
        QStringLiteral("AlternRock"),
        QStringLiteral("Ambient"),
        QStringLiteral("Avantgarde"),
        QStringLiteral("Ballad"),
        QStringLiteral("Bass"),
        QStringLiteral("Bebob"),
        QStringLiteral("Big Band"),
        QStringLiteral("Bluegrass"),
        QStringLiteral("Blues"),
        QStringLiteral("Booty Bass"),
        QStringLiteral("Cabaret"),
        QStringLiteral("Celtic"),
        QStringLiteral("Chamber Music"),
        QStringLiteral("Chanson"),
        QStringLiteral("Chorus"),
        QStringLiteral("Christian Rap"),
        QStringLiteral("Classic Rock"),
        QStringLiteral("Classical"),
        QStringLiteral("Club"),
        QStringLiteral("Comedy"),
        QStringLiteral("Country"),
        QStringLiteral("Cult"),
        QStringLiteral("Dance Hall"),
        QStringLiteral("Dance"),
        QStringLiteral("Darkwave"),
        QStringLiteral("Death Metal"),
        QStringLiteral("Disco"),
        QStringLiteral("Dream"),
        QStringLiteral("Drum Solo"),
        QStringLiteral("Duet"),
        QStringLiteral("Easy Listening"),
        QStringLiteral("Electronic"),
        QStringLiteral("Ethnic"),
        QStringLiteral("Eurodance"),
        QStringLiteral("Euro-House"),
        QStringLiteral("Euro-Techno"),
        QStringLiteral("Fast Fusion"),
        QStringLiteral("Folk"),
        QStringLiteral("Folklore"),
        QStringLiteral("Folk-Rock"),
        QStringLiteral("Freestyle"),
        QStringLiteral("Funk"),
        QStringLiteral("Fusion"),
        QStringLiteral("Game"),
        QStringLiteral("Gangsta"),
        QStringLiteral("Gospel"),
        QStringLiteral("Gothic Rock"),
        QStringLiteral("Gothic"),
        QStringLiteral("Grunge"),
        QStringLiteral("Hard Rock"),
        QStringLiteral("Hip-Hop"),
        QStringLiteral("House"),
        QStringLiteral("Humour"),
        QStringLiteral("Industrial"),
        QStringLiteral("Instrumental Pop"),
        QStringLiteral("Instrumental Rock"),
        QStringLiteral("Instrumental"),
        QStringLiteral("Jazz"),
        QStringLiteral("Jazz+Funk"),
        QStringLiteral("Jungle"),
        QStringLiteral("Latin"),
        QStringLiteral("Lo-Fi"),
        QStringLiteral("Meditative"),
        QStringLiteral("Metal"),
        QStringLiteral("Musical"),
        QStringLiteral("National Folk"),
        QStringLiteral("Native American"),
        QStringLiteral("New Age"),
        QStringLiteral("New Wave"),
        QStringLiteral("Noise"),
        QStringLiteral("Oldies"),
        QStringLiteral("Opera"),
        QStringLiteral("Other"),
        QStringLiteral("Polka"),
        QStringLiteral("Pop"),
        QStringLiteral("Pop/Funk"),
        QStringLiteral("Pop-Folk"),
        QStringLiteral("Porn Groove"),
        QStringLiteral("Power Ballad"),
        QStringLiteral("Pranks"),
        QStringLiteral("Primus"),
        QStringLiteral("Progressive Rock"),
        QStringLiteral("Psychadelic"),
        QStringLiteral("Psychedelic Rock"),
        QStringLiteral("Punk Rock"),
        QStringLiteral("Punk"),
        QStringLiteral("R&B"),
        QStringLiteral("Rap"),
        QStringLiteral("Rave"),
        QStringLiteral("Reggae"),
        QStringLiteral("Retro"),
        QStringLiteral("Revival"),
        QStringLiteral("Rhythmic Soul"),
        QStringLiteral("Rock & Roll"),
        QStringLiteral("Rock"),
        QStringLiteral("Samba"),
        QStringLiteral("Satire"),
        QStringLiteral("Showtunes"),
        QStringLiteral("Ska"),
        QStringLiteral("Slow Jam"),
        QStringLiteral("Slow Rock"),
        QStringLiteral("Sonata"),
        QStringLiteral("Soul"),
        QStringLiteral("Sound Clip"),
        QStringLiteral("Soundtrack"),
        QStringLiteral("Southern Rock"),
        QStringLiteral("Space"),
        QStringLiteral("Speech"),
        QStringLiteral("Swing"),
        QStringLiteral("Symphonic Rock"),
        QStringLiteral("Symphony"),
        QStringLiteral("Tango"),
        QStringLiteral("Techno"),
        QStringLiteral("Techno-Industrial"),
        QStringLiteral("Top 40"),
        QStringLiteral("Trailer"),
        QStringLiteral("Trance"),
        QStringLiteral("Tribal"),
        QStringLiteral("Trip-Hop"),
        QStringLiteral("Vocal"),
    };
    return list;
}

int GenreIndexForPiece(const QString &piece)
{
    const QStringList &list = GenreList();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].startsWith(piece, Qt::CaseSensitive))
            return int(i);
    return -1;
}

namespace {

// The number a text starts with, as a whole number (leading blanks skipped; "3/12" is 3).
long long leadingWholeNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == u'-' || t[end] == u'+'))
        ++end;
    while (end < t.size() && t[end].isDigit() && t[end].unicode() < 128)
        ++end;
    bool ok = false;
    const long long value = t.left(end).toLongLong(&ok);
    return ok ? value : 0;
}

bool isNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok && std::isfinite(value);
}

// The whole-number value of a numeric code ("3", "3 ", "03").
int codeNumber(const QString &code)
{
    return int(std::trunc(code.trimmed().toDouble()));
}

} // namespace

QString TrackParam(const QString &tagTrack)
{
    return leadingWholeNumber(tagTrack) >= 1 ? tagTrack : QString();
}

bool IsNumericText(const QString &text)
{
    return text.trimmed().isEmpty() || isNumber(text);
}

QString NormaliseTemplate(const QString &tmpl)
{
    QString t = tmpl.toUpper();
    static const char *const codes[][2]
        = {{"$G", "$1"}, {"$Y", "$2"}, {"$A", "$3"}, {"$B", "$4"}, {"$K", "$5"}, {"$T", "$6"}};
    for (const auto &code : codes)
        t.replace(QLatin1String(code[0]), QLatin1String(code[1]));
    return t;
}

QString Imposta_Nome(const ParamTexts &values, const ParamChecks &checks,
    const ParamPositions &positions, const QString &separator, const QString &defaultName)
{
    std::array<QString, ParamCount> placed;
    for (int n = 0; n < ParamCount; ++n) {
        const int position = positions[size_t(n)];
        if (position >= 1 && position <= ParamCount && checks[size_t(n)])
            placed[size_t(position - 1)] = values[size_t(n)];
    }
    QStringList parts;
    for (const QString &slot : placed)
        if (!slot.isEmpty())
            parts << slot;
    const QString joined = parts.join(separator);
    return SafeFileName(joined.isEmpty() ? defaultName : joined);
}

QString Imposta_NomeAdv(const QString &tmpl, const ParamTexts &values, const QString &defaultName)
{
    // One pass, so that a value holding "$2" stays as it is.
    const QString normal = NormaliseTemplate(tmpl);
    QString result;
    for (qsizetype i = 0; i < normal.size(); ++i) {
        if (normal[i] == u'$' && i + 1 < normal.size() && normal[i + 1] >= u'1'
            && normal[i + 1] <= u'6') {
            result += values[size_t(normal[i + 1].unicode() - u'1')];
            ++i;
        } else {
            result += normal[i];
        }
    }
    return SafeFileName(result.isEmpty() ? defaultName : result);
}

QString TemplateOfChecks(const ParamChecks &checks, const ParamPositions &positions)
{
    std::array<QString, ParamCount> placed;
    for (int n = 0; n < ParamCount; ++n) {
        const int position = positions[size_t(n)];
        if (position >= 1 && position <= ParamCount && checks[size_t(n)])
            placed[size_t(position - 1)] = u'$' + QString::number(n + 1);
    }
    QStringList parts;
    for (const QString &slot : placed)
        if (!slot.isEmpty())
            parts << slot;
    return parts.join(u' ');
}

NameTags Imposta_TagAdv(const QString &name, const QString &separator, const QString &tmpl)
{
    NameTags tags;
    const QStringList pieces = separator.isEmpty() ? QStringList {name} : name.split(separator);
    const QStringList codes = NormaliseTemplate(tmpl).split(u'$');
    const qsizetype count
        = std::min<qsizetype>({codes.size() - 1, pieces.size(), qsizetype(ParamCount)});
    for (qsizetype k = 1; k <= count; ++k) {
        const QString piece = pieces[k - 1].trimmed();
        const QString &code = codes[k];
        if (code.isEmpty() || !isNumber(code))
            continue;
        switch (codeNumber(code)) {
        case Genre:
            tags.genreIndex = GenreIndexForPiece(piece);
            break;
        case Year:
            if (isNumber(piece))
                tags.year = piece;
            break;
        case Artist:
            tags.artist = piece;
            break;
        case Album:
            tags.album = piece;
            break;
        case Title:
            tags.title = piece;
            break;
        default:
            break;
        }
    }
    return tags;
}

QString Ricava_Delimitatore(const QString &name)
{
    for (const char *candidate : {"-", "/", "_", ":", ".", ";", "*", "+", "^", "%", "!", ","})
        if (name.contains(QLatin1String(candidate)))
            return QLatin1String(candidate);
    return QString();
}

QString ForbiddenSeparatorText()
{
    return QStringLiteral("  \\/:*?\">");
}

bool SeparatorIsForbidden(const QString &separator)
{
    for (QChar c : separator)
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return true;
    return false;
}

QString SafeFileName(const QString &name, int reserve)
{
    QString safe = name;
    safe.replace(u'/', u'_');
    safe.replace(QChar(u'\0'), u'_');
    if (safe == QLatin1String("."))
        safe = QStringLiteral("_");
    else if (safe == QLatin1String(".."))
        safe = QStringLiteral("__");
    // Cut whole characters (never half of a pair) until the name fits.
    const int limit = 255 - reserve;
    while (safe.toUtf8().size() > limit) {
        safe.chop(1);
        if (!safe.isEmpty() && safe.back().isHighSurrogate())
            safe.chop(1);
    }
    return safe;
}

QString NonLatin1Characters(const QString &text)
{
    QString found;
    for (const char32_t c : text.toUcs4()) {
        if (c <= 0xff)
            continue;
        const QString character = QString::fromUcs4(&c, 1);
        if (!found.contains(character))
            found += character;
    }
    return found;
}

} // namespace NameRules
