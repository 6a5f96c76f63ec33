#include "core/Settings.h"
#include "ScopedEnv.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Booleans are stored as True and False and read in any case or as numbers; a decimal comma is
// accepted; a number that cannot be read falls back to the key's default; a text holding a comma
// comes back as the same text. (Where the store lives is exercised by every window test.)
TEST(Settings, TextFormsAndFallbacks)
{
    QTemporaryDir dir;
    Settings s(dir.filePath("t.conf"));
    s.setBoolean(Keys::Option1, true);
    s.setSingle(Keys::kTimeWAV, 1.75f);
    s.setInteger(Keys::iTyp, 3);
    s.setText("URL", "0", "/a, b");
    s.setText(Keys::ListIndex, "x3");
    s.sync();
    Settings again(dir.filePath("t.conf"));
    EXPECT_EQ(QStringList({again.text(Keys::Option1), again.text(Keys::kTimeWAV),
                  again.text("URL", "0", "")}),
        QStringList({"True", "1.75", "/a, b"}));
    EXPECT_TRUE(again.boolean(Keys::Option1));
    EXPECT_EQ(again.integer(Keys::iTyp), 3);
    EXPECT_EQ(again.integer(Keys::ListIndex), -1);
    EXPECT_FLOAT_EQ(again.single(Keys::kTimeMP3), 2.5f);
    again.remove(Keys::iTyp);
    EXPECT_FALSE(again.contains("UserDef", "iTyp"));
    const std::pair<const char *, bool> booleans[]
        = {{"true", true}, {" FALSE ", false}, {"-1", true}, {"0", false}, {"junk", true}};
    for (const auto &[text, value] : booleans)
        EXPECT_EQ(Settings::parseBoolean(text, true), value) << text;
    EXPECT_FLOAT_EQ(Settings::parseSingle("2,25", 0), 2.25f);
    EXPECT_FLOAT_EQ(Settings::parseSingle("", 2.5f), 2.5f);
    // A relative XDG_CONFIG_HOME is ignored, as the base directory rules say.
    const ScopedEnv relative("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(Settings::settingsFilePath(), QDir::homePath() + "/.config/Tonvera/Tonvera.conf");
}
