#include "AboutText.h"

#include <gtest/gtest.h>

TEST(AboutText, NamesProductAndLibraries)
{
    const QString text = AboutText();
    for (const char *part : {"Tonvera", "Qt ", "libmpg123", "FFmpeg", "libavformat", "taglet"})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
}

TEST(AboutText, SpeaksTheGivenLanguage)
{
    const QString text = AboutText({QStringLiteral("Converte file MP3 e WAV."),
        QStringLiteral("Librerie:"), QStringLiteral("interfaccia")});
    for (const char *part : {"Converte file MP3 e WAV.", "Librerie:", "(interfaccia "})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
    EXPECT_FALSE(text.contains(QLatin1String("Libraries")));
}
