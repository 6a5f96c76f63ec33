#include "AboutText.h"

#include <gtest/gtest.h>

TEST(AboutText, NamesProductAndLibraries)
{
    const QString text = AboutText();
    for (const char *part : {"Tonvera", "Qt ", "libmpg123", "FFmpeg", "libavformat", "taglet"})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
}
