#include "AboutText.h"

#include <gtest/gtest.h>

// The product and the libraries it uses, in the given language's words.
TEST(AboutText, NamesProductAndLibrariesInTheGivenLanguage)
{
    for (const char *part : {"Tonvera", "Qt ", "libmpg123", "FFmpeg", "libavformat", "taglet"})
        EXPECT_TRUE(AboutText().contains(QLatin1String(part))) << part;
    const QString text = AboutText({QStringLiteral("Converte file MP3 e WAV."),
        QStringLiteral("Librerie:"), QStringLiteral("interfaccia")});
    for (const char *part : {"Converte file MP3 e WAV.", "Librerie:", "(interfaccia "})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
    EXPECT_FALSE(text.contains(QLatin1String("Libraries")));
}
