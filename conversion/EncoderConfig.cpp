#include "conversion/EncoderConfig.h"

#include "browser/PanelText.h"

#include "core/PathHelpers.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// "(Trk #7)" and the album go in front of the description, as the encoder has no fields of
// its own for them.
QString ComposedDescription(const QString &description, const QString &album, const QString &track)
{
    const long long number = PanelText::LeadingNumber(track);
    QString result = description;
    if (number > 0)
        result = QStringLiteral("(Trk #") + track + u')' + CrLf + result;
    if (!album.isEmpty())
        result = QStringLiteral("Album: ") + album + (number < 1 ? CrLf : QStringLiteral(" "))
            + result;
    return result;
}

// The encoder reads title, author and copyright as one line each.
QString OnOneLine(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') {
            result += text[i];
        } else if (i == 0 || (text[i - 1] != u'\r' && text[i - 1] != u'\n')) {
            result += u' ';
        }
    }
    return result;
}

// The first count characters (code points), never half of a surrogate pair.
QString FirstCharacters(const QString &text, int count)
{
    qsizetype units = 0;
    for (int n = 0; n < count && units < text.size(); ++n) {
        const bool pair = text[units].isHighSurrogate() && units + 1 < text.size()
            && text[units + 1].isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

// The encoder takes whole milliseconds without a sign; a section never lies before the start.
QString MsText(int32_t ms)
{
    return QString::number(ms < 0 ? 0 : ms);
}

bool FitsOneLine(const QString &value)
{
    return !value.contains(u'\n') && !value.contains(QChar(0));
}

// The options of the lines after the description, in their order.
constexpr QLatin1StringView FieldOptions[]
    = {QLatin1StringView("-album "), QLatin1StringView("-track "), QLatin1StringView("-year "),
        QLatin1StringView("-genre "), QLatin1StringView("-albumartist "),
        QLatin1StringView("-composer "), QLatin1StringView("-picture ")};

// The encoder finds the description's end by taking the field lines off the end of the file; a
// description line that began like one of them would be taken too. A blank in front keeps it
// in the description.
QString KeptInDescription(const QString &description)
{
    QString result;
    result.reserve(description.size());
    for (qsizetype i = 0; i < description.size(); ++i) {
        if (i > 0 && (description[i - 1] == u'\n' || description[i - 1] == u'\r')) {
            const QStringView rest = QStringView(description).mid(i);
            for (const QLatin1StringView option : FieldOptions) {
                if (rest.startsWith(option)) {
                    result += u' ';
                    break;
                }
            }
        }
        result += description[i];
    }
    return result;
}

// A field on a line of its own, as the encoder stores it.
QString OneLineField(const QString &text)
{
    return FirstCharacters(OnOneLine(TrimAtNul(text)), EncoderConfig::MaxTextLength);
}

} // namespace

EncoderConfig::EncoderConfig(const QString &input, const QString &output, const QString &profile,
    const EncoderSectionFields &section, const EncoderTagFields &tags)
    : m_input(input)
    , m_output(output)
    , m_profile(profile)
    , m_section(section)
    , m_tags(tags)
{
    // Texts end at a NUL everywhere in the program, and so they do for the encoder.
    for (QString *text :
        {&m_tags.TagTitle, &m_tags.TagArtist, &m_tags.TagCopyright, &m_tags.TagDescription,
            &m_tags.TagAlbum, &m_tags.TagTrack, &m_tags.TagYear, &m_tags.TagGenre,
            &m_tags.TagAlbumArtist, &m_tags.TagComposer, &m_tags.TagTrackFrame}) {
        *text = TrimAtNul(*text);
    }
    // The encoder refuses a line break in these three.
    for (QString *text : {&m_tags.TagTitle, &m_tags.TagArtist, &m_tags.TagCopyright})
        *text = FirstCharacters(OnOneLine(*text), MaxTextLength);
    if (!m_tags.DescriptionAsIs)
        m_tags.TagDescription
            = ComposedDescription(m_tags.TagDescription, m_tags.TagAlbum, m_tags.TagTrack);
    m_tags.TagDescription
        = FirstCharacters(KeptInDescription(m_tags.TagDescription), MaxTextLength);
    m_tags.TagAlbum = tags.TagAlbum;
    m_tags.TagTrack = tags.TagTrack;
}

bool EncoderConfig::isWritable() const
{
    return !m_input.isEmpty() && !m_output.isEmpty() && !m_profile.isEmpty() && FitsOneLine(m_input)
        && FitsOneLine(m_output) && FitsOneLine(m_profile) && FitsOneLine(m_section.SectionTimes);
}

QByteArray EncoderConfig::bytes() const
{
    QString text;
    const auto line = [&text](QLatin1StringView option, const QString &value) {
        text += option + value + CrLf;
    };
    const auto quoted = [&line](QLatin1StringView option, const QString &value) {
        if (!value.isEmpty())
            line(option, u'"' + value + u'"');
    };

    line(QLatin1StringView("-input "), m_input);
    line(QLatin1StringView("-output "), m_output);
    // An MP3 decoded whole is cut by the encoder; WAV and WMA sources carry their section in
    // SectionTimes. The encoder takes one section only.
    const bool encoderCutsMp3
        = m_section.CutSectionOnly && !m_section.SectionDecoded && m_section.mp3Source;
    if (encoderCutsMp3)
        line(QLatin1StringView("-time "),
            MsText(m_section.SectionStart) + u' ' + MsText(m_section.SectionEnd));
    line(QLatin1StringView("-profile "), m_profile);
    if (!encoderCutsMp3 && !m_section.SectionTimes.isEmpty())
        line(QLatin1StringView("-time "), m_section.SectionTimes);
    quoted(QLatin1StringView("-title "), m_tags.TagTitle);
    quoted(QLatin1StringView("-author "), m_tags.TagArtist);
    quoted(QLatin1StringView("-copyright "), m_tags.TagCopyright);
    quoted(QLatin1StringView("-description "), m_tags.TagDescription);

    // A track the panel shows as none ("0", "abc") is no track number either. The frame's
    // "n/total" stands for the same number as ID3v1 or the editor gave it.
    const long long trackNumber = PanelText::LeadingNumber(m_tags.TagTrack);
    const QString track = trackNumber < 1 ? QString()
        : PanelText::LeadingNumber(m_tags.TagTrackFrame) == trackNumber
        ? OneLineField(m_tags.TagTrackFrame)
        : OneLineField(m_tags.TagTrack);
    // A source path the file cannot carry loses its cover, not its conversion.
    const QString cover = FitsOneLine(m_tags.CoverSource) && !m_tags.CoverSource.contains(u'\r')
        ? m_tags.CoverSource
        : QString();
    const QString values[] = {OneLineField(m_tags.TagAlbum), track, OneLineField(m_tags.TagYear),
        OneLineField(m_tags.TagGenre), OneLineField(m_tags.TagAlbumArtist),
        OneLineField(m_tags.TagComposer), cover};
    static_assert(std::size(values) == std::size(FieldOptions));
    for (std::size_t i = 0; i < std::size(values); ++i)
        quoted(FieldOptions[i], values[i]);
    return text.toUtf8();
}

bool EncoderConfig::write(const QString &path) const
{
    // Removed first, so that the encoder can never run the previous file's job again.
    QFile::remove(path);
    if (!isWritable())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes());
    return file.commit();
}
