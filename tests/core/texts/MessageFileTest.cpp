// The shipped message file: both languages hold the same numbered texts with the same
// placeholders and access keys, and every caption's English text as the program has it.
#include "core/texts/CaptionTables.h"
#include "core/texts/ProfileText.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

static QStringList markersOf(const std::string &text)
{
    static const QRegularExpression marker(R"(\$[A-Z0-9]|%[0-9]|\.\.\.|\[N\]|&[^ &])");
    QStringList found;
    for (auto it = marker.globalMatch(QString::fromStdString(text)); it.hasNext();)
        found << it.next().captured().replace(QRegularExpression("^&.$"), "&");
    found.sort();
    return found;
}

TEST(MessageFile, BothLanguagesHoldTheSameNumberedTextsAndEveryCaption)
{
    const auto shipped = ProfileText::load(TONVERA_SOURCE_DIR "/resources/PRMSG");
    ASSERT_TRUE(shipped);
    const auto &english = shipped->section("msgEN"), &italian = shipped->section("msgIT");
    ASSERT_GE(english.size(), 100u) << "message file truncated?";
    ASSERT_EQ(english.size(), italian.size());
    for (const auto &[key, text] : english) {
        EXPECT_TRUE(QString::fromStdString(key).toInt() > 0 && !text.empty()) << key;
        const std::string it = italian.contains(key) ? italian.at(key) : "";
        EXPECT_FALSE(it.empty()) << key;
        EXPECT_EQ(markersOf(text), markersOf(it)) << text << " / " << it;
        EXPECT_LE(markersOf(it).count("&"), 1) << it;
    }
    for (const char *window : {"frmMain", "frmOptions", "frmTagInfo", "frmCutName"}) {
        for (const CaptionEntry &entry : CaptionTable(window))
            EXPECT_TRUE(entry.decoration == CaptionDecoration::Copied
                || shipped->value("msgEN", std::to_string(entry.number)) == entry.english)
                << window << " " << entry.number;
        for (const TooltipEntry &entry : TooltipTable(window))
            EXPECT_TRUE(english.contains(std::to_string(entry.number))) << entry.number;
    }
}
