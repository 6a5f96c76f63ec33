#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QJsonDocument json;
};

CliRun taglet(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TONVERA_BIN_DIR "/taglet"), args);
    p.waitForFinished(30000);
    CliRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.json = QJsonDocument::fromJson(r.out);
    return r;
}

QString fixture(const char *name)
{
    return QStringLiteral(TONVERA_TEST_DATA "/taglet/") + QString::fromLatin1(name);
}

const QStringList Keys = {"file", "error", "events", "haveTag", "mpegVersion", "layer", "bitrate",
    "frequency", "mode", "copyright", "original", "privateBit", "emphasis", "length", "song",
    "artist", "album", "year", "comment", "genre", "track", "textFrames", "userTextFrames",
    "uniqueIds", "linkFrames", "userLinkFrames", "involvedPeople", "mcdi", "pictures", "messages"};

} // namespace

TEST(TagletCli, ReadPrintsTheWholeObject)
{
    const CliRun r = taglet({"read", fixture("v1_v2_both.mp3")});
    ASSERT_EQ(r.status, 0) << r.out.toStdString();
    ASSERT_TRUE(r.out.endsWith("}\n"));
    const QJsonObject o = r.json.object();
    EXPECT_EQ(o.keys().size(), Keys.size());
    for (const QString &k : Keys)
        EXPECT_TRUE(o.contains(k)) << k.toStdString();
    EXPECT_TRUE(o["error"].isNull());
    EXPECT_EQ(o["haveTag"].toInt(), 3);
    EXPECT_EQ(o["bitrate"].toInt(), 64);
    EXPECT_EQ(o["original"].toBool(), true);
    EXPECT_EQ(o["song"].toString(), "V1 Title");
    EXPECT_EQ(o["track"].toInt(), 3);
    const QJsonArray first = o["textFrames"].toArray()[0].toArray();
    EXPECT_EQ(first[0].toString(), "TIT2");
    EXPECT_EQ(first[1].toString(), QString::fromUtf8("V2 Title\0", 9));
}

TEST(TagletCli, ReadOutcomes)
{
    struct Case
    {
        QStringList args;
        int status;
        int error; // 0: none
        QJsonArray events;
    };
    const Case cases[] = {
        {{"read", "--no-trim", fixture("v1_only.mp3")}, 0, 0, {}},
        {{"read", fixture("v24.mp3")}, 0, 0, {100}},
        {{"read", fixture("unsync.mp3")}, 0, 0, {101}},
        {{"read", fixture("short_frame.mp3")}, 1, 63, {}},
        {{"read", fixture("missing.mp3")}, 1, 53, {}},
        {{"read", fixture("apic_type25.mp3")}, 1, 340, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = taglet(c.args);
        EXPECT_EQ(r.status, c.status);
        const QJsonObject o = r.json.object();
        EXPECT_EQ(o["error"].toObject()["number"].toInt(), c.error);
        EXPECT_EQ(o["events"].toArray(), c.events);
        EXPECT_EQ(o.keys().size(), Keys.size());
    }
    const QJsonObject untrimmed
        = taglet({"read", "--no-trim", fixture("v1_only.mp3")}).json.object();
    EXPECT_EQ(untrimmed["song"].toString(), "Title" + QString(25, ' '));

    const QJsonObject unknown = taglet({"read", fixture("apic_unknown.mp3")}).json.object();
    EXPECT_EQ(unknown["messages"].toArray().size(), 1);
    const QJsonObject frames = taglet({"read", fixture("v2_frames.mp3")}).json.object();
    EXPECT_EQ(frames["pictures"].toArray().size(), 2);
    EXPECT_EQ(frames["mcdi"].toString(), QString::fromLatin1("\0\1\2CD", 5));
}

// Pictures are described from their bytes; their sizes, which take decoding, only on request.
TEST(TagletCli, PictureSizesOnRequest)
{
    const QJsonObject plain = taglet({"read", fixture("v2_frames.mp3")}).json.object();
    const QJsonObject front = plain["pictures"].toArray()[0].toObject();
    EXPECT_EQ(front["slot"].toInt(), 3);
    EXPECT_EQ(front["description"].toString(), "Front");
    EXPECT_EQ(front["mimeType"].toString(), "image/png");
    EXPECT_GT(front["bytes"].toInt(), 0);
    EXPECT_FALSE(front.contains("width"));

    CliRun r = taglet({"read", "--picture-sizes", fixture("v2_frames.mp3")});
    ASSERT_EQ(r.status, 0);
    for (const auto &entry : r.json.object()["pictures"].toArray()) {
        EXPECT_EQ(entry.toObject()["width"].toInt(), 4);
        EXPECT_EQ(entry.toObject()["height"].toInt(), 4);
    }

    // A picture that does not decode fails only its own entry, and only when decoded.
    EXPECT_EQ(taglet({"read", fixture("apic_bad_jpeg.mp3")}).status, 0);
    r = taglet({"read", "--picture-sizes", fixture("apic_bad_jpeg.mp3")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.json.object()["error"].isNull());
    const QJsonObject bad = r.json.object()["pictures"].toArray()[0].toObject();
    EXPECT_EQ(bad["width"].toInt(), 0);
    EXPECT_EQ(bad["error"].toObject()["number"].toInt(), 481);
}

TEST(TagletCli, WriteSavesAndReportsFittedValues)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.mp3");
    ASSERT_TRUE(QFile::copy(fixture("tone.mp3"), copy));
    const qint64 size = QFile(copy).size();

    CliRun r = taglet({"write", copy, "--song", "Hello", "--track", "300", "--genre", "Rock",
        "--artist", QString::fromUtf8("Caf\u00e9")});
    ASSERT_EQ(r.status, 0) << r.out.toStdString();
    QJsonObject o = r.json.object();
    EXPECT_EQ(o["song"].toString(), "Hello" + QString(25, QChar(0)));
    EXPECT_EQ(o["track"].toInt(), 0);
    EXPECT_EQ(o["haveTag"].toInt(), 0); // as Read found it
    EXPECT_EQ(QFile(copy).size(), size + 128);

    o = taglet({"read", copy}).json.object();
    EXPECT_EQ(o["haveTag"].toInt(), 1);
    EXPECT_EQ(o["artist"].toString(), QString::fromUtf8("Caf\u00e9"));
    EXPECT_EQ(o["genre"].toString(), "Rock");

    // A failing Read stops before Save.
    const QString small = dir.filePath("small.mp3");
    QFile f(small);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\xFF\xFB\x90\x64", 4));
    f.close();
    r = taglet({"write", small, "--song", "x"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.json.object()["error"].toObject()["number"].toInt(), 63);
    EXPECT_EQ(QFile(small).size(), 4);
}

TEST(TagletCli, Tcon)
{
    CliRun r = taglet({"tcon", "(17)(RX)"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\"RockRemix\"\n");
    for (auto [text, error] : {std::pair {"(x)", 13}, {"(300)", 9}}) {
        r = taglet({"tcon", text});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.json.object()["error"].toObject()["number"].toInt(), error) << text;
    }
}

TEST(TagletCli, BadUsage)
{
    const QStringList cases[] = {
        {},
        {"frobnicate"},
        {"read"},
        {"read", "a.mp3", "b.mp3"},
        {"read", "--bogus", "a.mp3"},
        {"write"},
        {"write", "a.mp3", "--track", "seven"},
        {"write", "a.mp3", "--track", "99999"},
        {"write", "a.mp3", "--song"},
        {"write", "a.mp3", "--title", "x"},
        {"tcon"},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun r = taglet(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.isEmpty());
    }
}
