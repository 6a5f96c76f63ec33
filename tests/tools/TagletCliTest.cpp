// The taglet command line, run as a program: its JSON report, exit codes and writes.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QJsonObject json;
};

CliRun taglet(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TONVERA_BIN_DIR "/taglet"), args);
    p.waitForFinished(30000);
    CliRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.json = QJsonDocument::fromJson(r.out).object();
    return r;
}

QString fixture(const QString &name)
{
    return QStringLiteral(TONVERA_TEST_DATA "/taglet/") + name;
}

// The value at a path such as "pictures/0/width" as JSON text (a string as it stands, "#" the
// length of an array, "-" nothing there).
QString at(const QJsonObject &json, const QString &path)
{
    QJsonValue v = json;
    for (const QString &key : path.split('/')) {
        if (key == "#")
            return QString::number(v.toArray().size());
        v = v.isArray() ? v.toArray().at(key.toInt()) : v.toObject().value(key);
    }
    if (v.isUndefined() || v.isString())
        return v.isString() ? v.toString() : QStringLiteral("-");
    return QString::fromUtf8(QJsonDocument(QJsonArray {v}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

} // namespace

// Every read prints the whole object, failures included; the modern mode adds its fields.
TEST(TagletCli, ReadReports)
{
    const QString modern = QStringLiteral("modern/");
    const std::tuple<QStringList, int, std::vector<std::pair<QString, QString>>> cases[] = {
        {{fixture("v1_v2_both.mp3")}, 0,
            {{"error", "null"}, {"haveTag", "3"}, {"bitrate", "64"}, {"original", "true"},
                {"song", "V1 Title"}, {"track", "3"}, {"textFrames/0/0", "TIT2"},
                {"textFrames/0/1", QString::fromUtf8("V2 Title\0", 9)}, {"events", "[]"}}},
        {{"--no-trim", fixture("v1_only.mp3")}, 0, {{"song", "Title" + QString(25, ' ')}}},
        {{fixture("v24.mp3")}, 0, {{"error", "null"}, {"events", "[100]"}}},
        {{fixture("unsync.mp3")}, 0, {{"events", "[101]"}}},
        {{fixture("short_frame.mp3")}, 1, {{"error/number", "63"}}},
        {{fixture("missing.mp3")}, 1, {{"error/number", "53"}}},
        {{fixture("apic_type25.mp3")}, 1, {{"error/number", "340"}}},
        {{fixture("apic_unknown.mp3")}, 0, {{"messages/#", "1"}}},
        // Pictures are described from their bytes; their sizes, which take decoding, on request.
        {{fixture("v2_frames.mp3")}, 0,
            {{"pictures/#", "2"}, {"mcdi", QString::fromLatin1("\0\1\2CD", 5)},
                {"pictures/0/slot", "3"}, {"pictures/0/description", "Front"},
                {"pictures/0/mimeType", "image/png"}, {"pictures/0/width", "-"}}},
        {{"--picture-sizes", fixture("v2_frames.mp3")}, 0,
            {{"pictures/0/width", "4"}, {"pictures/0/height", "4"}, {"pictures/1/width", "4"},
                {"pictures/1/height", "4"}}},
        // A picture that does not decode fails only its own entry, and only when decoded.
        {{fixture("apic_bad_jpeg.mp3")}, 0, {{"error", "null"}}},
        {{"--picture-sizes", fixture("apic_bad_jpeg.mp3")}, 0,
            {{"error", "null"}, {"pictures/0/width", "0"}, {"pictures/0/error/number", "481"}}},
        {{fixture(modern + "eyed3_v24.mp3")}, 0,
            {{"lengthMs", "-"}, {"commentFrames", "-"}, {"events", "[100]"}}},
        {{"--modern", fixture(modern + "lame_utf16.mp3")}, 0,
            {{"error", "null"}, {"haveTag", "3"}, {"length", "2"}, {"lengthMs", "2064"},
                {"textFrames/1/0", "TIT2"}, {"textFrames/1/1", "日本語のタイトル"},
                {"textFrames/2/0", "TPE1"}, {"textFrames/2/1", "Ärtist"}}},
        {{"--modern", fixture(modern + "mutagen_v22.mp3")}, 0,
            {{"textFrames/0/1", "Zwei Punkt Zwei"}, {"pictures/0/description", "Cover"},
                {"commentFrames/#", "1"}}},
    };
    const QStringList keys = {"album", "artist", "bitrate", "comment", "copyright", "emphasis",
        "error", "events", "file", "frequency", "genre", "haveTag", "involvedPeople", "layer",
        "length", "linkFrames", "mcdi", "messages", "mode", "mpegVersion", "original", "pictures",
        "privateBit", "song", "textFrames", "track", "uniqueIds", "userLinkFrames",
        "userTextFrames", "year"};
    for (const auto &[args, status, values] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun r = taglet(QStringList {"read"} + args);
        EXPECT_EQ(r.status, status);
        ASSERT_TRUE(r.out.endsWith("}\n"));
        if (!args.contains("--modern")) {
            EXPECT_EQ(r.json.keys(), keys);
        }
        for (const auto &[path, value] : values)
            EXPECT_EQ(at(r.json, path).toStdString(), value.toStdString()) << path.toStdString();
    }
}

TEST(TagletCli, WriteSavesAndReportsFittedValues)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.mp3");
    ASSERT_TRUE(QFile::copy(fixture("tone.mp3"), copy));
    const qint64 size = QFile(copy).size();
    CliRun r = taglet({"write", copy, "--song", "Hello", "--track", "300", "--genre", "Rock",
        "--artist", "Café"});
    ASSERT_EQ(r.status, 0) << r.out.toStdString();
    EXPECT_EQ(r.json["song"].toString(), "Hello" + QString(25, QChar(0)));
    EXPECT_EQ(r.json["track"].toInt(), 0);
    EXPECT_EQ(r.json["haveTag"].toInt(), 0); // as Read found it
    EXPECT_EQ(QFile(copy).size(), size + 128);
    r = taglet({"read", copy});
    EXPECT_EQ(r.json["haveTag"].toInt(), 1);
    EXPECT_EQ(r.json["artist"].toString(), "Café");
    EXPECT_EQ(r.json["genre"].toString(), "Rock");

    // A failing Read stops before Save.
    const QString small = dir.filePath("small.mp3");
    QFile f(small);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("\xFF\xFB\x90\x64", 4) == 4);
    f.close();
    r = taglet({"write", small, "--song", "x"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(at(r.json, "error/number"), "63");
    EXPECT_EQ(QFile(small).size(), 4);
}

TEST(TagletCli, TconAndBadUsage)
{
    CliRun r = taglet({"tcon", "(17)(RX)"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\"RockRemix\"\n");
    for (auto [text, error] : {std::pair {"(x)", "13"}, {"(300)", "9"}}) {
        r = taglet({"tcon", text});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(at(r.json, "error/number"), error) << text;
    }
    const QStringList usage[] = {{}, {"frobnicate"}, {"read"}, {"read", "a.mp3", "b.mp3"},
        {"read", "--bogus", "a.mp3"}, {"write"}, {"write", "a.mp3", "--track", "seven"},
        {"write", "a.mp3", "--track", "99999"}, {"write", "a.mp3", "--song"},
        {"write", "a.mp3", "--title", "x"}, {"tcon"}};
    for (const QStringList &args : usage) {
        r = taglet(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
