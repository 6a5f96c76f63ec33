#include "CommandLine.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

TEST(CommandLine, Reads)
{
    const struct
    {
        QStringList arguments;
        CommandLine::Action action;
        QString path;
    } cases[] = {
        {{}, CommandLine::Start, ""},
        {{"/music/a b.mp3"}, CommandLine::Start, "/music/a b.mp3"},
        {{"one", "two"}, CommandLine::Start, "one"},
        {{"-h"}, CommandLine::Help, ""},
        // Before Qt has taken its options, one it knows must not hide --version.
        {{"-platform", "xcb", "--version"}, CommandLine::Version, "xcb"},
        {{"--bogus", "--help"}, CommandLine::Help, ""},
        {{"--version", "--help"}, CommandLine::Help, ""},
        {{"song.mp3", "--bogus"}, CommandLine::Error, "song.mp3"},
        {{"--", "--help"}, CommandLine::Start, "--help"},
    };
    for (const auto &c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        const std::string row = c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.action, c.action) << row;
        EXPECT_EQ(line.path, c.path) << row;
        EXPECT_TRUE(c.action != CommandLine::Error || !line.error.isEmpty()) << row;
    }
}

// The built program in an environment without a display or a sound server: xcb with no display
// aborts any program that gets as far as creating its QApplication; offscreen would show the
// window.
TEST(CommandLine, TheProgramAnswersBeforeAnyWindow)
{
    const struct
    {
        QString argument, platform;
        int exitCode;
        QString out; // what the output starts with (all of it for the version)
        QStringList errors; // what the error output says
    } cases[] = {
        {"--version", "xcb", 0, "Tonvera " TONVERA_VERSION "\n", {}},
        {"--help", "xcb", 0, "Usage: tonvera [FOLDER | FILE]\n", {}},
        {"--bogus", "offscreen", 2, "", {"unknown option --bogus", "tonvera --help"}},
    };
    for (const auto &c : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
            env.remove(name);
        env.insert("QT_QPA_PLATFORM", c.platform);
        env.insert("PULSE_SERVER", "unix:/nonexistent/pulse");
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(TONVERA_BIN_DIR "/tonvera", {c.argument});
        ASSERT_TRUE(program.waitForFinished(30000)) << c.argument.toStdString();
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.argument.toStdString();
        EXPECT_EQ(program.exitCode(), c.exitCode) << qPrintable(err);
        EXPECT_TRUE(c.exitCode == 0 ? out.startsWith(c.out) : out.isEmpty()) << qPrintable(out);
        EXPECT_TRUE(c.argument != "--version" || out == c.out) << qPrintable(out);
        EXPECT_TRUE(c.argument != "--help" || out.contains("--version")) << qPrintable(out);
        for (const QString &error : c.errors)
            EXPECT_TRUE(err.contains(error)) << qPrintable(err);
    }
}

} // namespace
