#pragma once
// The name rules of the tag editor, in both directions: an output name built from the tag
// fields (the standard rule with ticked parameters in their order, or a template with codes
// such as $A and $T), and the tag fields read back out of a file name. Plain rules, no widgets.
//
// Parameters are numbered as the editor's rows: 1 genre, 2 year, 3 artist, 4 album, 5 track,
// 6 title. Arrays hold parameter n at index n - 1.

#include <QString>
#include <QStringList>
#include <array>

namespace NameRules {

constexpr int ParamCount = 6;
enum Param { Genre = 1, Year, Artist, Album, Track, Title };

using ParamTexts = std::array<QString, ParamCount>; // ParamValues
using ParamPositions = std::array<int, ParamCount>; // a permutation of 1 to 6
using ParamChecks = std::array<bool, ParamCount>;

// The genre list of the editor, in its own order: "[none]" first, then the 126 names.
const QStringList &GenreList();
// The first list entry whose leading characters equal piece (exact case); -1 when none does.
int GenreIndexForPiece(const QString &piece);

// The track as a name parameter: the text when its whole-number value is 1 or more, else "".
QString TrackParam(const QString &tagTrack);

// True for a text the year box accepts: empty, or a number once trimmed.
bool IsNumericText(const QString &text);

// The template in capitals with the letter codes turned into their numbers ($G $1, $Y $2,
// $A $3, $B $4, $K $5, $T $6), so codes may be written in any case.
QString NormaliseTemplate(const QString &tmpl);

// Standard rule: the ticked values in the order of their positions, joined by the separator;
// defaultName when that leaves nothing. The result is a safe file name.
QString Imposta_Nome(const ParamTexts &values, const ParamChecks &checks,
    const ParamPositions &positions, const QString &separator, const QString &defaultName);

// Template rule: every "$n" of the normalised template replaced by the value of parameter n
// (values as they are, not in capitals); defaultName when that leaves nothing. The result is a
// safe file name.
QString Imposta_NomeAdv(const QString &tmpl, const ParamTexts &values, const QString &defaultName);

// The template the standard rule stands for: "$n" of every ticked parameter in position
// order, joined by one blank ("$3 $6").
QString TemplateOfChecks(const ParamChecks &checks, const ParamPositions &positions);

// Tag fields read out of a name. Every field starts empty (the genre with no selection).
struct NameTags
{
    QString title, artist, album, year;
    int genreIndex = -1; // entry of GenreList(), -1 for no selection
};
// Splits name at every separator and gives piece k to the field of the k-th code of the
// template; a code that is empty or not a number is passed over, track and unknown numbers are
// ignored, a year only when its piece is a number.
NameTags Imposta_TagAdv(const QString &name, const QString &separator, const QString &tmpl);

// The first candidate separator found in name ("-", "/", "_", ":", ".", ";", "*", "+", "^",
// "%", "!", ","), "" when none is.
QString Ricava_Delimitatore(const QString &name);

// The characters a separator may not hold, as the warning lists them.
QString ForbiddenSeparatorText();
bool SeparatorIsForbidden(const QString &separator);

// A name that can be given to a file in a folder: "/" and NUL become "_", "." and ".." become
// "_" and "__", and the name is cut so that it fits the file system's 255 bytes with room for
// an extension of up to reserve bytes.
QString SafeFileName(const QString &name, int reserve = 16);

// The characters of text an ID3v1 tag cannot hold (beyond Latin-1), each once, in order.
QString NonLatin1Characters(const QString &text);

} // namespace NameRules
