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
    int status;
    QByteArray out;
    QJsonObject json;
};

CliRun taglet(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TONVERA_BIN_DIR "/taglet"), args);
    p.waitForFinished(30000);
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, out,
        QJsonDocument::fromJson(out).object()};
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
    for (const QString &key : path.split('/'))
        v = key == "#" ? QJsonValue(v.toArray().size()) : v.isArray() ? v[key.toInt()] : v[key];
    if (v.isUndefined() || v.isString())
        return v.isString() ? v.toString() : QStringLiteral("-");
    return QJsonDocument(QJsonArray {v}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}

} // namespace

// The whole report of a file with every kind of frame, texts escaped as JSON.
TEST(TagletCli, ReadReportsEveryField)
{
    const CliRun r = taglet({"read", fixture("v2_frames.mp3")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.toStdString(),
        R"({"file": ")" + fixture("v2_frames.mp3").toStdString()
            + R"(", "error": null, "events": [], "haveTag": 2, "mpegVersion": 1, "layer": 3, )"
              R"("bitrate": 64, "frequency": 44100, "mode": 3, "copyright": false, "original": )"
              R"(true, "privateBit": false, "emphasis": 0, "length": 0, "song": "", "artist": "", )"
              R"("album": "", "year": "", "comment": "", "genre": "", "track": 0, "textFrames": )"
              R"([["TIT2", ""], ["TPE1", "Artist\u0000"]], "userTextFrames": [["Mood", "Calm"]], )"
              R"("uniqueIds": [["http://ids.example", "ID-42"]], "linkFrames": [["WCOM", )"
              R"("http://shop.example/"], ["WOAR", "http://artist.example/"]], "userLinkFrames": )"
              R"([["Home", "http://home.example/"]], "involvedPeople": [["mix", "Second"], )"
              R"(["engineer", "Third"]], "mcdi": "\u0000\u0001\u0002CD", "pictures": [{"slot": 3, )"
              R"("description": "Front", "mimeType": "image/png", "bytes": 94}, {"slot": 4, )"
              R"("description": "B", "mimeType": "image/jpeg", "bytes": 225}], "messages": []})"
              "\n");
}

// Every read prints the whole object, failures included; options add or change fields.
TEST(TagletCli, ReadReports)
{
    const std::tuple<QStringList, int, std::vector<std::pair<QString, QString>>> cases[] = {
        {{"--no-trim", fixture("v1_only.mp3")}, 0, {{"song", "Title" + QString(25, ' ')}}},
        {{fixture("short_frame.mp3")}, 1, {{"error/number", "63"}}},
        {{fixture("apic_unknown.mp3")}, 0, {{"messages/#", "1"}}},
        // Picture sizes take decoding: only on request, and a failure is the picture's own.
        {{"--picture-sizes", fixture("v2_frames.mp3")}, 0, {{"pictures/1/height", "4"}}},
        {{"--picture-sizes", fixture("apic_bad_jpeg.mp3")}, 0,
            {{"error", "null"}, {"pictures/0/width", "0"}, {"pictures/0/error/number", "481"}}},
        {{fixture("modern/eyed3_v24.mp3")}, 0,
            {{"events", "[100]"}, {"lengthMs", "-"}, {"commentFrames", "-"}}},
        {{"--modern", fixture("modern/mutagen_v22.mp3")}, 0,
            {{"textFrames/0/1", "Zwei Punkt Zwei"}, {"commentFrames/#", "1"}}},
    };
    for (const auto &[args, status, values] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun r = taglet(QStringList {"read"} + args);
        EXPECT_EQ(r.status, status);
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
    EXPECT_EQ(at(r.json, "track") + at(r.json, "haveTag"), "00"); // haveTag as Read found it
    EXPECT_EQ(QFile(copy).size(), size + 128);
    r = taglet({"read", copy});
    EXPECT_EQ(at(r.json, "haveTag") + at(r.json, "artist") + at(r.json, "genre"), "1CaféRock");
    // A failing Read stops before Save.
    const QString small = dir.filePath("small.mp3");
    ASSERT_TRUE(QFile::copy(fixture("short_frame.mp3"), small));
    r = taglet({"write", small, "--song", "x"});
    EXPECT_EQ(std::tuple(r.status, at(r.json, "error/number"), QFile(small).size()),
        std::tuple(1, "63", QFile(fixture("short_frame.mp3")).size()));
}

TEST(TagletCli, TconAndBadUsage)
{
    CliRun r = taglet({"tcon", "(17)(RX)"});
    EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(0, "\"RockRemix\"\n"));
    r = taglet({"tcon", "(x)"});
    EXPECT_EQ(std::tuple(r.status, at(r.json, "error/number")), std::tuple(1, "13"));
    const QStringList usage[] = {{}, {"frobnicate"}, {"read"}, {"read", "a.mp3", "b.mp3"},
        {"read", "--bogus", "a.mp3"}, {"write"}, {"write", "a.mp3", "--track", "seven"},
        {"write", "a.mp3", "--track", "99999"}, {"write", "a.mp3", "--song"},
        {"write", "a.mp3", "--title", "x"}, {"tcon"}};
    for (const QStringList &args : usage) {
        r = taglet(args);
        EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(2, "")) << args.join(' ').toStdString();
    }
}
