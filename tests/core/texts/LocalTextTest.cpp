#include "core/texts/LocalText.h"
#include "core/texts/ProfileText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <tuple>

namespace {

class LocalTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        state.MessageFilePath = dir.filePath(QStringLiteral("PRMSG"));
        QFile file(state.MessageFilePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[msgEN]\n320=Convert\n[msgIT]\n320=Converti\n830=Converti questo file\n"
                   "831=Sposta \xC3\xA0 destra\n832=\n");
    }

    QTemporaryDir dir;
    AppState state;
};

// Fallbacks: empty value, missing key, section or file; the caller's English is never cut.
TEST_F(LocalTextTest, ReadsTheLanguageSectionAndFallsBackToEnglish)
{
    const QString file = state.MessageFilePath, english(400, QLatin1Char('e'));
    const std::tuple<const char *, QString, int, QString, const char *> cases[] = {
        {"msgIT", file, 320, "Edit", "Converti"},
        {"msgIT", file, 831, "Edit", "Sposta \xC3\xA0 destra"}, // UTF-8 survives the round trip
        {"msgIT", file, 832, "Edit", "Edit"},
        {"msgIT", file, 999, "Edit", "Edit"},
        {"msgEN", file, 830, "Edit", "Edit"}, // key only in the other language
        {"msgDE", file, 320, "Edit", "Edit"},
        {"", file, 320, "Edit", "Edit"},
        {"msgIT", dir.filePath("NOFILE"), 320, "Edit", "Edit"},
        {"msgIT", QString(), 320, "Edit", "Edit"},
    };
    for (const auto &[section, path, number, fallback, expected] : cases) {
        state.MessageSection = QString::fromLatin1(section);
        state.MessageFilePath = path;
        EXPECT_EQ(LocalText(state, number, fallback), QString::fromUtf8(expected))
            << section << " " << number << " " << path.toStdString();
    }
    // The 299-character limit belongs to the file, not to the caller's own English text.
    EXPECT_EQ(LocalText(state, 1, english), english);
}

} // namespace
