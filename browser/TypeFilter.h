#pragma once
// The file-type box: each entry's text carries a filter code after blanks; the code picks the
// file patterns of the input list and whether "mark all" is offered.

#include <QString>
#include <QStringList>

struct TypeFilter
{
    QStringList patterns; // e.g. {"*.MP3", "*.WAV"}, matched without regard to case
    bool markAllEnabled = true;
    // The listed files can be converted: the list holds MP3 or WAV files.
    bool convertible() const { return markAllEnabled; }
};

// The filter of a CboType entry; the tests are substring tests in a fixed order.
TypeFilter TypeFilterOf(const QString &entryText);

// The five entries of the type box, in order. supportedWord is the translated "Supported".
QStringList TypeBoxEntries(const QString &supportedWord);

// What the type box shows of an entry: the text before the run of blanks that hides the filter
// code ("MP3, WAV" of "MP3, WAV                MP3;WAV"). A single blank is part of the name.
QString VisibleTypeText(const QString &entryText);
