#include "CommandLine.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct ParseCase
{
    const char *name;
    QStringList arguments;
    CommandLine::Action action;
    QString path;
};

class ParseCommandLineTest : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseCommandLineTest, Reads)
{
    const ParseCase &c = GetParam();
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.path, c.path);
    if (c.action == CommandLine::Error) {
        EXPECT_FALSE(line.error.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseCommandLineTest,
    testing::Values(ParseCase {"Nothing", {}, CommandLine::Start, ""},
        ParseCase {"OnePath", {"/music/a b.mp3"}, CommandLine::Start, "/music/a b.mp3"},
        ParseCase {"FirstPathCounts", {"one", "two"}, CommandLine::Start, "one"},
        ParseCase {"ShortHelp", {"-h"}, CommandLine::Help, ""},
        // Before Qt has taken its options, one it knows must not hide --version.
        ParseCase {"VersionBesideQtOption", {"-platform", "xcb", "--version"}, CommandLine::Version,
            "xcb"},
        ParseCase {"HelpWinsOverUnknown", {"--bogus", "--help"}, CommandLine::Help, ""},
        ParseCase {"HelpWinsOverVersion", {"--version", "--help"}, CommandLine::Help, ""},
        ParseCase {"UnknownOption", {"song.mp3", "--bogus"}, CommandLine::Error, "song.mp3"},
        ParseCase {"DashDashEndsOptions", {"--", "--help"}, CommandLine::Start, "--help"}),
    [](const testing::TestParamInfo<ParseCase> &info) { return info.param.name; });

struct ProgramRun
{
    int exitCode = -1;
    QString out, err;
};

// The built program, in an environment without a display or a sound server.
ProgramRun runProgram(const QStringList &arguments, const QString &platform)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/pulse"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TONVERA_BIN_DIR "/tonvera"), arguments);
    ProgramRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// xcb with no display aborts any program that gets as far as creating its QApplication.
TEST(CommandLineProgram, VersionAndHelpAnswerWithoutDisplayOrSoundServer)
{
    const ProgramRun version = runProgram({QStringLiteral("--version")}, QStringLiteral("xcb"));
    EXPECT_EQ(version.exitCode, 0) << qPrintable(version.err);
    EXPECT_EQ(version.out, QStringLiteral("Tonvera " TONVERA_VERSION "\n"));

    const ProgramRun help = runProgram({QStringLiteral("--help")}, QStringLiteral("xcb"));
    EXPECT_EQ(help.exitCode, 0) << qPrintable(help.err);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: tonvera [FOLDER | FILE]\n")))
        << qPrintable(help.out);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--version"))) << qPrintable(help.out);
}

TEST(CommandLineProgram, UnknownOptionIsRefusedBeforeAnyWindow)
{
    const ProgramRun run = runProgram({QStringLiteral("--bogus")}, QStringLiteral("offscreen"));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty()) << qPrintable(run.out);
    EXPECT_TRUE(run.err.contains(QStringLiteral("unknown option --bogus"))) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains(QStringLiteral("tonvera --help"))) << qPrintable(run.err);
}

} // namespace
