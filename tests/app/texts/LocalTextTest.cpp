#include "app/texts/LocalText.h"
#include "app/texts/ProfileText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

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

TEST_F(LocalTextTest, ReadsTheLanguageSectionAndFallsBackToEnglish)
{
    struct Case
    {
        const char *section;
        int number;
        const char *expected;
    };
    const Case cases[] = {
        {"msgIT", 320, "Converti"},
        {"msgIT", 831, "Sposta \xC3\xA0 destra"}, // UTF-8 survives the round trip
        {"msgIT", 832, "Edit"}, // empty value: English
        {"msgIT", 999, "Edit"}, // missing key: English
        {"msgEN", 830, "Edit"}, // key only in the other language
        {"msgDE", 320, "Edit"}, // missing section
        {"", 320, "Edit"},
    };
    for (const Case &c : cases) {
        state.MessageSection = QString::fromLatin1(c.section);
        EXPECT_EQ(LocalText(state, c.number, QStringLiteral("Edit")), QString::fromUtf8(c.expected))
            << c.section << " " << c.number;
    }
}

TEST_F(LocalTextTest, MissingFileGivesEnglish)
{
    state.MessageSection = QStringLiteral("msgIT");
    state.MessageFilePath = dir.filePath(QStringLiteral("NOFILE"));
    EXPECT_EQ(LocalText(state, 320, QStringLiteral("Convert")), QStringLiteral("Convert"));
    state.MessageFilePath.clear();
    EXPECT_EQ(LocalText(state, 320, QStringLiteral("Convert")), QStringLiteral("Convert"));
}

TEST_F(LocalTextTest, LongEnglishFallbackIsNotCut)
{
    // The 299-character limit belongs to the file; a caller's own English text stays whole.
    state.MessageSection = QStringLiteral("msgIT");
    const QString english(400, QLatin1Char('e'));
    EXPECT_EQ(LocalText(state, 1, english), english);
}

} // namespace
