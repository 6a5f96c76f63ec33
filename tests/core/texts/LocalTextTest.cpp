#include "core/texts/LocalText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <tuple>

// Fallbacks: empty value, missing key, section or file; the caller's English is never cut.
TEST(LocalTextTest, ReadsTheLanguageSectionAndFallsBackToEnglish)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("PRMSG"));
    QFile prmsg(file);
    ASSERT_TRUE(prmsg.open(QIODevice::WriteOnly));
    prmsg.write("[msgEN]\n320=Convert\n[msgIT]\n320=Converti\n830=Converti questo file\n"
                "831=Sposta \xC3\xA0 destra\n832=\n");
    prmsg.close();
    const std::tuple<const char *, QString, int, const char *> cases[]
        = {{"msgIT", file, 320, "Converti"},
            {"msgIT", file, 831, "Sposta \xC3\xA0 destra"}, // UTF-8 survives the round trip
            {"msgIT", file, 832, "Edit"}, {"msgIT", file, 999, "Edit"},
            {"msgEN", file, 830, "Edit"}, // key only in the other language
            {"msgDE", file, 320, "Edit"}, {"", file, 320, "Edit"},
            {"msgIT", dir.filePath("NOFILE"), 320, "Edit"}, {"msgIT", "", 320, "Edit"}};
    AppState state;
    for (const auto &[section, path, number, expected] : cases) {
        state.MessageSection = QString::fromLatin1(section);
        state.MessageFilePath = path;
        EXPECT_EQ(LocalText(state, number, "Edit"), QString::fromUtf8(expected))
            << section << " " << number << " " << path.toStdString();
    }
    // The 299-character limit belongs to the file, not to the caller's own English text.
    const QString english(400, QLatin1Char('e'));
    EXPECT_EQ(LocalText(state, 1, english), english);
}
