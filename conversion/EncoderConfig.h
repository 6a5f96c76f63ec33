#pragma once
// The encoder's configuration file "tmpconf.weu": one option per line in a fixed order, UTF-8,
// every line ended by CR LF, tag values between double quotes with no escaping. Only the
// description may span lines; it ends the nine lines the encoder always knew. Album, track,
// year, genre, album artist, composer and the cover's source follow, one line each, so that a
// music player finds each in an attribute of its own. Converti_WMA builds one per file, writes
// it and stores the tag texts back as the encoder received them.

#include <QByteArray>
#include <QString>

#include <cstdint>

// The section as conversion planning leaves it for the encoder.
struct EncoderSectionFields
{
    bool CutSectionOnly = false; // the run converts only the cut section
    bool SectionDecoded = false; // the MP3 section decoder already cut it
    bool mp3Source = false; // the source is an MP3 (the input is its decoded WAV)
    int32_t SectionStart = 0; // milliseconds, for an MP3 decoded whole
    int32_t SectionEnd = 0;
    QString SectionTimes; // "start end" in milliseconds for WAV and WMA sources; "" when none
};

// The tag fields of the file being converted.
struct EncoderTagFields
{
    QString TagTitle, TagArtist, TagCopyright, TagDescription, TagAlbum, TagTrack;
    QString TagYear, TagGenre, TagAlbumArtist, TagComposer;
    // The MP3's track frame ("5/12"): the track attribute keeps its total while the track is
    // still that number.
    QString TagTrackFrame;
    QString CoverSource; // the file whose front cover the output carries; "" for none
    // The description is the source's own, as a WMA's is: album and track are not composed into
    // it again.
    bool DescriptionAsIs = false;
};

class EncoderConfig
{
public:
    // Longest text the encoder receives, in characters.
    static constexpr int MaxTextLength = 255;

    EncoderConfig(const QString &input, const QString &output, const QString &profile,
        const EncoderSectionFields &section, const EncoderTagFields &tags);

    // The tag fields as the encoder receives them, for Converti_WMA to store back: every text
    // ends at its first NUL; title, author and copyright have each run of CR and LF replaced by
    // one blank; the description is composed with album and track; the four are cut to
    // MaxTextLength characters. Album and track are kept as given; they and the other fields
    // of their own lines are written on one line each, cut to MaxTextLength characters.
    const EncoderTagFields &tags() const { return m_tags; }

    // False when the input, output or profile is empty, or when one of them or the section text
    // holds an LF or a NUL: a line-based file cannot carry those, and the encoder would read
    // another job than the one meant.
    bool isWritable() const;

    // The bytes of the file.
    QByteArray bytes() const;

    // Replaces path with bytes(). The previous file is removed first and the new one written
    // under a temporary name and renamed, so a failure leaves neither a half-written file nor
    // the previous file's job. False when it was not written, or when !isWritable().
    bool write(const QString &path) const;

private:
    QString m_input, m_output, m_profile;
    EncoderSectionFields m_section;
    EncoderTagFields m_tags;
};
