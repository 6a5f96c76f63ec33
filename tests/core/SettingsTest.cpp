#include "core/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Settings, FileFollowsXdgConfigHome)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    {
        Settings settings;
        settings.setText(Keys::Language, "IT");
        settings.sync();
    }
    qputenv("XDG_CONFIG_HOME", saved);
    QFile file(dir.path() + "/Tonvera/Tonvera.conf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[UserDef]"));
    EXPECT_TRUE(text.contains("Language=IT"));
}

TEST(Settings, DefaultsAndTextForms)
{
    QTemporaryDir dir;
    Settings s(dir.filePath("t.conf"));
    EXPECT_EQ(s.text(Keys::Language), "");
    EXPECT_EQ(s.text(Keys::swOrd), "A");
    EXPECT_EQ(s.integer(Keys::ListIndex), -1);
    EXPECT_EQ(s.integer(Keys::chkCutNam), 1);
    EXPECT_FALSE(s.boolean(Keys::Option1));
    EXPECT_FLOAT_EQ(s.single(Keys::kTimeMP3), 2.5f);
    EXPECT_EQ(s.text(Keys::usrDir, "/music"), "/music");

    s.setBoolean(Keys::Option1, true);
    s.setSingle(Keys::kTimeWAV, 1.75f);
    s.setInteger(Keys::iTyp, 3);
    s.setText("URL", "0", "/a, b"); // a comma must come back as the same text
    s.sync();

    Settings again(dir.filePath("t.conf"));
    EXPECT_EQ(again.text(Keys::Option1), "True");
    EXPECT_TRUE(again.boolean(Keys::Option1));
    EXPECT_EQ(again.text(Keys::kTimeWAV), "1.75");
    EXPECT_EQ(again.text(Keys::iTyp), "3");
    EXPECT_EQ(again.text("URL", "0", ""), "/a, b");

    again.remove(Keys::iTyp);
    EXPECT_FALSE(again.contains("UserDef", "iTyp"));
}

TEST(Settings, ParsesStoredText)
{
    EXPECT_TRUE(Settings::parseBoolean("true", false));
    EXPECT_TRUE(Settings::parseBoolean("-1", false));
    EXPECT_FALSE(Settings::parseBoolean("False", true));
    EXPECT_TRUE(Settings::parseBoolean("junk", true));
    EXPECT_FLOAT_EQ(Settings::parseSingle("2,25", 0), 2.25f); // a decimal comma is accepted
    EXPECT_FLOAT_EQ(Settings::parseSingle("", 2.5f), 2.5f);

    QTemporaryDir dir;
    Settings s(dir.filePath("t.conf"));
    s.setText(Keys::iTyp, "x3");
    EXPECT_EQ(s.integer(Keys::iTyp), 0); // unreadable numbers fall back to the default
}
