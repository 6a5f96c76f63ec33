// Checks the shipped message text file against itself and against the caption tables.
#include "core/texts/CaptionTables.h"
#include "core/texts/ProfileText.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <string>

namespace {

const std::string messageFile = std::string(TONVERA_SOURCE_DIR) + "/resources/PRMSG";

const ProfileText &shipped()
{
    static const auto text = ProfileText::load(messageFile);
    if (!text)
        throw std::runtime_error("cannot read " + messageFile);
    return *text;
}

QString valueOf(const char *section, const std::string &key)
{
    return QString::fromStdString(shipped().value(section, key).value_or(std::string()));
}

// Placeholders and markers a translation must carry over unchanged.
QStringList markersOf(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral(R"(\$[A-Z0-9]|%[0-9]|\.\.\.|\[N\])"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

TEST(MessageFile, BothLanguagesHoldTheSameNumberedTexts)
{
    const auto &english = shipped().section("msgEN");
    const auto &italian = shipped().section("msgIT");
    ASSERT_GE(english.size(), 100u) << "message file truncated?";
    for (const auto &[key, text] : english) {
        SCOPED_TRACE("key " + key);
        bool isNumber = false;
        QString::fromStdString(key).toInt(&isNumber);
        EXPECT_TRUE(isNumber);
        EXPECT_FALSE(text.empty());
        const auto it = italian.find(key);
        ASSERT_NE(it, italian.end()) << "missing in msgIT";
        EXPECT_FALSE(it->second.empty());
        const QString en = QString::fromStdString(text),
                      itText = QString::fromStdString(it->second);
        EXPECT_EQ(markersOf(en), markersOf(itText)) << text << " / " << it->second;
        // An access key in English needs one in Italian, and a single one.
        EXPECT_EQ(en.contains(QRegularExpression(QStringLiteral("&[^ &]"))),
            itText.contains(QRegularExpression(QStringLiteral("&[^ &]"))))
            << text << " / " << it->second;
        EXPECT_LE(itText.count(QRegularExpression(QStringLiteral("&[^ &]"))), 1);
    }
    for (const auto &[key, text] : italian)
        EXPECT_TRUE(english.contains(key)) << "key " << key << " only in msgIT";
}

TEST(MessageFile, HoldsEveryCaptionAndTooltipInItsEnglishWording)
{
    const char *windows[] = {"frmMain", "frmOptions", "frmTagInfo", "frmCutName"};
    for (const char *window : windows) {
        for (const CaptionEntry &entry : CaptionTable(QString::fromLatin1(window))) {
            if (entry.decoration == CaptionDecoration::Copied)
                continue;
            const std::string key = std::to_string(entry.number);
            EXPECT_EQ(valueOf("msgEN", key), QString::fromUtf8(entry.english))
                << window << " " << key;
            EXPECT_FALSE(valueOf("msgIT", key).isEmpty()) << window << " " << key;
        }
        for (const TooltipEntry &entry : TooltipTable(QString::fromLatin1(window))) {
            const std::string key = std::to_string(entry.number);
            // 810 serves both the Explore menu entry and the Explore button's tooltip.
            EXPECT_FALSE(valueOf("msgEN", key).isEmpty()) << window << " " << key;
            EXPECT_FALSE(valueOf("msgIT", key).isEmpty()) << window << " " << key;
        }
    }
}

} // namespace
