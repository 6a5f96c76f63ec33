// taglet read --modern, run as a program.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

QJsonObject readModern(const char *fixture, int &status)
{
    QProcess p;
    p.start(QStringLiteral(TONVERA_BIN_DIR "/taglet"),
        {"read", "--modern", QStringLiteral(TONVERA_TEST_DATA "/taglet/modern/") + fixture});
    p.waitForFinished(30000);
    status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QString frameValue(const QJsonObject &o, const char *id)
{
    for (const auto &entry : o["textFrames"].toArray()) {
        if (entry.toArray()[0].toString() == QLatin1String(id))
            return entry.toArray()[1].toString();
    }
    return QStringLiteral("(none)");
}

} // namespace

TEST(TagletCliModern, PrintsUnicodeTextsAndTheMeasuredLength)
{
    int status = -1;
    const QJsonObject o = readModern("lame_utf16.mp3", status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(o["error"].isNull());
    EXPECT_EQ(frameValue(o, "TIT2"), QString::fromUtf8("日本語のタイトル"));
    EXPECT_EQ(frameValue(o, "TPE1"), QString::fromUtf8("Ärtist"));
    EXPECT_NEAR(o["lengthMs"].toInt(), 2064, 100);
    EXPECT_EQ(o["length"].toInt(), 2);
    EXPECT_EQ(o["haveTag"].toInt(), 3);

    const QJsonObject v22 = readModern("mutagen_v22.mp3", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(frameValue(v22, "TIT2"), "Zwei Punkt Zwei");
    EXPECT_EQ(v22["pictures"].toArray()[0].toObject()["description"].toString(), "Cover");
    EXPECT_TRUE(v22["commentFrames"].isArray());
}

TEST(TagletCliModern, WithoutTheOptionTheReportIsAsBefore)
{
    QProcess p;
    p.start(QStringLiteral(TONVERA_BIN_DIR "/taglet"),
        {"read", QStringLiteral(TONVERA_TEST_DATA "/taglet/modern/eyed3_v24.mp3")});
    p.waitForFinished(30000);
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    EXPECT_FALSE(o.contains("lengthMs"));
    EXPECT_FALSE(o.contains("commentFrames"));
    EXPECT_EQ(o["events"].toArray(), QJsonArray {100});
}
