#pragma once
// The text of the About box: product, version and the libraries in use, read at run time where
// the library can tell.

#include <QString>

// The About box's own words, in the interface language.
struct AboutWords
{
    QString summary = QStringLiteral("Converts MP3 and WAV files to Windows Media Audio.");
    QString libraries = QStringLiteral("Libraries:");
    QString interface = QStringLiteral("interface");
};

QString AboutText(const AboutWords &words = {});
